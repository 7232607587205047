// The attachment's statement cache: a text (or the shape of a literal text) prepared
// once serves every query that runs it, across commits, until it is pushed out or
// the attachment goes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "platform/Error.h"
#include "platform/firebird/Firebird.h"
#include "platform/firebird/Internal.h"
#include "tests/support/TestDatabase.h"

using fb::Database;
using fb::Query;

namespace {

void Exec(Database& db, const UString& sql) {
  Query q(db);
  q.SetSQL(sql);
  q.ExecSQL();
}

long long Count(Database& db, const UString& table, const UString& where = u"") {
  Query q(db);
  q.SetSQL(u"SELECT COUNT(*) AS N FROM " + table + (where.empty() ? UString() : u" WHERE " + where));
  q.Open();
  return q.FieldAsInteger(u"N");
}

// Sets CONVERSOR_TOLV_CACHE for the attaches made while it lives.
class ScopedCacheSwitch {
 public:
  explicit ScopedCacheSwitch(const char* value) { setenv("CONVERSOR_TOLV_CACHE", value, 1); }
  ~ScopedCacheSwitch() { unsetenv("CONVERSOR_TOLV_CACHE"); }
};

class Cache : public ::testing::Test {
 protected:
  void SetUp() override { Open(); }
  void Open() {
    tdb.Connect(db);
    Exec(db, u"RECREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, V VARCHAR(10))");
    Exec(db, u"COMMIT");
  }
  TestDatabase tdb = TestDatabase::Blank(1, "WIN1252", "cache");
  Database db;
};

}  // namespace

// Whichever query runs a text, however texts alternate on one query, and whatever
// commits come between, each text is prepared once; literal texts of one shape
// share its statement.
TEST_F(Cache, EachTextPreparedOnce) {
  const UString insert = u"INSERT INTO T (ID, V) VALUES (:ID, :V)";
  const UString lookup = u"SELECT V FROM T WHERE ID = :ID";
  Query a(db), b(db);
  for (int i = 1; i <= 20; ++i) {
    Query& q = i % 2 ? a : b;  // two queries take turns
    q.SetSQL(insert);
    q.BindInteger(u"ID", i);
    q.BindText(u"V", u"v" + IntToU(i));
    q.ExecSQL();
    q.SetSQL(lookup);  // and each alternates between two texts
    q.BindInteger(u"ID", i);
    q.Open();
    EXPECT_EQ(q.FieldAsText(u"V"), u"v" + IntToU(i));
    if (i == 7) Exec(db, u"COMMIT");
    if (i == 13) db.DefaultTransaction().Commit();
  }
  // Each query's lookup stays open while the other one runs: a second statement.
  EXPECT_EQ(a.PrepareCount() + b.PrepareCount(), 3u);
  Query c(db);
  for (int i = 21; i <= 60; ++i) {
    c.SetSQL(u"INSERT INTO T (V, ID) VALUES ('w" + IntToU(i) + u"', " + IntToU(i) + u")");
    c.ExecSQL();
    c.SetSQL(u"SELECT ID FROM T WHERE V = 'w" + IntToU(i) + u"'");
    c.Open();
    EXPECT_EQ(c.FieldAsInteger(u"ID"), i);
  }
  EXPECT_EQ(c.PrepareCount(), 2u);  // one shape each
  EXPECT_EQ(Count(db, u"T"), 60);
}

// The cache holds a bounded number of statements, the least recently used going
// first, and none outlives the attachment.
TEST_F(Cache, BoundedAndDroppedWithTheAttachment) {
  const std::size_t capacity = fb::StatementCache::kCapacity;
  // Aliases are not literals: every one of these texts is a statement of its own.
  auto text = [](std::size_t i) { return u"SELECT ID AS A" + IntToU(static_cast<long long>(i)) + u" FROM T"; };
  Query q(db);
  for (std::size_t i = 0; i < capacity + 20; ++i) {
    q.SetSQL(text(i));
    q.Open();
  }
  EXPECT_EQ(q.PrepareCount(), capacity + 20);
  Query mon(db);
  mon.SetSQL(u"SELECT COUNT(*) AS N FROM MON$STATEMENTS WHERE MON$ATTACHMENT_ID = CURRENT_CONNECTION");
  mon.Open();
  EXPECT_LE(mon.FieldAsInteger(u"N"), static_cast<long long>(capacity) + 3);
  for (std::size_t i : {capacity + 19, capacity + 5, std::size_t(30)}) {  // still there
    q.SetSQL(text(i));
    q.Open();
  }
  EXPECT_EQ(q.PrepareCount(), capacity + 20);
  q.SetSQL(text(0));  // pushed out
  q.Open();
  EXPECT_EQ(q.PrepareCount(), capacity + 21);
  db.Close();
  Open();
  q.SetSQL(text(capacity + 19));
  q.Open();
  EXPECT_EQ(q.PrepareCount(), capacity + 22);
}

