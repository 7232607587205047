// The statements the engine takes and the query object the converters use.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/Error.h"
#include "platform/dbase/DbfSql.h"
#include "platform/dbase/Decimal.h"
#include "tests/platform/dbase/Fixtures.h"
#include "tests/support/DbfFixture.h"

using namespace dbftest;

// Blanks, tabs and line breaks anywhere, keywords in any case, a qualified column,
// "=" without blanks, a doubled quote inside a text, the closing semicolon.
TEST(DbfSql, TheFormsTheConvertersUse) {
  const UString sql =
      u"select\n\tCr.Numero_Doc ,valor\r\n FROM  cr  where CodEmp=:PCodEmp and\nPagamento is NULL AND "
      u"numero_doc = \"NF\"\"1003\"\"\" order\nby numero_doc asc ;";
  EXPECT_EQ(Rows(*Open(Sub("tolv"), sql, {{u"PCodEmp", u"01"}}), {u"NUMERO_DOC", u"VALOR"}), (Strings{"NF\"1003\"|0,01"}));
  EXPECT_EQ(dbase::ParseStatement(sql).params, (std::vector<UString>{u"PCodEmp"}));
}

TEST(DbfSql, AnythingElseNamesWhatWasNotUnderstood) {
  const struct { const char16_t* sql; const char* says; } cases[] = {
      {u"", "esperado SELECT, encontrado o fim do comando"},
      {u"DELETE FROM GRUPO", "esperado SELECT, encontrado \"DELETE\" (posição 1)"},
      {u"SELECT * FROM GRUPO", "SELECT * não é aceito"},
      {u"SELECT CODIGO GRUPO", "esperado FROM, encontrado \"GRUPO\""},
      {u"SELECT CODIGO FROM GRUPO WHERE CODIGO > 1", "esperado \"=\" ou IS NULL"},
      {u"SELECT CODIGO FROM GRUPO WHERE CODIGO = 'x'", "o apóstrofo não é aceito"},
      {u"SELECT CODIGO FROM GRUPO WHERE CODIGO = 1", "depois de \"=\""},
      {u"SELECT CODIGO FROM GRUPO WHERE CODIGO IS NOT NULL", "IS NOT NULL não é aceito"},
      {u"SELECT CODIGO FROM GRUPO WHERE CODIGO = :P OR CODIGO = :Q", "OR não é aceito"},
      {u"SELECT CODIGO FROM GRUPO ORDER BY CODIGO DESC", "a ordem decrescente não é aceita"},
      {u"SELECT CODIGO FROM GRUPO ORDER BY CODIGO, DESCRICAO", "ORDER BY aceita uma só coluna"},
      {u"SELECT CODIGO FROM GRUPO, SUBGRUPO", "esperado o fim do comando, encontrado \",\""},
      {u"SELECT CODIGO FROM GRUPO WHERE CODIGO = \"aberto", "aspas"},
      {u"SELECT CODIGO FROM GRUPO ORDER BY CODIGO WHERE CODIGO = \"1\"", "WHERE e ORDER BY vão nesta ordem"},
  };
  for (const auto& c : cases)
    EXPECT_TRUE(Says(ErrorOf([&] { dbase::ParseStatement(c.sql); }), {"Comando SQL não entendido", c.says})) << S(c.sql);
  // Through the query object, the error is an ESourceError.
  auto q = Engine().NewQuery(Brasil());
  EXPECT_THROW(q->SetSQL(u"SELECT FROM GRUPO"), ESourceError);
}

TEST(DbfQuery, MissingFolderTableAndColumnAreNamed) {
  const std::string tolv = Sub("tolv");
  const struct { std::string folder; const char16_t* sql; const char* says; } cases[] = {
      {"/nao/existe", u"SELECT CODIGO FROM GRUPO", "pasta das tabelas de origem não existe: \"/nao/existe\""},
      {"", u"SELECT CODIGO FROM GRUPO", "não foi informada"},
      {Sub("vazia"), u"SELECT CODIGO FROM GRUPO", "tabela \"GRUPO\" não foi encontrada"},
      {tolv, u"SELECT CODIGO, NADA FROM GRUPO", "coluna \"NADA\" não existe na tabela \"GRUPO\""},
      {tolv, u"SELECT CODIGO FROM GRUPO WHERE NADA IS NULL", "coluna \"NADA\""},
      {tolv, u"SELECT SUBGRUPO.CODIGO FROM GRUPO", "não está no FROM"},
  };
  for (const auto& c : cases) EXPECT_TRUE(Says(OpenError(c.folder, c.sql), {c.says})) << S(c.sql);
  auto g = Open(tolv, u"SELECT CODIGO FROM GRUPO");
  EXPECT_TRUE(Says(ErrorOf([&] { g->FieldAsText(u"DESCRICAO"); }), {"coluna \"DESCRICAO\" não faz parte da consulta"}));
}

