#pragma once
// Errors are exceptions carrying a message text; the run controller shows it to the
// operator. what() holds the text in UTF-8.
#include <stdexcept>
#include <string>

#include "platform/Text.h"

class EConversao : public std::runtime_error {
 public:
  explicit EConversao(const std::string& utf8) : std::runtime_error(utf8) {}
  explicit EConversao(const UString& text) : std::runtime_error(UToUtf8(text)) {}
  UString Message() const { return Utf8ToU(what()); }
};

// An error of the target database; the text is the database's own.
class EDatabaseError : public EConversao {
 public:
  using EConversao::EConversao;
  // TEMPORARY until the status codes land.
  bool IsLockConflict() const { const std::string w = what(); return w.find("update conflicts with concurrent update") != std::string::npos || w.find("lock conflict on no wait transaction") != std::string::npos; }
  bool IsConnectionLost() const { const std::string w = what(); for (const char* t : {"Error reading data from the connection", "Error writing data to the connection", "Connection lost to database", "connection shutdown"}) if (w.find(t) != std::string::npos) return true; return false; }
};

// An error of the source query engine (folder, table, column, value).
class ESourceError : public EConversao {
 public:
  using EConversao::EConversao;
};

// The message text of any exception, as the operator sees it.
inline UString ErrorMessage(const std::exception& e) { return Utf8ToU(e.what()); }
