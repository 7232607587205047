// Normalisers of values read from the legacy tables: masks and separators of
// document numbers, date texts, accents of names and the digits of phones. None of
// them touches the target database or keeps state between calls.
#include <cmath>

#include "platform/DateTime.h"
#include "platform/Regional.h"
#include "toolkit/classConversao.h"

namespace {

bool Contains(const UString& s, std::u16string_view what) { return s.find(what) != UString::npos; }

UString Digits(std::u16string_view s) {
  UString out;
  out.reserve(s.size());
  for (char16_t c : s)
    if (c >= u'0' && c <= u'9') out.push_back(c);
  return out;
}

char16_t MaiusculaAZ(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

// Whether `s`, upper-cased as UpperAZ does, holds `upper`.
bool ContainsUpperAZ(std::u16string_view s, std::u16string_view upper) {
  for (std::size_t i = 0; i + upper.size() <= s.size(); ++i) {
    std::size_t k = 0;
    while (k < upper.size() && MaiusculaAZ(s[i + k]) == upper[k]) ++k;
    if (k == upper.size()) return true;
  }
  return false;
}

// `s` without the blanks and control characters around it, as TrimCtl cuts them.
std::u16string_view TrimmedView(std::u16string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && s[b] <= 32) ++b;
  while (e > b && s[e - 1] <= 32) --e;
  return s.substr(b, e - b);
}

void ReplaceAll(UString& s, char16_t from, char16_t to) {
  for (auto& c : s)
    if (c == from) c = to;
}

// The base letter of an accented letter (and "." for ":" and ";"); 0 when the
// character stays as it is. Ë, Ï, Û, Ñ and their lower-case forms were never in
// the legacy table, so they stay.
char16_t SemAcento(char16_t c) {
  switch (c) {
    case 0xC0: case 0xC1: case 0xC2: case 0xC3: case 0xC4:
    case 0xE0: case 0xE1: case 0xE2: case 0xE3: case 0xE4:
      return u'A';
    case 0xC8: case 0xC9: case 0xCA:
    case 0xE8: case 0xE9: case 0xEA:
      return u'E';
    case 0xCC: case 0xCD: case 0xCE:
    case 0xEC: case 0xED: case 0xEE:
      return u'I';
    case 0xD2: case 0xD3: case 0xD4: case 0xD5: case 0xD6:
    case 0xF2: case 0xF3: case 0xF4: case 0xF5: case 0xF6:
      return u'O';
    case 0xD9: case 0xDA: case 0xDC:
    case 0xF9: case 0xFA: case 0xFC:
      return u'U';
    case 0xC7: case 0xE7:
      return u'C';
    case u':': case u';':
      return u'.';
    default:
      return 0;
  }
}

// Serial day numbers of 01/01/0100 and 31/12/9999.
constexpr double kFirstDay = -657434.0;
constexpr double kLastDay = 2958465.0;

}  // namespace

UString TConversao::TiraMascara(const UString& Valor) {
  // Read upper-cased in place: most values are numbers, and copying them upper-cased
  // first would be work for nothing.
  const std::u16string_view aparado = TrimmedView(Valor);
  if (aparado.size() == 6 && ContainsUpperAZ(aparado, u"ISENTO"))
    return UpperAZ(Valor);  // the blanks around it are kept
  if (ContainsUpperAZ(Valor, u"ISEN")) return UString();  // ISENTA, ISENCAO...: no number
  return Digits(Valor);
}

UString TConversao::FValidaData(UString& Data, const FormatSettings& fs) {
  if (Data.empty() || Data == u"  -   -") {
    // An empty date (or the empty dBase date mask) becomes today.
    Data = DateToStr(Date(), fs);
  } else if (Contains(Data, u"/")) {
    ReplaceAll(Data, u'/', u'.');
  } else if (Contains(Data, u"-")) {
    ReplaceAll(Data, u'-', u'.');
  } else if (Contains(Data, u".")) {
    // Already in the dotted form.
  } else {
    // A bare number: a date serial, days since 30/12/1899.
    double serial = 0;
    if (TryStrToFloatU(Data, serial, fs) && std::trunc(serial) >= kFirstDay &&
        std::trunc(serial) <= kLastDay) {
      Data = FormatDateTime(u"DD/MM/YYYY", serial, fs);
    } else {
      Data.clear();
    }
  }
  return Data;
}

UString TConversao::FRemoveCaracter(const UString& Valor) {
  // Without a separator the value comes back as it is, blanks included.
  if (Valor.find_first_of(u"-./'") == UString::npos) return Valor;
  UString valor = Valor;
  for (char16_t c : {u'-', u'.', u'/', u'\''}) {
    for (std::size_t pos = valor.find(c); pos != UString::npos; pos = valor.find(c)) {
      // What follows the separator is taken in a window of 100 code units, as the
      // legacy routine did; the fields it serves are far shorter.
      valor = TrimCtl(valor.substr(0, pos) + valor.substr(pos + 1, 100));
    }
  }
  return valor;
}

UString TConversao::FRetiraAcento(const UString& Valor) {
  // Each character on its own: upper-cased (a-z), then its base letter if it has one.
  UString result;
  result.resize(Valor.size());
  for (std::size_t i = 0; i < Valor.size(); ++i) {
    const char16_t c = MaiusculaAZ(Valor[i]);
    const char16_t base = SemAcento(c);
    result[i] = base ? base : c;
  }
  return result;
}

UString TConversao::FSoNumero(const UString& MNumero) { return Digits(MNumero); }
