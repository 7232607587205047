// The customer record and the customers converter, on real dBase files (python3-dbf)
// into real Firebird files, through the run controller and the console program.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/dbase/DbfEngine.h"
#include "tests/support/RecordingServices.h"
#include "tests/support/TestRun.h"
#include "converters/Cliente.h"
#include "platform/DateTime.h"
#include "platform/StringList.h"
#include "platform/WindowServices.h"
#include "platform/firebird/Firebird.h"
#include "run/ClassesConversaoController.h"
#include "toolkit/RunReport.h"
#include "tests/support/DbfFixture.h"
#include "tests/support/TestDatabase.h"

namespace {

UString U(const std::string& utf8) { return Utf8ToU(utf8); }
std::string S(const UString& u) { return UToUtf8(u); }

std::string Collapsed(const std::string& s) {
  std::string out;
  for (char c : s)
    if (c != ' ' || out.empty() || out.back() != ' ') out.push_back(c);
  return out;
}

// Today as the record writes it into its statement, and as the target gives it back.
std::string TodayDotted() { return S(FormatDateTime(u"dd.mm.yyyy", Date(), FormatSettings{})); }
std::string TodayRead() { return S(FormatDateTime(u"dd/mm/yyyy", Date(), FormatSettings{})); }

// ---------------------------------------------------------------------------
// The record on its own.

class ClienteRecord : public ::testing::Test {
 protected:
  void SetUp() override { tdb.Connect(db); }
  TestDatabase tdb{"cliente-rec"};
  fb::Database db;
  TestRun run{db};  // Brazilian settings: decimal comma
  RecordingServices& ui = run.ui;
};

using Setter = void (TConverteCliente::*)(const UString&);
using Getter = const UString& (TConverteCliente::*)() const;

struct SetterCase {
  const char* what;
  Setter set;
  Getter get;
  std::string in;
  std::string out;
};

TEST_F(ClienteRecord, SettersNormaliseEachValue) {
  const std::string a28(28, 'A'), a30(30, 'A');
  const SetterCase cases[] = {
      // Codes are zero-filled to 8 before the separators go.
      {"code", &TConverteCliente::SetCodCliente, &TConverteCliente::CodCliente, "12.345", "0012345"},
      // ...and a quote makes the per-removal step fill first: 12.3 gives 0000123.
      {"code", &TConverteCliente::SetCodCliente, &TConverteCliente::CodCliente, "\"12.3", "00000123"},
      // Names: a-z raised, accents of the table removed, ñ left in lower case.
      {"name", &TConverteCliente::SetNome, &TConverteCliente::Nome, "  Niño Müller \"Ação\": ok ",
       "NIñO MULLER ACAO. OK"},
      {"name", &TConverteCliente::SetNome, &TConverteCliente::Nome, "d'Ávila", "D'AVILA"},
      {"name", &TConverteCliente::SetNome, &TConverteCliente::Nome, std::string(70, 'x'), std::string(60, 'X')},
      {"contact", &TConverteCliente::SetContato, &TConverteCliente::Contato, "  Sr. Élcio  ", "Sr. Élcio"},
      // A cut inside the quote loop drops what lay beyond it: one B is lost here.
      {"bairro", &TConverteCliente::SetBairro, &TConverteCliente::Bairro, "\"" + a28 + "\"BBBBB", a28 + "B"},
      {"state", &TConverteCliente::SetEstado, &TConverteCliente::Estado, "\"mg\"x", "MG"},
      {"state", &TConverteCliente::SetEstado, &TConverteCliente::Estado, "minas", "MI"},
      {"state", &TConverteCliente::SetEstado, &TConverteCliente::Estado, " mg", " M"},
      {"delivery state", &TConverteCliente::SetEstadoEntr, &TConverteCliente::EstadoEntr, " mg", "MG"},
      {"billing bairro", &TConverteCliente::SetBairroCob, &TConverteCliente::BairroCob, " " + a30 + "B", a30},
      {"city", &TConverteCliente::SetCodCidade, &TConverteCliente::CodCidade, "123", "00123"},
      {"city", &TConverteCliente::SetCodCidade, &TConverteCliente::CodCidade, "", ""},
      {"city", &TConverteCliente::SetCodCidade, &TConverteCliente::CodCidade, "100000", "100000"},
      {"cnpj", &TConverteCliente::SetCgcCpf, &TConverteCliente::CgcCpf, "isento", "ISENTO"},
      {"fax", &TConverteCliente::SetFax, &TConverteCliente::Fax, "12345678901234567890", "1234567890123456"},
      {"obs", &TConverteCliente::SetObsercacao, &TConverteCliente::Observacao, std::string(120, 'o'),
       std::string(100, 'o')},
      // Dates: dotted; empty birth date stays empty, empty registration is today;
      // a text that is no date is kept for the target to judge.
      {"birth", &TConverteCliente::SetDT_Nascimento, &TConverteCliente::DT_Nascimento, "25/12/1980", "25.12.1980"},
      {"birth", &TConverteCliente::SetDT_Nascimento, &TConverteCliente::DT_Nascimento, "", ""},
      {"birth", &TConverteCliente::SetDT_Nascimento, &TConverteCliente::DT_Nascimento, "abc", "abc"},
      {"birth", &TConverteCliente::SetDT_Nascimento, &TConverteCliente::DT_Nascimento, " /  / .", ""},
      {"registration", &TConverteCliente::SetDT_Cadastro, &TConverteCliente::DT_Cadastro, "1980-12-25",
       "1980.12.25"},
      {"registration", &TConverteCliente::SetDT_Cadastro, &TConverteCliente::DT_Cadastro, "", TodayDotted()},
      {"registration", &TConverteCliente::SetDT_Cadastro, &TConverteCliente::DT_Cadastro, "sem data", "sem data"},
  };
  TConverteCliente c(run.ctx);
  for (const SetterCase& k : cases) {
    (c.*k.set)(U(k.in));
    EXPECT_EQ(S((c.*k.get)()), k.out) << k.what << ": \"" << k.in << '"';
  }
}

TEST_F(ClienteRecord, InsertTextIsTheLiteralStatement) {
  TConverteCliente c(run.ctx);
  c.SetCodCliente(u"123");
  c.SetNome(U("José D'Ávila"));
  c.SetNomeFantasia(u"Padaria");
  c.SetEndereco(u"Rua A, 1");
  c.SetBairro(u"Centro");
  c.SetCodCidade(u"42");
  c.SetEstado(u"mg");
  c.SetCep(u"30130-005");
  c.SetCgcCpf(u"12.345.678/0001-95");
  c.SetPessoa_FJ(u"J");
  c.SetFone(u"3133334444");
  c.SetFax(u"3133334445");
  c.SetPrefixCelular(u"31");
  c.SetCelular(u"991234567");
  c.SetCampoLivre2(u"ISENTO");
  c.SetCampoLivre3(u"SPC1");
  c.SetCampoLivre4(U("Filiação"));
  c.SetCampoLivre5(u"SPC2");
  c.SetCampoLivre6(u"Trabalho");
  c.SetObsercacao(u"Obs");
  c.SetContato(u"Ana");
  c.SetEnderecoEntr(u"Rua B");
  c.SetBairroEntr(u"Sul");
  c.SetCodCidadeEntr(u"7");
  c.SetEstadoEntr(u"sp");
  c.SetCepEntr(u"01001-000");
  c.SetEnderecoCob(u"Rua C");
  c.SetBairroCob(u"Norte");
  c.SetCodCidadeCob(u"8");
  c.SetEstadoCob(u"rj");
  c.SetCepCob(u"20000-000");
  c.SetAtivo(u"S");
  c.SetDT_Nascimento(u"25/12/1980");
  c.SetDT_Cadastro(u"10/03/2015");

  const std::string expected =
      " Insert Into Cliente ( cliente.codCliente, cliente.nome, cliente.nomefantasia , cliente.endereco, "
      "cliente.bairro, cliente.codcidade, cliente.estado, cliente.cep, cliente.cgccpf, cliente.inscest, "
      "cliente.pessoa_fj, cliente.fone, cliente.fax, cliente.prefixcelular, cliente.celular, cliente.campolivre1, "
      "cliente.campolivre2, cliente.campolivre3, cliente.campolivre4, cliente.campolivre5, cliente.campolivre6, "
      "cliente.campolivre7, cliente.campolivre8, cliente.campolivre9, cliente.campolivre10, cliente.observacao, "
      "cliente.RetemISS, cliente.email, cliente.homepage, cliente.enderecocob, cliente.bairrocob, cliente.cepcob, "
      "cliente.codcidadecob, cliente.estadocob, cliente.enderecoent, cliente.bairroent, cliente.cepent, "
      "cliente.codcidadeent, cliente.estadoent, cliente.codfornec, Cliente.contato, Cliente.CodSegmento, "
      "Cliente.CodClasCli, Cliente.CodVendend1, Cliente.CodPrazo, Cliente.LimiteCredito, Cliente.CodPais, "
      "cliente.nomesocio, cliente.dt_nascimento, Cliente.Data_Ult_Alteracao, cliente.dt_cadastro, cliente.Ativo, "
      "cliente.CliBloqueado, cliente.maladiretaeletr, cliente.protestarcliente) Values ( '00000123', "
      "'JOSE D''AVILA', 'PADARIA', 'Rua A, 1', 'Centro', '00042', 'MG', '30130005', '12345678000195', '', 'J', "
      "'3133334444', '3133334445', '31', '991234567', '', 'ISENTO', 'SPC1', 'Filiação', 'SPC2', 'Trabalho', '', "
      "'', '', '', 'Obs', '', '', '', 'Rua C', 'Norte', '20000000', '00008', 'RJ', 'Rua B', 'Sul', '01001000', "
      "'00007', 'SP', '', 'Ana', '', '', '', '', 0, '', '', '25.12.1980', '" +
      TodayDotted() + "', '10.03.2015', 'S','N',\"N\", \"N\") ";
  EXPECT_EQ(Collapsed(S(c.MontaSqlInsere())), expected);

  // Written, the record starts over: without a birth date the column is left out.
  EXPECT_TRUE(c.ExecutaSql(1));
  EXPECT_EQ(c.ErroGravacao(), u"");
  const std::string reset = S(c.MontaSqlInsere());
  EXPECT_EQ(reset.find("dt_nascimento"), std::string::npos);
  EXPECT_NE(Collapsed(reset).find(") Values ( '', '', '', '', '', '', '', '', '', '', 'F', "), std::string::npos)
      << reset;
  EXPECT_EQ(c.Contato(), u"Ana");  // the reset leaves the contact alone
}

// ---------------------------------------------------------------------------
// The converter, through the run controller.

const char* kFields =
    "CODIGO C(8); DATA_ANI D; DATA_CAD D; RAZAOSOC C(60); FANTASIA C(40); FILIACAO C(60); ENDERECO C(50); "
    "BAIRRO C(30); CIDADE C(30); ESTADO C(2); CEP C(10); CGC C(18); INSC C(18); TELEFONE1 C(15); FAX C(15); "
    "CONTATO C(30); CELULAR C(16); OBS1 C(60); REFERE C(60); SPC1 C(40); SPC2 C(40); LOCAL_TRAB C(40)";
const char* kColumns[] = {"CODIGO",  "DATA_ANI", "DATA_CAD",  "RAZAOSOC", "FANTASIA", "FILIACAO",
                          "ENDERECO", "BAIRRO",  "CIDADE",    "ESTADO",   "CEP",      "CGC",
                          "INSC",    "TELEFONE1", "FAX",      "CONTATO",  "CELULAR",  "OBS1",
                          "REFERE",  "SPC1",     "SPC2",      "LOCAL_TRAB"};

using Fields = std::map<std::string, std::string>;

std::vector<std::string> Row(const Fields& f) {
  std::vector<std::string> row;
  for (const char* c : kColumns) {
    auto it = f.find(c);
    row.push_back(it == f.end() ? "" : it->second);
  }
  return row;
}

class Clientes : public ::testing::Test {
 protected:
  void SetUp() override {
    dbPath_ = FreshDatabase("clientes");
    ConnectTo(db_, dbPath_);
  }

