// Fuzz target: the target connection's statement texts, without a database: the
// named-parameter lexer, the literal scanner of the statement cache, the
// commit-statement test and the character set codecs.
// The first byte of the input chooses how the rest is read: even, as UTF-8; odd, as
// UTF-16 code units (little-endian), so that lone surrogates reach the codecs.
//
// Besides not crashing, what must hold:
// - every ":NAME" became one "?": lexing the result again finds no name and as many
//   "?" as names and "?" there were;
// - a shape has a "?" at each of its cuts, one per literal, and the text it came
//   from reshapes into it; when a second text (after a U+0001 in the input)
//   reshapes into a shape, scanning it afresh gives the same shape and values;
// - a text a codec encodes decodes back to itself;
// - the only error is the one for "?" mixed with ":NAME".
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/Error.h"
#include "platform/firebird/LiteralShape.h"
#include "platform/firebird/SqlText.h"

namespace {

[[noreturn]] void Broken(const char* what, std::u16string_view text) {
  std::fprintf(stderr, "%s: %s\n", what, UToUtf8(text).c_str());
  std::abort();
}

UString Input(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return UString();
  if ((data[0] & 1) == 0) return Utf8ToU(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
  UString s;
  for (std::size_t i = 1; i + 1 < size; i += 2) s.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  return s;
}

void CheckLexer(const UString& text) {
  fb::ParsedSql p;
  try {
    p = fb::ParseSql(text);
  } catch (const EDatabaseError&) {
    return;  // "?" mixed with ":NAME"
  }
  if (p.psqlBody) {
    if (p.sql != text || !p.params.empty()) Broken("a PSQL body was changed", text);
    return;
  }
  if (!p.params.empty() && p.positional != 0) Broken("mixed parameters were accepted", text);
  for (const UString& name : p.params)
    if (name.empty()) Broken("an empty parameter name", text);
  fb::ParsedSql again;
  try {
    again = fb::ParseSql(p.sql);
  } catch (const EDatabaseError&) {
    Broken("the lexed text does not lex again", text);
  }
  if (!again.params.empty() || again.positional != p.positional + static_cast<int>(p.params.size()) ||
      again.sql != p.sql)
    Broken("the lexed text lexes to something else", text);
}

bool SameLiterals(const fb::Shape& a, const fb::Shape& b) {
  if (a.sql != b.sql || a.cuts != b.cuts || a.literals.size() != b.literals.size()) return false;
  for (std::size_t i = 0; i < a.literals.size(); ++i) {
    const fb::Literal &x = a.literals[i], &y = b.literals[i];
    if (x.kind != y.kind || x.use != y.use || x.text != y.text || x.value != y.value || x.scale != y.scale ||
        x.wide != y.wide)
      return false;
  }
  return true;
}

void CheckShapes(const UString& input) {
  const auto sep = input.find(u'\u0001');
  const UString first = input.substr(0, sep);
  const UString second = sep == UString::npos ? UString() : input.substr(sep + 1);
  for (int dialect : {1, 3}) {
    fb::Shape shape;
    if (!fb::ShapeOf(first, dialect, shape)) continue;
    if (shape.cuts.size() != shape.literals.size()) Broken("a shape with a cut per literal", first);
    for (std::size_t c : shape.cuts)
      if (c >= shape.sql.size() || shape.sql[c] != u'?') Broken("a cut that is no \"?\"", first);
    fb::Shape again = shape;
    if (!fb::Reshape(first, dialect, again) || !SameLiterals(again, shape)) Broken("a text does not fit its own shape", first);
    if (sep == UString::npos) continue;
    fb::Shape next = shape;
    if (!fb::Reshape(second, dialect, next)) continue;
    fb::Shape fresh;
    if (!fb::ShapeOf(second, dialect, fresh) || !SameLiterals(fresh, next)) Broken("reshaping differs from scanning", input);
  }
}

void CheckCodecs(const UString& text) {
  for (fb::Codec c : {fb::Codec::Utf8, fb::Codec::Win1252, fb::Codec::Latin1}) {
    std::string bytes;
    char32_t bad = 0;
    if (fb::EncodeText(c, text, bytes, bad)) {
      if (fb::DecodeText(c, bytes) != text) Broken("a text does not come back from its codec", text);
    } else if (bad == 0) {  // NUL is in every set: a refusal names another character
      Broken("a refused text names no character", text);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const UString text = Input(data, size);
  CheckLexer(text);
  CheckShapes(text);
  (void)fb::IsCommitStatement(text);
  CheckCodecs(text);
  // Bytes from the database come back as text whatever they are.
  const std::string_view raw(reinterpret_cast<const char*>(data), size);
  for (fb::Codec c : {fb::Codec::Utf8, fb::Codec::Win1252, fb::Codec::Latin1}) {
    const UString back = fb::DecodeText(c, raw);
    std::string bytes;
    char32_t bad = 0;
    if (!fb::EncodeText(fb::Codec::Utf8, back, bytes, bad)) Broken("decoded bytes are not valid text", back);
  }
  return 0;
}
