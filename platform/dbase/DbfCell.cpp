// The typed reads of a cell: text, number, date, logical and date-time, what is
// null for each type, and the conversions of the source query (text, double,
// date-time) built on them.
#include <cmath>
#include <cstring>

#include "platform/Error.h"
#include "platform/Regional.h"
#include "platform/dbase/Bytes.h"
#include "platform/dbase/DbfTable.h"

namespace dbase {

using bytes::le32;
using bytes::le64;

namespace {

// Julian day number of 30/12/1899, the zero of TDateTime.
constexpr long long kJulianZero = 2415019;
// The days a date-time field can hold are those of a date field: 01/01/0001 to
// 31/12/9999, as Julian day numbers (proleptic Gregorian, as Visual FoxPro counts).
constexpr long long kJulianFirst = 1721426, kJulianLast = 5373484;

bool allBlank(const std::uint8_t* p, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i)
    if (p[i] != ' ' && p[i] != 0) return false;
  return true;
}

}  // namespace

Kind Table::KindOf(const Field& f) {
  switch (f.type) {
    case 'C': return Kind::Text;
    case 'N': case 'F': case 'I': case 'Y': return Kind::Number;
    case 'B': return f.length == 8 ? Kind::Number : Kind::Unsupported;
    case 'D': case 'T': return Kind::Date;
    case 'L': return Kind::Logical;
    case 'M': return Kind::Memo;
    default: return Kind::Unsupported;
  }
}


bool Table::TextBytes(std::uint32_t rec, const Field& f, std::string_view& out) const {
  if (NullFlag(rec, f)) return false;
  const std::uint8_t* p = Cell(rec, f);
  std::size_t n = f.length;
  while (n > 0 && (p[n - 1] == ' ' || p[n - 1] == 0)) --n;
  out = std::string_view(reinterpret_cast<const char*>(p), n);
  return n > 0;
}

bool Table::NumberOf(std::uint32_t rec, const Field& f, Decimal& out) const {
  if (NullFlag(rec, f)) return false;
  const std::uint8_t* p = Cell(rec, f);
  switch (f.type) {
    case 'N':
    case 'F': {
      switch (ParseDecimal(p, f.length, out)) {
        case ParseResult::Ok: return true;
        case ParseResult::Null: return false;
        case ParseResult::Bad: BadValue(rec, f, Quote(p, f.length) + " não é um número.");
      }
      return false;
    }
    case 'I':
      if (f.length != 4) BadValue(rec, f, "campo inteiro (I) de " + std::to_string(f.length) + " bytes.");
      out = Decimal::FromInt(static_cast<std::int32_t>(le32(p)));
      return true;
    case 'Y':
      if (f.length != 8) BadValue(rec, f, "campo moeda (Y) de " + std::to_string(f.length) + " bytes.");
      out = Decimal::FromScaled(le64(p), 4);
      return true;
    case 'B': {
      if (f.length != 8) break;
      double v;
      std::memcpy(&v, p, 8);
      if (!std::isfinite(v)) BadValue(rec, f, "o número de ponto flutuante não é finito.");
      out = Decimal::FromDouble(v);
      return true;
    }
    default: break;
  }
  BadValue(rec, f, std::string("a coluna é do tipo \"") + f.type + "\", que não é número.");
}

bool Table::DateOf(std::uint32_t rec, const Field& f, TDateTime& out) const {
  if (NullFlag(rec, f)) return false;
  const std::uint8_t* p = Cell(rec, f);
  if (f.type == 'D') {
    if (f.length != 8) BadValue(rec, f, "campo de data com " + std::to_string(f.length) + " bytes.");
    bool blankOrZero = true;
    for (int i = 0; i < 8; ++i)
      if (p[i] != ' ' && p[i] != '0' && p[i] != 0) blankOrZero = false;
    if (blankOrZero) return false;
    int v[8];
    for (int i = 0; i < 8; ++i) {
      if (p[i] < '0' || p[i] > '9') BadValue(rec, f, Quote(p, 8) + " não é uma data (AAAAMMDD).");
      v[i] = p[i] - '0';
    }
    const int y = v[0] * 1000 + v[1] * 100 + v[2] * 10 + v[3], m = v[4] * 10 + v[5], dd = v[6] * 10 + v[7];
    if (!TryEncodeDate(y, m, dd, out)) BadValue(rec, f, Quote(p, 8) + " não é uma data que exista.");
    return true;
  }
  if (f.type == 'T') {
    if (f.length != 8) BadValue(rec, f, "campo data-hora (T) de " + std::to_string(f.length) + " bytes.");
    if (allBlank(p, 8)) return false;
    const long long day = static_cast<std::int32_t>(le32(p));
    const long long ms = static_cast<std::int32_t>(le32(p + 4));
    if (day == 0) return false;
    if (ms < 0 || ms >= 86400000) BadValue(rec, f, "hora fora do dia (" + std::to_string(ms) + " ms).");
    if (day < kJulianFirst || day > kJulianLast)
      BadValue(rec, f, "dia juliano fora do calendário (" + std::to_string(day) + ").");
    const double serial = static_cast<double>(day - kJulianZero);
    out = serial + (serial < 0 ? -1.0 : 1.0) * static_cast<double>(ms) / 86400000.0;
    return true;
  }
  BadValue(rec, f, std::string("a coluna é do tipo \"") + f.type + "\", que não é data.");
}