  void WriteClientes(const std::vector<Fields>& rows, const std::string& fields = kFields) {
    DbfTable t;
    t.path = src_.file("CLIENTES.DBF");
    t.fields = fields;
    t.codepage = "cp850";
    for (const Fields& f : rows) t.rows.push_back(Row(f));
    WriteDbf(t);
  }

  void Exec(const std::string& sql) {
    fb::Query q(db_);
    q.SetSQL(U(sql));
    q.ExecSQL();
  }

  // Every column of every committed customer, keyed on the code, read through a
  // connection of its own.
  std::map<std::string, Fields> Committed(const std::string& table = "CLIENTE", const std::string& key = "CODCLIENTE") {
    fb::Database other;
    ConnectTo(other, dbPath_);
    fb::Query q(other);
    q.SetSQL(U("SELECT * FROM " + table));
    q.Open();
    std::map<std::string, Fields> out;
    for (; !q.Eof(); q.Next()) {
      Fields f;
      for (const UString& n : q.FieldNames()) f[S(n)] = q.FieldIsNull(n) ? "<null>" : S(q.FieldAsText(n));
      out[f[key]] = f;
    }
    q.Close();
    other.DefaultTransaction().Commit();
    return out;
  }

  bool Run(std::initializer_list<const char16_t*> keys = {u"CLIENTE"}) {
    TStringList sel;
    for (const char16_t* k : keys) sel.Add(UString(k) + u"=S");
    TClassesConversaoController c(ui_, engine_, report_);
    return c.FEfetuaConversao(sel, U(src_.path()), db_, db_.DefaultTransaction(), bar_, label_, u"01", false);
  }

