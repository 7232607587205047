#pragma once
// Errors are exceptions carrying a message text; the run controller shows it to the
// operator. what() holds the text in UTF-8.
#include <initializer_list>
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
  bool IsLockConflict() const { return Has({"update conflicts with concurrent update", "lock conflict on no wait transaction"}); }
  bool IsConnectionLost() const { return Has({"Error reading data from the connection", "Error writing data to the connection", "Connection lost to database", "connection shutdown"}); }
  bool IsDuplicateKey() const { return Has({"violation of PRIMARY or UNIQUE KEY constraint", "attempt to store duplicate value"}); }
  bool IsTruncation() const { return Has({"string right truncation"}); }
  bool IsUnknownTable() const { return Has({"Table unknown"}); }
  bool IsUnknownColumn() const { return Has({"Column unknown"}); }
  bool IsLoginFailed() const { return Has({"user name and password are not defined"}); }
  bool IsNotADatabase() const { return Has({"is not a valid database", "File size is less than expected", "unsupported on-disk structure"}); }
  bool IsFileInUse() const { return Has({"Database already opened with engine instance", "is in use by another process"}); }
  bool IsServerUnreachable() const { return Has({"Unable to complete network request to host"}); }

 private:
  bool Has(std::initializer_list<const char*> texts) const { const std::string w = what(); for (const char* t : texts) if (w.find(t) != std::string::npos) return true; return false; }
};

// An error of the source query engine (folder, table, column, value).
class ESourceError : public EConversao {
 public:
  using EConversao::EConversao;
};

// The message text of any exception, as the operator sees it.
inline UString ErrorMessage(const std::exception& e) { return Utf8ToU(e.what()); }
