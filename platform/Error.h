#pragma once
// Errors are exceptions carrying a message text; the run controller shows it to the
// operator. what() holds the text in UTF-8.
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/Text.h"

class EConversao : public std::runtime_error {
 public:
  explicit EConversao(const std::string& utf8) : std::runtime_error(utf8) {}
  explicit EConversao(const UString& text) : std::runtime_error(UToUtf8(text)) {}
  UString Message() const { return Utf8ToU(what()); }
};

// The engine's error codes (its isc_* numbers) that the predicates of EDatabaseError
// look for. Kept here so that this header needs no client headers; the target
// connection checks each against the installed ones when it is built.
namespace dbcode {
constexpr long kArithExcept = 335544321;        // arithmetic exception, numeric overflow, or string truncation
constexpr long kBadDbFormat = 335544323;        // file ... is not a valid database
constexpr long kDeadlock = 335544336;           // deadlock
constexpr long kIoError = 335544344;            // I/O error during "..." operation for file "..."
constexpr long kLockConflict = 335544345;       // lock conflict on no wait transaction
constexpr long kNoDup = 335544349;              // attempt to store duplicate value ... in unique index
constexpr long kWrongOds = 335544379;           // unsupported on-disk structure
constexpr long kRandom = 335544382;             // the engine's own words, as its argument
constexpr long kBadOdsVersion = 335544394;      // incompatible version of on-disk structure
constexpr long kConnectReject = 335544421;      // connection rejected by remote interface
constexpr long kUpdateConflict = 335544451;     // update conflicts with concurrent update
constexpr long kLogin = 335544472;              // Your user name and password are not defined
constexpr long kLockTimeout = 335544510;        // lock time-out on wait transaction
constexpr long kDsqlFieldErr = 335544578;       // Column unknown
constexpr long kDsqlRelationErr = 335544580;    // Table unknown
constexpr long kConnLost = 335544648;           // Connection lost to pipe server
constexpr long kUniqueKeyViolation = 335544665; // violation of PRIMARY or UNIQUE KEY constraint
constexpr long kNetLookupErr = 335544704;       // Failed to locate host machine
constexpr long kHostUnknown = 335544706;        // The specified name was not found in the hosts file or DNS
constexpr long kNetConnectErr = 335544722;      // Failed to establish a connection
constexpr long kNetReadErr = 335544726;         // Error reading data from the connection
constexpr long kNetWriteErr = 335544727;        // Error writing data to the connection
constexpr long kIoReadErr = 335544736;          // Error while trying to read from file
constexpr long kLostDbConnection = 335544741;   // connection lost to database
constexpr long kExceptionIntegerOverflow = 335544779;  // Integer overflow
constexpr long kFileInUse = 335544791;          // The file ... is currently in use by another process
constexpr long kAttShutdown = 335544856;        // connection shutdown
constexpr long kStringTruncation = 335544914;   // string right truncation
constexpr long kNumericOutOfRange = 335544916;  // numeric value is out of range
constexpr long kNetServerShutdown = 335544971;  // ... server is shutdown
constexpr long kTruncLimits = 335545033;        // expected length ..., actual ...
constexpr long kLoginError = 335545106;         // Error occurred during login
constexpr long kAlreadyOpened = 335545107;      // Database already opened with engine instance, incompatible with current
constexpr long kDynColumnDoesNotExist = 336068784;  // column ... does not exist in table/view ...
constexpr long kDynTableNotFound = 336068849;   // Table ... not found
constexpr long kDsqlTableNotFound = 336397206;  // Table ... does not exist
}  // namespace dbcode

