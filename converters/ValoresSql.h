#pragma once
// Values written as literals into the text of the product statements. The target
// reads numbers with a point and dates as dd.mm.yyyy whatever the operator's regional
// settings, so these renderings never follow them.
#include <cstdint>

#include "platform/DateTime.h"
#include "platform/firebird/Insert.h"
#include "platform/Text.h"

// Between single quotes, inner single quotes doubled.
UString TextoSql(std::u16string_view valor);
// General form, at most 15 significant digits, exponent for very small or very large
// magnitudes, no thousands separators, always a point as decimal separator.
UString NumeroSql(double valor);
// Decimal.
UString InteiroSql(std::int32_t valor);
// 'dd.mm.yyyy'.
UString DataSql(TDateTime valor);
// dd.mm.yyyy, the text inside DataSql's quotes.
UString DataTexto(TDateTime valor);

// A value of a record's insert as its literal: a text quoted, a number as it is.
UString LiteralSql(const fb::Value& valor);

// The values of a record's insert, as the literals above write them.
inline fb::Value ValorTexto(const UString& v) { return fb::Value::Texto(v); }
inline fb::Value ValorNumero(double v) { return fb::Value::Numero(NumeroSql(v)); }
inline fb::Value ValorInteiro(std::int32_t v) { return fb::Value::Numero(InteiroSql(v)); }
