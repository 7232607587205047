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
  for (char16_t c : s)
    if (c >= u'0' && c <= u'9') out.push_back(c);
  return out;
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
  const UString upper = UpperAZ(Valor);
  if (TrimCtl(upper) == u"ISENTO") return upper;  // the blanks around it are kept
  if (Contains(upper, u"ISEN")) return UString();  // ISENTA, ISENCAO...: no number
  return Digits(upper);
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
  UString valor = UpperAZ(Valor);
  UString result;
  result.reserve(valor.size());
  for (std::size_t i = 0; i < valor.size(); ++i) {
    if (char16_t base = SemAcento(valor[i])) ReplaceAll(valor, valor[i], base);
    result.push_back(valor[i]);
  }
  return result;
}

UString TConversao::FSoNumero(const UString& MNumero) { return Digits(MNumero); }
