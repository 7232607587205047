// Code pages: the language-driver byte, a .cpg file, and the guess for tables that
// carry neither, on Portuguese text (ç, ã, õ, é, Á, Ç).
#include <gtest/gtest.h>

#include "platform/dbase/CodePage.h"
#include "tests/platform/dbase/Fixtures.h"

using namespace dbftest;

namespace {

const Strings kPt = {"AÇÃO ação São João Conceição Áurea é õ Õ Ç", "JOÃO DA CONCEIÇÃO", "AVENIDA SÃO PAULO Nº 10",
                     "Maçã e Pêssego"};

}  // namespace

TEST(DbfCodePage, TheTextOfEveryCodePageAndMark) {
  const Strings upper = {"JOÃO DA CONCEIÇÃO", "AVENIDA SÃO PAULO", "JOSÉ", "INFORMAÇÕES"};
  const Strings few = {"café", "até logo", "é"};
  const struct { const char* table; Strings texts; } cases[] = {
      // The language-driver byte: 0x02, 0x24, 0x03, 0x57, 0x01.
      {"CP850", kPt}, {"CP860", kPt}, {"CP1252", kPt}, {"ANSI57", kPt}, {"CP437", {"açúcar é ç Ç à ê ô ª º"}},
      {"CPG", kPt},  // the byte says cp850, CPG.cpg says 1252: the .cpg wins
      {"MARCA437", kPt},  // marked cp437 with letters cp437 lacks: cp850
      // Neither: the text tells.
      {"SEM850", kPt}, {"SEM1252", kPt}, {"SEM860", kPt}, {"SEMUTF8", kPt}, {"MAI850", upper}, {"MAI1252", upper},
      {"ASCII", {"SEM ACENTOS", "nada"}},
      // é, â, à of cp1252 are the capitals Ú, Ô, Ó of cp850: the case of the word tells.
      {"MIN1252", few}, {"MIN850", few},
      // Frames and rulers (no letter beside them) are no letters: JOÃO, not ÍÍÍ and JOÇO.
      {"BOX850", {"╔══════════════════╗", "║ JOÃO DA CONCEIÇÃO ║", "╚══════════════════╝", "Ação ─────────"}},
      {"BOX437", {"╓────╖", "╟────╢", "╙────╜", "açúcar"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Select(Dir(), c.table, {u"TEXTO"}), c.texts) << c.table;
  EXPECT_TRUE(Says(ErrorOf([] { Select(Dir(), "CPGRUIM", {u"TEXTO"}); }), {"KOI8-R"}));
}

TEST(DbfCodePage, WhereLiteralsAreComparedInTheTablesCodePage) {
  for (const char* t : {"CP850", "CP860", "CP1252", "SEM850", "SEM1252", "SEMUTF8"}) {
    auto q = Open(Dir(), Utf8ToU(std::string("SELECT TEXTO FROM ") + t + " WHERE TEXTO = \"Maçã e Pêssego\""));
    EXPECT_EQ(q->RecordCount(), 1) << t;
  }
  // A text the code page cannot hold matches nothing.
  EXPECT_EQ(Open(Dir(), u"SELECT TEXTO FROM CP850 WHERE TEXTO = \"\u4E2D\"")->RecordCount(), 0);
}

// What no fixture table shows: other spellings of .cpg files, and the code page
// of a table without mark whose character fields hold no letter beyond ASCII
// (its memos are read in it).
TEST(DbfCodePage, CpgSpellingsAndTheGuessWithoutEvidence) {
  using namespace dbase;
  EXPECT_EQ(CodePageFromCpg("ANSI 1252\r\n"), CodePage::Cp1252);
  EXPECT_EQ(CodePageFromCpg("UTF-8"), CodePage::Utf8);
  EXPECT_EQ(CodePageFromCpg("850"), CodePage::Cp850);
  EXPECT_EQ(GuessCodePage(CodePageEvidence()), CodePage::Cp850);
}
