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
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Error.h"
#include "platform/Text.h"

namespace fb {

class Database;
class Query;

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

  void Open();   // attaches; an open connection stays open
  void Close();  // rolls back an open transaction, then detaches
  bool Connected() const;

  int Dialect() const;           // SQL dialect the statements are prepared in
  UString CharacterSet() const;  // connection character set in use

  Transaction& DefaultTransaction();

 private:
  friend class Transaction;
  friend class Query;
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

class Query {
 public:
  explicit Query(Database& db);
  ~Query();
  Query(const Query&) = delete;
  Query& operator=(const Query&) = delete;

  // Setting a new text closes the query. A text equal to the one last prepared is
  // not prepared again.
  void SetSQL(const UString& sql);
  const UString& SQL() const;

  // Named parameters (":NAME") of the text, in order of first appearance.
  std::vector<UString> ParamNames() const;
  // Binding by name (case-insensitive). A text reaches the column by its type:
  // unchanged to character columns (empty stays empty); to date, time and
  // timestamp columns empty is null and anything else is read with the short date
  // format in force; to other columns empty is null and anything else goes to the
  // database to convert.
  void BindText(const UString& name, const UString& value);
  void BindInteger(const UString& name, std::int64_t value);
  void BindDouble(const UString& name, double value);
  void BindNull(const UString& name);

  void ExecSQL();  // statements that return no rows
  void Open();     // statements that return rows; stands on the first row
  void Close();
  bool Active() const;

  bool IsEmpty() const;  // the opened result holds no row
  bool Eof() const;
  void Next();

  // Columns of the current row, by name (case-insensitive). A null reads as the
  // empty text; as an integer a text that is not a whole number is an error.
  UString FieldAsText(const UString& name) const;
  std::int64_t FieldAsInteger(const UString& name) const;
  double FieldAsDouble(const UString& name) const;
  bool FieldIsNull(const UString& name) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace fb
