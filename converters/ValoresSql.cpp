#include "converters/ValoresSql.h"

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

UString NumeroSql(double valor) { return FloatToStrU(valor, kAlvo); }

UString InteiroSql(std::int32_t valor) { return IntToU(valor); }

UString DataTexto(TDateTime valor) { return FormatDateTime(u"dd.mm.yyyy", valor, kAlvo); }

UString DataSql(TDateTime valor) { return u"'" + DataTexto(valor) + u"'"; }

UString LiteralSql(const fb::Value& valor) {
  return valor.kind == fb::Value::Text ? TextoSql(valor.text) : valor.text;
}
