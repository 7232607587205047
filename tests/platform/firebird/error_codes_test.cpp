// Failures told apart by the engine's codes: each kind produced for real against
// real database files, and each answering to its own predicate and to no other.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "platform/Error.h"
#include "platform/firebird/Firebird.h"
#include "tests/support/FirebirdServer.h"
#include "tests/support/TestDatabase.h"

using fb::Database;
using fb::Query;

namespace {

void Exec(Database& db, const UString& sql) {
  Query q(db);
  q.SetSQL(sql);
  q.ExecSQL();
}

// The predicates that hold for the error `f` throws, by name, as expected; else
// what did hold, with the error's text and codes.
::testing::AssertionResult Kinds(const std::function<void()>& f, const std::string& expected) {
  std::string kinds = "(no error)", detail;
  try {
    f();
  } catch (const EDatabaseError& e) {
    const std::pair<const char*, bool> all[] = {
        {"LockConflict", e.IsLockConflict()},       {"ConnectionLost", e.IsConnectionLost()},
        {"DuplicateKey", e.IsDuplicateKey()},       {"Truncation", e.IsTruncation()},
        {"NumericOverflow", e.IsNumericOverflow()}, {"UnknownTable", e.IsUnknownTable()},
        {"UnknownColumn", e.IsUnknownColumn()},     {"LoginFailed", e.IsLoginFailed()},
        {"NotADatabase", e.IsNotADatabase()},       {"FileInUse", e.IsFileInUse()},
        {"ServerUnreachable", e.IsServerUnreachable()}};
    kinds.clear();
    for (const auto& [name, holds] : all)
      if (holds) kinds += (kinds.empty() ? "" : " ") + std::string(name);
    if (e.Codes().empty()) kinds += "(no codes)";
    detail = e.what() + std::string("\ncodes:");
    for (long c : e.Codes()) detail += " " + std::to_string(c);
  }
  if (kinds == expected) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "kinds \"" << kinds << "\", expected \"" << expected << "\"\n" << detail;
}

#define EXPECT_KINDS(statement, expected) EXPECT_TRUE(Kinds([&] { statement; }, expected)) << #statement

void Login(Database& db, const std::string& name, const char* password = TestDatabase::kPassword) {
  db.SetDatabaseName(Utf8ToU(name));
  db.SetUserName(Utf8ToU(TestDatabase::kUser));
  db.SetPassword(Utf8ToU(password));
}

}  // namespace

// What a row can meet: a key already there, a value too long or too large, a table
// or column the target does not have, with its value bound or written in the text.
TEST(ErrorCodes, RowsTheTargetRefuses) {
  TestDatabase tdb = TestDatabase::Blank(3, "WIN1252", "codes");
  Database db;
  tdb.Connect(db);
  Exec(db, u"CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, V VARCHAR(5), N NUMERIC(4,2), S SMALLINT)");
  Exec(db, u"COMMIT");
  Exec(db, u"INSERT INTO T (ID) VALUES (1)");

  EXPECT_KINDS(Exec(db, u"INSERT INTO T (ID) VALUES (1)"), "DuplicateKey");
  EXPECT_KINDS(Exec(db, u"INSERT INTO T (ID, V) VALUES (2, 'abcdefgh')"), "Truncation");
  EXPECT_KINDS(Exec(db, u"INSERT INTO T (ID, N) VALUES (3, 500)"), "NumericOverflow");
  EXPECT_KINDS(Exec(db, u"INSERT INTO T (ID, S) VALUES (4, 70000)"), "NumericOverflow");
  Query q(db);
  q.SetSQL(u"INSERT INTO T (ID, V, N) VALUES (:ID, :V, :N)");
  q.BindInteger(u"ID", 1);
  q.BindNull(u"V");
  q.BindNull(u"N");
  EXPECT_KINDS(q.ExecSQL(), "DuplicateKey");
  q.BindInteger(u"ID", 5);
  q.BindText(u"V", u"abcdefgh");
  q.BindNull(u"N");
  EXPECT_KINDS(q.ExecSQL(), "Truncation");
  q.BindInteger(u"ID", 6);
  q.BindNull(u"V");
  q.BindDouble(u"N", 500);
  EXPECT_KINDS(q.ExecSQL(), "NumericOverflow");

  EXPECT_KINDS(Exec(db, u"DELETE FROM NOPE"), "UnknownTable");
  EXPECT_KINDS(Exec(db, u"DROP TABLE NOPE"), "UnknownTable");
  EXPECT_KINDS(Exec(db, u"SELECT NOPE FROM T"), "UnknownColumn");
  EXPECT_KINDS(Exec(db, u"INSERT INTO T (ID, NOPE) VALUES (7, 1)"), "UnknownColumn");
  EXPECT_KINDS(Exec(db, u"ALTER TABLE T DROP NOPE"), "UnknownColumn");

  // Every code of the vector, in order: the engine's head code first.
  try {
    Exec(db, u"INSERT INTO T (ID, V) VALUES (8, 'abcdefgh')");
    ADD_FAILURE() << "no error";
  } catch (const EDatabaseError& e) {
    ASSERT_GE(e.Codes().size(), 2u);
    EXPECT_EQ(e.Codes().front(), dbcode::kArithExcept);
    EXPECT_EQ(e.Codes().at(1), dbcode::kStringTruncation);
  }

  // The connection's own errors carry no codes, so no predicate holds for them.
  EXPECT_KINDS(Exec(db, u"INSERT INTO T (ID, V) VALUES (9, '\u20AC\u4E2D')"), "(no codes)");
  db.Close();
  EXPECT_KINDS(Exec(db, u"DELETE FROM T"), "(no codes)");
}