TEST(DbfQuery, TablesAndColumnsWithoutRegardToLetterCase) {
  auto q = Open(Sub("tolv"), u"select codigo, Descricao from Grupo");  // GRUPO.DBF
  EXPECT_EQ(Rows(*q, {u"CODIGO", u"descricao", u"Grupo.Codigo", u"GRUPO.DESCRICAO"}),
            (Strings{"01|BEBIDAS|01|BEBIDAS", "02|LATICÍNIOS|02|LATICÍNIOS"}));
  EXPECT_EQ(Open(Sub("tolv"), u"SELECT CODEMP FROM ContPag")->RecordCount(), 3);   // contpag.dbf
  EXPECT_EQ(Open(Sub("tolv"), u"SELECT CODIGO FROM SUBGRUPO")->RecordCount(), 2);  // subgrupo.dbf
  EXPECT_EQ(Open(Sub("tolv"), u"SELECT CODIGO FROM fabrica")->RecordCount(), 2);   // Fabrica.DBF
  EXPECT_TRUE(Says(OpenError(Sub("duplo"), u"SELECT COD FROM Dup"), {"é ambígua", "Dup.dbf", "DUP.DBF"}));
}

TEST(DbfQuery, NavigationAsTheLegacyDatasets) {
  auto q = Open(Sub("tolv"), u"SELECT CODIGO FROM GRUPO");
  auto where = [&] { return (q->Eof() ? "end, " : "") + std::to_string(q->RecNo()) + ": " + S(q->FieldAsText(u"CODIGO")); };
  EXPECT_TRUE(q->Active());
  EXPECT_EQ(q->RecordCount(), 2);  // exact before any row is read
  EXPECT_EQ(where(), "1: 01");
  q->Last();
  EXPECT_EQ(where(), "end, 2: 02");  // Last leaves the query at its end, on the last row
  q->First();
  EXPECT_EQ(where(), "1: 01");
  q->Next();
  EXPECT_EQ(where(), "2: 02");
  q->Next();
  EXPECT_EQ(where(), "end, 2: 02");
  q->Close();
  EXPECT_FALSE(q->Active());
  EXPECT_TRUE(q->Eof());
  EXPECT_THROW(q->RecordCount(), ESourceError);
  q->Open();  // again, from the first row
  EXPECT_EQ(where(), "1: 01");

  auto empty = Open(Sub("tolv"), u"SELECT CODIGO FROM GRUPO WHERE CODIGO = \"99\"");
  EXPECT_TRUE(empty->Eof());
  EXPECT_EQ(empty->RecordCount(), 0);
  EXPECT_EQ(empty->RecNo(), 0);
  EXPECT_THROW(empty->FieldAsText(u"CODIGO"), ESourceError);
}

TEST(DbfQuery, ParametersAreBoundByNameAsText) {
  auto q = Engine().NewQuery(Brasil());
  q->SetDatabaseName(Utf8ToU(Sub("tolv")));
  q->SetSQL(u"SELECT NUMERO_DOC FROM CR WHERE CODEMP = :PCodEmp AND PAGAMENTO IS NULL");
  EXPECT_THROW(q->Open(), ESourceError);  // not bound
  EXPECT_THROW(q->BindText(u"Outro", u"01"), ESourceError);
  q->BindText(u"pcodemp", u"01");
  q->Open();
  EXPECT_EQ(Rows(*q, {u"NUMERO_DOC"}), (Strings{"NF1001/1", "NF\"1003\""}));
  q->Close();
  q->BindText(u":PCodEmp", u"02");
  q->Open();
  EXPECT_EQ(Rows(*q, {u"NUMERO_DOC"}), (Strings{"NF2001/1"}));
  q->SetSQL(u"");
  EXPECT_EQ(q->SQL(), u"");
  EXPECT_THROW(q->Open(), ESourceError);
}

