#include "platform/firebird/SqlText.h"

#include "platform/Error.h"

namespace fb {

namespace {

bool isIdentStart(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_';
}
bool isIdentChar(char16_t c) { return isIdentStart(c) || (c >= u'0' && c <= u'9') || c == u'$'; }
bool isBlank(char16_t c) { return c <= 32; }

// Skips blanks and comments from i; returns the index of the next significant character.
std::size_t skipBlanksAndComments(std::u16string_view s, std::size_t i) {
  for (;;) {
    while (i < s.size() && isBlank(s[i])) ++i;
    if (i + 1 < s.size() && s[i] == u'-' && s[i + 1] == u'-') {
      while (i < s.size() && s[i] != u'\n') ++i;
    } else if (i + 1 < s.size() && s[i] == u'/' && s[i + 1] == u'*') {
      auto e = s.find(u"*/", i + 2);
      i = e == std::u16string_view::npos ? s.size() : e + 2;
    } else {
      return i;
    }
  }
}

// The first few words of the statement, upper-cased, comments skipped.
std::vector<UString> leadingWords(std::u16string_view s, int count) {
  std::vector<UString> words;
  std::size_t i = 0;
  while (static_cast<int>(words.size()) < count) {
    i = skipBlanksAndComments(s, i);
    if (i >= s.size() || !isIdentStart(s[i])) break;
    UString w;
    while (i < s.size() && isIdentChar(s[i])) w.push_back(s[i++]);
    words.push_back(UpperAZ(w));
  }
  return words;
}

bool definesPsql(std::u16string_view s) {
  auto w = leadingWords(s, 4);
  if (w.empty()) return false;
  std::size_t k = 0;
  if (w[0] == u"EXECUTE") return w.size() > 1 && w[1] == u"BLOCK";
  if (w[0] == u"CREATE") {
    k = 1;
    if (w.size() > 2 && w[1] == u"OR" && w[2] == u"ALTER") k = 3;
  } else if (w[0] == u"ALTER" || w[0] == u"RECREATE") {
    k = 1;
  } else {
    return false;
  }
  if (k >= w.size()) return false;
  return w[k] == u"PROCEDURE" || w[k] == u"TRIGGER" || w[k] == u"FUNCTION" || w[k] == u"PACKAGE";
}

char16_t closingOf(char16_t open) {
  switch (open) {
    case u'(': return u')';
    case u'[': return u']';
    case u'{': return u'}';
    case u'<': return u'>';
    default: return open;
  }
}

}  // namespace

ParsedSql ParseSql(std::u16string_view s) {
  ParsedSql r;
  if (definesPsql(s)) {
    r.sql.assign(s);
    r.psqlBody = true;
    return r;
  }
  r.sql.reserve(s.size());
  std::size_t i = 0;
  const std::size_t n = s.size();
  while (i < n) {
    char16_t c = s[i];
    if (c == u'\'' || c == u'"') {
      // Quoted: the quote character doubled stands for itself.
      std::size_t j = i + 1;
      for (;;) {
        if (j >= n) break;
        if (s[j] == c) {
          if (j + 1 < n && s[j + 1] == c) { j += 2; continue; }
          ++j;
          break;
        }
        ++j;
      }
      r.sql.append(s.substr(i, j - i));
      i = j;
    } else if ((c == u'q' || c == u'Q') && i + 2 < n && s[i + 1] == u'\'' &&
               (i == 0 || !isIdentChar(s[i - 1]))) {
      // Alternative quoting: q'{...}', q'!...!'.
      char16_t close = closingOf(s[i + 2]);
      std::size_t j = i + 3;
      while (j < n && !(s[j] == close && j + 1 < n && s[j + 1] == u'\'')) ++j;
      j = j < n ? j + 2 : n;
      r.sql.append(s.substr(i, j - i));
      i = j;
    } else if (c == u'-' && i + 1 < n && s[i + 1] == u'-') {
      std::size_t j = i;
      while (j < n && s[j] != u'\n') ++j;
      r.sql.append(s.substr(i, j - i));
      i = j;
    } else if (c == u'/' && i + 1 < n && s[i + 1] == u'*') {
      auto e = s.find(u"*/", i + 2);
      std::size_t j = e == std::u16string_view::npos ? n : e + 2;
      r.sql.append(s.substr(i, j - i));
      i = j;
    } else if (c == u':' && i + 1 < n && isIdentStart(s[i + 1])) {
      std::size_t j = i + 1;
      while (j < n && isIdentChar(s[j])) ++j;
      r.params.emplace_back(s.substr(i + 1, j - i - 1));
      r.sql.push_back(u'?');
      i = j;
    } else {
      if (c == u'?') ++r.positional;
      r.sql.push_back(c);
      ++i;
    }
  }
  if (r.positional > 0 && !r.params.empty()) {
    throw EDatabaseError(
        u"The statement mixes positional parameters (?) with named parameters (:" +
        r.params.front() + u"); use one kind only");
  }
  return r;
}

bool IsCommitStatement(std::u16string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && isBlank(s[b])) ++b;
  while (e > b && isBlank(s[e - 1])) --e;
  if (e > b && s[e - 1] == u';') {
    --e;
    while (e > b && isBlank(s[e - 1])) --e;
  }
  std::u16string_view t = s.substr(b, e - b);
  auto word = [&](std::size_t& i) {
    UString w;
    while (i < t.size() && isBlank(t[i])) ++i;
    while (i < t.size() && !isBlank(t[i])) w.push_back(t[i++]);
    return UpperAZ(w);
  };
  std::size_t i = 0;
  if (word(i) != u"COMMIT") return false;
  UString second = word(i);
  if (second.empty()) return true;
  return second == u"WORK" && word(i).empty();
}

