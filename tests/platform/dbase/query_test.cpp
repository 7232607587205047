// The statements the engine takes and the query object the converters use.
#include <gtest/gtest.h>

#include "platform/Error.h"
#include "platform/dbase/Decimal.h"
#include "platform/dbase/DbfSql.h"
#include "tests/platform/dbase/Fixtures.h"

using namespace dbftest;

TEST(DbfSql, TheFormsTheConvertersUse) {
  dbase::Statement st = dbase::ParseStatement(
      u"select\n\tClientes.Codigo ,nome\r\n FROM  clientes  where CodEmp=:PCodEmp and\nPagamento is NULL AND x = \"a\"\"b\" "
      u"order\nby codigo asc ;");
  ASSERT_EQ(st.columns.size(), 2u);
  EXPECT_EQ(st.columns[0].table, u"Clientes");
  EXPECT_EQ(st.columns[0].name, u"Codigo");
  EXPECT_EQ(st.table, u"clientes");
  ASSERT_EQ(st.where.size(), 3u);
  EXPECT_EQ(st.where[0].op, dbase::Condition::EqualsParam);
  EXPECT_EQ(st.where[0].value, u"PCodEmp");
  EXPECT_EQ(st.where[1].op, dbase::Condition::IsNull);
  EXPECT_EQ(st.where[2].op, dbase::Condition::EqualsText);
  EXPECT_EQ(st.where[2].value, u"a\"b");
  ASSERT_TRUE(st.orderBy);
  EXPECT_EQ(st.orderBy->name, u"codigo");
  EXPECT_EQ(st.params, (std::vector<UString>{u"PCodEmp"}));
}

