// Reading the columns of a fetched row: as text (the formats of Firebird.h), as an
// integer, as a double, and text blobs.
#include <charconv>
#include <cmath>
#include <cstring>

#include "platform/DateTime.h"
#include "platform/Regional.h"
#include "platform/firebird/Internal.h"

using namespace Firebird;

namespace fb {

namespace {

UString FormatScaled(std::int64_t v, int scale) {
  bool neg = v < 0;
  // Magnitude without overflow at INT64_MIN.
  std::uint64_t m = neg ? static_cast<std::uint64_t>(-(v + 1)) + 1 : static_cast<std::uint64_t>(v);
  std::string digits = std::to_string(m);
  if (scale < 0) {
    std::size_t s = static_cast<std::size_t>(-scale);
    if (digits.size() <= s) digits.insert(0, s + 1 - digits.size(), '0');
    digits.insert(digits.size() - s, ".");
  } else if (scale > 0) {
    digits.append(static_cast<std::size_t>(scale), '0');
  }
  if (neg) digits.insert(0, "-");
  return U8(digits);
}

// A negative scale is that of a NUMERIC or DECIMAL that the database holds as a
// double (dialect 1, precision above 9): it is written with the scale's digits,
// like the same column of a smaller precision.
UString FormatDouble(double v, int scale = 0) {
  if (std::isnan(v)) return u"NaN";
  if (std::isinf(v)) return v > 0 ? u"INF" : u"-INF";
  char buf[400];
  auto r = scale < 0 ? std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, -scale)
                     : std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
  std::string s(buf, r.ptr);
  if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);  // no "-0.00"
  return U8(s);
}

// The shortest plain decimal that reads back as the same float: a FLOAT holding
// 0.1 reads "0.1", not the digits of the double it widens to.
UString FormatFloat(float v) {
  if (std::isnan(v)) return u"NaN";
  if (std::isinf(v)) return v > 0 ? u"INF" : u"-INF";
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
  std::string s(buf, r.ptr);
  if (s == "-0") s = "0";
  return U8(s);
}

UString Pad2(unsigned v) {
  UString s;
  s.push_back(static_cast<char16_t>(u'0' + (v / 10) % 10));
  s.push_back(static_cast<char16_t>(u'0' + v % 10));
  return s;
}

bool ParseWholeNumber(std::u16string_view s, std::int64_t& out) {
  std::size_t b = 0, e = s.size();
  while (b < e && s[b] == u' ') ++b;
  while (e > b && s[e - 1] == u' ') --e;
  if (b == e) return false;
  std::string a;
  for (std::size_t i = b; i < e; ++i) {
    char16_t c = s[i];
    if ((c >= u'0' && c <= u'9') || ((c == u'-' || c == u'+') && i == b)) a.push_back(static_cast<char>(c));
    else return false;
  }
  std::size_t start = a[0] == '+' ? 1 : 0;
  auto r = std::from_chars(a.data() + start, a.data() + a.size(), out);
  return r.ec == std::errc() && r.ptr == a.data() + a.size();
}

bool ParseDoubleText(std::u16string_view s, double& out, const FormatSettings& fs) {
  std::size_t b = 0, e = s.size();
  while (b < e && s[b] == u' ') ++b;
  while (e > b && s[e - 1] == u' ') --e;
  if (b == e) return false;
  std::string a;
  for (std::size_t i = b; i < e; ++i) {
    char16_t c = s[i];
    if (c == u'.' || c == fs.DecimalSeparator) a.push_back('.');
    else if ((c >= u'0' && c <= u'9') || c == u'-' || c == u'+' || c == u'e' || c == u'E') a.push_back(static_cast<char>(c));
    else return false;
  }
  std::size_t start = a[0] == '+' ? 1 : 0;
  auto r = std::from_chars(a.data() + start, a.data() + a.size(), out);
  return r.ec == std::errc() && r.ptr == a.data() + a.size() && std::isfinite(out);
}

}  // namespace

std::size_t QueryState::Column(const UString& name) const {
  if (!active) Fail(u"The query is not open (field " + name + u")");
  for (std::size_t i = 0; i < cur->aliases.size(); ++i)
    if (SameTextAscii(cur->aliases[i], name)) return i;
  for (std::size_t i = 0; i < cur->fields.size(); ++i)
    if (SameTextAscii(cur->fields[i], name)) return i;
  Fail(u"Field " + name + u" not found");
}

bool QueryState::IsNull(std::size_t i) const {
  if (!hasRow) return true;  // no current row: every field reads as null
  short nul;
  std::memcpy(&nul, &outBuf[cur->outItems[i].nullOffset], sizeof nul);
  return nul != 0;
}

std::int64_t QueryState::IntValue(const Item& it) const {
  switch (it.type) {
    case SQL_SHORT: return At<std::int16_t>(it);
    case SQL_LONG: return At<std::int32_t>(it);
    case SQL_INT64: return At<std::int64_t>(it);
    default: return 0;
  }
}