  std::string dbPath_;
  fb::Database db_;
  TempDir src_{"clientes-src"};
  ProgressBar bar_;
  StatusLabel label_;
  RecordingServices ui_;
  dbase::Engine engine_;
  RunReport report_;
};

TEST_F(Clientes, RowsArriveNormalisedWithCitiesLookedUpNotCreated) {
  Exec("INSERT INTO CIDADES (CODCIDADE, CIDADE, ESTADO) VALUES ('00042', 'SAO PAULO', 'SP')");
  Exec("INSERT INTO CIDADES (CODCIDADE, CIDADE, ESTADO) VALUES ('00050', 'CONTAGEM', '')");
  Exec("INSERT INTO CLIENTE (CODCLIENTE, NOME, PESSOA_FJ, ATIVO, CLIBLOQUEADO) VALUES ('99', 'ANTIGO', 'F', 'S', 'N')");
  db_.DefaultTransaction().Commit();
  WriteClientes({
      {{"CODIGO", "12.345"}, {"DATA_ANI", "19801225"}, {"DATA_CAD", "20150310"},
       {"RAZAOSOC", "Lanchonete D'Ávila \"Niño\""}, {"FANTASIA", "Pão"}, {"FILIACAO", "Mãe"},
       {"ENDERECO", "Rua São João, 120"}, {"BAIRRO", "Centro Histórico"},
       {"CIDADE", " São Paulo "}, {"ESTADO", "sp"}, {"CEP", "01035-000"}, {"CGC", "12.345.678/0001-95"},
       {"INSC", "ISENTO"}, {"TELEFONE1", "(11) 3222-1234"}, {"FAX", "11 3222-1235"}, {"CONTATO", "José"},
       {"CELULAR", "(11) 98765-4321"}, {"OBS1", "Cliente antigo"}, {"REFERE", "Banco"}, {"SPC1", "Nada"},
       {"SPC2", "Consta"}, {"LOCAL_TRAB", "Escola"}},
      // A city without a state is not looked up, even where a city of that name
      // and an empty state exists; ten cellular digits: prefix and eight.
      {{"CODIGO", "4"}, {"RAZAOSOC", "Sem Estado"}, {"CIDADE", "Contagem"}, {"CGC", "529.982.247-25"},
       {"CELULAR", "31 9123-4567"}, {"REFERE", "Indicado"}},
      // A city missing from CIDADES gives no code and is not created; nine digits
      // go whole into the number; nothing of the rows before is inherited.
      {{"CODIGO", "00000005"}, {"RAZAOSOC", "Sem Cidade"}, {"CIDADE", "Itaúna"}, {"ESTADO", "MG"},
       {"CELULAR", "991234567"}, {"OBS1", std::string(60, 'o')}, {"REFERE", std::string(60, 'r')}},
  });
  ASSERT_TRUE(Run()) << (ui_.boxes.empty() ? "" : S(ui_.boxes[0].text));
  ASSERT_EQ(ui_.boxes.size(), 1u);

  auto rows = Committed();
  ASSERT_EQ(rows.size(), 3u);  // the old customer is gone
  const Fields& a = rows["0012345"];
  const Fields expectedA = {
      {"NOME", "LANCHONETE D'AVILA NIñO"}, {"NOMEFANTASIA", "PAO"}, {"CAMPOLIVRE4", "Mãe"},
      {"ENDERECO", "Rua São João, 120"}, {"ENDERECOENT", "Rua São João, 120"}, {"ENDERECOCOB", "Rua São João, 120"},
      {"BAIRRO", "Centro Histórico"}, {"BAIRROENT", "Centro Histórico"}, {"BAIRROCOB", "Centro Histórico"},
      {"CODCIDADE", "00042"}, {"CODCIDADEENT", "00042"}, {"CODCIDADECOB", "00042"},
      {"ESTADO", "SP"}, {"ESTADOENT", "SP"}, {"ESTADOCOB", "SP"},
      {"CEP", "01035000"}, {"CEPENT", "01035000"}, {"CEPCOB", "01035000"},
      {"CGCCPF", "12345678000195"}, {"PESSOA_FJ", "J"}, {"INSCEST", ""}, {"CAMPOLIVRE2", "ISENTO"},
      {"FONE", "1132221234"}, {"FAX", "1132221235"}, {"CONTATO", "José"},
      {"PREFIXCELULAR", "11"}, {"CELULAR", "987654321"},
      {"OBSERVACAO", "Cliente antigo\r\nBanco\r\n"}, {"CAMPOLIVRE3", "Nada"}, {"CAMPOLIVRE5", "Consta"},
      {"CAMPOLIVRE6", "Escola"}, {"DT_NASCIMENTO", "25/12/1980"}, {"DT_CADASTRO", "10/03/2015"},
      {"DATA_ULT_ALTERACAO", TodayRead()}, {"ATIVO", "S"}, {"CLIBLOQUEADO", "N"}, {"MALADIRETAELETR", "N"},
      {"PROTESTARCLIENTE", "N"}, {"EMAIL", ""}, {"CODFORNEC", ""}, {"CAMPOLIVRE1", ""}};
  for (const auto& [col, value] : expectedA) EXPECT_EQ(a.at(col), value) << col;

  const Fields& b = rows["00000004"];
  for (const char* col : {"CODCIDADE", "CODCIDADEENT", "CODCIDADECOB", "ESTADO"}) EXPECT_EQ(b.at(col), "") << col;
  EXPECT_EQ(b.at("PESSOA_FJ"), "F");
  EXPECT_EQ(b.at("PREFIXCELULAR"), "31");
  EXPECT_EQ(b.at("CELULAR"), "91234567");
  EXPECT_EQ(b.at("OBSERVACAO"), "\r\nIndicado\r\n");  // empty OBS1 still gives its line break
  EXPECT_EQ(b.at("DT_NASCIMENTO"), "<null>");
  EXPECT_EQ(b.at("DT_CADASTRO"), TodayRead());

  const Fields& c = rows["00000005"];
  EXPECT_EQ(c.at("CODCIDADE"), "");
  EXPECT_EQ(c.at("PREFIXCELULAR"), "");
  EXPECT_EQ(c.at("CELULAR"), "991234567");
  EXPECT_EQ(c.at("PESSOA_FJ"), "F");
  EXPECT_EQ(c.at("OBSERVACAO"), std::string(60, 'o') + "\r\n" + std::string(38, 'r'));  // cut to 100
  EXPECT_EQ(c.at("CONTATO"), "");

  EXPECT_EQ(Committed("CIDADES", "CODCIDADE").size(), 2u);
  const KindReport& k = report_.Kinds().at(0);
  EXPECT_EQ(S(k.kind), "Clientes");
  EXPECT_EQ(k.read, 3);
  EXPECT_EQ(k.written, 3);
}

TEST_F(Clientes, ARefusedCustomerIsReportedAndTheOthersAreWritten) {
  // Dates in a character column reach the record as they are: a text that is no
  // date is written unchanged, and the target refuses it.
  std::string fields = kFields;
  fields.replace(fields.find("DATA_CAD D"), 10, "DATA_CAD C(10)");
  WriteClientes({{{"CODIGO", "1"}, {"RAZAOSOC", "Primeiro"}},
                 {{"CODIGO", "00000001"}, {"RAZAOSOC", "Duplicado"}},
                 {{"CODIGO", "2"}, {"RAZAOSOC", "Data ruim"}, {"DATA_CAD", "ontem"}},
                 {{"CODIGO", "3"}, {"RAZAOSOC", "Terceiro"}, {"DATA_CAD", "05/05/2010"}}},
                fields);
  ASSERT_TRUE(Run());

  auto rows = Committed();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows["00000001"].at("NOME"), "PRIMEIRO");
  EXPECT_EQ(rows["00000003"].at("DT_CADASTRO"), "05/05/2010");

