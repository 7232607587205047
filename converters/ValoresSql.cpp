#include "converters/ValoresSql.h"

#include <cmath>

#include "platform/Regional.h"

namespace {

// The target's own forms: a point before the decimals, dates as written below.
FormatSettings DoAlvo() {
  FormatSettings fs;
  fs.DecimalSeparator = u'.';
  return fs;
}

const FormatSettings kAlvo = DoAlvo();

}  // namespace

UString TextoSql(std::u16string_view valor) { return QuotedStr(valor); }

UString NumeroSql(double valor) {
  // Most of a record's numbers are whole, zero above all: their text is their digits,
  // as FloatToStrU writes any whole number below 10^15.
  if (valor == std::trunc(valor) && std::fabs(valor) < 1e15) return IntToU(static_cast<long long>(valor));
  return FloatToStrU(valor, kAlvo);
}

UString InteiroSql(std::int32_t valor) { return IntToU(valor); }

UString DataTexto(TDateTime valor) { return FormatDateTime(u"dd.mm.yyyy", valor, kAlvo); }

UString DataSql(TDateTime valor) { return u"'" + DataTexto(valor) + u"'"; }

UString LiteralSql(const fb::Value& valor) {
  return valor.kind == fb::Value::Text ? TextoSql(valor.text) : valor.text;
}