// ---------------------------------------------------------------------------
// Codecs

namespace {

// Windows-1252 0x80..0x9F; 0 marks the five unassigned bytes. Read from the
// database they map to the C1 control of the same value (as Windows does), so that
// reading never fails; those controls are not written, since the engine keeps no
// character for them and would store a NUL.
const char16_t kWin1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t win1252ToU(unsigned char b) {
  if (b >= 0x80 && b <= 0x9F) {
    char16_t u = kWin1252High[b - 0x80];
    return u ? u : static_cast<char16_t>(b);
  }
  return static_cast<char16_t>(b);
}

bool uToWin1252(char16_t u, unsigned char& b) {
  if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) { b = static_cast<unsigned char>(u); return true; }
  for (int k = 0; k < 32; ++k) {
    if (kWin1252High[k] && kWin1252High[k] == u) { b = static_cast<unsigned char>(0x80 + k); return true; }
  }
  return false;
}

}  // namespace

bool EncodeText(Codec codec, std::u16string_view s, std::string& out, char32_t& bad) {
  out.clear();
  if (codec != Codec::Utf8) {
    // One byte a character: written in place, plain ASCII without a table lookup.
    out.resize(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
      const char16_t u = s[i];
      unsigned char b;
      if (u < 0x80) b = static_cast<unsigned char>(u);
      else if (!(codec == Codec::Win1252 ? uToWin1252(u, b) : (u <= 0xFF && (b = static_cast<unsigned char>(u), true)))) {
        bad = u;
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF)
          bad = 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (s[i + 1] - 0xDC00);
        out.resize(i);
        return false;
      }
      out[i] = static_cast<char>(b);
    }
    return true;
  }
  out.reserve(s.size() + s.size() / 2);
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char16_t u = s[i];
    char32_t cp = u;
    if (u >= 0xD800 && u <= 0xDBFF) {
      if (i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
        cp = 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (s[i + 1] - 0xDC00);
        ++i;
      } else {
        bad = u;
        return false;
      }
    } else if (u >= 0xDC00 && u <= 0xDFFF) {
      bad = u;
      return false;
    }
    AppendUtf8(out, cp);
  }
  return true;
}

UString DecodeText(Codec codec, std::string_view s) {
  UString out;
  out.reserve(s.size());
  if (codec == Codec::Utf8) {
    std::size_t i = 0;
    while (i < s.size()) {
      char32_t cp;
      if (!NextUtf8(s, i, cp)) { out.push_back(0xFFFD); continue; }
      if (cp >= 0x10000) {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
      } else {
        out.push_back(static_cast<char16_t>(cp));
      }
    }
  } else if (codec == Codec::Win1252) {
    for (char c : s) out.push_back(win1252ToU(static_cast<unsigned char>(c)));
  } else {
    for (char c : s) out.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
  }
  return out;
}

}  // namespace fb