// Text compares as stored, padding aside and case counting; numbers as numbers,
// dates as dates; the empty text finds the nulls.
TEST(DbfQuery, WhereComparesTheStoredValue) {
  const struct { const char16_t* sql; int rows; } cases[] = {
      {u"SELECT CODIGO FROM FABRICA WHERE CODIGO = \"12\"", 1},
      {u"SELECT CODIGO FROM FABRICA WHERE CODIGO = \"12   \"", 1},
      {u"SELECT CODIGO FROM FABRICA WHERE CODIGO = \"012\"", 0},
      {u"SELECT CODIGO FROM FABRICA WHERE RAZAOSOC = \"ambev\"", 0},
      {u"SELECT CODIGO FROM FABRICA WHERE RAZAOSOC = \"NESTLÉ\"", 1},
      {u"SELECT VALOR FROM CR WHERE VALOR = \"150.75\"", 1},
      {u"SELECT VALOR FROM CR WHERE VALOR = \"0010,00\"", 1},
      {u"SELECT VALOR FROM CR WHERE EMISSAO = \"02/05/2013\"", 1},
      {u"SELECT VALOR FROM CR WHERE EMISSAO = \"20130502\"", 1},
      {u"SELECT VALOR FROM CR WHERE EMISSAO = \"\"", 1},
      {u"SELECT VALOR FROM CR WHERE VENDEDOR = \"\"", 2},
      {u"SELECT VALOR FROM CR WHERE VENDEDOR IS NULL", 2},
  };
  for (const auto& c : cases) EXPECT_EQ(Open(Sub("tolv"), c.sql)->RecordCount(), c.rows) << S(c.sql);
  // Date-time fields: a literal with a time finds that moment, a bare date midnight.
  const struct { const char16_t* sql; Strings rows; } moments[] = {
      {u"SELECT NOME FROM VFP WHERE QUANDO = \"21/05/2013 18:30:15\"", {"Ação"}},
      {u"SELECT NOME FROM VFP WHERE QUANDO = \"21/05/2013 18:30:16\"", {}},
      {u"SELECT NOME FROM VFP WHERE QUANDO = \"21/05/2013\"", {"Negativo"}},
      {u"SELECT NOME FROM VFP WHERE QUANDO = \"01/01/1900 00:00:01\"", {"Grande"}},
  };
  for (const auto& m : moments) EXPECT_EQ(Rows(*Open(Dir(), m.sql), {u"NOME"}), m.rows) << S(m.sql);
  EXPECT_TRUE(Says(OpenError(Sub("tolv"), u"SELECT VALOR FROM CR WHERE VALOR = \"muito\""),
                   {"não é um número", "coluna \"VALOR\""}));
}

