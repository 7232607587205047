// Code pages: the language-driver byte, a .cpg file, and the guess for tables that
// carry neither, on Portuguese text (ç, ã, õ, é, Á, Ç).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/dbase/CodePage.h"
#include "platform/dbase/DbfTable.h"
#include "tests/platform/dbase/Fixtures.h"
#include "tests/support/DbfFixture.h"

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
      {"SEM1252C", {"MARIA", "CAÇAPAVA"}}, {"SEM850J", {"JOÃO", "PEDRO"}},
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

// A guess that one word decides is told as close, and so is every query that reads
// the table's text; a table that names its code page, or whose many words agree,
// is not.
TEST(DbfCodePage, ACloseGuessIsToldOnce) {
  using dbase::Table;
  const struct { const char* table; bool close; } cases[] = {
      {"SEM850J", true}, {"SEM850", false}, {"SEM1252C", false}, {"CP1252", false}, {"ASCII", false}};
  for (const auto& c : cases) {
    const Table t(dbase::FindTableFile(Dir(), Utf8ToU(c.table)), Utf8ToU(c.table));
    EXPECT_EQ(t.CpGuessIsClose(), c.close) << c.table << ": " << t.CpSource();
  }
  Engine().TakeRemarks();
  Select(Dir(), "SEM850J", {u"TEXTO"});
  Select(Dir(), "SEM850J", {u"TEXTO"});
  Select(Dir(), "SEM850", {u"TEXTO"});
  const std::vector<UString> told = Engine().TakeRemarks();
  ASSERT_EQ(told.size(), 1u);
  EXPECT_TRUE(Says(S(told[0]), {"SEM850J", "cp850", "cp1252 leria quase tão bem", "confira os acentos"}));
}

// Unmarked tables of Portuguese names, streets, cities and products in cp850, cp1252
// and cp860 (bench/make_codepage_tables.py; the benchmark runs the same on more
// tables): from 20 accented words on, every table reads as written, and no guess
// ever picks a code page that reads plainly worse than the right one.
TEST(DbfCodePage, TheGuessOnGeneratedPortugueseTables) {
  using dbase::Table;
  TempDir dir("dbase-codepages");
  const std::string make =
      "/usr/bin/python3 " CT_SOURCE_DIR "/bench/make_codepage_tables.py '" + dir.path() + "' 6 1717 >/dev/null";
  ASSERT_EQ(std::system(make.c_str()), 0);
  const UString portuguese = u"áàâãçéêíóôõúüÁÀÂÃÇÉÊÍÓÔÕÚÜºª°";
  auto read = [&](const Table& t, dbase::CodePage cp, int& foreign) {
    UString all;
    for (std::uint32_t r = 0; r < t.RecordCount(); ++r)
      for (const dbase::Field& f : t.Fields()) {
        std::string_view s;
        if (!t.TextBytes(r, f, s)) continue;
        const UString u = dbase::Decode(cp, reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
        for (char16_t ch : u) foreign += ch >= 0x80 && portuguese.find(ch) == UString::npos;
        all += u + u'|';
      }
    return all;
  };
  std::ifstream manifest(dir.path() + "/manifest.txt");
  int tables = 0;
  for (std::string line; std::getline(manifest, line); ++tables) {
    std::istringstream in(line);
    std::string name, cp;
    int words = 0;
    in >> name >> cp >> words;
    const Table t(dir.file(name + ".DBF"), Utf8ToU(name));
    const dbase::CodePage truth = cp == "cp1252" ? dbase::CodePage::Cp1252
                                  : cp == "cp860" ? dbase::CodePage::Cp860 : dbase::CodePage::Cp850;
    int foreignTruth = 0, foreignGuess = 0;
    const bool right = read(t, truth, foreignTruth) == read(t, t.Cp(), foreignGuess);
    SCOPED_TRACE(line + " read as " + dbase::CodePageName(t.Cp()));
    if (words >= 20) {
      EXPECT_TRUE(right && !t.CpGuessIsClose());
    }
    EXPECT_FALSE(!right && foreignTruth == 0 && foreignGuess > 0);
  }
  EXPECT_EQ(tables, 3 * 8 * 6);
}
