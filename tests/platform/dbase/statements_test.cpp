// Every source statement of the converters (customers, suppliers, products, groups,
// subgroups, manufacturers, receivables, payables), word for word, returning its
// columns read as the converters read them.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/DateTime.h"
#include "tests/platform/dbase/Fixtures.h"

using namespace dbftest;

namespace {

// The statement texts of the converters, runs of blanks collapsed to one.
const char16_t kClientes[] =
    u"SELECT CLIENTES.CODIGO, CLIENTES.DATA_ANI, CLIENTES.DATA_CAD, CLIENTES.RAZAOSOC, CLIENTES.FANTASIA, "
    u"CLIENTES.FILIACAO, CLIENTES.ENDERECO, CLIENTES.BAIRRO, CLIENTES.CIDADE, CLIENTES.ESTADO, CLIENTES.CEP, "
    u"CLIENTES.CGC, CLIENTES.INSC, CLIENTES.TELEFONE1, CLIENTES.FAX, CLIENTES.CONTATO, CLIENTES.CELULAR, "
    u"CLIENTES.OBS1, CLIENTES.REFERE, CLIENTES.SPC1, CLIENTES.SPC2, CLIENTES.LOCAL_TRAB FROM CLIENTES ";
const char16_t kFornec[] =
    u"SELECT CODIGO, RAZAOSOC, FANTASIA, ENDERECO, BAIRRO, CIDADE, ESTADO, CEP, CGC, INSC, TELEFONE1, FAX FROM FORNEC ";
const char16_t kGrupo[] = u"SELECT CODIGO, DESCRICAO FROM GRUPO";
const char16_t kSubGrupo[] = u"SELECT CODIGO, DESCRICAO FROM SUBGRUPO";
const char16_t kFabrica[] = u"SELECT CODIGO, RAZAOSOC FROM FABRICA";
const char16_t kCR[] =
    u"Select CodEmp, CodCli, Numero_Doc, Emissao, Vencimento, Valor, Vendedor From CR Where CodEmp = :PCodEmp And "
    u"Pagamento Is Null";
const char16_t kContPag[] =
    u"Select CodEmp, Numero_Doc, CodFor, Valor, Emissao, Vencimento, Historico From ContPag Where CodEmp = :PCodEmp "
    u"And Pagamento Is Null";
// The product statement is built with the company code written into the text between
// double quotes; here over several lines, as a program builds such a text.
UString produtos(const UString& empresa) {
  return u"SELECT CODITEM, GRUPO, SUBGRUPO, DESCRICAO, UNIDADE, ESTMIN, PVENDA, COMISSAO, CUSTOATUAL, CUSTOMEDIO,\r\n"
         u"       C_FISCAL, EMPRESA, CODFAB\r\n  FROM PR\r\n WHERE EMPRESA = \"" +
         empresa + u"\"\r\n ORDER BY CODITEM ASC";
}

const std::vector<UString> kClientesCols = {
    u"CODIGO", u"DATA_ANI", u"DATA_CAD", u"RAZAOSOC", u"FANTASIA", u"FILIACAO", u"ENDERECO", u"BAIRRO",
    u"CIDADE", u"ESTADO", u"CEP", u"CGC", u"INSC", u"TELEFONE1", u"FAX", u"CONTATO",
    u"CELULAR", u"OBS1", u"REFERE", u"SPC1", u"SPC2", u"LOCAL_TRAB"};
const std::vector<UString> kFornecCols = {u"CODIGO", u"RAZAOSOC", u"FANTASIA", u"ENDERECO", u"BAIRRO", u"CIDADE",
                                          u"ESTADO", u"CEP", u"CGC", u"INSC", u"TELEFONE1", u"FAX"};
const std::vector<UString> kPrCols = {u"CODITEM", u"GRUPO", u"SUBGRUPO", u"DESCRICAO", u"UNIDADE",
                                      u"ESTMIN", u"PVENDA", u"COMISSAO", u"CUSTOATUAL", u"CUSTOMEDIO",
                                      u"C_FISCAL", u"EMPRESA", u"CODFAB"};

// The row count the way the customer, group, subgroup and document converters read it.
int countByLast(SourceQuery& q) {
  q.Last();
  const int n = q.RecordCount();
  q.First();
  return n;
}

}  // namespace