// Two results of one text open at once each have their own statement.
TEST_F(Cache, TwoResultsOfOneTextOpenAtOnce) {
  for (int i = 1; i <= 3; ++i) Exec(db, u"INSERT INTO T (ID) VALUES (" + IntToU(i) + u")");
  const UString text = u"SELECT ID FROM T ORDER BY ID";
  Query a(db), b(db);
  a.SetSQL(text);
  a.Open();
  a.Next();
  b.SetSQL(text);
  b.Open();
  EXPECT_EQ(a.FieldAsInteger(u"ID"), 2);
  EXPECT_EQ(b.FieldAsInteger(u"ID"), 1);
  a.Next();
  b.Next();
  EXPECT_EQ(a.FieldAsInteger(u"ID"), 3);
  EXPECT_EQ(b.FieldAsInteger(u"ID"), 2);
  a.Close();
  b.Close();
  Query c(db);  // once closed, the cached one serves again
  c.SetSQL(text);
  c.Open();
  EXPECT_EQ(c.PrepareCount(), 0u);
}

// A definition drops what the cache holds, so that it neither finds the table in use
// nor leaves statements on the old definition; a shape the engine refused is tried
// again after it.
TEST_F(Cache, DefinitionsDropTheCachedStatements) {
  Exec(db, u"INSERT INTO T (ID, V) VALUES (1, 'a')");
  EXPECT_EQ(Count(db, u"T", u"V = 'a'"), 1);
  Exec(db, u"COMMIT");
  Exec(db, u"DROP TABLE T");
  Exec(db, u"COMMIT");
  Query q(db);
  for (int i = 0; i < 3; ++i) {
    q.SetSQL(u"INSERT INTO T (ID, V) VALUES (" + IntToU(i) + u", 'x')");
    try {
      q.ExecSQL();
      ADD_FAILURE() << "no error";
    } catch (const EDatabaseError& e) {
      EXPECT_NE(std::string(e.what()).find("Table unknown"), std::string::npos) << e.what();
    }
  }
  EXPECT_EQ(q.PrepareCount(), 4u);  // the shape once, then each literal text
  Exec(db, u"CREATE TABLE T (ID INTEGER, V VARCHAR(3), W INTEGER)");
  Exec(db, u"COMMIT");
  q.SetSQL(u"INSERT INTO T (ID, V) VALUES (7, 'x')");
  q.ExecSQL();
  EXPECT_EQ(Count(db, u"T", u"ID = 7 AND W IS NULL"), 1);
}

// The switch the benchmark uses: with the cache off every query prepares its text
// whenever the text changes, as a connection without a cache does.
TEST(CacheSwitch, OffPreparesEveryNewText) {
  ScopedCacheSwitch off("0");
  auto tdb = TestDatabase::Blank(1, "WIN1252", "cache-off");
  Database db;
  tdb.Connect(db);
  Exec(db, u"CREATE TABLE T (ID INTEGER, V VARCHAR(10))");
  Exec(db, u"COMMIT");
  Query q(db);
  for (int i = 0; i < 10; ++i) {
    q.SetSQL(u"INSERT INTO T (ID, V) VALUES (" + IntToU(i) + u", 'v')");
    q.ExecSQL();
    q.SetSQL(u"INSERT INTO T (ID, V) VALUES (:ID, 'w')");
    q.BindInteger(u"ID", i);
    q.ExecSQL();
  }
  EXPECT_EQ(q.PrepareCount(), 20u);
  EXPECT_EQ(Count(db, u"T"), 20);
}
