#include "platform/dbase/CodePage.h"

#include <algorithm>
#include <cctype>

namespace dbase {

namespace {

// cp437, bytes 0x80-0xFF (Python codecs; unassigned cp1252 bytes as U+0080-U+009F)
const char16_t kCp437[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};
// cp850, bytes 0x80-0xFF (Python codecs; unassigned cp1252 bytes as U+0080-U+009F)
const char16_t kCp850[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,
    0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x00C0,
    0x00A9, 0x2563, 0x2551, 0x2557, 0x255D, 0x00A2, 0x00A5, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4,
    0x00F0, 0x00D0, 0x00CA, 0x00CB, 0x00C8, 0x0131, 0x00CD, 0x00CE,
    0x00CF, 0x2518, 0x250C, 0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580,
    0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE,
    0x00DE, 0x00DA, 0x00DB, 0x00D9, 0x00FD, 0x00DD, 0x00AF, 0x00B4,
    0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6, 0x00A7, 0x00F7, 0x00B8,
    0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0,
};
// cp860, bytes 0x80-0xFF (Python codecs; unassigned cp1252 bytes as U+0080-U+009F)
const char16_t kCp860[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E3, 0x00E0, 0x00C1, 0x00E7,
    0x00EA, 0x00CA, 0x00E8, 0x00CD, 0x00D4, 0x00EC, 0x00C3, 0x00C2,
    0x00C9, 0x00C0, 0x00C8, 0x00F4, 0x00F5, 0x00F2, 0x00DA, 0x00F9,
    0x00CC, 0x00D5, 0x00DC, 0x00A2, 0x00A3, 0x00D9, 0x20A7, 0x00D3,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,
    0x00BF, 0x00D2, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};
// cp1252, bytes 0x80-0xFF (Python codecs; unassigned cp1252 bytes as U+0080-U+009F)
const char16_t kCp1252[128] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF,
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x00B9, 0x00BA, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF,
    0x00C0, 0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7,
    0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD, 0x00CE, 0x00CF,
    0x00D0, 0x00D1, 0x00D2, 0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x00D7,
    0x00D8, 0x00D9, 0x00DA, 0x00DB, 0x00DC, 0x00DD, 0x00DE, 0x00DF,
    0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7,
    0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x00EC, 0x00ED, 0x00EE, 0x00EF,
    0x00F0, 0x00F1, 0x00F2, 0x00F3, 0x00F4, 0x00F5, 0x00F6, 0x00F7,
    0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x00FD, 0x00FE, 0x00FF,
};

// Mac Roman, bytes 0x80-0xFF (Python codecs): tables written by dBase and FoxPro on
// the Macintosh, language byte 0x04.
const char16_t kMacRoman[128] = {
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1,
    0x00E0, 0x00E2, 0x00E4, 0x00E3, 0x00E5, 0x00E7, 0x00E9, 0x00E8,
    0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3,
    0x00F2, 0x00F4, 0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC,
    0x2020, 0x00B0, 0x00A2, 0x00A3, 0x00A7, 0x2022, 0x00B6, 0x00DF,
    0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8,
    0x221E, 0x00B1, 0x2264, 0x2265, 0x00A5, 0x00B5, 0x2202, 0x2211,
    0x220F, 0x03C0, 0x222B, 0x00AA, 0x00BA, 0x03A9, 0x00E6, 0x00F8,
    0x00BF, 0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB,
    0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5, 0x0152, 0x0153,
    0x2013, 0x2014, 0x201C, 0x201D, 0x2018, 0x2019, 0x00F7, 0x25CA,
    0x00FF, 0x0178, 0x2044, 0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02,
    0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1,
    0x00CB, 0x00C8, 0x00CD, 0x00CE, 0x00CF, 0x00CC, 0x00D3, 0x00D4,
    0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9, 0x0131, 0x02C6, 0x02DC,
    0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7,
};

const char16_t* table(CodePage cp) {
  switch (cp) {
    case CodePage::Cp437: return kCp437;
    case CodePage::Cp850: return kCp850;
    case CodePage::Cp860: return kCp860;
    case CodePage::Cp1252: return kCp1252;
    case CodePage::MacRoman: return kMacRoman;
    case CodePage::Utf8: break;
  }
  return nullptr;
}

// Letters of Portuguese text, and the ordinal and degree signs of addresses ("Nº").
bool portuguese(char16_t c) {
  switch (c) {
    case u'á': case u'à': case u'â': case u'ã': case u'ç': case u'é': case u'ê': case u'í':
    case u'ó': case u'ô': case u'õ': case u'ú': case u'ü':
    case u'Á': case u'À': case u'Â': case u'Ã': case u'Ç': case u'É': case u'Ê': case u'Í':
    case u'Ó': case u'Ô': case u'Õ': case u'Ú': case u'Ü':
    case u'º': case u'ª': case u'°':
      return true;
    default:
      return false;
  }
}

// What no Brazilian text holds: box drawing and blocks, C1 controls and unassigned
// bytes, Greek letters and mathematical signs of the DOS code pages.
bool implausible(char16_t c) {
  return (c >= 0x2500 && c <= 0x25FF) || (c >= 0x0080 && c <= 0x009F) || (c >= 0x0370 && c <= 0x03FF) ||
         (c >= 0x2200 && c <= 0x22FF) || (c >= 0x2310 && c <= 0x2321);
}

bool upperLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7); }
bool lowerLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= 0xDF && c <= 0xFF && c != 0xF7); }
bool letter(char16_t c) { return upperLetter(c) || lowerLetter(c); }

