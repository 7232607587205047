#pragma once
// The target connection: a Firebird database over fbclient's OO API, its one
// transaction, and query objects that run statement texts with named parameters.
//
// Rules every part of the system relies on:
// - a statement executed or a query opened while the transaction is inactive
//   starts it, and it stays open;
// - a statement text that is a commit statement ("COMMIT", "Commit;") is a real
//   commit: the transaction ends and reports itself inactive;
// - a failed statement does not end the transaction;
// - errors are EDatabaseError carrying the database's own message text.
//
// Choices of this implementation (see also README.md, "The target connection"):
// - The connection character set is the database's default character set when it is
//   WIN1252, ISO8859_1 or UTF8 (UNICODE_FSS counts as UTF8); WIN1252 when the database
//   has none (NONE) or OCTETS, as the legacy Windows client wrote; UTF8 for any other
//   set, which the engine then transliterates. SetCharacterSet forces one. A text
//   holding a character the connection set cannot hold is an error naming it (in
//   WIN1252 also U+0081, U+008D, U+008F, U+0090 and U+009D, the five bytes it leaves
//   undefined, which the engine would store as NUL).
// - The transaction is READ COMMITTED, RECORD_VERSION, READ WRITE, NO WAIT: a lock
//   conflict is reported at once instead of waiting for the other user.
// - Reading as text: integers in decimal; NUMERIC/DECIMAL with their scale's digits
//   after a point ("12.50"), also those dialect 1 holds as doubles; floating point in the shortest plain decimal that reads
//   back the same, with a point ("0.1", "1234.5"); DATE as the short date format of
//   the connection's settings (DateToStr); TIMESTAMP likewise, followed by " hh:nn:ss" when the time is not
//   midnight (as DateTimeToStr did); TIME as "hh:nn:ss"; BOOLEAN "True"/"False"; CHAR
//   without the trailing blanks the database pads it with; text BLOBs as their text.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Error.h"
#include "platform/Regional.h"
#include "platform/Text.h"

namespace fb {

class Database;
class Query;

// The one transaction of a connection. Every Transaction object created on a
// Database is a view of that same transaction (the connection's default one, which
// every query runs in): there is no second transaction.
class Transaction {
 public:
  explicit Transaction(Database& db);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  bool InTransaction() const;
  void StartTransaction();  // error when already active
  void Commit();            // error when not active
  void Rollback();          // error when not active

 private:
  friend class Database;
  friend class Query;
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

class Database {
 public:
  Database();
  ~Database();  // rolls back an open transaction and detaches
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // A plain file path opens the file in embedded mode; "host:path" or
  // "host/port:path" goes through a server. Changing it while connected is an error.
  void SetDatabaseName(const UString& name);
  const UString& DatabaseName() const;
  void SetUserName(const UString& user);
  void SetPassword(const UString& password);
  // Forces the connection character set ("UTF8", "WIN1252", "ISO8859_1", "NONE");
  // empty (the default) chooses it from the database, as described above.
  void SetCharacterSet(const UString& charset);

  void Open();   // attaches; an open connection stays open
  void Close();  // rolls back an open transaction, then detaches
  bool Connected() const;

  int Dialect() const;           // SQL dialect the statements are prepared in
  UString CharacterSet() const;  // connection character set in use
  UString DatabaseCharacterSet() const;  // the database's default ("NONE" when it has none)
  // Whether the connection character set holds every character of the text (a
  // text that it does not is an error wherever it is sent).
  bool CanHold(std::u16string_view text) const;

  Transaction& DefaultTransaction();

  // The regional settings that date and number texts are read and written under
  // (parameters given as text, columns read as text). A run lends its own for its
  // length (not owned; nullptr gives the connection's Brazilian defaults back).
  void SetRegional(const FormatSettings* fs);
  const FormatSettings& Regional() const;

 private:
  friend class Transaction;
  friend class Query;
  friend class Insert;
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

class Query {
 public:
  explicit Query(Database& db);
  ~Query();
  Query(const Query&) = delete;
  Query& operator=(const Query&) = delete;

  // Setting a text closes the query and forgets the values bound. Texts defining
  // PSQL code (CREATE PROCEDURE ..., EXECUTE BLOCK) are sent unchanged: their
  // ":NAME"s are PSQL variables.
  //
  // Statements are kept by the connection: a text prepared before on this
  // attachment, by any query, is not prepared again; kept statements survive
  // commits, the least recently used go once 64 are kept, a definition (DDL) drops
  // them all, and they die with the attachment. A SELECT, INSERT, UPDATE, UPDATE OR
  // INSERT or DELETE text without parameters of its own runs as its shape, the text
  // with its literal values taken out (those in VALUES, in SET and on the right of a
  // comparison with a column), each value sent as what the literal is, so that texts
  // differing only in their values share one statement; where a value would not do
  // exactly what its literal does (a text longer than the column it is compared
  // with, a number compared with a text, a value the engine refuses before running
  // the statement), the text runs as it is. CONVERSOR_TOLV_CACHE=0 in the
  // environment of the process (read at each attach) turns both off.
  void SetSQL(const UString& sql);
  const UString& SQL() const;

  // Named parameters (":NAME") of the text, in order of first appearance.
  std::vector<UString> ParamNames() const;
  // Binding by name (case-insensitive). A text reaches the column by its type:
  // unchanged to character columns (empty stays empty); to date, time and
  // timestamp columns empty is null and anything else is read with the short date
  // format of the connection's settings; to other columns empty is null and anything else goes to the
  // database to convert.
  void BindText(std::u16string_view name, const UString& value);
  void BindInteger(std::u16string_view name, std::int64_t value);
  void BindDouble(std::u16string_view name, double value);
  void BindNull(std::u16string_view name);
  // A name the text does not have is an error; so, at execution, is a parameter
  // left unbound, and a text mixing "?" with ":NAME".

  // Runs the statement. A commit statement commits the connection's transaction
  // (nothing happens when none is active). A SELECT is opened as by Open; a
  // statement that returns one row (EXECUTE PROCEDURE, INSERT ... RETURNING) leaves
  // that row readable.
  void ExecSQL();
  // Opens a statement that returns rows and stands on the first row; a statement
  // that returns none is an error. An open result set is closed by every transaction
  // end (Commit, Rollback, a commit statement through any query).
  // A row that fails to convert while it is fetched (by Open or by Next) closes the
  // result before the error goes on: Active() is false and Eof() true afterwards.
  void Open();
  void Close();
  bool Active() const;  // a result is open (or an executed statement returned its row)

  bool IsEmpty() const;  // the opened result holds no row
  bool Eof() const;
  void Next();

  // Columns of the current row, by alias or column name (case-insensitive). A null
  // reads as the empty text; with no current row (empty result, past the end) every
  // column reads as null. As an integer, a text that is not a whole number is an
  // error, and so is a null (its text is empty); likewise as a double. Unknown
  // names and a closed query are errors.
  UString FieldAsText(const UString& name) const;
  std::int64_t FieldAsInteger(const UString& name) const;
  double FieldAsDouble(const UString& name) const;
  bool FieldIsNull(const UString& name) const;
  // Names (aliases) of the columns of the prepared statement.
  std::vector<UString> FieldNames() const;

  // Times this object has prepared a statement text (for tests and benchmarks).
  unsigned PrepareCount() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Stops fbclient's threads and the embedded engine; call at most once, at the end
// of a program, after every Database is destroyed (keeps valgrind's report clean).
void ShutdownClient();

}  // namespace fb
