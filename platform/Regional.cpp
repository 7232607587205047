#include "platform/Regional.h"

#include <cmath>
#include <charconv>

UString FloatToStrU(double v, const FormatSettings& fs) {
  if (std::isnan(v)) return u"NAN";
  if (std::isinf(v)) return v > 0 ? u"INF" : u"-INF";
  // to_chars ignores the C locale, which a window toolkit may have changed.
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf - 1, v, std::chars_format::general, 15);
  *res.ptr = '\0';
  UString out;
  for (const char* p = buf; *p; ++p) {
    if (*p == '.') out.push_back(fs.DecimalSeparator);
    else if (*p == 'e') out.push_back(u'E');
    else out.push_back(static_cast<char16_t>(*p));
  }
  // "%g" writes exponents as E+20 / E-05; the legacy form is E20 / E-5.
  auto e = out.find(u'E');
  if (e != UString::npos) {
    UString mant = out.substr(0, e);
    UString exp = out.substr(e + 1);
    bool neg = !exp.empty() && exp[0] == u'-';
    if (!exp.empty() && (exp[0] == u'+' || exp[0] == u'-')) exp.erase(0, 1);
    while (exp.size() > 1 && exp[0] == u'0') exp.erase(0, 1);
    out = mant + u"E" + (neg ? u"-" : u"") + exp;
  }
  if (out == u"-0") out.erase(0, 1);
  return out;
}

bool TryStrToFloatU(std::u16string_view s, double& out, const FormatSettings& fs) {
  std::size_t b = 0, e = s.size();
  while (b < e && s[b] == u' ') ++b;
  while (e > b && s[e - 1] == u' ') --e;
  if (b == e) return false;
  std::string ascii;
  const char16_t dec = fs.DecimalSeparator;
  bool seenDigit = false;
  for (std::size_t i = b; i < e; ++i) {
    char16_t c = s[i];
    if (c == dec) ascii.push_back('.');
    else if (c >= u'0' && c <= u'9') { ascii.push_back(static_cast<char>(c)); seenDigit = true; }
    else if (c == u'+' || c == u'-' || c == u'e' || c == u'E') ascii.push_back(static_cast<char>(c));
    else return false;
  }
  if (!seenDigit) return false;
  std::size_t start = (!ascii.empty() && ascii[0] == '+') ? 1 : 0;
  double v = 0;
  auto res = std::from_chars(ascii.data() + start, ascii.data() + ascii.size(), v);
  if (res.ec != std::errc() || res.ptr != ascii.data() + ascii.size()) return false;
  if (!std::isfinite(v)) return false;
  out = v;
  return true;
}
