// Status vectors and errors: the client's entry point, the text of a Firebird
// status, and the conversions of text to and from the connection character set,
// whose failures are errors of their own.
#include <cstdio>
#include <cstring>

#include "platform/firebird/Internal.h"

using namespace Firebird;

namespace fb {

IMaster* Master() {
  static IMaster* m = fb_get_master_interface();
  return m;
}

void Fail(const UString& message) { throw EDatabaseError(message); }

std::string Hex(char32_t cp) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
  return buf;
}

UString DbState::Format(IStatus* s) const {
  char buf[4096];
  buf[0] = 0;
  util->formatStatus(buf, sizeof buf - 1, s);
  buf[sizeof buf - 1] = 0;
  std::string_view v(buf, std::strlen(buf));
  while (!v.empty() && (v.back() == '\n' || v.back() == '\r')) v.remove_suffix(1);
  std::string text(v);
  return IsValidUtf8(text) ? DecodeText(Codec::Utf8, text) : DecodeText(cs.codec, text);
}

void DbState::RequireConnected() const {
  if (!att) Fail(u"The database " + (name.empty() ? UString(u"(no name)") : name) + u" is not connected");
}

namespace {

// The character as the operator sees it, then its code: "╔" (U+2554). Controls and
// halves of a surrogate pair have no picture of their own: the code alone.
UString Shown(char32_t cp) {
  const UString code = U8(Hex(cp));
  if (cp < 0x20 || (cp >= 0x7F && cp <= 0x9F) || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return code;
  std::string utf8;
  AppendUtf8(utf8, cp);
  return u"\"" + Utf8ToU(utf8) + u"\" (" + code + u")";
}

}  // namespace

std::string DbState::Encode(std::u16string_view text, const UString& what) const {
  std::string out;
  char32_t bad = 0;
  if (!EncodeText(cs.codec, text, out, bad))
    Fail(u"Cannot transliterate character between character sets: " + what + u" holds the character " +
         Shown(bad) + u", which the connection character set " + cs.name + u" cannot hold");
  return out;
}

UString DbState::Decode(std::string_view bytes, unsigned charSet) const {
  switch (charSet) {
    case kCsUtf8:
    case kCsUnicodeFss: return DecodeText(Codec::Utf8, bytes);
    case kCsWin1252: return DecodeText(Codec::Win1252, bytes);
    case kCsIso8859_1:
    case kCsOctets:
    case kCsAscii: return DecodeText(Codec::Latin1, bytes);
    default: return DecodeText(cs.codec, bytes);
  }
}

}  // namespace fb