// The letter without accent and in capitals: what the neighbour rules look at.
char16_t base(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 32);
  switch (c) {
    case u'á': case u'à': case u'â': case u'ã': case u'Á': case u'À': case u'Â': case u'Ã': return u'A';
    case u'é': case u'ê': case u'É': case u'Ê': return u'E';
    case u'í': case u'Í': return u'I';
    case u'ó': case u'ô': case u'õ': case u'Ó': case u'Ô': case u'Õ': return u'O';
    case u'ú': case u'ü': case u'Ú': case u'Ü': return u'U';
    case u'ç': case u'Ç': return u'C';
    default: return c;
  }
}

bool vowel(char16_t c) {
  const char16_t b = base(c);
  return b == u'A' || b == u'E' || b == u'I' || b == u'O' || b == u'U';
}

// How Portuguese the character c reads between before and after (all three as the
// candidate decodes them): positive for a letter where Portuguese puts it, negative
// for what Portuguese text does not hold.
int contextScore(char16_t before, char16_t c, char16_t after) {
  if (implausible(c)) return -4;
  if (!portuguese(c)) return -2;
  if (c == u'º' || c == u'ª' || c == u'°')
    return (before >= u'0' && before <= u'9') || base(before) == u'N' ? 2 : 0;
  // "cafÚ" and "JOãO" are not words: cp1252's é is cp850's Ú.
  if (upperLetter(c) && lowerLetter(before)) return -3;
  if (lowerLetter(c) && upperLetter(before) && upperLetter(after)) return -3;
  int s = 1;
  switch (c) {
    case u'ã': case u'Ã': case u'õ': case u'Õ': {
      // Nasal vowels: ÃO, ÃE, ÃS, ÕE, ÕS, or the end of the word (IRMÃ, MAÇÃ).
      const char16_t a = base(after);
      const bool fits = !letter(after) || a == u'O' || a == u'E' || a == u'S';
      s += fits ? 2 : -3;
      // After a consonant (SÃO, MÃE, AÇÃO, LIMÕES) or I and O (SEBASTIÃO, JOÃO);
      // after A or E hardly ever.
      if (letter(before) && (!vowel(before) || base(before) == u'I' || base(before) == u'O')) s += 1;
      break;
    }
    case u'ç': case u'Ç':
      // Ç only before a vowel (ÇA, ÇO, ÇU, ÇÃO; ÇE and ÇI in names and old spellings).
      s += letter(after) && vowel(after) ? 2 : -3;
      if (vowel(before) || base(before) == u'R' || base(before) == u'L' || base(before) == u'N') s += 1;
      break;
    case u'ü': case u'Ü':
      s += base(after) == u'E' || base(after) == u'I' ? 1 : -1;  // LINGÜIÇA, CONSEQÜÊNCIA
      break;
    default:
      // An accented vowel stands in a word, next to another letter.
      if (!letter(before) && !letter(after)) s -= 1;
      break;
  }
  return s;
}

