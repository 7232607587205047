#include "platform/dbase/Decimal.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace dbase {

std::string Decimal::Text(char separator) const {
  std::string s;
  s.reserve(intDigits.size() + fracDigits.size() + 3);
  if (negative) s.push_back('-');
  if (intDigits.empty()) s.push_back('0');
  else s += intDigits;
  if (!fracDigits.empty()) {
    s.push_back(separator);
    s += fracDigits;
  }
  return s;
}

UString Decimal::UText(char16_t separator) const {
  UString s;
  s.reserve(intDigits.size() + fracDigits.size() + 3);
  if (negative) s.push_back(u'-');
  if (intDigits.empty()) s.push_back(u'0');
  else
    for (char c : intDigits) s.push_back(static_cast<char16_t>(c));
  if (!fracDigits.empty()) {
    s.push_back(separator);
    for (char c : fracDigits) s.push_back(static_cast<char16_t>(c));
  }
  return s;
}

double Decimal::ToDouble() const {
  const std::string s = Text('.');
  double v = 0;
  // Out of range leaves v untouched: a magnitude of 1 or more overflowed (infinite,
  // which the readers refuse), anything smaller is as good as 0.
  if (std::from_chars(s.data(), s.data() + s.size(), v).ec == std::errc::result_out_of_range)
    return intDigits.empty() ? 0.0 : (negative ? -HUGE_VAL : HUGE_VAL);
  return v;
}

Decimal Decimal::FromInt(long long v) { return FromScaled(v, 0); }

Decimal Decimal::FromScaled(long long v, int scale) {
  Decimal d;
  d.negative = v < 0;
  // The magnitude without overflow for the most negative value.
  unsigned long long m = v < 0 ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
  std::string digits = std::to_string(m);
  if (scale > 0) {
    if (static_cast<int>(digits.size()) <= scale) digits.insert(0, scale - digits.size() + 1, '0');
    d.intDigits = digits.substr(0, digits.size() - scale);
    d.fracDigits = digits.substr(digits.size() - scale);
  } else {
    d.intDigits = digits;
  }
  while (!d.intDigits.empty() && d.intDigits[0] == '0') d.intDigits.erase(0, 1);
  while (!d.fracDigits.empty() && d.fracDigits.back() == '0') d.fracDigits.pop_back();
  if (d.IsZero()) d.negative = false;
  return d;
}

Decimal Decimal::FromDouble(double v) {
  // Fixed notation of any finite double: up to 309 digits before the point, and
  // 0. with 323 zeros before the digits of the smallest.
  char buf[400];
  auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
  Decimal d;
  if (res.ec != std::errc()) return d;
  ParseDecimal(std::string_view(buf, static_cast<std::size_t>(res.ptr - buf)), d);
  return d;
}

ParseResult ParseDecimal(const std::uint8_t* p, std::size_t n, Decimal& out) {
  std::size_t b = 0, e = n;
  while (b < e && (p[b] == ' ' || p[b] == 0)) ++b;
  while (e > b && (p[e - 1] == ' ' || p[e - 1] == 0)) --e;
  if (b == e) return ParseResult::Null;

  bool star = false, onlyStars = true;
  for (std::size_t i = b; i < e; ++i) {
    if (p[i] == '*') star = true;
    else if (p[i] != '.' && p[i] != ',') onlyStars = false;
  }
  if (star) return onlyStars ? ParseResult::Null : ParseResult::Bad;

  Decimal d;
  std::size_t i = b;
  if (p[i] == '+' || p[i] == '-') {
    d.negative = p[i] == '-';
    ++i;
  }
  std::string digits;  // mantissa digits
  long long pointPos = -1;
  for (; i < e; ++i) {
    const std::uint8_t c = p[i];
    if (c >= '0' && c <= '9') digits.push_back(static_cast<char>(c));
    else if ((c == '.' || c == ',') && pointPos < 0) pointPos = static_cast<long long>(digits.size());
    else break;
  }
  if (digits.empty()) return ParseResult::Bad;
  long long exponent = 0;
  if (i < e && (p[i] == 'e' || p[i] == 'E')) {
    ++i;
    bool negExp = false;
    if (i < e && (p[i] == '+' || p[i] == '-')) {
      negExp = p[i] == '-';
      ++i;
    }
    if (i == e) return ParseResult::Bad;
    for (; i < e && p[i] >= '0' && p[i] <= '9'; ++i) {
      exponent = exponent * 10 + (p[i] - '0');
      if (exponent > 400) return ParseResult::Bad;
    }
    if (negExp) exponent = -exponent;
  }
  if (i != e) return ParseResult::Bad;

  long long point = (pointPos < 0 ? static_cast<long long>(digits.size()) : pointPos) + exponent;
  if (point < 0) {
    digits.insert(0, static_cast<std::size_t>(-point), '0');
    point = 0;
  } else if (point > static_cast<long long>(digits.size())) {
    digits.append(static_cast<std::size_t>(point) - digits.size(), '0');
  }
  d.intDigits = digits.substr(0, static_cast<std::size_t>(point));
  d.fracDigits = digits.substr(static_cast<std::size_t>(point));
  std::size_t lead = 0;
  while (lead < d.intDigits.size() && d.intDigits[lead] == '0') ++lead;
  d.intDigits.erase(0, lead);
  while (!d.fracDigits.empty() && d.fracDigits.back() == '0') d.fracDigits.pop_back();
  if (d.IsZero()) d.negative = false;
  out = std::move(d);
  return ParseResult::Ok;
}

bool ParseDecimalText(std::u16string_view s, Decimal& out) {
  std::string a;
  a.reserve(s.size());
  for (char16_t c : s) {
    if (c > 0x7F) return false;
    a.push_back(static_cast<char>(c));
  }
  return ParseDecimal(a, out) == ParseResult::Ok;
}

int CompareDecimal(const Decimal& a, const Decimal& b) {
  if (a.negative != b.negative) return a.negative ? -1 : 1;
  const int sign = a.negative ? -1 : 1;
  int c = 0;
  if (a.intDigits.size() != b.intDigits.size()) c = a.intDigits.size() < b.intDigits.size() ? -1 : 1;
  else if (int k = a.intDigits.compare(b.intDigits)) c = k < 0 ? -1 : 1;
  else if (int f = a.fracDigits.compare(b.fracDigits)) c = f < 0 ? -1 : 1;
  return c * sign;
}

}  // namespace dbase
