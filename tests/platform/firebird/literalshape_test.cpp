// Which literals a statement's shape takes out, and how each is typed.
#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <string>

#include "platform/firebird/LiteralShape.h"

using fb::Literal;
using fb::Shape;
using fb::ShapeOf;

namespace {

// "T:text", "A:1.5E3", "E:-125/-1" (value/scale, "L" when BIGINT); a leading "=" marks
// a compared literal.
std::string Describe(const Shape& s) {
  std::string out;
  for (const Literal& l : s.literals) {
    if (!out.empty()) out += " | ";
    if (l.use == Literal::Compared) out += "=";
    switch (l.kind) {
      case Literal::Text: out += "T:" + UToUtf8(l.text); break;
      case Literal::Approximate: out += "A:" + UToUtf8(l.text); break;
      case Literal::Exact:
        out += "E:" + std::to_string(l.value) + "/" + std::to_string(l.scale) + (l.wide ? "L" : "");
        break;
    }
  }
  return out;
}

struct Case {
  int dialect;
  std::u16string text, shape;  // an empty shape: nothing is taken out
  std::string literals;
};

void Check(const Case& c) {
  SCOPED_TRACE(UToUtf8(c.text));
  Shape s;
  bool shaped = ShapeOf(c.text, c.dialect, s);
  EXPECT_EQ(shaped, !c.shape.empty());
  if (!shaped) return;
  EXPECT_EQ(UToUtf8(s.sql), UToUtf8(c.shape));
  EXPECT_EQ(Describe(s), c.literals);
}

}  // namespace

// The statements the converters build: every value is taken out, each typed as the
// engine types the literal in that dialect.
TEST(LiteralShape, ConverterStatements) {
  const Case cases[] = {
      {1, u" Insert Into Cliente ( cliente.codCliente, cliente.nome, cliente.Ativo) Values ( '00000042', 'D''AVILA', \"N\") ",
       u" Insert Into Cliente ( cliente.codCliente, cliente.nome, cliente.Ativo) Values ( ?, ?, ?) ",
       "T:00000042 | T:D'AVILA | T:N"},
      {1, u"Insert Into Produto (A, B, C, D, E, F, G) Values ( 12.5, -3, 1.5E-5, 123456789012345, '05.03.2011', 7, - 0.25) ",
       u"Insert Into Produto (A, B, C, D, E, F, G) Values ( ?, ?, ?, ?, ?, ?, ?) ",
       "A:12.5 | E:-3/0 | A:1.5E-5 | A:123456789012345 | T:05.03.2011 | E:7/0 | A:-0.25"},
      {3, u"INSERT INTO P (A, B, C, D, E) VALUES (12.5, -3, 1.5E-5, 123456789012345, .5)",
       u"INSERT INTO P (A, B, C, D, E) VALUES (?, ?, ?, ?, ?)",
       "E:125/-1L | E:-3/0 | A:1.5E-5 | E:123456789012345/0L | E:5/-1L"},
      {1, u"SELECT CODCIDADE FROM CIDADES WHERE CIDADE = 'SÃO PAULO' AND ESTADO = 'SP'",
       u"SELECT CODCIDADE FROM CIDADES WHERE CIDADE = ? AND ESTADO = ?", "=T:SÃO PAULO | =T:SP"},
      {1, u"UPDATE OR INSERT INTO NATRECEITA (ID, CODRECEITA, DESCRECEITA) VALUES (1, 999,\"OUTRAS RECEITAS\")",
       u"UPDATE OR INSERT INTO NATRECEITA (ID, CODRECEITA, DESCRECEITA) VALUES (?, ?,?)",
       "=E:1/0 | =E:999/0 | =T:OUTRAS RECEITAS"},
      {1, u"UPDATE T SET A = 'x', T.B = -2.5 WHERE T.ID = 7 AND (C <> 'y')",
       u"UPDATE T SET A = ?, T.B = ? WHERE T.ID = ? AND (C <> ?)", "T:x | A:-2.5 | =E:7/0 | =T:y"},
      {1, u"DELETE FROM T WHERE A = 2147483648 OR B = -2147483647",
       u"DELETE FROM T WHERE A = ? OR B = ?", "=A:2147483648 | =E:-2147483647/0"},
      {3, u"DELETE FROM T WHERE A = -2147483648", u"DELETE FROM T WHERE A = ?", "=E:-2147483648/0L"},
  };
  for (const Case& c : cases) Check(c);
}

