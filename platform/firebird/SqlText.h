#pragma once
// Pieces of the target connection that work on texts alone, without fbclient:
// the named-parameter parser, the commit-statement test and the character set
// codecs. Declared here so that the tests can reach them directly.
#include <string>
#include <string_view>
#include <vector>

#include "platform/Text.h"

namespace fb {

// A statement text with its named parameters taken out.
struct ParsedSql {
  UString sql;                  // the text sent to Firebird: every ":NAME" replaced by "?"
  std::vector<UString> params;  // the name at each "?" position, as written (no colon)
  int positional = 0;           // count of "?" the text had of its own
  bool psqlBody = false;        // a PSQL module or EXECUTE BLOCK: sent unchanged
};

// Finds ":NAME" (a letter or "_" then letters, digits, "_" and "$") outside
// '...' strings (with ''), "..." identifiers or strings (with ""), q'x...x'
// strings, -- comments and /* */ comments. A name may appear more than once.
// Texts that define PSQL code (CREATE/ALTER/RECREATE PROCEDURE, TRIGGER, FUNCTION,
// PACKAGE and EXECUTE BLOCK) are left alone: their ":NAME"s are PSQL variables.
// Throws EDatabaseError when the text mixes "?" with ":NAME".
ParsedSql ParseSql(std::u16string_view text);

// "COMMIT" or "COMMIT WORK", any letter case, blanks around and one trailing ";"
// allowed.
bool IsCommitStatement(std::u16string_view text);

// Character sets the connection can speak itself.
enum class Codec { Utf8, Win1252, Latin1 };

// Encodes; on a character the set cannot hold returns false and sets `bad` to
// its code point (a lone surrogate counts as such a character).
bool EncodeText(Codec codec, std::u16string_view text, std::string& out, char32_t& bad);
// Decodes; never fails (invalid UTF-8 becomes U+FFFD).
UString DecodeText(Codec codec, std::string_view bytes);

// Firebird character set ids.
enum : unsigned {
  kCsNone = 0,
  kCsOctets = 1,
  kCsAscii = 2,
  kCsUnicodeFss = 3,
  kCsUtf8 = 4,
  kCsIso8859_1 = 21,
  kCsWin1252 = 53,
};

}  // namespace fb