TEST(DbfSql, AnythingElseNamesWhatWasNotUnderstood) {
  struct Case {
    const char16_t* sql;
    const char* says;
  };
  const Case cases[] = {
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
  for (const Case& c : cases) {
    const std::string e = ErrorOf([&] { dbase::ParseStatement(c.sql); });
    EXPECT_NE(e.find("Comando SQL não entendido"), std::string::npos) << S(c.sql) << ": " << e;
    EXPECT_NE(e.find(c.says), std::string::npos) << S(c.sql) << ": " << e;
  }
  // Through the query object, the error is an ESourceError.
  auto q = NewSourceQuery();
  EXPECT_THROW(q->SetSQL(u"SELECT FROM GRUPO"), ESourceError);
}

TEST(DbfQuery, MissingFolderTableAndColumnAreNamed) {
  const std::string f = ErrorOf([] { Open("/nao/existe", u"SELECT CODIGO FROM GRUPO"); });
  EXPECT_NE(f.find("pasta das tabelas de origem não existe: \"/nao/existe\""), std::string::npos) << f;
  const std::string none = ErrorOf([] { Open("", u"SELECT CODIGO FROM GRUPO"); });
  EXPECT_NE(none.find("não foi informada"), std::string::npos) << none;
  const std::string t = ErrorOf([] { Open(Sub("vazia"), u"SELECT CODIGO FROM GRUPO"); });
  EXPECT_NE(t.find("tabela \"GRUPO\" não foi encontrada"), std::string::npos) << t;
  const std::string c = ErrorOf([] { Open(Sub("tolv"), u"SELECT CODIGO, NADA FROM GRUPO"); });
  EXPECT_NE(c.find("coluna \"NADA\" não existe na tabela \"GRUPO\""), std::string::npos) << c;
  const std::string w = ErrorOf([] { Open(Sub("tolv"), u"SELECT CODIGO FROM GRUPO WHERE NADA IS NULL"); });
  EXPECT_NE(w.find("coluna \"NADA\""), std::string::npos) << w;
  const std::string q = ErrorOf([] { Open(Sub("tolv"), u"SELECT SUBGRUPO.CODIGO FROM GRUPO"); });
  EXPECT_NE(q.find("não está no FROM"), std::string::npos) << q;
  auto g = Open(Sub("tolv"), u"SELECT CODIGO FROM GRUPO");
  const std::string r = ErrorOf([&] { g->FieldAsText(u"DESCRICAO"); });
  EXPECT_NE(r.find("coluna \"DESCRICAO\" não faz parte da consulta"), std::string::npos) << r;
}

TEST(DbfQuery, TablesAndColumnsWithoutRegardToLetterCase) {
  auto q = Open(Sub("tolv"), u"select codigo, Descricao from Grupo");  // GRUPO.DBF
  EXPECT_EQ(Rows(*q, {u"CODIGO", u"descricao", u"Grupo.Codigo", u"GRUPO.DESCRICAO"}),
            (std::vector<std::string>{"01|BEBIDAS|01|BEBIDAS", "02|LATICÍNIOS|02|LATICÍNIOS"}));
  EXPECT_EQ(Open(Sub("tolv"), u"SELECT CODEMP FROM ContPag")->RecordCount(), 3);   // contpag.dbf
  EXPECT_EQ(Open(Sub("tolv"), u"SELECT CODIGO FROM SUBGRUPO")->RecordCount(), 2);  // subgrupo.dbf
  EXPECT_EQ(Open(Sub("tolv"), u"SELECT CODIGO FROM fabrica")->RecordCount(), 2);   // Fabrica.DBF
  const std::string e = ErrorOf([] { Open(Sub("duplo"), u"SELECT COD FROM Dup"); });
  EXPECT_NE(e.find("é ambígua"), std::string::npos) << e;
  EXPECT_NE(e.find("Dup.dbf"), std::string::npos) << e;
  EXPECT_NE(e.find("DUP.DBF"), std::string::npos) << e;
}

TEST(DbfQuery, NavigationAsTheLegacyDatasets) {
  auto q = Open(Sub("tolv"), u"SELECT CODIGO FROM GRUPO");
  EXPECT_TRUE(q->Active());
  EXPECT_EQ(q->RecordCount(), 2);  // exact before any row is read
  EXPECT_FALSE(q->Eof());
  EXPECT_EQ(q->RecNo(), 1);
  q->Last();
  EXPECT_TRUE(q->Eof());  // Last leaves the query at its end, on the last row
  EXPECT_EQ(q->RecNo(), 2);
  EXPECT_EQ(q->FieldAsText(u"CODIGO"), u"02");
  q->First();
  EXPECT_FALSE(q->Eof());
  EXPECT_EQ(q->FieldAsText(u"CODIGO"), u"01");
  q->Next();
  EXPECT_FALSE(q->Eof());
  q->Next();
  EXPECT_TRUE(q->Eof());
  EXPECT_EQ(q->RecNo(), 2);
  q->Close();
  EXPECT_FALSE(q->Active());
  EXPECT_TRUE(q->Eof());
  EXPECT_THROW(q->RecordCount(), ESourceError);
  q->Open();  // again, from the first row
  EXPECT_EQ(q->FieldAsText(u"CODIGO"), u"01");

  auto empty = Open(Sub("tolv"), u"SELECT CODIGO FROM GRUPO WHERE CODIGO = \"99\"");
  EXPECT_TRUE(empty->Eof());
  EXPECT_EQ(empty->RecordCount(), 0);
  EXPECT_EQ(empty->RecNo(), 0);
  EXPECT_THROW(empty->FieldAsText(u"CODIGO"), ESourceError);
}

TEST(DbfQuery, ParametersAreBoundByNameAsText) {
  auto q = NewSourceQuery();
  q->SetDatabaseName(Utf8ToU(Sub("tolv")));
  q->SetSQL(u"SELECT NUMERO_DOC FROM CR WHERE CODEMP = :PCodEmp AND PAGAMENTO IS NULL");
  EXPECT_THROW(q->Open(), ESourceError);  // not bound
  EXPECT_THROW(q->BindText(u"Outro", u"01"), ESourceError);
  q->BindText(u"pcodemp", u"01");
  q->Open();
  EXPECT_EQ(Rows(*q, {u"NUMERO_DOC"}), (std::vector<std::string>{"NF1001/1", "NF\"1003\""}));
  q->Close();
  q->BindText(u":PCodEmp", u"02");
  q->Open();
  EXPECT_EQ(Rows(*q, {u"NUMERO_DOC"}), (std::vector<std::string>{"NF2001/1"}));
  q->SetSQL(u"");
  EXPECT_EQ(q->SQL(), u"");
  EXPECT_THROW(q->Open(), ESourceError);
}

TEST(DbfQuery, WhereComparesTheStoredTextPaddingAside) {
  const std::string tolv = Sub("tolv");
  EXPECT_EQ(Open(tolv, u"SELECT CODIGO FROM FABRICA WHERE CODIGO = \"12\"")->RecordCount(), 1);
  EXPECT_EQ(Open(tolv, u"SELECT CODIGO FROM FABRICA WHERE CODIGO = \"12   \"")->RecordCount(), 1);
  EXPECT_EQ(Open(tolv, u"SELECT CODIGO FROM FABRICA WHERE CODIGO = \"012\"")->RecordCount(), 0);
  EXPECT_EQ(Open(tolv, u"SELECT CODIGO FROM FABRICA WHERE RAZAOSOC = \"ambev\"")->RecordCount(), 0);  // case counts
  EXPECT_EQ(Open(tolv, u"SELECT CODIGO FROM FABRICA WHERE RAZAOSOC = \"NESTLÉ\"")->RecordCount(), 1);
  // Numbers compare as numbers, dates as dates; the empty text finds the nulls.
  EXPECT_EQ(Open(tolv, u"SELECT VALOR FROM CR WHERE VALOR = \"150.75\"")->RecordCount(), 1);
  EXPECT_EQ(Open(tolv, u"SELECT VALOR FROM CR WHERE VALOR = \"0010,00\"")->RecordCount(), 1);
  EXPECT_EQ(Open(tolv, u"SELECT VALOR FROM CR WHERE EMISSAO = \"02/05/2013\"")->RecordCount(), 1);
  EXPECT_EQ(Open(tolv, u"SELECT VALOR FROM CR WHERE EMISSAO = \"20130502\"")->RecordCount(), 1);
  EXPECT_EQ(Open(tolv, u"SELECT VALOR FROM CR WHERE EMISSAO = \"\"")->RecordCount(), 1);
  EXPECT_EQ(Open(tolv, u"SELECT VALOR FROM CR WHERE VENDEDOR = \"\"")->RecordCount(), 2);
  EXPECT_EQ(Open(tolv, u"SELECT VALOR FROM CR WHERE VENDEDOR IS NULL")->RecordCount(), 2);
  const std::string e = ErrorOf([&] { Open(tolv, u"SELECT VALOR FROM CR WHERE VALOR = \"muito\""); });
  EXPECT_NE(e.find("não é um número"), std::string::npos) << e;
  EXPECT_NE(e.find("coluna \"VALOR\""), std::string::npos) << e;
}

TEST(DbfQuery, OrderByIsStableByteOrderNullsFirst) {
  auto q = Open(Sub("tolv"), u"SELECT CODITEM, DESCRICAO FROM PR WHERE EMPRESA = \"01\" ORDER BY CODITEM ASC");
  EXPECT_EQ(Rows(*q, {u"CODITEM", u"DESCRICAO"}),
            (std::vector<std::string>{"|SEM CÓDIGO", "000002|ÁGUA MINERAL", "000002|ÁGUA COM GÁS (empate)",
                                      "000010|GUARANÁ 2L", "B00001|MAIÚSCULO", "a00001|minúsculo"}));
  auto n = Open(Sub("tolv"), u"SELECT NUMERO_DOC FROM CR ORDER BY VALOR");
  EXPECT_EQ(Rows(*n, {u"NUMERO_DOC"}), (std::vector<std::string>{"NF\"1003\"", "NF2001/1", "NF1002/1", "NF1001/1"}));
  auto d = Open(Sub("tolv"), u"SELECT NUMERO_DOC FROM CR ORDER BY EMISSAO");
  EXPECT_EQ(Rows(*d, {u"NUMERO_DOC"}), (std::vector<std::string>{"NF\"1003\"", "NF1001/1", "NF1002/1", "NF2001/1"}));
  const std::string m = ErrorOf([] { Open(Sub("tolv"), u"SELECT CODIGO FROM CLIENTES ORDER BY OBS1"); });
  EXPECT_NE(m.find("não pode ordenar"), std::string::npos) << m;
}

TEST(DbfQuery, OrderByLongTextsAndExactNumbers) {
  // Keys longer than the sort prefix, ties beyond it, and numbers a double cannot tell apart.
  auto q = Open(Dir(), u"SELECT LONGO FROM CLIPPER ORDER BY LONGO");
  EXPECT_EQ(S(q->FieldAsText(u"LONGO")), "curto");
  auto v = Open(Dir(), u"SELECT COD FROM VALORES WHERE COD = \"A\" ORDER BY N18");
  EXPECT_EQ(v->RecordCount(), 1);
}

TEST(DbfDecimal, OnTheDigits) {
  using dbase::Decimal;
  using dbase::ParseDecimal;
  using dbase::ParseResult;
  Decimal d;
  ASSERT_EQ(ParseDecimal("  0012.3400", d), ParseResult::Ok);
  EXPECT_EQ(d.Text(','), "12,34");
  ASSERT_EQ(ParseDecimal("-.5", d), ParseResult::Ok);
  EXPECT_EQ(d.Text(), "-0.5");
  ASSERT_EQ(ParseDecimal("1.25E-3", d), ParseResult::Ok);
  EXPECT_EQ(d.Text(), "0.00125");
  ASSERT_EQ(ParseDecimal("999999999999999999", d), ParseResult::Ok);
  EXPECT_EQ(d.Text(), "999999999999999999");
  EXPECT_EQ(ParseDecimal("   ", d), ParseResult::Null);
  EXPECT_EQ(ParseDecimal("**.**", d), ParseResult::Null);
  EXPECT_EQ(ParseDecimal("1 2", d), ParseResult::Bad);
  EXPECT_EQ(ParseDecimal("1.2.3", d), ParseResult::Bad);
  EXPECT_EQ(ParseDecimal("-", d), ParseResult::Bad);
  EXPECT_EQ(ParseDecimal("12*", d), ParseResult::Bad);
  EXPECT_EQ(Decimal::FromScaled(-1, 4).Text(), "-0.0001");
  EXPECT_EQ(Decimal::FromScaled(1234567891234, 4).Text(), "123456789.1234");
  Decimal a, b;
  ParseDecimal("123456789012345678", a);
  ParseDecimal("123456789012345679", b);
  EXPECT_LT(dbase::CompareDecimal(a, b), 0);
  ParseDecimal("-2", a);
  ParseDecimal("-10", b);
  EXPECT_GT(dbase::CompareDecimal(a, b), 0);
}