// An error of the target database; the text is the database's own. When the engine
// raised it, it also keeps the codes of the engine's status vector, every one in
// order, so that callers tell one failure from another by code and never by words
// (the words change with the server's version and language). Errors the connection
// raises on its own (a character the connection set cannot hold, "not connected")
// have no codes, and every predicate is false for them.
class EDatabaseError : public EConversao {
 public:
  using EConversao::EConversao;
  EDatabaseError(const UString& text, std::vector<long> codes)
      : EConversao(text), codes_(codes.empty() ? nullptr : std::make_shared<const std::vector<long>>(std::move(codes))) {}

  const std::vector<long>& Codes() const {
    static const std::vector<long> none;
    return codes_ ? *codes_ : none;
  }
  bool HasCode(long code) const {
    for (long c : Codes())
      if (c == code) return true;
    return false;
  }

  // Another transaction holds the row or table: worth telling the operator who is
  // in the way, not a fault of the data.
  bool IsLockConflict() const {
    return HasAny({dbcode::kLockConflict, dbcode::kUpdateConflict, dbcode::kDeadlock, dbcode::kLockTimeout});
  }
  // The attachment is gone: the server stopped, the network failed, or the
  // connection or database was shut down under it. Nothing more can be done on it.
  bool IsConnectionLost() const {
    return HasAny({dbcode::kNetReadErr, dbcode::kNetWriteErr, dbcode::kConnLost, dbcode::kLostDbConnection,
                   dbcode::kAttShutdown, dbcode::kNetServerShutdown});
  }
  bool IsDuplicateKey() const { return HasAny({dbcode::kUniqueKeyViolation, dbcode::kNoDup}); }
  // A text longer than its column holds.
  bool IsTruncation() const { return HasAny({dbcode::kStringTruncation, dbcode::kTruncLimits}); }
  // A number out of its column's range.
  bool IsNumericOverflow() const {
    return HasAny({dbcode::kNumericOutOfRange, dbcode::kExceptionIntegerOverflow});
  }
  bool IsUnknownTable() const {
    return HasAny({dbcode::kDsqlRelationErr, dbcode::kDsqlTableNotFound, dbcode::kDynTableNotFound});
  }
  bool IsUnknownColumn() const { return HasAny({dbcode::kDsqlFieldErr, dbcode::kDynColumnDoesNotExist}); }
  bool IsLoginFailed() const { return HasAny({dbcode::kLogin, dbcode::kLoginError}); }
  // For a failed attach: the file is there but is no Firebird database of this
  // engine's: empty or too short (an I/O error on reading it, with the engine's own
  // words for why), something else altogether, or of an on-disk structure it cannot
  // read. A file that cannot be opened at all (missing, no permission), held by
  // another engine (an I/O error on locking it) or not written (a full disk) is not
  // this.
  bool IsNotADatabase() const {
    if (HasAny({dbcode::kBadDbFormat, dbcode::kWrongOds, dbcode::kBadOdsVersion})) return true;
    const std::vector<long>& c = Codes();
    return c.size() >= 2 && c[0] == dbcode::kIoError && (c[1] == dbcode::kIoReadErr || c[1] == dbcode::kRandom);
  }
  // Another engine instance or program holds the file open.
  bool IsFileInUse() const { return HasAny({dbcode::kAlreadyOpened, dbcode::kFileInUse}); }
  // No server answered: the host is unknown or refused the connection.
  bool IsServerUnreachable() const {
    return HasAny({dbcode::kNetConnectErr, dbcode::kNetLookupErr, dbcode::kHostUnknown, dbcode::kConnectReject});
  }

 private:
  bool HasAny(std::initializer_list<long> codes) const {
    for (long c : codes)
      if (HasCode(c)) return true;
    return false;
  }
  // Shared, so that copying the exception (as it is thrown and caught) never throws.
  std::shared_ptr<const std::vector<long>> codes_;
};

// An error of the source query engine (folder, table, column, value).
class ESourceError : public EConversao {
 public:
  using EConversao::EConversao;
};

// The message text of any exception, as the operator sees it.
inline UString ErrorMessage(const std::exception& e) { return Utf8ToU(e.what()); }