  const KindReport& k = report_.Kinds().at(0);
  EXPECT_EQ(k.read, 4);
  EXPECT_EQ(k.written, 2);
  EXPECT_EQ(k.rejected, 2);
  ASSERT_EQ(k.rejections.size(), 2u);
  EXPECT_EQ(k.rejections[0].row, 2);
  EXPECT_EQ(S(k.rejections[0].code), "00000001");
  EXPECT_NE(S(k.rejections[0].what).find("PK_CLIENTE"), std::string::npos) << S(k.rejections[0].what);
  EXPECT_EQ(k.rejections[1].row, 3);
  EXPECT_EQ(S(k.rejections[1].code), "2");

  // After the run's own box, a warning names the refused customers.
  ASSERT_EQ(ui_.boxes.size(), 2u);
  EXPECT_EQ(ui_.boxes[0].text, u"Conversão concluída com sucesso!");
  EXPECT_EQ(ui_.boxes[1].kind, MsgKind::Warning);
  const std::string warning = S(ui_.boxes[1].text);
  EXPECT_NE(warning.find("Clientes, registro 2 (código 00000001, Duplicado): O código 00000001 (Clientes) já existe"),
            std::string::npos) << warning;
  EXPECT_NE(warning.find("Clientes, registro 3 (código 2, no Norvale 00000002, Data ruim): "), std::string::npos)
      << warning;
}

