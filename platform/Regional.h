#pragma once
// Regional settings as the legacy program saw them: the short date format (with '/'
// standing for the date separator), the date and time separators and the decimal
// separator. A run carries its own set (the product records change its short date
// format for the rest of the run); every reading and writing of dates and numbers
// is handed the set it follows.
#include "platform/Text.h"

struct FormatSettings {
  UString ShortDateFormat = u"dd/mm/yyyy";
  char16_t DateSeparator = u'/';
  char16_t TimeSeparator = u':';
  char16_t DecimalSeparator = u',';
};


// Numbers in the regional form: decimal separator of the settings, up to 15
// significant digits, no superfluous zeros ("12,5", "3", "-0,25").
UString FloatToStrU(double v, const FormatSettings& fs);
// Reads a number written with the regional decimal separator; blanks around it are
// allowed, nothing else. An exponent ("1E5") is accepted.
bool TryStrToFloatU(std::u16string_view s, double& out, const FormatSettings& fs);
