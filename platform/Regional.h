#pragma once
// Regional settings of the machine as the legacy program saw them: the short date
// format (with '/' standing for the date separator), the date and time separators
// and the decimal separator. One set for the whole process.
#include "platform/Text.h"

struct FormatSettings {
  UString ShortDateFormat = u"dd/mm/yyyy";
  char16_t DateSeparator = u'/';
  char16_t TimeSeparator = u':';
  char16_t DecimalSeparator = u',';
};

// The settings in force. Brazilian defaults unless changed.
FormatSettings& Regional();
// Switches the short date format for the whole process (the product records do this).
void SetShortDateFormat(const UString& format);
// Back to the Brazilian defaults.
void ResetRegional();

// For tests: replaces the settings for the life of the object, then restores them.
class ScopedRegional {
 public:
  explicit ScopedRegional(const FormatSettings& s);
  ~ScopedRegional();
  ScopedRegional(const ScopedRegional&) = delete;
  ScopedRegional& operator=(const ScopedRegional&) = delete;

 private:
  FormatSettings saved_;
};

// Numbers in the regional form: decimal separator of the settings, up to 15
// significant digits, no superfluous zeros ("12,5", "3", "-0,25").
UString FloatToStrU(double v);
// Reads a number written with the regional decimal separator; blanks around it are
// allowed, nothing else. An exponent ("1E5") is accepted.
bool TryStrToFloatU(std::u16string_view s, double& out);
