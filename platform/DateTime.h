#pragma once
// Dates as the legacy program held them: a double counting days since
// 30 December 1899, the fraction being the time of day.
#include "platform/Regional.h"
#include "platform/Text.h"

using TDateTime = double;

constexpr TDateTime kMinDateTime = -657434.0;        // 01/01/0100
constexpr TDateTime kMaxDateTime = 2958465.99999999;  // 31/12/9999 23:59:59.999

bool IsValidDate(int year, int month, int day);
bool TryEncodeDate(int year, int month, int day, TDateTime& out);
// Throws std::invalid_argument when the date does not exist.
TDateTime EncodeDate(int year, int month, int day);
void DecodeDate(TDateTime dt, int& year, int& month, int& day);
void DecodeTime(TDateTime dt, int& hour, int& minute, int& second, int& msec);
TDateTime EncodeTime(int hour, int minute, int second, int msec);

// Formats with the tokens d dd m mm yy yyyy h hh n nn s ss zzz (any letter case),
// '/' for the regional date separator, ':' for the time separator, text in quotes
// kept as it is.
UString FormatDateTime(std::u16string_view format, TDateTime dt, const FormatSettings& fs);
// The date in the short date format of the settings.
UString DateToStr(TDateTime dt, const FormatSettings& fs);
// Reads a date (and optionally a time after a blank) in the order of the short date
// format of the settings, separated by the regional date separator. Two-digit years fall
// in the window of the 50 years around today.
bool TryStrToDate(std::u16string_view s, TDateTime& out, const FormatSettings& fs);
bool TryStrToDateTime(std::u16string_view s, TDateTime& out, const FormatSettings& fs);

TDateTime Now();
TDateTime Date();  // today, no time