long long score(CodePage cp, const CodePageEvidence& e) {
  const char16_t* t = table(cp);
  auto dec = [t](std::uint8_t b) { return b < 0x80 ? static_cast<char16_t>(b) : t[b - 0x80]; };
  long long s = 0;
  for (const auto& [key, n] : e.contexts) {
    const std::uint8_t before = static_cast<std::uint8_t>(key >> 16), b = static_cast<std::uint8_t>(key >> 8),
                       after = static_cast<std::uint8_t>(key);
    s += static_cast<long long>(n) * contextScore(dec(before), dec(b), dec(after));
  }
  return s;
}

// Whether two code pages read any of the bytes seen differently.
bool readAlike(CodePage a, CodePage b, const CodePageEvidence& e) {
  const char16_t *ta = table(a), *tb = table(b);
  for (const auto& [key, n] : e.contexts) {
    (void)n;
    for (int shift : {16, 8, 0}) {
      const std::uint8_t x = static_cast<std::uint8_t>(key >> shift);
      if (x >= 0x80 && ta[x - 0x80] != tb[x - 0x80]) return false;
    }
  }
  return true;
}

}  // namespace

const char* CodePageName(CodePage cp) {
  switch (cp) {
    case CodePage::Cp437: return "cp437";
    case CodePage::Cp850: return "cp850";
    case CodePage::Cp860: return "cp860";
    case CodePage::Cp1252: return "cp1252";
    case CodePage::MacRoman: return "mac_roman";
    case CodePage::Utf8: return "utf-8";
  }
  return "?";
}

void DecodeAppend(CodePage cp, const std::uint8_t* p, std::size_t n, UString& out) {
  if (cp == CodePage::Utf8) {
    out += Utf8ToU(std::string_view(reinterpret_cast<const char*>(p), n));
    return;
  }
  const char16_t* t = table(cp);
  const std::size_t base = out.size();
  out.resize(base + n);
  char16_t* o = out.data() + base;
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint8_t b = p[i];
    o[i] = b < 0x80 ? static_cast<char16_t>(b) : t[b - 0x80];
  }
}

bool Encode(CodePage cp, std::u16string_view s, std::string& out) {
  out.clear();
  if (cp == CodePage::Utf8) {
    out = UToUtf8(s);
    return true;
  }
  const char16_t* t = table(cp);
  for (char16_t c : s) {
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    const char16_t* hit = std::find(t, t + 128, c);
    if (hit == t + 128) return false;
    out.push_back(static_cast<char>(0x80 + (hit - t)));
  }
  return true;
}

std::optional<CodePage> CodePageFromLanguageDriver(std::uint8_t ldid) {
  switch (ldid) {
    case 0x01: case 0x09: case 0x0B: case 0x0D: case 0x0F: case 0x11: case 0x15: case 0x18:
    case 0x19: case 0x1B:
      return CodePage::Cp437;
    case 0x02: case 0x0A: case 0x0E: case 0x10: case 0x12: case 0x14: case 0x16: case 0x1A:
    case 0x1D: case 0x25: case 0x37:
      return CodePage::Cp850;
    case 0x24:
      return CodePage::Cp860;
    case 0x03: case 0x57: case 0x58: case 0x59:
      return CodePage::Cp1252;
    case 0x04:
      return CodePage::MacRoman;
    default:
      return std::nullopt;
  }
}

