#include "converters/ValoresSql.h"

#include "platform/Regional.h"

UString TextoSql(std::u16string_view valor) { return QuotedStr(valor); }

UString NumeroSql(double valor) {
  UString texto = FloatToStrU(valor);
  const char16_t regional = Regional().DecimalSeparator;
  for (char16_t& c : texto)
    if (c == u',' || c == regional) c = u'.';
  return texto;
}

UString InteiroSql(std::int32_t valor) { return IntToU(valor); }

UString DataSql(TDateTime valor) { return u"'" + FormatDateTime(u"dd.mm.yyyy", valor) + u"'"; }
