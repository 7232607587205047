// The texts-only parts of the target connection: parameter parsing, the
// commit-statement test and the codecs.
#include <gtest/gtest.h>

#include "platform/Error.h"
#include "platform/firebird/SqlText.h"

using namespace fb;

TEST(SqlText, NamedParametersBecomePositional) {
  // Quotes, identifiers, q'' strings and comments hide names, and "?"s, from the parser.
  const std::u16string head =
      u"SELECT ':NAO', 'it''s :NAO', \"col:NAO\" -- :NAO here\n"
      u"FROM T /* :NAO?\n :NAO */ WHERE X = ";
  const std::u16string tail = u" AND Y = q'{:NAO}' AND Z = '12:30'";
  struct Case { std::u16string text, sql; std::vector<UString> params; };
  const Case cases[] = {
      {u"Insert Into UNIDADES (UNIDADE) Values(:PUNIDADE)", u"Insert Into UNIDADES (UNIDADE) Values(?)", {u"PUNIDADE"}},
      // A name may repeat; each place keeps it as written.
      {u"SELECT * FROM T WHERE A = :p_1 OR B = :P_1 OR C = :x$y", u"SELECT * FROM T WHERE A = ? OR B = ? OR C = ?",
       {u"p_1", u"P_1", u"x$y"}},
      {head + u":SIM" + tail, head + u"?" + tail, {u"SIM"}},
      {u"SELECT A[1:2] FROM T", u"SELECT A[1:2] FROM T", {}},
      // An unterminated quote or comment swallows the rest.
      {u"SELECT 'abc :X", u"SELECT 'abc :X", {}},
      {u"SELECT /* :X", u"SELECT /* :X", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(UToUtf8(c.text));
    auto p = ParseSql(c.text);
    EXPECT_EQ(p.sql, c.sql);
    EXPECT_EQ(p.params, c.params);
    EXPECT_EQ(p.positional, 0);
    EXPECT_FALSE(p.psqlBody);
  }
}

TEST(SqlText, MixingPositionalAndNamedIsAnError) {
  try {
    ParseSql(u"UPDATE T SET A = ? WHERE B = :B");
    FAIL() << "no error";
  } catch (const EDatabaseError& e) {
    EXPECT_NE(e.Message().find(u"mixes"), std::u16string::npos);
  }
  EXPECT_EQ(ParseSql(u"UPDATE T SET A = ? WHERE B = '?'").positional, 1);
  EXPECT_NO_THROW(ParseSql(u"UPDATE T SET A = '?' WHERE B = :B"));
}

TEST(SqlText, PsqlBodiesAreSentUnchanged) {
  std::u16string body = u"create or alter procedure P (A INTEGER) as declare X integer; begin X = :A; end";
  auto p = ParseSql(body);
  EXPECT_TRUE(p.psqlBody);
  EXPECT_TRUE(p.params.empty());
  EXPECT_EQ(p.sql, body);
  EXPECT_TRUE(ParseSql(u"/* c */ EXECUTE BLOCK AS DECLARE X INT; BEGIN X = :X; END").psqlBody);
  EXPECT_TRUE(ParseSql(u"RECREATE TRIGGER T1 FOR T AS BEGIN NEW.A = :B; END").psqlBody);
  EXPECT_FALSE(ParseSql(u"CREATE TABLE T (A INTEGER)").psqlBody);
}

TEST(SqlText, CommitStatements) {
  for (const char16_t* yes : {u"COMMIT", u"Commit;", u"  commit ; \r\n", u"COMMIT WORK", u"\tcommit\twork;"})
    EXPECT_TRUE(IsCommitStatement(yes)) << UToUtf8(yes);
  for (const char16_t* no : {u"COMMIT RETAIN", u"COMMIT;;", u"COMMITTED", u"SELECT 'COMMIT' FROM RDB$DATABASE", u""})
    EXPECT_FALSE(IsCommitStatement(no)) << UToUtf8(no);
}

TEST(Codec, Win1252RoundTripAndRefusal) {
  std::string out;
  char32_t bad = 0;
  std::u16string pt = u"ç ã õ é Á Ç € ‰ Œ";
  ASSERT_TRUE(EncodeText(Codec::Win1252, pt, out, bad));
  EXPECT_EQ(static_cast<unsigned char>(out[0]), 0xE7);  // ç
  EXPECT_EQ(static_cast<unsigned char>(out[12]), 0x80);  // €
  EXPECT_EQ(DecodeText(Codec::Win1252, out), pt);
  EXPECT_FALSE(EncodeText(Codec::Win1252, u"a中b", out, bad));
  EXPECT_EQ(bad, U'中');
  EXPECT_FALSE(EncodeText(Codec::Latin1, u"€", out, bad));
  // The five bytes Windows-1252 leaves undefined hold no character: the engine
  // would store them as NUL, so their code points are refused like any other.
  for (char16_t c : {u'\u0081', u'\u008D', u'\u008F', u'\u0090', u'\u009D'}) {
    EXPECT_FALSE(EncodeText(Codec::Win1252, std::u16string(u"a") + c, out, bad)) << int(c);
    EXPECT_EQ(bad, char32_t(c));
  }
}

TEST(Codec, Utf8) {
  std::string out;
  char32_t bad = 0;
  std::u16string s = u"São 𝄞";
  ASSERT_TRUE(EncodeText(Codec::Utf8, s, out, bad));
  EXPECT_EQ(out, "S\xC3\xA3o \xF0\x9D\x84\x9E");
  EXPECT_EQ(DecodeText(Codec::Utf8, out), s);
  std::u16string lone(1, char16_t(0xD800));
  EXPECT_FALSE(EncodeText(Codec::Utf8, lone, out, bad));
  EXPECT_TRUE(IsValidUtf8(out));
  EXPECT_FALSE(IsValidUtf8("\xE7"));
}
