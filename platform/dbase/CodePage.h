#pragma once
// Code pages of the legacy tables: decoding to UTF-16, encoding of literals, the
// language-driver byte of the header, `.cpg` files, and the guess for tables that
// carry neither (see README, "Reading the legacy tables").
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Text.h"

namespace dbase {

enum class CodePage { Cp437, Cp850, Cp860, Cp1252, Utf8 };

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

// Evidence gathered from the bytes of the character fields of a table.
struct CodePageEvidence {
  // How often each byte 0x80-0xFF occurs: [byte][0] right after an ASCII small letter,
  // [byte][1] between two ASCII capitals, [byte][2] elsewhere beside an ASCII letter or
  // digit, [byte][3] with none on either side (not counted: frames, rulers).
  std::uint64_t count[256][4] = {};
  std::uint64_t highBytes = 0;    // bytes >= 0x80 seen
  std::uint64_t utf8Sequences = 0;  // well-formed multi-byte UTF-8 sequences seen
  bool utf8Broken = false;        // a byte >= 0x80 that is not part of one

  // Adds the bytes of one field value.
  void Add(const std::uint8_t* p, std::size_t n);
};

// The guess for a table that names no code page: UTF-8 when every high byte forms
// UTF-8; otherwise the Portuguese letters each candidate (cp850, cp1252, cp860) would
// make of the bytes (a capital right after a small letter, a small letter between
// two capitals, or a byte with no ASCII letter or digit beside it, not counted), less the box-drawing characters, control codes and
// unassigned bytes it would make of them; cp850 wins ties.
CodePage GuessCodePage(const CodePageEvidence& e);
// A table marked cp437 whose bytes only make sense as cp850 (ã, õ, Ã, Õ, Á... are
// box-drawing characters in cp437): cp850; otherwise cp437.
CodePage CheckCp437(const CodePageEvidence& e);

}  // namespace dbase