TEST(DbfStatements, Clientes) {
  auto q = Open(Sub("tolv"), kClientes);
  ASSERT_EQ(countByLast(*q), 2);
  EXPECT_EQ(Rows(*q, kClientesCols),
            (std::vector<std::string>{
                "000123|25/12/1980|04/03/2001|JOÃO DA SILVA|Padaria São João|Maria e José|Rua das Flores, 100|Centro|"
                "São Paulo|SP|01001-000|123.456.789-09|ISENTO|(11) 3333-4444||Conceição|(11) 99999-8888|"
                "Cliente desde 2001\r\nPaga em dia|Referência comercial||S|Fábrica Ação",
                "124|||ÁUREA COMÉRCIO LTDA|||Av. Brasil||Rio de Janeiro|RJ||12.345.678/0001-95||||||||||"}));
}

TEST(DbfStatements, Fornecedores) {
  auto q = Open(Sub("tolv"), kFornec);
  ASSERT_EQ(q->RecordCount(), 2);  // read right after opening
  EXPECT_EQ(Rows(*q, kFornecCols),
            (std::vector<std::string>{"1|DISTRIBUIDORA AÇÃO|Ação|Rua A, 1|Vila Nova|Curitiba|PR|80000-000|"
                                      "11.222.333/0001-44|123|(41) 3000-0000|(41) 3000-0001",
                                      "2|||||||||||"}));
}

TEST(DbfStatements, Produtos) {
  auto q = Open(Sub("tolv"), produtos(u"01"));
  ASSERT_EQ(q->RecordCount(), 6);
  EXPECT_EQ(Rows(*q, kPrCols),
            (std::vector<std::string>{
                "|00101|00101|SEM CÓDIGO|UN|0|1|0|1|1||01|",
                "000002|00101|00101|ÁGUA MINERAL|CX|0|12|0||||01|00001",
                "000002|00101|00101|ÁGUA COM GÁS (empate)|CX|0|13|0|2|2||01|00001",
                "000010|00101|00102|GUARANÁ 2L|UN|10|7,5|2,5|4,1|4,05|01|01|1",
                "B00001|00102|00102|MAIÚSCULO|KG|1,5|0,99|0|0|0|7|01|12",
                "a00001|00102|00102|minúsculo|KG|1,5|0,99|0|0|0|12|01|12",
            }));
  q->First();
  q->Next();
  q->Next();
  q->Next();  // 000010
  EXPECT_DOUBLE_EQ(q->FieldAsDouble(u"PVENDA"), 7.5);
  EXPECT_DOUBLE_EQ(q->FieldAsDouble(u"C_FISCAL"), 1);  // "C_FISCAL read as a number"
  EXPECT_DOUBLE_EQ(q->FieldAsDouble(u"CUSTOMEDIO"), 4.05);
  auto dois = Open(Sub("tolv"), produtos(u"02"));
  EXPECT_EQ(Rows(*dois, {u"CODITEM", u"C_FISCAL"}), (std::vector<std::string>{"000001|17"}));
}

TEST(DbfStatements, Grupos) {
  auto q = Open(Sub("tolv"), kGrupo);
  ASSERT_EQ(countByLast(*q), 2);
  EXPECT_EQ(Rows(*q, {u"CODIGO", u"DESCRICAO"}), (std::vector<std::string>{"01|BEBIDAS", "02|LATICÍNIOS"}));
}

TEST(DbfStatements, SubGrupos) {
  auto q = Open(Sub("tolv"), kSubGrupo);
  ASSERT_EQ(countByLast(*q), 2);
  EXPECT_EQ(Rows(*q, {u"CODIGO", u"DESCRICAO"}), (std::vector<std::string>{"0101|REFRIGERANTES", "0102|SUCOS"}));
}

TEST(DbfStatements, Fabricantes) {
  auto q = Open(Sub("tolv"), kFabrica);
  ASSERT_EQ(q->RecordCount(), 2);
  EXPECT_EQ(Rows(*q, {u"CODIGO", u"RAZAOSOC"}), (std::vector<std::string>{"00001|NESTLÉ", "12|AMBEV"}));
}

