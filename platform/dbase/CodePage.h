#pragma once
// Code pages of the legacy tables: decoding to UTF-16, encoding of literals, the
// language-driver byte of the header, `.cpg` files, and the guess for tables that
// carry neither (see README, "Reading the legacy tables").
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/Text.h"

namespace dbase {

enum class CodePage { Cp437, Cp850, Cp860, Cp1252, MacRoman, Utf8 };

const char* CodePageName(CodePage cp);

// Appends the decoded bytes to out.
void DecodeAppend(CodePage cp, const std::uint8_t* p, std::size_t n, UString& out);
inline UString Decode(CodePage cp, const std::uint8_t* p, std::size_t n) {
  UString s;
  DecodeAppend(cp, p, n, s);
  return s;
}
// Encodes text in the code page; false when a character has no byte there.
bool Encode(CodePage cp, std::u16string_view s, std::string& out);

// The code page a language-driver byte (header byte 29) names, when it is one this
// reader carries. 0 and unknown bytes give nothing.
std::optional<CodePage> CodePageFromLanguageDriver(std::uint8_t ldid);
// The code page a `.cpg` file names ("1252", "ANSI 1252", "850", "UTF-8", ...).
std::optional<CodePage> CodePageFromCpg(std::string_view text);

// Evidence gathered from the bytes of the character fields of a table: each byte
// above 0x7F with the bytes on either side of it (a blank at the ends of a value),
// counted, so that a candidate code page can be asked how the letters around each
// accented byte read.
struct CodePageEvidence {
  std::unordered_map<std::uint32_t, std::uint32_t> contexts;  // before << 16 | byte << 8 | after
  std::uint64_t highBytes = 0;      // bytes >= 0x80 seen
  std::uint64_t utf8Sequences = 0;  // well-formed multi-byte UTF-8 sequences seen
  bool utf8Broken = false;          // a byte >= 0x80 that is not part of one

  // Adds the bytes of one field value.
  void Add(const std::uint8_t* p, std::size_t n);
};

// The guess for a table that names no code page. UTF-8 when every high byte forms
// UTF-8. Otherwise each candidate (cp850, cp1252, cp860) reads every accented byte
// with its neighbours, and the table scores how Portuguese that reads: Ã and Õ
// before O, E, S or at the end of a word, Ç before a vowel, a capital not right
// after a small letter nor a small letter between capitals, º and ª after a digit
// or N; letters of other languages, box drawing, control codes, Greek letters and
// mathematical signs count against. A byte with no ASCII letter or digit on either
// side (frames and rulers of DOS screens) counts for none. The best score wins, cp850
// on a tie (the DOS systems are the ones that leave the mark empty).
struct CodePageGuess {
  CodePage cp = CodePage::Cp850;
  // The runner-up reads the bytes seen differently and scores within a few points
  // (about one accented word): the text may not be what was written.
  bool close = false;
  CodePage runnerUp = CodePage::Cp850;
  long long score = 0, runnerUpScore = 0;
};
CodePageGuess GuessCodePageOf(const CodePageEvidence& e);
inline CodePage GuessCodePage(const CodePageEvidence& e) { return GuessCodePageOf(e).cp; }
// A table marked cp437 whose bytes read better as cp850 (ã, õ, Ã, Õ, Á... are
// box-drawing characters in cp437): cp850; otherwise cp437.
CodePage CheckCp437(const CodePageEvidence& e);

}  // namespace dbase
