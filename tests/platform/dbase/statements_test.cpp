// Every source statement of the converters (customers, suppliers, products, groups,
// subgroups, manufacturers, receivables, payables), word for word, returning its
// columns read as the converters read them.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/DateTime.h"
#include "tests/platform/dbase/Fixtures.h"

using namespace dbftest;

namespace {

// The product statement is built with the company code written into the text between
// double quotes; here over several lines, as a program builds such a text.
UString produtos(const UString& empresa) {
  return u"SELECT CODITEM, GRUPO, SUBGRUPO, DESCRICAO, UNIDADE, ESTMIN, PVENDA, COMISSAO, CUSTOATUAL, CUSTOMEDIO,\r\n"
         u"       C_FISCAL, EMPRESA, CODFAB\r\n  FROM PR\r\n WHERE EMPRESA = \"" +
         empresa + u"\"\r\n ORDER BY CODITEM ASC";
}

const char16_t kCR[] =
    u"Select CodEmp, CodCli, Numero_Doc, Emissao, Vencimento, Valor, Vendedor From CR Where CodEmp = :PCodEmp And "
    u"Pagamento Is Null";
const char16_t kContPag[] =
    u"Select CodEmp, Numero_Doc, CodFor, Valor, Emissao, Vencimento, Historico From ContPag Where CodEmp = :PCodEmp "
    u"And Pagamento Is Null";
const Columns kPrCols = {u"CODITEM", u"GRUPO",    u"SUBGRUPO",   u"DESCRICAO",  u"UNIDADE",
                         u"ESTMIN",  u"PVENDA",   u"COMISSAO",   u"CUSTOATUAL", u"CUSTOMEDIO",
                         u"C_FISCAL", u"EMPRESA", u"CODFAB"};
const Columns kCRCols = {u"CodEmp", u"CodCli", u"Numero_Doc", u"Emissao", u"Vencimento", u"Valor", u"Vendedor"};
const Columns kContPagCols = {u"CodEmp", u"Numero_Doc", u"CodFor", u"Valor", u"Emissao", u"Vencimento", u"Historico"};

// Each statement (the texts of the converters, runs of blanks collapsed to one) with
// its company parameter, the columns the converter reads, and its rows on the fixtures.
struct Statement {
  UString sql, company;
  Columns cols;
  Strings rows;
};

const std::vector<Statement>& Statements() {
  static const std::vector<Statement> all = {
      {u"SELECT CLIENTES.CODIGO, CLIENTES.DATA_ANI, CLIENTES.DATA_CAD, CLIENTES.RAZAOSOC, CLIENTES.FANTASIA, "
       u"CLIENTES.FILIACAO, CLIENTES.ENDERECO, CLIENTES.BAIRRO, CLIENTES.CIDADE, CLIENTES.ESTADO, CLIENTES.CEP, "
       u"CLIENTES.CGC, CLIENTES.INSC, CLIENTES.TELEFONE1, CLIENTES.FAX, CLIENTES.CONTATO, CLIENTES.CELULAR, "
       u"CLIENTES.OBS1, CLIENTES.REFERE, CLIENTES.SPC1, CLIENTES.SPC2, CLIENTES.LOCAL_TRAB FROM CLIENTES ",
       u"",
       {u"CODIGO", u"DATA_ANI", u"DATA_CAD", u"RAZAOSOC", u"FANTASIA", u"FILIACAO", u"ENDERECO", u"BAIRRO", u"CIDADE",
        u"ESTADO", u"CEP", u"CGC", u"INSC", u"TELEFONE1", u"FAX", u"CONTATO", u"CELULAR", u"OBS1", u"REFERE", u"SPC1",
        u"SPC2", u"LOCAL_TRAB"},
       {"000123|25/12/1980|04/03/2001|JOÃO DA SILVA|Padaria São João|Maria e José|Rua das Flores, 100|Centro|"
        "São Paulo|SP|01001-000|123.456.789-09|ISENTO|(11) 3333-4444||Conceição|(11) 99999-8888|"
        "Cliente desde 2001\r\nPaga em dia|Referência comercial||S|Fábrica Ação",
        "124|||ÁUREA COMÉRCIO LTDA|||Av. Brasil||Rio de Janeiro|RJ||12.345.678/0001-95||||||||||"}},
      {u"SELECT CODIGO, RAZAOSOC, FANTASIA, ENDERECO, BAIRRO, CIDADE, ESTADO, CEP, CGC, INSC, TELEFONE1, FAX FROM "
       u"FORNEC ",
       u"",
       {u"CODIGO", u"RAZAOSOC", u"FANTASIA", u"ENDERECO", u"BAIRRO", u"CIDADE", u"ESTADO", u"CEP", u"CGC", u"INSC",
        u"TELEFONE1", u"FAX"},
       {"1|DISTRIBUIDORA AÇÃO|Ação|Rua A, 1|Vila Nova|Curitiba|PR|80000-000|11.222.333/0001-44|123|(41) 3000-0000|"
        "(41) 3000-0001",
        "2|||||||||||"}},
      {produtos(u"01"), u"", kPrCols,
       {"|00101|00101|SEM CÓDIGO|UN|0|1|0|1|1||01|", "000002|00101|00101|ÁGUA MINERAL|CX|0|12|0||||01|00001",
        "000002|00101|00101|ÁGUA COM GÁS (empate)|CX|0|13|0|2|2||01|00001",
        "000010|00101|00102|GUARANÁ 2L|UN|10|7,5|2,5|4,1|4,05|01|01|1",
        "B00001|00102|00102|MAIÚSCULO|KG|1,5|0,99|0|0|0|7|01|12",
        "a00001|00102|00102|minúsculo|KG|1,5|0,99|0|0|0|12|01|12"}},
      {produtos(u"02"), u"", kPrCols, {"000001|00102|00101|EMPRESA DOIS|UN|0|1|0|1|1|17|02|"}},
      {u"SELECT CODIGO, DESCRICAO FROM GRUPO", u"", {u"CODIGO", u"DESCRICAO"}, {"01|BEBIDAS", "02|LATICÍNIOS"}},
      {u"SELECT CODIGO, DESCRICAO FROM SUBGRUPO", u"", {u"CODIGO", u"DESCRICAO"}, {"0101|REFRIGERANTES", "0102|SUCOS"}},
      {u"SELECT CODIGO, RAZAOSOC FROM FABRICA", u"", {u"CODIGO", u"RAZAOSOC"}, {"00001|NESTLÉ", "12|AMBEV"}},
      {kCR, u"01", kCRCols, {"01|123|NF1001/1|01/05/2013|01/06/2013|150,75|7", "01|126|NF\"1003\"|||0,01|"}},
      {kCR, u"02", kCRCols, {"02|125|NF2001/1|03/05/2013|03/06/2013|10|8"}},
      {kContPag, u"01", kContPagCols, {"01|BOL-1|1|1234,56|10/05/2013|10/06/2013|Compra de mercadorias"}},
      {kContPag, u"02", kContPagCols, {"02|BOL-2|2|10|11/05/2013|11/06/2013|Outra empresa"}},
  };
  return all;
}

std::unique_ptr<SourceQuery> OpenStatement(const std::string& folder, const Statement& s) {
  if (s.company.empty()) return Open(folder, s.sql);
  return Open(folder, s.sql, {{u"PCodEmp", s.company}});
}

std::string dmy(TDateTime t) { return S(FormatDateTime(u"dd/mm/yyyy", t, Brasil())); }

}  // namespace

