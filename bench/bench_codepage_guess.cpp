// How often the code-page guess is right on the tables of make_codepage_tables.py.
//
//   bench_codepage_guess FOLDER
//
// For each code page and number of accented words: the share of tables whose code
// page was guessed, the share whose text reads as written (cp850 and cp860 read
// most accented letters alike), how many guesses were flagged close, and how many
// wrong guesses chose a code page that reads plainly worse (a character that is no
// Portuguese letter where the right one reads none). Exit status 1 when a table of
// 20 or more accented words reads wrong or a plainly worse reading was chosen.
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "platform/dbase/DbfTable.h"

namespace {

struct Cell {
  int tables = 0, cpRight = 0, textRight = 0, close = 0, closeWrong = 0, plainlyWorse = 0;
};

bool portugueseOrAscii(char16_t c) {
  return c < 0x80 || std::u16string_view(u"áàâãçéêíóôõúüÁÀÂÃÇÉÊÍÓÔÕÚÜºª°").find(c) != std::u16string_view::npos;
}

// The text of every character field, and how many characters are no Portuguese letter.
UString textOf(const dbase::Table& t, dbase::CodePage cp, int& foreign) {
  UString all;
  foreign = 0;
  for (std::uint32_t r = 0; r < t.RecordCount(); ++r)
    for (const dbase::Field& f : t.Fields()) {
      std::string_view s;
      if (f.type != 'C' || !t.TextBytes(r, f, s)) continue;
      const UString u = dbase::Decode(cp, reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
      for (char16_t c : u) foreign += !portugueseOrAscii(c);
      all += u + u'|';
    }
  return all;
}

dbase::CodePage named(const std::string& n) {
  if (n == "cp1252") return dbase::CodePage::Cp1252;
  if (n == "cp860") return dbase::CodePage::Cp860;
  return dbase::CodePage::Cp850;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  std::ifstream manifest(folder + "/manifest.txt");
  std::map<std::pair<std::string, int>, Cell> cells;
  int bad = 0;
  for (std::string line; std::getline(manifest, line);) {
    std::istringstream in(line);
    std::string name, cpName;
    int size = 0;
    in >> name >> cpName >> size;
    const dbase::Table t(folder + "/" + name + ".DBF", Utf8ToU(name));
    const dbase::CodePage truth = named(cpName), guess = t.Cp();
    int foreignTruth = 0, foreignGuess = 0;
    const bool textRight = textOf(t, truth, foreignTruth) == textOf(t, guess, foreignGuess);
    Cell& c = cells[{cpName, size}];
    ++c.tables;
    c.cpRight += guess == truth;
    c.textRight += textRight;
    c.close += t.CpGuessIsClose();
    c.closeWrong += t.CpGuessIsClose() && !textRight;
    const bool worse = !textRight && foreignTruth == 0 && foreignGuess > 0;
    c.plainlyWorse += worse;
    if ((!textRight && size >= 20) || worse) {
      ++bad;
      std::printf("wrong: %s (%s, %d accented words) read as %s%s\n", name.c_str(), cpName.c_str(), size,
                  dbase::CodePageName(guess), t.CpGuessIsClose() ? ", flagged close" : "");
    }
  }
  std::printf("| code page | accented words | tables | code page right | text right | flagged close (of them wrong) | plainly worse chosen |\n");
  std::printf("|---|---|---|---|---|---|---|\n");
  for (const auto& [key, c] : cells)
    std::printf("| %s | %d | %d | %.1f%% | %.1f%% | %d (%d) | %d |\n", key.first.c_str(), key.second, c.tables,
                100.0 * c.cpRight / c.tables, 100.0 * c.textRight / c.tables, c.close, c.closeWrong, c.plainlyWorse);
  return bad ? 1 : 0;
}