bool Table::LogicalOf(std::uint32_t rec, const Field& f, bool& out) const {
  if (NullFlag(rec, f)) return false;
  const std::uint8_t* p = Cell(rec, f);
  if (f.length < 1) BadValue(rec, f, "campo lógico sem bytes.");
  switch (p[0]) {
    case 'T': case 't': case 'Y': case 'y': case 'S': case 's': out = true; return true;
    case 'F': case 'f': case 'N': case 'n': out = false; return true;
    case '?': case ' ': case 0: return false;
    default: BadValue(rec, f, Quote(p, 1) + " não é um valor lógico (T, F, Y, N ou ?).");
  }
}


// ---- conversions of the source query ----

bool Table::IsNull(std::uint32_t rec, const Field& f) const {
  switch (KindOf(f)) {
    case Kind::Text: {
      std::string_view s;
      return !TextBytes(rec, f, s);
    }
    case Kind::Number: {
      Decimal d;
      return !NumberOf(rec, f, d);
    }
    case Kind::Date: {
      TDateTime t;
      return !DateOf(rec, f, t);
    }
    case Kind::Logical: {
      bool b;
      return !LogicalOf(rec, f, b);
    }
    case Kind::Memo: {
      bool isNull;
      MemoBytes(rec, f, isNull);
      return isNull;
    }
    case Kind::Unsupported: break;
  }
  BadValue(rec, f, std::string("o tipo de campo \"") + f.type + "\" (" + std::to_string(f.length) +
                       " bytes) não é lido por este leitor.");
}

UString Table::AsText(std::uint32_t rec, const Field& f, const FormatSettings& fs) const {
  switch (KindOf(f)) {
    case Kind::Text: {
      std::string_view s;
      if (!TextBytes(rec, f, s)) return UString();
      return Decode(Cp(), reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
    }
    case Kind::Number: {
      Decimal d;
      if (!NumberOf(rec, f, d)) return UString();
      if (f.type == 'B') return FloatToStrU(d.ToDouble(), fs);
      return d.UText(fs.DecimalSeparator);
    }
    case Kind::Date: {
      TDateTime t;
      if (!DateOf(rec, f, t)) return UString();
      UString s = DateToStr(t, fs);
      if (f.type == 'T' && t != std::trunc(t)) s += FormatDateTime(u" hh:nn:ss", t, fs);
      return s;
    }
    case Kind::Logical: {
      bool b;
      if (!LogicalOf(rec, f, b)) return UString();
      return b ? u"True" : u"False";
    }
    case Kind::Memo: {
      UString s;
      if (!MemoOf(rec, f, s)) return UString();
      return s;
    }
    case Kind::Unsupported: break;
  }
  IsNull(rec, f);  // throws the error of the type
  return UString();
}

bool ParseDateText(std::u16string_view s, TDateTime& out, const FormatSettings& fs) {
  if (TryStrToDateTime(s, out, fs)) return true;
  if (s.size() != 8) return false;
  int v = 0;
  for (char16_t c : s) {
    if (c < u'0' || c > u'9') return false;
    v = v * 10 + (c - u'0');
  }
  return TryEncodeDate(v / 10000, v / 100 % 100, v % 100, out);
}

double Table::AsDouble(std::uint32_t rec, const Field& f, const FormatSettings& fs) const {
  switch (KindOf(f)) {
    case Kind::Number: {
      Decimal d;
      if (!NumberOf(rec, f, d)) return 0;
      const double v = d.ToDouble();
      if (!std::isfinite(v)) BadValue(rec, f, "número fora da faixa de um double.");
      return v;
    }
    case Kind::Date: {
      TDateTime t;
      return DateOf(rec, f, t) ? t : 0;
    }
    case Kind::Logical: {
      bool b;
      return LogicalOf(rec, f, b) && b ? 1 : 0;
    }
    case Kind::Text:
    case Kind::Memo: {
      // A point or a comma: the legacy texts have both.
      const UString s = TrimCtl(AsText(rec, f, fs));
      if (s.empty()) return 0;
      Decimal d;
      const double v = ParseDecimalText(s, d) ? d.ToDouble() : NAN;
      if (!std::isfinite(v)) BadValue(rec, f, "\"" + UToUtf8(s) + "\" não é um número.");
      return v;
    }
    case Kind::Unsupported: break;
  }
  IsNull(rec, f);  // throws the error of the type
  return 0;
}

TDateTime Table::AsDateTime(std::uint32_t rec, const Field& f, const FormatSettings& fs) const {
  switch (KindOf(f)) {
    case Kind::Date: {
      TDateTime t;
      return DateOf(rec, f, t) ? t : 0;
    }
    case Kind::Number: {
      Decimal d;
      return NumberOf(rec, f, d) ? d.ToDouble() : 0;
    }
    case Kind::Text:
    case Kind::Memo: {
      const UString s = TrimCtl(AsText(rec, f, fs));
      if (s.empty()) return 0;
      TDateTime t;
      if (ParseDateText(s, t, fs)) return t;
      BadValue(rec, f, "\"" + UToUtf8(s) + "\" não é uma data.");
    }
    case Kind::Logical: {
      // A null reads as the zero day like every other null; a value has no date.
      bool b;
      if (!LogicalOf(rec, f, b)) return 0;
      BadValue(rec, f, "um valor lógico não é uma data.");
    }
    case Kind::Unsupported: break;
  }
  IsNull(rec, f);
  return 0;
}

}  // namespace dbase
