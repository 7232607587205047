#pragma once
// Fresh Firebird database files for tests and benchmarks, opened in embedded mode.
//
//   TestDatabase tdb;                  // a fresh Norvale database (schema/norvale.sql)
//   fb::Database db;
//   tdb.Connect(db);                   // name, SYSDBA/masterkey, Open()
//   ... db.Close();
//   std::string out = tdb.Isql("SELECT COUNT(*) FROM CLIENTE;");  // an independent reader
//
// Every object owns its own file under the build tree (CT_BINARY_DIR/tests/fbdb/),
// a copy of a template that is built once per schema version with
// scripts/create-db.sh (so the tests and the demo use the same recipe) and reused
// by every later test process. The file is removed when the object is destroyed.
// Close every connection to it first: the embedded engine holds a file for one
// process at a time, so Isql also needs the test's own connection closed.
// Failures throw std::runtime_error with the tool's output.
#include <string>

#include "platform/Text.h"

namespace fb {
class Database;
}

class TestDatabase;

// A fresh Norvale database like TestDatabase's, when only its path is wanted (a
// program run as a child process, say). The file lives until the test process ends.
std::string FreshDatabase(const std::string& label = "fresh");

// Sets the database name (a file path), user and password on `db` and opens it.
void ConnectTo(fb::Database& db, const std::string& path);

class TestDatabase {
 public:
  static constexpr const char* kUser = "SYSDBA";
  static constexpr const char* kPassword = "masterkey";

  // A fresh Norvale database: dialect 1, default character set WIN1252, the tables of
  // schema/norvale.sql. `label` only goes into the file name.
  explicit TestDatabase(const std::string& label = "test");
  // A database with no tables, of the given SQL dialect and default character set
  // ("WIN1252", "UTF8", "NONE", ...): for scratch tables and special cases.
  static TestDatabase Blank(int dialect = 1, const std::string& charset = "WIN1252",
                            const std::string& label = "blank");

  ~TestDatabase();
  TestDatabase(TestDatabase&& other) noexcept;
  TestDatabase& operator=(TestDatabase&&) = delete;
  TestDatabase(const TestDatabase&) = delete;
  TestDatabase& operator=(const TestDatabase&) = delete;

  const std::string& Path() const { return path_; }
  UString Name() const { return Utf8ToU(path_); }

  // Sets the database name, user and password on `db` and opens it.
  void Connect(fb::Database& db) const;

  // Runs `sql` through isql-fb on the file (connection character set `charset`) and
  // returns what it printed. Throws when isql-fb fails.
  std::string Isql(const std::string& sql, const std::string& charset = "UTF8") const;

 private:
  TestDatabase(const std::string& templatePath, const std::string& label, int);
  std::string path_;
};
