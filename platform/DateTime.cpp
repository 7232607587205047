#include "platform/DateTime.h"

#include <chrono>
#include <cmath>
#include <ctime>
#include <stdexcept>

#include "platform/Regional.h"

namespace {

bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m) {
  static const int d[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return (m == 2 && isLeap(y)) ? 29 : d[m - 1];
}

// Days from 0001-01-01 (proleptic Gregorian) to the given date.
long long daysFromCivil(int y, int m, int d) {
  // Howard Hinnant's algorithm.
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;  // days since 1970-01-01
}

void civilFromDays(long long z, int& y, int& m, int& d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long yy = static_cast<long long>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yy + (m <= 2));
}

const long long kEpoch = daysFromCivil(1899, 12, 30);

UString pad(int v, int width) {
  UString s = IntToU(v < 0 ? -v : v);
  while (static_cast<int>(s.size()) < width) s.insert(s.begin(), u'0');
  if (v < 0) s.insert(s.begin(), u'-');
  return s;
}

char16_t lower(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }

}  // namespace

bool IsValidDate(int year, int month, int day) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= daysInMonth(year, month);
}

bool TryEncodeDate(int year, int month, int day, TDateTime& out) {
  if (!IsValidDate(year, month, day)) return false;
  out = static_cast<double>(daysFromCivil(year, month, day) - kEpoch);
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime dt;
  if (!TryEncodeDate(year, month, day, dt)) throw std::invalid_argument("invalid date");
  return dt;
}

void DecodeDate(TDateTime dt, int& year, int& month, int& day) {
  long long days = static_cast<long long>(std::trunc(dt));
  civilFromDays(days + kEpoch, year, month, day);
}

void DecodeTime(TDateTime dt, int& hour, int& minute, int& second, int& msec) {
  double frac = std::fabs(dt - std::trunc(dt));
  long long ms = std::llround(frac * 86400000.0);
  if (ms >= 86400000) ms = 86399999;
  hour = static_cast<int>(ms / 3600000);
  minute = static_cast<int>(ms / 60000 % 60);
  second = static_cast<int>(ms / 1000 % 60);
  msec = static_cast<int>(ms % 1000);
}

TDateTime EncodeTime(int hour, int minute, int second, int msec) {
  return (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + msec) / 86400000.0;
}

UString FormatDateTime(std::u16string_view f, TDateTime dt, const FormatSettings& rs) {
  int y, mo, d, h, mi, s, ms;
  DecodeDate(dt, y, mo, d);
  DecodeTime(dt, h, mi, s, ms);
  UString out;
  std::size_t i = 0;
  auto run = [&](char16_t c) {
    std::size_t n = 0;
    while (i + n < f.size() && lower(f[i + n]) == c) ++n;
    return n;
  };
  while (i < f.size()) {
    char16_t c = lower(f[i]);
    if (c == u'"' || c == u'\'') {
      char16_t q = f[i++];
      while (i < f.size() && f[i] != q) out.push_back(f[i++]);
      if (i < f.size()) ++i;
      continue;
    }
    std::size_t n;
    switch (c) {
      case u'd': n = run(u'd'); out += pad(d, n >= 2 ? 2 : 1); i += n; break;
      case u'm': n = run(u'm'); out += pad(mo, n >= 2 ? 2 : 1); i += n; break;
      case u'y': n = run(u'y'); out += n <= 2 ? pad(y % 100, 2) : pad(y, 4); i += n; break;
      case u'h': n = run(u'h'); out += pad(h, n >= 2 ? 2 : 1); i += n; break;
      case u'n': n = run(u'n'); out += pad(mi, n >= 2 ? 2 : 1); i += n; break;
      case u's': n = run(u's'); out += pad(s, n >= 2 ? 2 : 1); i += n; break;
      case u'z': n = run(u'z'); out += pad(ms, n >= 3 ? 3 : 1); i += n; break;
      case u'/': out.push_back(rs.DateSeparator); ++i; break;
      case u':': out.push_back(rs.TimeSeparator); ++i; break;
      default: out.push_back(f[i]); ++i; break;
    }
  }
  return out;
}

UString DateToStr(TDateTime dt, const FormatSettings& fs) { return FormatDateTime(fs.ShortDateFormat, dt, fs); }

