// Every kind in one run: the example legacy folder, which has every table the
// converters read, converted with all eight kinds ticked into a fresh Norvale file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/dbase/DbfEngine.h"
#include "tests/support/RecordingServices.h"
#include "platform/StringList.h"
#include "platform/WindowServices.h"
#include "platform/firebird/Firebird.h"
#include "run/ClassesConversaoController.h"
#include "toolkit/RunReport.h"
#include "tests/support/TestDatabase.h"

namespace {

// The progress texts name the kind before " - Registro": the kinds in the order
// they ran, each once.
std::vector<std::string> KindsInOrder(const std::vector<std::string>& captions) {
  std::vector<std::string> kinds;
  for (const std::string& c : captions) {
    auto p = c.find(" - Registro");
    if (p == std::string::npos) continue;
    std::string k = c.substr(0, p);
    if (kinds.empty() || kinds.back() != k) kinds.push_back(k);
  }
  return kinds;
}

TEST(TodosTest, EveryKindOfTheExampleFolderArrivesInTheFixedOrder) {
  const std::string dbPath = FreshDatabase("todos");
  fb::Database db;
  ConnectTo(db, dbPath);
  RecordingServices ui;
  dbase::Engine engine_;
  RunReport report_;
  ProgressBar bar;
  StatusLabel label;
  std::vector<std::string> captions;
  ui.onProcess = [&] { captions.push_back(UToUtf8(label.Caption())); };

  // The list's own order is not the run's.
  TStringList sel;
  for (const char16_t* k : {u"FABRICANTE=S", u"PAGAR=S", u"RECEBER=S", u"PRODUTO=S", u"SUBGRUPO=S", u"GRUPO=S",
                            u"FORNECEDOR=S", u"CLIENTE=S"})
    sel.Add(k);
  TClassesConversaoController c(ui, engine_, report_);
  ASSERT_TRUE(c.FEfetuaConversao(sel, Utf8ToU(std::string(CT_SOURCE_DIR) + "/examples/tolv"), db,
                                 db.DefaultTransaction(), bar, label, u"01", false));
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, u"Conversão concluída com sucesso!");

  EXPECT_EQ(KindsInOrder(captions),
            (std::vector<std::string>{"Convertendo Clientes", "Convertendo Fornecedores",
                                      "Convertendo Grupos de produtos", "Convertendo Subgrupos de produtos",
                                      "Convertendo Produtos", "Convertendo Documentos a Receber",
                                      "Convertendo Documentos a Pagar", "Convertendo Fabricantes"}));
  std::vector<std::string> kinds;
  for (const KindReport& k : report_.Kinds()) {
    kinds.push_back(UToUtf8(k.kind));
    EXPECT_GT(k.written, 0) << UToUtf8(k.kind);
    EXPECT_EQ(k.rejected, 0) << UToUtf8(k.kind);
  }
  EXPECT_EQ(kinds.size(), 8u);

  // One row of every table the run writes, read back through a connection of its own.
  db.Close();
  fb::Database other;
  ConnectTo(other, dbPath);
  struct Check {
    const char16_t* sql;
    std::vector<const char16_t*> cols;
    std::string row;
  };
  const std::vector<Check> checks = {
      {u"SELECT FIRST 1 CODCLIENTE, NOME FROM CLIENTE ORDER BY CODCLIENTE", {u"CODCLIENTE", u"NOME"},
       "00000001|JOSE DA CONCEICAO ARAUJO"},
      {u"SELECT FIRST 1 CODFORNEC, NOME, CODCIDADE FROM FORNECE WHERE CODFORNEC = '000042'",
       {u"CODFORNEC", u"NOME", u"CODCIDADE"}, "000042|DAVILA DISTRIBUIDORA DE FERRAGENS LTDA|00001"},
      {u"SELECT FIRST 1 CODCIDADE, CIDADE, ESTADO FROM CIDADES ORDER BY CODCIDADE", {u"CODCIDADE", u"CIDADE", u"ESTADO"},
       "00001|BELO HORIZONTE|MG"},
      {u"SELECT FIRST 1 CODGRUPO, DESCRICAO FROM GRUPROD ORDER BY CODGRUPO DESC", {u"CODGRUPO", u"DESCRICAO"},
       "456|Iluminação e Decoração para Ár"},
      {u"SELECT FIRST 1 CODGRUPO, CODSUBGRUPO, DESCRICAO FROM SUBGRUP ORDER BY CODGRUPO, CODSUBGRUPO",
       {u"CODGRUPO", u"CODSUBGRUPO", u"DESCRICAO"}, "001|001|Chaves e alicates"},
      {u"SELECT FIRST 1 CODPROD, DESCRICAO FROM PRODUTO ORDER BY CODPROD", {u"CODPROD", u"DESCRICAO"},
       "000042|Tomada 2P+T 10A branca - padrão NBR"},
      {u"SELECT FIRST 1 CODPROD, CODEMPRESA, CODGRADE FROM COMPPROD ORDER BY CODPROD",
       {u"CODPROD", u"CODEMPRESA", u"CODGRADE"}, "000042|00|0000"},
      {u"SELECT FIRST 1 CODPROD FROM PRODUTODETALHE ORDER BY CODPROD", {u"CODPROD"}, "000042"},
      {u"SELECT FIRST 1 UNIDADE FROM UNIDADES ORDER BY UNIDADE", {u"UNIDADE"}, "BARRA6"},
      {u"SELECT ID, CODRECEITA, DESCRECEITA FROM NATRECEITA", {u"ID", u"CODRECEITA", u"DESCRECEITA"},
       "1|999|OUTRAS RECEITAS"},
      {u"SELECT FIRST 1 CODFABRIC, DESCRICAO FROM CADFABR ORDER BY CODFABRIC", {u"CODFABRIC", u"DESCRICAO"}, "00003|Suvinil - Tintas Ação Rápida"},
      {u"SELECT FIRST 1 CODEMPRESA, CODCLIENTE, CODDOCTO, VALORDOCTO FROM DOCUREC ORDER BY CODDOCTO",
       {u"CODEMPRESA", u"CODCLIENTE", u"CODDOCTO", u"VALORDOCTO"}, "00|00000001|000123/01|350.00"},
      {u"SELECT FIRST 1 CODDOCTO, VALORMOV FROM MOVIREC ORDER BY CODDOCTO", {u"CODDOCTO", u"VALORMOV"},
       "000123/01|350.00"},
      {u"SELECT FIRST 1 CODFORNEC, CODDOCTO, VALORDOCTO FROM DOCUPAG ORDER BY CODDOCTO",
       {u"CODFORNEC", u"CODDOCTO", u"VALORDOCTO"}, "000042|NF 4512|1250.75"},
      {u"SELECT FIRST 1 CODDOCTO, VALORMOV FROM MOVIPAG ORDER BY CODDOCTO", {u"CODDOCTO", u"VALORMOV"},
       "NF 4512|1250.75"},
  };
  for (const Check& ch : checks) {
    fb::Query q(other);
    q.SetSQL(ch.sql);
    q.Open();
    ASSERT_FALSE(q.IsEmpty()) << UToUtf8(ch.sql);
    std::string row;
    for (std::size_t i = 0; i < ch.cols.size(); ++i) row += (i ? "|" : "") + UToUtf8(q.FieldAsText(ch.cols[i]));
    EXPECT_EQ(row, ch.row) << UToUtf8(ch.sql);
  }
  other.DefaultTransaction().Commit();
}

}  // namespace