// Literals whose place gives a parameter another meaning, or none, stay in the text.
TEST(LiteralShape, LiteralsThatStay) {
  const Case cases[] = {
      {1, u"SELECT 'x' AS A, 1 FROM T WHERE A = 'y' || 'z' ORDER BY 1", u"", ""},
      {1, u"SELECT A FROM T WHERE A = 'a' ORDER BY 2", u"SELECT A FROM T WHERE A = ? ORDER BY 2", "=T:a"},
      {1, u"SELECT CAST(A AS VARCHAR(10)) FROM T WHERE B = 5", u"SELECT CAST(A AS VARCHAR(10)) FROM T WHERE B = ?",
       "=E:5/0"},
      {1, u"INSERT INTO T (A, B) VALUES (_WIN1252 'x', DATE '2020-01-01')", u"", ""},
      {1, u"INSERT INTO T (A, B) VALUES (1 + 2, 'a' || 'b')", u"", ""},
      {1, u"INSERT INTO T (A) SELECT 'x' FROM RDB$DATABASE WHERE 1 = 1", u"", ""},
      {1, u"INSERT INTO T (A, B) VALUES (0x1F, 1e)", u"", ""},
      {1, u"UPDATE T SET A = B - 5, C = (1)", u"", ""},
      {1, u"SELECT A FROM T WHERE A BETWEEN 1 AND 2 AND 3 = B AND A = 1 + B", u"", ""},
      {3, u"SELECT A FROM T WHERE A = 99999999999999999999", u"", ""},
      // Digits beyond 2^63 - 1 the engine's parser refuses or reads its own way.
      {1, u"INSERT INTO T (A, B, C) VALUES (12.345678901234567890123, 9223372036854775808, -922337203685477580.8)",
       u"", ""},
      {1, u"INSERT INTO T (A, B) VALUES (9223372036854775807, 9.223372036854775807E3)",
       u"INSERT INTO T (A, B) VALUES (?, ?)", "A:9223372036854775807 | A:9.223372036854775807E3"},
      {1, u"INSERT INTO T (A) VALUES (:A)", u"", ""},
      {1, u"INSERT INTO T (A, B) VALUES (?, 'x')", u"", ""},
      {1, u"INSERT INTO T (A) VALUES ('unclosed)", u"", ""},
      {1, u"DELETE FROM T", u"", ""},
      {1, u"CREATE TABLE T (A VARCHAR(10) DEFAULT 'x')", u"", ""},
      {1, u"EXECUTE PROCEDURE P 1, 'x'", u"", ""},
  };
  for (const Case& c : cases) Check(c);
}

// Strings, comments and quoted names are read the way the engine reads them.
TEST(LiteralShape, QuotesAndComments) {
  const Case cases[] = {
      {1, u"SELECT A FROM T WHERE A = 'it''s -- no comment' /* B = 'c' */ AND B = 1 -- C = 2\n",
       u"SELECT A FROM T WHERE A = ? /* B = 'c' */ AND B = ? -- C = 2\n", "=T:it's -- no comment | =E:1/0"},
      {1, u"INSERT INTO T (A, B) VALUES (\"say \"\"hi\"\"\", 'ação')", u"INSERT INTO T (A, B) VALUES (?, ?)",
       "T:say \"hi\" | T:ação"},
      // In dialect 3 double quotes name a column.
      {3, u"SELECT \"A\" FROM T WHERE \"A\" = 'x'", u"SELECT \"A\" FROM T WHERE \"A\" = ?", "=T:x"},
      {3, u"INSERT INTO T (A) VALUES (\"B\")", u"", ""},
      {1, u"SELECT A FROM T WHERE A = q'{it's}' AND B = 'k'", u"SELECT A FROM T WHERE A = q'{it's}' AND B = ?", "=T:k"},
  };
  for (const Case& c : cases) Check(c);
}

// The next row of a statement is read against the shape of the row before: whatever
// Reshape accepts, ShapeOf reads the same way (same shape, same values); rows whose
// literals are of other kinds, signs or forms are accepted too.
TEST(LiteralShape, ReshapeAgreesWithShapeOf) {
  const std::u16string templates[] = {
      u"INSERT INTO T (A, B, C) VALUES (@, @, @)",
      u"SELECT X FROM T WHERE A = @ AND T.B <> @ ORDER BY 1",
      u"UPDATE T SET A = @, B = @ WHERE ID = @",
      u"UPDATE OR INSERT INTO N (ID, C, D) VALUES (@, @,@)",
      u"INSERT INTO T (A, B) VALUES (@, 'kept ?') -- @",
  };
  const std::u16string values[] = {
      u"'x'", u"''", u"'it''s'", u"\"N\"", u"\"say \"\"hi\"\"\"", u"5", u"-5", u"- 5", u"+2.5", u"1.5E-5", u".5",
      u"5.", u"123456789012", u"-0"};
  const std::u16string odd[] = {
      u"-922337203685477580.8", u"12345678901234567890", u"5e", u"0x1F", u"/*c*/5", u"5/*c*/", u"'a'||'b'",
      u"q'{q}'", u"NULL", u"-'x'", u"'unclosed", u"?", u":P"};
  std::mt19937 rng(7);
  auto fill = [&](const std::u16string& t) {
    std::u16string out;
    for (char16_t c : t) {
      if (c != u'@') out += c;
      else if (rng() % 8) out += values[rng() % std::size(values)];
      else out += odd[rng() % std::size(odd)];
    }
    return out;
  };
  int accepted = 0;
  for (int i = 0; i < 4000; ++i) {
    const int dialect = i % 2 ? 1 : 3;
    const std::u16string& t = templates[rng() % std::size(templates)];
    const std::u16string a = fill(t), b = rng() % 4 ? fill(t) : fill(templates[rng() % std::size(templates)]);
    Shape first;
    if (!ShapeOf(a, dialect, first)) continue;
    Shape next = first;
    if (!fb::Reshape(b, dialect, next)) {
      EXPECT_EQ(Describe(next), Describe(first));  // left alone
      continue;
    }
    ++accepted;
    Shape direct;
    ASSERT_TRUE(ShapeOf(b, dialect, direct)) << UToUtf8(a) << " / " << UToUtf8(b);
    EXPECT_EQ(UToUtf8(direct.sql), UToUtf8(first.sql)) << UToUtf8(b);
    EXPECT_EQ(Describe(next), Describe(direct)) << UToUtf8(b);
  }
  EXPECT_GT(accepted, 500);
}
