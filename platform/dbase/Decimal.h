#pragma once
// Numbers of dBase fields kept exact, on their digits: an 18-digit code stays the
// code it was, whatever a double would make of it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/Text.h"

namespace dbase {

struct Decimal {
  bool negative = false;
  std::string intDigits;   // without leading zeros; empty for 0
  std::string fracDigits;  // without trailing zeros

  bool IsZero() const { return intDigits.empty() && fracDigits.empty(); }
  // "-12.5", "0", "0.25" with the given separator.
  std::string Text(char separator = '.') const;
  UString UText(char16_t separator) const;
  double ToDouble() const;  // nearest double (may be inf for absurd exponents)

  static Decimal FromInt(long long v);
  // An integer scaled by 10^-scale (currency fields: scale 4).
  static Decimal FromScaled(long long v, int scale);
  // The shortest decimal that reads back as the double.
  static Decimal FromDouble(double v);
};

enum class ParseResult { Ok, Null, Bad };

// Reads the text of a numeric field: blanks (and NULs) around it; an optional sign;
// digits with at most one decimal separator, point or comma; an optional exponent.
// All blanks is null; asterisks (overflow, with or without a decimal point) are null.
ParseResult ParseDecimal(const std::uint8_t* p, std::size_t n, Decimal& out);
inline ParseResult ParseDecimal(std::string_view s, Decimal& out) {
  return ParseDecimal(reinterpret_cast<const std::uint8_t*>(s.data()), s.size(), out);
}

// The same for a text (a literal, a character field): false unless it is a number.
bool ParseDecimalText(std::u16string_view s, Decimal& out);

// -1, 0, 1 as a is less, equal or greater than b.
int CompareDecimal(const Decimal& a, const Decimal& b);

}  // namespace dbase
