// The texts-only parts of the target connection: parameter parsing, the
// commit-statement test and the codecs.
#include <gtest/gtest.h>

#include "platform/Error.h"
#include "platform/firebird/SqlText.h"

using namespace fb;

TEST(SqlText, NamedParametersBecomePositional) {
  auto p = ParseSql(u"Insert Into UNIDADES (UNIDADE) Values(:PUNIDADE)");
  EXPECT_EQ(p.sql, u"Insert Into UNIDADES (UNIDADE) Values(?)");
  ASSERT_EQ(p.params.size(), 1u);
  EXPECT_EQ(p.params[0], u"PUNIDADE");
  EXPECT_EQ(p.positional, 0);
}

TEST(SqlText, RepeatedNamesAndNameCharacters) {
  auto p = ParseSql(u"SELECT * FROM T WHERE A = :p_1 OR B = :P_1 OR C = :x$y");
  EXPECT_EQ(p.sql, u"SELECT * FROM T WHERE A = ? OR B = ? OR C = ?");
  ASSERT_EQ(p.params.size(), 3u);
  EXPECT_EQ(p.params[0], u"p_1");
  EXPECT_EQ(p.params[1], u"P_1");
  EXPECT_EQ(p.params[2], u"x$y");
}

TEST(SqlText, QuotedStringsAndCommentsAreLeftAlone) {
  std::u16string text =
      u"SELECT ':NAO', 'it''s :NAO', \"col:NAO\" -- :NAO here\n"
      u"FROM T /* :NAO\n :NAO */ WHERE X = :SIM AND Y = q'{:NAO}' AND Z = '12:30'";
  auto p = ParseSql(text);
  ASSERT_EQ(p.params.size(), 1u);
  EXPECT_EQ(p.params[0], u"SIM");
  std::size_t at = text.find(u":SIM");
  EXPECT_EQ(p.sql, text.substr(0, at) + u"?" + text.substr(at + 4));
}

TEST(SqlText, UnterminatedQuoteOrCommentSwallowsTheRest) {
  EXPECT_TRUE(ParseSql(u"SELECT 'abc :X").params.empty());
  EXPECT_TRUE(ParseSql(u"SELECT /* :X").params.empty());
}

TEST(SqlText, ColonNotFollowedByALetterIsNoParameter) {
  auto p = ParseSql(u"SELECT A[1:2] FROM T");
  EXPECT_TRUE(p.params.empty());
  EXPECT_EQ(p.sql, u"SELECT A[1:2] FROM T");
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
  EXPECT_TRUE(IsCommitStatement(u"COMMIT"));
  EXPECT_TRUE(IsCommitStatement(u"Commit;"));
  EXPECT_TRUE(IsCommitStatement(u"  commit ; \r\n"));
  EXPECT_TRUE(IsCommitStatement(u"COMMIT WORK"));
  EXPECT_TRUE(IsCommitStatement(u"\tcommit\twork;"));
  EXPECT_FALSE(IsCommitStatement(u"COMMIT RETAIN"));
  EXPECT_FALSE(IsCommitStatement(u"COMMIT;;"));
  EXPECT_FALSE(IsCommitStatement(u"COMMITTED"));
  EXPECT_FALSE(IsCommitStatement(u"SELECT 'COMMIT' FROM RDB$DATABASE"));
  EXPECT_FALSE(IsCommitStatement(u""));
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