// Two attachments to one file, the first holding uncommitted changes: the second's
// transaction does not wait, and a change to the same row is a lock conflict. A new
// row with the same key as an uncommitted one is a duplicate, as the engine says.
TEST(ErrorCodes, AnotherAttachmentsUncommittedChangeIsALockConflict) {
  TestDatabase tdb = TestDatabase::Blank(3, "WIN1252", "codes-lock");
  Database first, second;
  tdb.Connect(first);
  Exec(first, u"CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, V VARCHAR(5))");
  Exec(first, u"COMMIT");
  Exec(first, u"INSERT INTO T (ID, V) VALUES (1, 'a')");
  Exec(first, u"COMMIT");
  Exec(first, u"UPDATE T SET V = 'b' WHERE ID = 1");
  Exec(first, u"INSERT INTO T (ID) VALUES (2)");
  tdb.Connect(second);
  EXPECT_KINDS(Exec(second, u"UPDATE T SET V = 'c' WHERE ID = 1"), "LockConflict");
  EXPECT_KINDS(Exec(second, u"DELETE FROM T"), "LockConflict");
  EXPECT_KINDS(Exec(second, u"INSERT INTO T (ID) VALUES (2)"), "DuplicateKey");
}

// Files that are no database of this engine's; a missing one is none of the kinds.
TEST(ErrorCodes, FilesThatAreNoDatabase) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("ct-codes-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "empty.fdb").close();
  std::ofstream(dir / "short.fdb") << "not a database\n";
  std::ofstream(dir / "long.fdb") << std::string(20000, 'x') << "\nnot a database\n";
  Database db;
  for (const char* name : {"empty.fdb", "short.fdb", "long.fdb"}) {
    Login(db, (dir / name).string());
    EXPECT_KINDS(db.Open(), "NotADatabase") << name;
  }
  Login(db, (dir / "missing.fdb").string());
  EXPECT_KINDS(db.Open(), "");
  std::filesystem::remove_all(dir);
}

// Through a server of the test's own: a wrong password, a file the server holds
// open, the server dying under an attachment, then no server at all.
TEST(ErrorCodes, ServerFailures) {
  FirebirdServer server;
  if (!server.Running()) GTEST_SKIP() << server.Why();
  TestDatabase tdb("codes-server");
  Database bad;
  Login(bad, server.Name(tdb.Path()), "wrong");
  EXPECT_KINDS(bad.Open(), "LoginFailed");

  Database served;
  Login(served, server.Name(tdb.Path()));
  served.Open();
  Database embedded;
  Login(embedded, tdb.Path());
  EXPECT_KINDS(embedded.Open(), "FileInUse");

  server.Kill();
  EXPECT_KINDS(Exec(served, u"DELETE FROM CLIENTE"), "ConnectionLost");
  Database late;
  Login(late, server.Name(tdb.Path()));
  EXPECT_KINDS(late.Open(), "ServerUnreachable");
}