UString QueryState::Text(std::size_t i) const {
  if (IsNull(i)) return UString();
  const Item& it = cur->outItems[i];
  const unsigned char* p = &outBuf[it.offset];
  DbState& d = Db();
  switch (it.type) {
    case SQL_TEXT: {
      UString s = d.Decode(std::string_view(reinterpret_cast<const char*>(p), it.length), it.charSet);
      if (it.charSet != kCsOctets) while (!s.empty() && s.back() == u' ') s.pop_back();
      return s;
    }
    case SQL_VARYING: {
      std::uint16_t len;
      std::memcpy(&len, p, 2);
      return d.Decode(std::string_view(reinterpret_cast<const char*>(p + 2), len), it.charSet);
    }
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64: return FormatScaled(IntValue(it), it.scale);
    case SQL_FLOAT: return FormatFloat(At<float>(it));
    case SQL_DOUBLE:
    case SQL_D_FLOAT: return FormatDouble(At<double>(it), it.scale);
    case SQL_TYPE_DATE: {
      unsigned y, m, dd;
      d.util->decodeDate(At<ISC_DATE>(it), &y, &m, &dd);
      return DateToStr(EncodeDate(static_cast<int>(y), static_cast<int>(m), static_cast<int>(dd)), *d.regional);
    }
    case SQL_TYPE_TIME: {
      unsigned h, mi, s, f;
      d.util->decodeTime(At<ISC_TIME>(it), &h, &mi, &s, &f);
      return Pad2(h) + u":" + Pad2(mi) + u":" + Pad2(s);
    }
    case SQL_TIMESTAMP: {
      ISC_TIMESTAMP ts = At<ISC_TIMESTAMP>(it);
      unsigned y, m, dd, h, mi, s, f;
      d.util->decodeDate(ts.timestamp_date, &y, &m, &dd);
      d.util->decodeTime(ts.timestamp_time, &h, &mi, &s, &f);
      UString out = DateToStr(EncodeDate(static_cast<int>(y), static_cast<int>(m), static_cast<int>(dd)), *d.regional);
      if (h || mi || s) out += u" " + Pad2(h) + u":" + Pad2(mi) + u":" + Pad2(s);
      return out;
    }
    case SQL_BOOLEAN: return *p ? u"True" : u"False";
    case SQL_BLOB: {
      std::string bytes = ReadBlob(At<ISC_QUAD>(it));
      return it.subType == 1 ? d.Decode(bytes, it.charSet) : DecodeText(Codec::Latin1, bytes);
    }
    default: Fail(u"Field " + cur->aliases[i] + u" has a type this client cannot read");
  }
}

std::int64_t QueryState::Integer(std::size_t i) const {
  const Item& it = cur->outItems[i];
  if (IsNull(i)) Fail(u"'' is not a valid integer value (field " + cur->aliases[i] + u" is null)");
  if ((it.type == SQL_SHORT || it.type == SQL_LONG || it.type == SQL_INT64) && it.scale == 0) return IntValue(it);
  UString t = Text(i);
  std::int64_t v;
  if (ParseWholeNumber(t, v)) return v;
  // "12.00" of a scaled or floating column is still a whole number.
  double dv;
  if (it.type != SQL_TEXT && it.type != SQL_VARYING && ParseDoubleText(t, dv, *Db().regional) && dv == std::trunc(dv) &&
      std::fabs(dv) < 9.2e18)
    return static_cast<std::int64_t>(dv);
  Fail(u"'" + t + u"' is not a valid integer value (field " + cur->aliases[i] + u")");
}

double QueryState::Double(std::size_t i) const {
  const Item& it = cur->outItems[i];
  if (IsNull(i)) Fail(u"'' is not a valid floating point value (field " + cur->aliases[i] + u" is null)");
  switch (it.type) {
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64:
      // Divided, not multiplied by 0.1...: 3 / 10 is 0.3, 3 * 0.1 is not.
      return it.scale < 0 ? static_cast<double>(IntValue(it)) / std::pow(10.0, -it.scale)
                          : static_cast<double>(IntValue(it)) * std::pow(10.0, it.scale);
    case SQL_FLOAT: return At<float>(it);
    case SQL_DOUBLE:
    case SQL_D_FLOAT: return At<double>(it);
    default: break;
  }
  UString t = Text(i);
  double v;
  if (ParseDoubleText(t, v, *Db().regional)) return v;
  Fail(u"'" + t + u"' is not a valid floating point value (field " + cur->aliases[i] + u")");
}

std::string QueryState::ReadBlob(const ISC_QUAD& id) const {
  DbState& d = Db();
  if (!d.tra) Fail(u"A BLOB cannot be read after its transaction ended");
  std::string out;
  IBlob* blob = nullptr;
  try {
    d.Guard([&] {
      ISC_QUAD bid = id;
      blob = d.att->openBlob(&d.st, d.tra, &bid, 0, nullptr);
      char buf[16384];
      for (;;) {
        unsigned got = 0;
        int r = blob->getSegment(&d.st, sizeof buf, buf, &got);
        if (r == IStatus::RESULT_NO_DATA) break;
        out.append(buf, got);
      }
      blob->close(&d.st);
      blob = nullptr;
    });
  } catch (...) {
    if (blob) blob->release();
    throw;
  }
  return out;
}


}  // namespace fb