// Codes of CIDADES past five characters: cut to five, 000123 (Contagem) would be
// 00012, another city.
TEST_F(Clientes, ACityCodeIsNeverCutIntoAnotherCity) {
  Exec("INSERT INTO CIDADES (CODCIDADE, CIDADE, ESTADO) VALUES ('000123', 'CONTAGEM', 'MG')");
  Exec("INSERT INTO CIDADES (CODCIDADE, CIDADE, ESTADO) VALUES ('00012', 'OUTRA CIDADE', 'MG')");
  db_.DefaultTransaction().Commit();
  WriteClientes({{{"CODIGO", "1"}, {"RAZAOSOC", "Um"}, {"CIDADE", "Contagem"}, {"ESTADO", "MG"}}});
  ASSERT_TRUE(Run()) << S(ui_.boxes.at(0).text);
  const Fields a = Committed().at("00000001");
  for (const char* col : {"CODCIDADE", "CODCIDADEENT", "CODCIDADECOB"}) EXPECT_EQ(a.at(col), "000123") << col;

  // A code the customer's columns cannot hold at all fails the run, naming the
  // customer and the row, and the target keeps what it had.
  // (A wider CIDADES than the customer's columns, as another Norvale could have.)
  Exec("ALTER TABLE CIDADES DROP CONSTRAINT PK_CIDADES");
  db_.DefaultTransaction().Commit();
  Exec("ALTER TABLE CIDADES ALTER CODCIDADE TYPE VARCHAR(8)");
  db_.DefaultTransaction().Commit();
  Exec("INSERT INTO CIDADES (CODCIDADE, CIDADE, ESTADO) VALUES ('0001234', 'BETIM', 'MG')");
  db_.DefaultTransaction().Commit();
  WriteClientes({{{"CODIGO", "2"}, {"RAZAOSOC", "Dois"}}, {{"CODIGO", "3"}, {"CIDADE", "Betim"}, {"ESTADO", "MG"}}});
  ui_.boxes.clear();
  EXPECT_FALSE(Run());
  ASSERT_EQ(ui_.boxes.size(), 1u);
  const std::string box = S(ui_.boxes[0].text);
  for (const char* said : {"0001234", "cliente 00000003", "CLIENTE.CODCIDADE", "(Clientes, registro 2 de 2 da origem)"})
    EXPECT_NE(box.find(said), std::string::npos) << said << " in " << box;
  const auto rows = Committed();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows.at("00000001").at("CODCIDADE"), "000123");
}

