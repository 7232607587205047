// Code pages: the language-driver byte, a .cpg file, and the guess for tables that
// carry neither, on Portuguese text (ç, ã, õ, é, Á, Ç).
#include <gtest/gtest.h>

#include "platform/dbase/CodePage.h"
#include "tests/platform/dbase/Fixtures.h"

using namespace dbftest;

namespace {

const std::vector<std::string> kPt = {"AÇÃO ação São João Conceição Áurea é õ Õ Ç", "JOÃO DA CONCEIÇÃO",
                                      "AVENIDA SÃO PAULO Nº 10", "Maçã e Pêssego"};

std::vector<std::string> texts(const char* table) {
  auto q = Open(Dir(), Utf8ToU(std::string("SELECT TEXTO FROM ") + table));
  return Rows(*q, {u"TEXTO"});
}

}  // namespace

TEST(DbfCodePage, FromTheLanguageDriverByte) {
  EXPECT_EQ(texts("CP850"), kPt);   // 0x02
  EXPECT_EQ(texts("CP860"), kPt);   // 0x24
  EXPECT_EQ(texts("CP1252"), kPt);  // 0x03
  EXPECT_EQ(texts("ANSI57"), kPt);  // 0x57
  EXPECT_EQ(texts("CP437"), (std::vector<std::string>{"açúcar é ç Ç à ê ô ª º"}));  // 0x01
}

TEST(DbfCodePage, ACpgFileBesideTheTableWins) {
  EXPECT_EQ(texts("CPG"), kPt);  // byte says cp850, CPG.cpg says 1252
  const std::string e = ErrorOf([] { texts("CPGRUIM"); });
  EXPECT_NE(e.find("KOI8-R"), std::string::npos) << e;
}

TEST(DbfCodePage, WithoutEitherTheTextTellsTheCodePage) {
  EXPECT_EQ(texts("SEM850"), kPt);
  EXPECT_EQ(texts("SEM1252"), kPt);
  EXPECT_EQ(texts("SEM860"), kPt);
  EXPECT_EQ(texts("SEMUTF8"), kPt);
  EXPECT_EQ(texts("MAI850"), (std::vector<std::string>{"JOÃO DA CONCEIÇÃO", "AVENIDA SÃO PAULO", "JOSÉ", "INFORMAÇÕES"}));
  EXPECT_EQ(texts("MAI1252"), (std::vector<std::string>{"JOÃO DA CONCEIÇÃO", "AVENIDA SÃO PAULO", "JOSÉ", "INFORMAÇÕES"}));
  EXPECT_EQ(texts("ASCII"), (std::vector<std::string>{"SEM ACENTOS", "nada"}));
  // é, â, à of cp1252 are the capitals Ú, Ô, Ó of cp850: the case of the word tells.
  EXPECT_EQ(texts("MIN1252"), (std::vector<std::string>{"café", "até logo", "é"}));
  EXPECT_EQ(texts("MIN850"), (std::vector<std::string>{"café", "até logo", "é"}));
}

TEST(DbfCodePage, ATableMarkedCp437WithLettersCp437LacksIsCp850) {
  EXPECT_EQ(texts("MARCA437"), kPt);
}

TEST(DbfCodePage, WhereLiteralsAreComparedInTheTablesCodePage) {
  for (const char* t : {"CP850", "CP860", "CP1252", "SEM850", "SEM1252", "SEMUTF8"}) {
    auto q = Open(Dir(), Utf8ToU(std::string("SELECT TEXTO FROM ") + t + " WHERE TEXTO = \"Maçã e Pêssego\""));
    EXPECT_EQ(q->RecordCount(), 1) << t;
  }
  // A text the code page cannot hold matches nothing.
  EXPECT_EQ(Open(Dir(), u"SELECT TEXTO FROM CP850 WHERE TEXTO = \"\u4E2D\"")->RecordCount(), 0);
}

TEST(DbfCodePage, TablesAndGuess) {
  using namespace dbase;
  EXPECT_EQ(Decode(CodePage::Cp850, reinterpret_cast<const std::uint8_t*>("\x87\xC6\xE4\x82\xB5\x80"), 6), Utf8ToU("çãõéÁÇ"));
  EXPECT_EQ(Decode(CodePage::Cp1252, reinterpret_cast<const std::uint8_t*>("\xE7\xE3\xF5\xE9\xC1\xC7"), 6), Utf8ToU("çãõéÁÇ"));
  EXPECT_EQ(Decode(CodePage::Cp860, reinterpret_cast<const std::uint8_t*>("\x87\x84\x94\x82\x86\x80"), 6), Utf8ToU("çãõéÁÇ"));
  std::string bytes;
  ASSERT_TRUE(Encode(CodePage::Cp850, Utf8ToU("ação"), bytes));
  EXPECT_EQ(bytes, "a\x87\xC6o");
  EXPECT_FALSE(Encode(CodePage::Cp437, Utf8ToU("ã"), bytes));
  EXPECT_EQ(CodePageFromCpg("ANSI 1252\r\n"), CodePage::Cp1252);
  EXPECT_EQ(CodePageFromCpg("UTF-8"), CodePage::Utf8);
  EXPECT_EQ(CodePageFromCpg("850"), CodePage::Cp850);
  EXPECT_FALSE(CodePageFromCpg("KOI8-R"));
  EXPECT_EQ(CodePageFromLanguageDriver(0x24), CodePage::Cp860);
  EXPECT_FALSE(CodePageFromLanguageDriver(0x00));
  CodePageEvidence none;
  EXPECT_EQ(GuessCodePage(none), CodePage::Cp850);
}