std::optional<CodePage> CodePageFromCpg(std::string_view text) {
  std::string t;
  for (char c : text) t.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
  if (t.find("UTF-8") != std::string::npos || t.find("UTF8") != std::string::npos) return CodePage::Utf8;
  std::string digits;
  for (char c : t) {
    if (c >= '0' && c <= '9') digits.push_back(c);
    else if (!digits.empty()) break;
  }
  if (digits == "437") return CodePage::Cp437;
  if (digits == "850") return CodePage::Cp850;
  if (digits == "860") return CodePage::Cp860;
  if (digits == "1252" || digits == "28591") return CodePage::Cp1252;
  if (digits.empty()) {
    // "ANSI" and "OEM" name the machine's code pages: on Brazilian Windows 1252 and 850.
    std::string word;
    for (char c : t)
      if (c > ' ') word.push_back(c);
    if (word == "ANSI") return CodePage::Cp1252;
    if (word == "OEM") return CodePage::Cp850;
  }
  return std::nullopt;
}

void CodePageEvidence::Add(const std::uint8_t* p, std::size_t n) {
  auto alnum = [](std::uint8_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
  };
  // A byte with no letter or digit beside it is not part of a word: frames and
  // rulers of the DOS screens, which say nothing about the letters.
  auto apart = [&](std::size_t j) {
    return !(j > 0 && alnum(p[j - 1])) && !(j + 1 < n && alnum(p[j + 1]));
  };
  auto note = [&](std::size_t j) {
    if (apart(j)) return;
    const std::uint8_t before = j > 0 ? p[j - 1] : ' ', after = j + 1 < n ? p[j + 1] : ' ';
    ++contexts[static_cast<std::uint32_t>(before) << 16 | static_cast<std::uint32_t>(p[j]) << 8 | after];
  };
  std::size_t i = 0;
  while (i < n) {
    const std::uint8_t b = p[i];
    if (b < 0x80) {
      ++i;
      continue;
    }
    std::size_t len = 0;
    if (b >= 0xC2 && b <= 0xDF) len = 2;
    else if (b >= 0xE0 && b <= 0xEF) len = 3;
    else if (b >= 0xF0 && b <= 0xF4) len = 4;
    bool ok = len != 0 && i + len <= n;
    for (std::size_t k = 1; ok && k < len; ++k) ok = (p[i + k] & 0xC0) == 0x80;
    if (ok) {
      for (std::size_t k = 0; k < len; ++k) note(i + k);
      highBytes += len;
      ++utf8Sequences;
      i += len;
    } else {
      note(i);
      ++highBytes;
      utf8Broken = true;
      ++i;
    }
  }
}

CodePageGuess GuessCodePageOf(const CodePageEvidence& e) {
  CodePageGuess g;
  if (!e.utf8Broken && e.utf8Sequences > 0) {
    g.cp = g.runnerUp = CodePage::Utf8;
    return g;
  }
  // In order of preference on a tie: Clipper/DOS tables (cp850) are the ones that
  // most often carry no language driver.
  const CodePage candidates[] = {CodePage::Cp850, CodePage::Cp1252, CodePage::Cp860};
  long long scores[3];
  int best = 0;
  for (int i = 0; i < 3; ++i) {
    scores[i] = score(candidates[i], e);
    if (scores[i] > scores[best]) best = i;
  }
  g.cp = candidates[best];
  g.score = scores[best];
  // The runner-up among the code pages that would give another text.
  int second = -1;
  for (int i = 0; i < 3; ++i)
    if (i != best && !readAlike(candidates[i], candidates[best], e) && (second < 0 || scores[i] > scores[second]))
      second = i;
  if (second >= 0) {
    g.runnerUp = candidates[second];
    g.runnerUpScore = scores[second];
    g.close = scores[best] - scores[second] <= 4;
  } else {
    g.runnerUp = g.cp;
    g.runnerUpScore = g.score;
  }
  return g;
}

CodePage CheckCp437(const CodePageEvidence& e) {
  return score(CodePage::Cp850, e) > score(CodePage::Cp437, e) ? CodePage::Cp850 : CodePage::Cp437;
}

}  // namespace dbase