// A date column typed as text holds its mask when nobody filled it in: no birth
// date, and the registration is today's, as for an empty date.
TEST_F(Clientes, AnEmptyDateMaskIsNoDate) {
  std::string fields = kFields;
  fields.replace(fields.find("DATA_ANI D"), 10, "DATA_ANI C(10)");
  fields.replace(fields.find("DATA_CAD D"), 10, "DATA_CAD C(10)");
  WriteClientes({{{"CODIGO", "1"}, {"RAZAOSOC", "Hifens"}, {"DATA_ANI", "  -   -"}, {"DATA_CAD", "  -   -"}},
                 {{"CODIGO", "2"}, {"RAZAOSOC", "Barras"}, {"DATA_ANI", "  /  /"}, {"DATA_CAD", "  /  /"}},
                 {{"CODIGO", "3"}, {"RAZAOSOC", "Datas"}, {"DATA_ANI", "25/12/1980"}, {"DATA_CAD", "10/03/2015"}}},
                fields);
  ASSERT_TRUE(Run()) << S(ui_.boxes.at(0).text);
  ASSERT_EQ(ui_.boxes.size(), 1u);
  const auto rows = Committed();
  for (const char* code : {"00000001", "00000002"}) {
    EXPECT_EQ(rows.at(code).at("DT_NASCIMENTO"), "<null>") << code;
    EXPECT_EQ(rows.at(code).at("DT_CADASTRO"), TodayRead()) << code;
  }
  EXPECT_EQ(rows.at("00000003").at("DT_NASCIMENTO"), "25/12/1980");
  EXPECT_EQ(rows.at("00000003").at("DT_CADASTRO"), "10/03/2015");
}