TEST(DbfStatements, EveryStatementOnTheFixtures) {
  for (const Statement& s : Statements()) {
    SCOPED_TRACE(S(s.sql) + " / " + S(s.company));
    auto q = OpenStatement(Sub("tolv"), s);
    const int n = static_cast<int>(s.rows.size());
    EXPECT_EQ(q->RecordCount(), n);  // read right after opening, as some converters do
    q->Last();  // and after Last, as the others
    EXPECT_EQ(q->RecordCount(), n);
    EXPECT_EQ(Rows(*q, s.cols), s.rows);
  }
}

TEST(DbfStatements, NumbersAndDatesAsTheConvertersReadThem) {
  const auto& all = Statements();
  auto pr = OpenStatement(Sub("tolv"), all[2]);
  At(*pr, 4);  // 000010
  EXPECT_DOUBLE_EQ(pr->FieldAsDouble(u"PVENDA"), 7.5);
  EXPECT_DOUBLE_EQ(pr->FieldAsDouble(u"C_FISCAL"), 1);  // a character column read as a number
  EXPECT_DOUBLE_EQ(pr->FieldAsDouble(u"CUSTOMEDIO"), 4.05);
  auto cr = OpenStatement(Sub("tolv"), all[7]);
  EXPECT_EQ(dmy(cr->FieldAsDateTime(u"Emissao")), "01/05/2013");
  EXPECT_EQ(dmy(cr->FieldAsDateTime(u"Vencimento")), "01/06/2013");
  EXPECT_DOUBLE_EQ(cr->FieldAsDouble(u"Valor"), 150.75);
  cr->Next();
  EXPECT_EQ(dmy(cr->FieldAsDateTime(u"Emissao")), "30/12/1899");  // null
  EXPECT_DOUBLE_EQ(cr->FieldAsDouble(u"Valor"), 0.01);
  auto pag = OpenStatement(Sub("tolv"), all[9]);
  EXPECT_DOUBLE_EQ(pag->FieldAsDouble(u"Valor"), 1234.56);
  EXPECT_EQ(dmy(pag->FieldAsDateTime(u"Emissao")), "10/05/2013");
}

// The example legacy folder of the project (examples/tolv), when it is there: every
// statement opens and every column it names reads; the products come in code order.
TEST(DbfStatements, EveryStatementOnTheExampleFolder) {
  const std::string dir = std::string(CT_SOURCE_DIR) + "/examples/tolv";
  if (!std::filesystem::is_directory(dir)) GTEST_SKIP() << dir << " not there yet";
  for (const Statement& s : Statements()) {
    SCOPED_TRACE(S(s.sql) + " / " + S(s.company));
    std::unique_ptr<SourceQuery> q;
    ASSERT_NO_THROW(q = OpenStatement(dir, s));
    const int n = q->RecordCount();
    int seen = 0;
    UString previous;
    for (; !q->Eof(); q->Next(), ++seen) {
      for (const UString& col : s.cols) EXPECT_NO_THROW(q->FieldAsText(col)) << S(col) << " row " << seen + 1;
      if (s.cols == kPrCols) {
        EXPECT_LE(previous, q->FieldAsText(u"CODITEM"));
        previous = q->FieldAsText(u"CODITEM");
      }
    }
    EXPECT_EQ(seen, n);
    EXPECT_GT(n, 0);
  }
}