TEST(DbfStatements, Receber) {
  auto q = Open(Sub("tolv"), kCR, {{u"PCodEmp", u"01"}});
  ASSERT_EQ(countByLast(*q), 2);
  EXPECT_EQ(Rows(*q, {u"CodEmp", u"CodCli", u"Numero_Doc", u"Vendedor"}),
            (std::vector<std::string>{"01|123|NF1001/1|7", "01|126|NF\"1003\"|"}));
  q->First();
  EXPECT_EQ(FormatDateTime(u"dd/mm/yyyy", q->FieldAsDateTime(u"Emissao")), u"01/05/2013");
  EXPECT_EQ(FormatDateTime(u"dd/mm/yyyy", q->FieldAsDateTime(u"Vencimento")), u"01/06/2013");
  EXPECT_DOUBLE_EQ(q->FieldAsDouble(u"Valor"), 150.75);
  q->Next();
  EXPECT_EQ(FormatDateTime(u"dd/mm/yyyy", q->FieldAsDateTime(u"Emissao")), u"30/12/1899");  // null
  EXPECT_DOUBLE_EQ(q->FieldAsDouble(u"Valor"), 0.01);
  auto dois = Open(Sub("tolv"), kCR, {{u"PCodEmp", u"02"}});
  EXPECT_EQ(Rows(*dois, {u"Numero_Doc"}), (std::vector<std::string>{"NF2001/1"}));
}

TEST(DbfStatements, Pagar) {
  auto q = Open(Sub("tolv"), kContPag, {{u"PCodEmp", u"01"}});  // contpag.dbf on disk
  ASSERT_EQ(countByLast(*q), 1);
  EXPECT_EQ(Rows(*q, {u"CodEmp", u"Numero_Doc", u"CodFor", u"Historico"}),
            (std::vector<std::string>{"01|BOL-1|1|Compra de mercadorias"}));
  q->First();
  EXPECT_DOUBLE_EQ(q->FieldAsDouble(u"Valor"), 1234.56);
  EXPECT_EQ(FormatDateTime(u"dd/mm/yyyy", q->FieldAsDateTime(u"Emissao")), u"10/05/2013");
}

// The example legacy folder of the project (examples/tolv), when it is there: every
// statement opens and every column it names reads.
TEST(DbfStatements, EveryStatementOnTheExampleFolder) {
  const std::string dir = std::string(CT_SOURCE_DIR) + "/examples/tolv";
  if (!std::filesystem::is_directory(dir)) GTEST_SKIP() << dir << " not there yet";
  struct Case {
    UString sql;
    std::vector<UString> cols;
    bool company;
  };
  const std::vector<Case> cases = {
      {kClientes, kClientesCols, false},
      {kFornec, kFornecCols, false},
      {produtos(u"01"), kPrCols, false},
      {produtos(u"02"), kPrCols, false},
      {kGrupo, {u"CODIGO", u"DESCRICAO"}, false},
      {kSubGrupo, {u"CODIGO", u"DESCRICAO"}, false},
      {kFabrica, {u"CODIGO", u"RAZAOSOC"}, false},
      {kCR, {u"CodEmp", u"CodCli", u"Numero_Doc", u"Emissao", u"Vencimento", u"Valor", u"Vendedor"}, true},
      {kContPag, {u"CodEmp", u"Numero_Doc", u"CodFor", u"Valor", u"Emissao", u"Vencimento", u"Historico"}, true},
  };
  // The products come in code order.
  auto pr = Open(dir, produtos(u"01"));
  UString previous;
  for (; !pr->Eof(); pr->Next()) {
    const UString code = pr->FieldAsText(u"CODITEM");
    EXPECT_LE(previous, code);
    previous = code;
  }
  for (const Case& c : cases) {
    for (const char16_t* empresa : {u"01", u"02"}) {
      if (!c.company && empresa[1] == u'2') continue;
      std::vector<std::pair<UString, UString>> params;
      if (c.company) params.push_back({u"PCodEmp", empresa});
      std::unique_ptr<SourceQuery> q;
      ASSERT_NO_THROW(q = Open(dir, c.sql, params)) << S(c.sql);
      const int n = q->RecordCount();
      int seen = 0;
      for (; !q->Eof(); q->Next(), ++seen)
        for (const UString& col : c.cols) {
          EXPECT_NO_THROW(q->FieldAsText(col)) << S(c.sql) << " " << S(col) << " row " << seen + 1;
        }
      EXPECT_EQ(seen, n) << S(c.sql);
      EXPECT_GT(n, 0) << S(c.sql);
    }
  }
}