TEST_F(Clientes, ProgressShowsEveryRowAfterOneExtraRoundOfEvents) {
  WriteClientes({{{"CODIGO", "1"}}, {{"CODIGO", "2"}}});
  std::vector<std::string> seen;  // the display each time the window gets its events
  ui_.onProcess = [&] {
    seen.push_back(S(label_.Caption()) + " @ " + std::to_string(bar_.Position()) + "/" + std::to_string(bar_.Max()));
  };
  ASSERT_TRUE(Run());
  EXPECT_EQ(seen, (std::vector<std::string>{" @ 0/100", "Convertendo Clientes - Registro 1 de 2 @ 0/2",
                                            "Convertendo Clientes - Registro 2 de 2 @ 1/2"}));
  EXPECT_EQ(label_.Caption(), u"");
  EXPECT_EQ(bar_.Max(), 0);
}

TEST_F(Clientes, EmptySourceEmptiesTheTableAndAFailureLaterGivesItBack) {
  Exec("INSERT INTO CLIENTE (CODCLIENTE, NOME, PESSOA_FJ, ATIVO, CLIBLOQUEADO) VALUES ('99', 'ANTIGO', 'F', 'S', 'N')");
  db_.DefaultTransaction().Commit();
  WriteClientes({});

  // The groups' table is missing: the run fails after the customers were emptied,
  // and the old customer is still there.
  EXPECT_FALSE(Run({u"CLIENTE", u"GRUPO"}));
  EXPECT_EQ(Committed().count("99"), 1u);

  ui_.boxes.clear();
  int processed = 0;
  ui_.onProcess = [&] { ++processed; };
  ASSERT_TRUE(Run());
  EXPECT_TRUE(Committed().empty());
  EXPECT_EQ(processed, 1);  // no row, no progress text
  EXPECT_EQ(bar_.Max(), 0);
}