namespace {

// Order of day, month and year in the short date format: "dmy", "mdy" or "ymd".
std::u16string dateOrder(const FormatSettings& fs) {
  std::u16string order;
  for (char16_t c : fs.ShortDateFormat) {
    c = lower(c);
    if ((c == u'd' || c == u'm' || c == u'y') && order.find(c) == std::u16string::npos) order.push_back(c);
  }
  if (order.size() != 3) order = u"dmy";
  return order;
}

bool readNumber(std::u16string_view s, std::size_t& i, int& v, int& digits) {
  v = 0;
  digits = 0;
  while (i < s.size() && s[i] >= u'0' && s[i] <= u'9') {
    if (digits >= 9) return false;
    v = v * 10 + (s[i] - u'0');
    ++i;
    ++digits;
  }
  return digits > 0;
}

int currentYear() {
  int y, m, d;
  DecodeDate(Date(), y, m, d);
  return y;
}

bool scanDate(std::u16string_view s, std::size_t& i, TDateTime& out, const FormatSettings& fs) {
  const char16_t sep = fs.DateSeparator;
  int v[3];
  int dg[3];
  int count = 0;
  while (i < s.size() && s[i] == u' ') ++i;
  for (; count < 3; ++count) {
    if (!readNumber(s, i, v[count], dg[count])) return false;
    if (count < 2) {
      if (i < s.size() && s[i] == sep) ++i;
      else { ++count; break; }
    }
  }
  std::u16string order = dateOrder(fs);
  int y = 0, m = 0, d = 0;
  bool yearDigits2 = false;
  if (count == 2) {
    // Day and month only: the current year.
    std::u16string dm;
    for (char16_t c : order) if (c != u'y') dm.push_back(c);
    (dm[0] == u'd' ? d : m) = v[0];
    (dm[1] == u'd' ? d : m) = v[1];
    y = currentYear();
  } else if (count == 3) {
    for (int k = 0; k < 3; ++k) {
      if (order[k] == u'd') d = v[k];
      else if (order[k] == u'm') m = v[k];
      else { y = v[k]; yearDigits2 = dg[k] <= 2; }
    }
  } else {
    return false;
  }
  if (yearDigits2) {
    // Two-digit years: the century that puts the year within 50 years of now.
    int cy = currentYear();
    int base = cy - 50;
    int cand = (base / 100) * 100 + y;
    if (cand < base) cand += 100;
    y = cand;
  }
  return TryEncodeDate(y, m, d, out);
}

bool scanTime(std::u16string_view s, std::size_t& i, TDateTime& out, const FormatSettings& fs) {
  const char16_t sep = fs.TimeSeparator;
  int h, mi = 0, sec = 0, ms = 0, dg;
  if (!readNumber(s, i, h, dg)) return false;
  if (i < s.size() && s[i] == sep) {
    ++i;
    if (!readNumber(s, i, mi, dg)) return false;
    if (i < s.size() && s[i] == sep) {
      ++i;
      if (!readNumber(s, i, sec, dg)) return false;
      if (i < s.size() && (s[i] == u'.' || s[i] == fs.DecimalSeparator)) {
        ++i;
        int frac;
        if (!readNumber(s, i, frac, dg)) return false;
        while (dg > 3) { frac /= 10; --dg; }
        while (dg < 3) { frac *= 10; ++dg; }
        ms = frac;
      }
    }
  } else {
    return false;
  }
  if (h > 23 || mi > 59 || sec > 59) return false;
  out = EncodeTime(h, mi, sec, ms);
  return true;
}

}  // namespace

bool TryStrToDate(std::u16string_view s, TDateTime& out, const FormatSettings& fs) {
  std::size_t i = 0;
  TDateTime d;
  if (!scanDate(s, i, d, fs)) return false;
  while (i < s.size() && s[i] == u' ') ++i;
  if (i != s.size()) return false;
  out = d;
  return true;
}

bool TryStrToDateTime(std::u16string_view s, TDateTime& out, const FormatSettings& fs) {
  std::size_t i = 0;
  TDateTime d;
  if (!scanDate(s, i, d, fs)) return false;
  while (i < s.size() && s[i] == u' ') ++i;
  if (i == s.size()) { out = d; return true; }
  TDateTime t;
  if (!scanTime(s, i, t, fs)) return false;
  while (i < s.size() && s[i] == u' ') ++i;
  if (i != s.size()) return false;
  out = d >= 0 ? d + t : d - t;
  return true;
}

TDateTime Now() {
  std::time_t t = std::time(nullptr);
  std::tm lt{};
  localtime_r(&t, &lt);
  TDateTime d = EncodeDate(lt.tm_year + 1900, lt.tm_mon + 1, lt.tm_mday);
  return d + EncodeTime(lt.tm_hour, lt.tm_min, lt.tm_sec, 0);
}

TDateTime Date() { return std::trunc(Now()); }
