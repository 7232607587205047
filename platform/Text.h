#pragma once
// Text of the system: Unicode in 16-bit code units, as the legacy program held it.
// Lengths and cuts count code units, not characters.
#include <cstdint>
#include <string>
#include <string_view>

using UString = std::u16string;

// UTF-8 <-> UTF-16. Bytes that are not valid UTF-8 decode as U+FFFD, one per byte;
// a lone surrogate encodes as U+FFFD.
UString Utf8ToU(std::string_view s);
std::string UToUtf8(std::u16string_view s);

// One UTF-8 sequence at s[i]: true with its code point and i past it; false, with i
// one byte on, for bytes that are not valid UTF-8 (cut short, overlong, a surrogate,
// beyond U+10FFFF).
bool NextUtf8(std::string_view s, std::size_t& i, char32_t& cp);
void AppendUtf8(std::string& out, char32_t cp);
bool IsValidUtf8(std::string_view s);

// Upper-casing raises only 'a'..'z'; every other character stays as it is.
UString UpperAZ(std::u16string_view s);
// Removes every character with a code of 32 or less at both ends.
UString TrimCtl(std::u16string_view s);
UString TrimLeftCtl(std::u16string_view s);
UString TrimRightCtl(std::u16string_view s);
// First / last n code units (the whole text when shorter).
UString LeftU(std::u16string_view s, std::size_t n);
UString RightU(std::u16string_view s, std::size_t n);
// Case-insensitive comparison for ASCII letters only (names of keys, tables, columns).
bool SameTextAscii(std::u16string_view a, std::u16string_view b);
// Decimal text of an integer.
UString IntToU(long long v);
// SQL text literal: wrapped in single quotes, inner single quotes doubled.
UString QuotedStr(std::u16string_view s);
