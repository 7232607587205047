#include "platform/Text.h"

#include <charconv>
#include <cstring>

bool NextUtf8(std::string_view s, std::size_t& i, char32_t& cp) {
  unsigned char b = static_cast<unsigned char>(s[i]);
  std::size_t len;
  char32_t min;
  if (b < 0x80) { cp = b; ++i; return true; }
  if ((b & 0xE0) == 0xC0) { len = 2; cp = b & 0x1F; min = 0x80; }
  else if ((b & 0xF0) == 0xE0) { len = 3; cp = b & 0x0F; min = 0x800; }
  else if ((b & 0xF8) == 0xF0) { len = 4; cp = b & 0x07; min = 0x10000; }
  else { ++i; return false; }
  if (i + len > s.size()) { ++i; return false; }
  for (std::size_t k = 1; k < len; ++k) {
    unsigned char c = static_cast<unsigned char>(s[i + k]);
    if ((c & 0xC0) != 0x80) { ++i; return false; }
    cp = (cp << 6) | (c & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) { ++i; return false; }
  i += len;
  return true;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

bool IsValidUtf8(std::string_view s) {
  std::size_t i = 0;
  char32_t cp;
  while (i < s.size())
    if (!NextUtf8(s, i, cp)) return false;
  return true;
}

UString Utf8ToU(std::string_view s) {
  UString out;
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    char32_t cp;
    if (!NextUtf8(s, i, cp)) {
      out.push_back(u'\uFFFD');
    } else if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return out;
}

std::string UToUtf8(std::u16string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    char32_t cp = s[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;  // lone surrogate
    }
    AppendUtf8(out, cp);
  }
  return out;
}

UString UpperAZ(std::u16string_view s) {
  UString out(s);
  for (auto& c : out)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  return out;
}

UString TrimLeftCtl(std::u16string_view s) {
  std::size_t b = 0;
  while (b < s.size() && s[b] <= 32) ++b;
  return UString(s.substr(b));
}

UString TrimRightCtl(std::u16string_view s) {
  std::size_t e = s.size();
  while (e > 0 && s[e - 1] <= 32) --e;
  return UString(s.substr(0, e));
}

UString TrimCtl(std::u16string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && s[b] <= 32) ++b;
  while (e > b && s[e - 1] <= 32) --e;
  return UString(s.substr(b, e - b));
}

UString LeftU(std::u16string_view s, std::size_t n) { return UString(s.substr(0, n)); }

UString RightU(std::u16string_view s, std::size_t n) {
  return n >= s.size() ? UString(s) : UString(s.substr(s.size() - n));
}

bool SameTextAscii(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  if (a.empty()) return true;
  // Names are mostly written alike in both places (a column read row after row).
  if (std::memcmp(a.data(), b.data(), a.size() * sizeof(char16_t)) == 0) return true;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char16_t x = a[i], y = b[i];
    if (x >= u'a' && x <= u'z') x = static_cast<char16_t>(x - 32);
    if (y >= u'a' && y <= u'z') y = static_cast<char16_t>(y - 32);
    if (x != y) return false;
  }
  return true;
}

UString IntToU(long long v) {
  char buf[24];
  const char* end = std::to_chars(buf, buf + sizeof buf, v).ptr;
  return UString(static_cast<const char*>(buf), end);
}

UString QuotedStr(std::u16string_view s) {
  UString out;
  out.reserve(s.size() + 2);
  out.push_back(u'\'');
  for (char16_t c : s) {
    if (c == u'\'') out.push_back(u'\'');
    out.push_back(c);
  }
  out.push_back(u'\'');
  return out;
}