// Byte order, nulls first, ties in record order; texts alike beyond the sort key's
// prefix and 18-digit numbers a double cannot tell apart still come in order.
TEST(DbfQuery, OrderBy) {
  const struct { std::string folder; const char16_t* sql; Columns cols; Strings rows; } cases[] = {
      {Sub("tolv"), u"SELECT CODITEM, DESCRICAO FROM PR WHERE EMPRESA = \"01\" ORDER BY CODITEM ASC",
       {u"CODITEM", u"DESCRICAO"},
       {"|SEM CÓDIGO", "000002|ÁGUA MINERAL", "000002|ÁGUA COM GÁS (empate)", "000010|GUARANÁ 2L", "B00001|MAIÚSCULO",
        "a00001|minúsculo"}},
      {Sub("tolv"), u"SELECT NUMERO_DOC FROM CR ORDER BY VALOR", {u"NUMERO_DOC"},
       {"NF\"1003\"", "NF2001/1", "NF1002/1", "NF1001/1"}},
      {Sub("tolv"), u"SELECT NUMERO_DOC FROM CR ORDER BY EMISSAO", {u"NUMERO_DOC"},
       {"NF\"1003\"", "NF1001/1", "NF1002/1", "NF2001/1"}},
      {Dir(), u"SELECT COD FROM CLIPPER ORDER BY LONGO", {u"COD"}, {"c2", "c3", "c1"}},
      {Dir(), u"SELECT COD FROM VALORES ORDER BY N18", {u"COD"}, {"B", "G", "C", "F", "E", "D", "A"}},
      // In file order, the file ending inside the last record.
      {Dir(), u"SELECT COD FROM CURTO ORDER BY COD", {u"COD"},
       {"R01", "R02", "R03", "R04", "R05", "R06", "R07", "R08", "R09", "R10"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Rows(*Open(c.folder, c.sql), c.cols), c.rows) << S(c.sql);
  EXPECT_TRUE(Says(OpenError(Sub("tolv"), u"SELECT CODIGO FROM CLIENTES ORDER BY OBS1"), {"não pode ordenar"}));
}

// Every kind of column, thousands of rows in random order with repeats and nulls of
// every spelling, against the order worked out from python3-dbfread's reading
// (make_fixtures.py): long shared prefixes, accented bytes, negatives, numbers alike
// in more digits than a double holds, dates and date-times from year 1 to 9999.
TEST(DbfQuery, OrderByEveryKindAgreesWithAnIndependentReader) {
  std::ifstream in(Dir() + "/ORDEM.txt");
  std::string line;
  int columns = 0;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string what;
    words >> what;
    const std::string table = what.substr(0, what.find('.')), column = what.substr(what.find('.') + 1);
    Strings expected;
    for (std::string id; words >> id;) expected.push_back(id);
    SCOPED_TRACE(what);
    auto q = Open(Dir(), Utf8ToU("SELECT ID FROM " + table + " ORDER BY " + column + " ASC"));
    EXPECT_EQ(Rows(*q, {u"ID"}), expected);
    ++columns;
  }
  EXPECT_EQ(columns, 10);
}

namespace {

long residentKb() {
  std::ifstream in("/proc/self/status");
  for (std::string line; std::getline(in, line);)
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  return 0;
}

// How much the resident memory grows, at most, while the whole table is read.
long growthKb(const std::string& folder, const UString& sql) {
  const long before = residentKb();
  long peak = before;
  auto q = Open(folder, sql);
  for (int row = 0; !q->Eof(); q->Next(), ++row) {
    q->FieldAsText(u"RAZAOSOC");
    if (row % 500 == 0) peak = std::max(peak, residentKb());
  }
  return peak - before;
}

}  // namespace

// Visiting the records in the order of a key scattered over the file keeps no more
// of the file resident than a read in file order: the keys are what the sort holds.
TEST(DbfQuery, ASortedReadDoesNotHoldTheFile) {
  TempDir dir("dbase-sorted-read");
  const std::string make = "/usr/bin/python3 " CT_SOURCE_DIR "/bench/make_big_dbf.py '" + dir.path() + "' 40000 >/dev/null";
  ASSERT_EQ(std::system(make.c_str()), 0);  // 22 MB, CODALEAT a random permutation
  const long inOrder = growthKb(dir.path(), u"SELECT RAZAOSOC FROM CLIENTES");
  const long sorted = growthKb(dir.path(), u"SELECT RAZAOSOC FROM CLIENTES ORDER BY CODALEAT");
  EXPECT_LT(sorted, inOrder + 6 * 1024) << "in file order " << inOrder << " kB";
}

TEST(DbfDecimal, OnTheDigits) {
  using dbase::ParseResult;
  const struct { const char* in; ParseResult result; const char* text; } cases[] = {
      {"  0012.3400", ParseResult::Ok, "12,34"}, {"-.5", ParseResult::Ok, "-0,5"}, {"1.25E-3", ParseResult::Ok, "0,00125"},
      {"999999999999999999", ParseResult::Ok, "999999999999999999"}, {"   ", ParseResult::Null, ""},
      {"**.**", ParseResult::Null, ""}, {"1 2", ParseResult::Bad, ""}, {"1.2.3", ParseResult::Bad, ""},
      {"-", ParseResult::Bad, ""}, {"12*", ParseResult::Bad, ""},
  };
  for (const auto& c : cases) {
    dbase::Decimal d;
    ASSERT_EQ(dbase::ParseDecimal(c.in, d), c.result) << c.in;
    if (c.result == ParseResult::Ok) {
      EXPECT_EQ(d.Text(','), c.text);
    }
  }
  dbase::Decimal a, b;
  dbase::ParseDecimal("-2", a);
  dbase::ParseDecimal("-10", b);
  EXPECT_GT(dbase::CompareDecimal(a, b), 0);
}