// ---------------------------------------------------------------------------
// The console program.

std::string Slurp(const std::string& path) {
  std::ifstream f(path);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

struct CliResult {
  int status = -1;
  std::string out;
};

CliResult Cli(const std::string& origem, const std::string& destino, const TempDir& tmp) {
  const std::string out = tmp.file("stdout.txt");
  const std::string cmd = std::string(CT_BINARY_DIR) + "/conversor-tolv-cli --origem " + origem + " --destino " +
                          destino + " cliente >" + out + " 2>" + tmp.file("stderr.txt");
  const int rc = std::system(cmd.c_str());
  return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, Slurp(out)};
}

TEST(ClientesCli, ARefusedCustomerExitsThreeAndIsNamed) {
  TempDir tmp("clientes-cli");
  DbfTable t;
  t.path = tmp.file("clientes.dbf");
  t.fields = kFields;
  for (const char* code : {"7", "8", "0000007", "9"}) t.rows.push_back(Row({{"CODIGO", code}, {"RAZAOSOC", code}}));
  WriteDbf(t);
  const std::string db = FreshDatabase("clientes-cli");

  CliResult r = Cli(tmp.path(), db, tmp);
  EXPECT_EQ(r.status, 3) << r.out;
  EXPECT_NE(r.out.find("Clientes: lidos 4, gravados 3, ignorados 0, rejeitados 1"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("rejeitado: registro 3 (código 0000007, no Norvale 00000007, 0000007): O código 00000007 (Clientes) já existe"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("[Warning] "), std::string::npos) << r.out;

  fb::Database check;
  ConnectTo(check, db);
  fb::Query q(check);
  q.SetSQL(u"SELECT CODCLIENTE, NOME FROM CLIENTE ORDER BY CODCLIENTE");
  q.Open();
  std::string written;
  for (; !q.Eof(); q.Next()) written += S(q.FieldAsText(u"CODCLIENTE")) + "=" + S(q.FieldAsText(u"NOME")) + ";";
  q.Close();
  check.DefaultTransaction().Commit();
  EXPECT_EQ(written, "00000007=7;00000008=8;00000009=9;");
}

TEST(ClientesCli, TheExampleFolderConverts) {
  TempDir tmp("clientes-cli-ex");
  CliResult r = Cli(std::string(CT_SOURCE_DIR) + "/examples/tolv", FreshDatabase("clientes-ex"), tmp);
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("Clientes: lidos 7, gravados 7, ignorados 0, rejeitados 0"), std::string::npos) << r.out;
}

}  // namespace
