// The target connection against real embedded Firebird files (no mocks).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/Error.h"
#include "platform/Regional.h"
#include "platform/firebird/Firebird.h"
#include "tests/support/TestDatabase.h"

using fb::Database;
using fb::Query;

namespace {

std::string U8(const UString& s) { return UToUtf8(s); }

void Exec(Database& db, const UString& sql) {
  Query q(db);
  q.SetSQL(sql);
  q.ExecSQL();
}

// The first column of the first row, as text.
UString Scalar(Database& db, const UString& sql) {
  Query q(db);
  q.SetSQL(sql);
  q.Open();
  EXPECT_FALSE(q.IsEmpty()) << U8(sql);
  return q.FieldAsText(q.FieldNames().at(0));
}

long long Count(Database& db, const UString& table, const UString& where = u"") {
  Query q(db);
  q.SetSQL(u"SELECT COUNT(*) AS N FROM " + table + (where.empty() ? UString() : u" WHERE " + where));
  q.Open();
  return q.FieldAsInteger(u"N");
}

// The error text of running `f`, or "" when it did not fail with EDatabaseError.
template <class F>
std::string ErrorOf(F&& f) {
  try {
    f();
  } catch (const EDatabaseError& e) {
    return e.what();
  }
  return "";
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// A Norvale database plus one scratch table of every type the rules care about.
class Conn : public ::testing::Test {
 protected:
  void SetUp() override {
    tdb.Connect(db);
    Exec(db,
         u"CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, V VARCHAR(10), C CHAR(5), I INTEGER, "
         u"N NUMERIC(15,2), D DOUBLE PRECISION, TS TIMESTAMP, S SMALLINT)");
    Exec(db, u"COMMIT");
  }
  TestDatabase tdb{"conn"};
  Database db;
};

}  // namespace

// --- Attach -------------------------------------------------------------------

TEST(Attach, NorvaleIsDialect1AndWin1252) {
  TestDatabase tdb("attach");
  Database db;
  EXPECT_FALSE(db.Connected());
  tdb.Connect(db);
  EXPECT_TRUE(db.Connected());
  EXPECT_EQ(db.Dialect(), 1);
  EXPECT_EQ(db.DatabaseCharacterSet(), u"WIN1252");
  EXPECT_EQ(db.CharacterSet(), u"WIN1252");
  db.Open();  // an open connection stays open
  EXPECT_TRUE(db.Connected());
  db.Close();
  EXPECT_FALSE(db.Connected());
  db.Close();  // closing twice is harmless
}

TEST(Attach, DialectAndCharacterSetFollowTheDatabase) {
  {
    auto tdb = TestDatabase::Blank(3, "UTF8");
    Database db;
    tdb.Connect(db);
    EXPECT_EQ(db.Dialect(), 3);
    EXPECT_EQ(db.CharacterSet(), u"UTF8");
  }
  {
    auto tdb = TestDatabase::Blank(1, "NONE");
    Database db;
    tdb.Connect(db);
    EXPECT_EQ(db.Dialect(), 1);
    EXPECT_EQ(db.DatabaseCharacterSet(), u"NONE");
    EXPECT_EQ(db.CharacterSet(), u"WIN1252");
  }
  {
    auto tdb = TestDatabase::Blank(3, "ISO8859_1");
    Database db;
    tdb.Connect(db);
    EXPECT_EQ(db.CharacterSet(), u"ISO8859_1");
  }
  {
    // A set the client does not speak itself: UTF8, and the engine transliterates.
    auto tdb = TestDatabase::Blank(3, "WIN1250");
    Database db;
    tdb.Connect(db);
    EXPECT_EQ(db.DatabaseCharacterSet(), u"WIN1250");
    EXPECT_EQ(db.CharacterSet(), u"UTF8");
    Exec(db, u"CREATE TABLE X (A VARCHAR(10))");
    Exec(db, u"COMMIT");
    Query q(db);
    q.SetSQL(u"INSERT INTO X (A) VALUES (:A)");
    q.BindText(u"A", u"Łódź");
    q.ExecSQL();
    EXPECT_EQ(Scalar(db, u"SELECT A FROM X"), u"Łódź");
    EXPECT_EQ(Scalar(db, u"SELECT OCTET_LENGTH(A) FROM X"), u"4");  // one byte a letter in WIN1250
  }
}

TEST(Attach, PathWithAccents) {
  TestDatabase tdb("accents-path");
  const std::string root = tdb.Path() + ".d";
  struct Cleanup {
    std::string path;
    ~Cleanup() {
      std::error_code ec;
      std::filesystem::remove_all(path, ec);
    }
  } cleanup{root};
  const std::string dir = root + "/Conversão Açúcar";
  std::filesystem::create_directories(dir);
  const std::string path = dir + "/Norvale ç.fb";
  std::filesystem::copy_file(tdb.Path(), path);
  {
    Database db;
    db.SetDatabaseName(Utf8ToU(path));
    db.SetUserName(u"SYSDBA");
    db.SetPassword(u"masterkey");
    db.Open();
    EXPECT_EQ(db.Dialect(), 1);
    Exec(db, u"INSERT INTO UNIDADES (UNIDADE) VALUES ('UN')");
    db.DefaultTransaction().Commit();
  }
}

TEST(Attach, MissingFileGivesFirebirdsMessage) {
  Database db;
  db.SetDatabaseName(u"/nonexistent/dir/norvale.fb");
  db.SetUserName(u"SYSDBA");
  db.SetPassword(u"masterkey");
  std::string err = ErrorOf([&] { db.Open(); });
  EXPECT_TRUE(Has(err, "I/O error during \"open\" operation for file \"/nonexistent/dir/norvale.fb\"")) << err;
  EXPECT_TRUE(Has(err, "No such file or directory")) << err;
  EXPECT_FALSE(db.Connected());
}

TEST(Attach, HostNameGoesThroughAServer) {
  // No server listens on this port: the error is the network's, not the file's,
  // which shows the string went to the remote provider and not to the engine.
  Database db;
  db.SetDatabaseName(u"localhost/3999:/nonexistent/norvale.fb");
  db.SetUserName(u"SYSDBA");
  db.SetPassword(u"masterkey");
  std::string err = ErrorOf([&] { db.Open(); });
  EXPECT_TRUE(Has(err, "network") || Has(err, "connection")) << err;
  EXPECT_FALSE(Has(err, "I/O error")) << err;
  EXPECT_FALSE(db.Connected());
}

TEST(Attach, EmptyNameAndNameChangeWhileConnected) {
  Database db;
  EXPECT_TRUE(Has(ErrorOf([&] { db.Open(); }), "name is empty"));
  TestDatabase tdb("rename");
  tdb.Connect(db);
  std::string err = ErrorOf([&] { db.SetDatabaseName(u"/tmp/other.fb"); });
  EXPECT_TRUE(Has(err, "cannot change while connected")) << err;
  EXPECT_EQ(db.DatabaseName(), tdb.Name());
  db.Close();
  db.SetDatabaseName(u"/tmp/other.fb");
  EXPECT_EQ(db.DatabaseName(), u"/tmp/other.fb");
}

TEST(Attach, UnknownForcedCharacterSet) {
  TestDatabase tdb("cs");
  Database db;
  db.SetCharacterSet(u"KOI8R");
  std::string err = ErrorOf([&] { tdb.Connect(db); });
  EXPECT_TRUE(Has(err, "KOI8R")) << err;
  EXPECT_FALSE(db.Connected());
}

// --- Transactions -------------------------------------------------------------

TEST_F(Conn, StatementStartsTheTransactionAndItStaysOpen) {
  auto& tr = db.DefaultTransaction();
  EXPECT_FALSE(tr.InTransaction());
  Exec(db, u"INSERT INTO T (ID) VALUES (1)");
  EXPECT_TRUE(tr.InTransaction());
  Scalar(db, u"SELECT COUNT(*) FROM T");
  EXPECT_TRUE(tr.InTransaction());
  tr.Rollback();
  EXPECT_FALSE(tr.InTransaction());
  EXPECT_EQ(Count(db, u"T"), 0);
}

TEST_F(Conn, TransactionObjectRules) {
  auto& tr = db.DefaultTransaction();
  EXPECT_TRUE(Has(ErrorOf([&] { tr.Commit(); }), "not active"));
  EXPECT_TRUE(Has(ErrorOf([&] { tr.Rollback(); }), "not active"));
  tr.StartTransaction();
  EXPECT_TRUE(Has(ErrorOf([&] { tr.StartTransaction(); }), "already active"));
  // Another Transaction object on the same connection is the same transaction.
  fb::Transaction other(db);
  EXPECT_TRUE(other.InTransaction());
  other.Commit();
  EXPECT_FALSE(tr.InTransaction());
}

TEST_F(Conn, CommitStatementThenSelectThroughAnotherQueryRunsInANewTransaction) {
  auto& tr = db.DefaultTransaction();
  Query q1(db), q2(db);
  q1.SetSQL(u"INSERT INTO T (ID, V) VALUES (1, 'antes')");
  q1.ExecSQL();
  q1.SetSQL(u"Commit;");
  q1.ExecSQL();
  EXPECT_FALSE(tr.InTransaction());
  q2.SetSQL(u"SELECT V FROM T WHERE ID = 1");
  q2.Open();
  EXPECT_TRUE(tr.InTransaction());
  EXPECT_EQ(q2.FieldAsText(u"V"), u"antes");
  q2.SetSQL(u"INSERT INTO T (ID, V) VALUES (2, 'depois')");
  q2.ExecSQL();
  tr.Rollback();
  EXPECT_EQ(Count(db, u"T"), 1);
  EXPECT_EQ(Scalar(db, u"SELECT V FROM T"), u"antes");
  // And it is permanent for another connection too.
  tr.Commit();
  db.Close();
  Database again;
  tdb.Connect(again);
  EXPECT_EQ(Count(again, u"T"), 1);
}

TEST_F(Conn, CommitStatementForms) {
  auto& tr = db.DefaultTransaction();
  int id = 0;
  for (const char16_t* text : {u"COMMIT", u"commit", u"Commit;", u"  COMMIT ; ", u"commit work"}) {
    Exec(db, u"INSERT INTO T (ID) VALUES (" + IntToU(++id) + u")");
    ASSERT_TRUE(tr.InTransaction());
    Exec(db, text);
    EXPECT_FALSE(tr.InTransaction()) << U8(text);
  }
  Exec(db, u"COMMIT");  // with no transaction: nothing to do, no error
  EXPECT_FALSE(tr.InTransaction());
  Exec(db, u"DELETE FROM T");
  tr.Rollback();
  EXPECT_EQ(Count(db, u"T"), id);
}

TEST_F(Conn, CommitClosesOtherCursorsCleanlyAndKeepsPreparedStatements) {
  Exec(db, u"INSERT INTO T (ID) VALUES (1)");
  Exec(db, u"INSERT INTO T (ID) VALUES (2)");
  Query reader(db), writer(db), committer(db);
  writer.SetSQL(u"INSERT INTO T (ID) VALUES (:ID)");
  writer.BindInteger(u"ID", 10);
  writer.ExecSQL();
  reader.SetSQL(u"SELECT ID FROM T ORDER BY ID");
  reader.Open();
  EXPECT_EQ(reader.FieldAsInteger(u"ID"), 1);
  committer.SetSQL(u"COMMIT");
  committer.ExecSQL();
  EXPECT_FALSE(reader.Active());
  EXPECT_TRUE(Has(ErrorOf([&] { reader.FieldAsText(u"ID"); }), "not open"));
  EXPECT_TRUE(Has(ErrorOf([&] { reader.Next(); }), "not open"));
  reader.Open();
  EXPECT_EQ(reader.FieldAsInteger(u"ID"), 1);
  // The prepared insert survived the commit.
  writer.SetSQL(u"INSERT INTO T (ID) VALUES (:ID)");
  writer.BindInteger(u"ID", 11);
  writer.ExecSQL();
  EXPECT_EQ(writer.PrepareCount(), 1u);
  EXPECT_EQ(Count(db, u"T"), 4);
}

TEST_F(Conn, RollbackStatementEndsTheTransaction) {
  // Any statement the engine runs as a transaction end leaves no transaction
  // behind; the pointer it released is never used again.
  auto& tr = db.DefaultTransaction();
  Exec(db, u"INSERT INTO T (ID) VALUES (1)");
  Query open(db);
  open.SetSQL(u"SELECT ID FROM T");
  open.Open();
  Exec(db, u"ROLLBACK");
  EXPECT_FALSE(tr.InTransaction());
  EXPECT_FALSE(open.Active());
  EXPECT_EQ(Count(db, u"T"), 0);
  EXPECT_TRUE(tr.InTransaction());
  Exec(db, u"INSERT INTO T (ID) VALUES (2)");
  Exec(db, u"COMMIT RETAIN");  // commits and keeps the transaction
  EXPECT_TRUE(tr.InTransaction());
  tr.Rollback();
  EXPECT_EQ(Count(db, u"T"), 1);
}

TEST_F(Conn, FailedStatementKeepsTheTransactionAndEarlierWrites) {
  auto& tr = db.DefaultTransaction();
  Exec(db, u"INSERT INTO T (ID, V) VALUES (1, 'um')");
  std::string err = ErrorOf([&] { Exec(db, u"INSERT INTO T (ID, V) VALUES (1, 'dup')"); });
  EXPECT_TRUE(Has(err, "violation of PRIMARY or UNIQUE KEY constraint")) << err;
  EXPECT_TRUE(tr.InTransaction());
  // The statement savepoint: a statement that fails half way leaves nothing.
  err = ErrorOf([&] {
    Exec(db, u"INSERT INTO T (ID) SELECT 10 FROM RDB$DATABASE UNION ALL SELECT 1 FROM RDB$DATABASE");
  });
  EXPECT_TRUE(Has(err, "violation")) << err;
  EXPECT_EQ(Count(db, u"T", u"ID = 10"), 0);
  EXPECT_TRUE(Has(ErrorOf([&] { Exec(db, u"SELEC nada"); }), "Token unknown"));
  EXPECT_TRUE(tr.InTransaction());
  Exec(db, u"INSERT INTO T (ID, V) VALUES (2, 'dois')");
  tr.Commit();
  EXPECT_EQ(Count(db, u"T"), 2);
}

TEST_F(Conn, CloseRollsBackAndTheDestructorToo) {
  Exec(db, u"INSERT INTO T (ID) VALUES (1)");
  db.Close();
  tdb.Connect(db);
  EXPECT_EQ(Count(db, u"T"), 0);
  {
    Database other;
    tdb.Connect(other);
    Exec(other, u"INSERT INTO T (ID) VALUES (2)");
    Query left(other);  // outlives nothing, but is open when the database goes
    left.SetSQL(u"SELECT ID FROM T");
    left.Open();
    other.Close();
    EXPECT_FALSE(left.Active());
  }
  EXPECT_EQ(Count(db, u"T"), 0);
}

TEST(Lifetime, QueryOutlivingItsDatabase) {
  TestDatabase tdb("life");
  auto db = std::make_unique<Database>();
  tdb.Connect(*db);
  auto q = std::make_unique<Query>(*db);
  q->SetSQL(u"SELECT 1 AS X FROM RDB$DATABASE");
  q->Open();
  fb::Transaction view(*db);
  EXPECT_TRUE(view.InTransaction());
  EXPECT_NO_THROW(db.reset());  // rolls back, frees the query's handles, detaches
  EXPECT_FALSE(q->Active());
  EXPECT_TRUE(Has(ErrorOf([&] { q->Open(); }), "no longer exists"));
  EXPECT_FALSE(view.InTransaction());
  EXPECT_TRUE(Has(ErrorOf([&] { view.StartTransaction(); }), "no longer exists"));
  EXPECT_NO_THROW(q.reset());
}

TEST(Lifetime, QueriesSurviveAReconnect) {
  TestDatabase tdb("reconnect");
  Database db;
  tdb.Connect(db);
  Query q(db);
  q.SetSQL(u"SELECT COUNT(*) AS N FROM UNIDADES");
  q.Open();
  db.Close();
  EXPECT_TRUE(Has(ErrorOf([&] { q.Open(); }), "not connected"));
  tdb.Connect(db);
  q.Open();
  EXPECT_EQ(q.FieldAsInteger(u"N"), 0);
  EXPECT_EQ(q.PrepareCount(), 2u);  // the statement died with the attachment
}

// --- Binding (rule 5) -----------------------------------------------------------

TEST_F(Conn, EmptyTextIsNullForNumbersAndDatesAndEmptyForCharacters) {
  Query q(db);
  q.SetSQL(u"INSERT INTO T (ID, V, C, I, N, D, TS, S) VALUES (1, :V, :C, :I, :N, :D, :TS, :S)");
  for (const char16_t* p : {u"V", u"C", u"I", u"N", u"D", u"TS", u"S"}) q.BindText(p, u"");
  q.ExecSQL();
  // Read back by an independent statement that tests in SQL.
  EXPECT_EQ(Count(db, u"T",
                  u"V = '' AND V IS NOT NULL AND C IS NOT NULL AND C = '' AND I IS NULL AND N IS NULL "
                  u"AND D IS NULL AND TS IS NULL AND S IS NULL"),
            1);
  Query r(db);
  r.SetSQL(u"SELECT * FROM T");
  r.Open();
  EXPECT_FALSE(r.FieldIsNull(u"V"));
  EXPECT_EQ(r.FieldAsText(u"V"), u"");
  EXPECT_FALSE(r.FieldIsNull(u"C"));
  EXPECT_EQ(r.FieldAsText(u"C"), u"");
  EXPECT_TRUE(r.FieldIsNull(u"N"));
  EXPECT_EQ(r.FieldAsText(u"N"), u"");  // a null reads as the empty text
  EXPECT_TRUE(r.FieldIsNull(u"TS"));
}

TEST(Binding, EmptyTextIntoNorvaleColumns) {
  TestDatabase tdb("norvale-empty");
  Database db;
  tdb.Connect(db);
  Query q(db);
  q.SetSQL(u"INSERT INTO FORNECE (CODFORNEC, NOME, CEP, DT_CADASTRO, LIMITECREDITO, PRAZOENTREGA) "
           u"VALUES (:COD, :NOME, :CEP, :DT, :LIM, :PRAZO)");
  q.BindText(u"COD", u"000001");
  q.BindText(u"NOME", u"FORNECEDOR");
  q.BindText(u"CEP", u"");
  q.BindText(u"DT", u"");
  q.BindText(u"LIM", u"");
  q.BindText(u"PRAZO", u"");
  q.ExecSQL();
  EXPECT_EQ(Count(db, u"FORNECE",
                  u"CEP = '' AND DT_CADASTRO IS NULL AND LIMITECREDITO IS NULL AND PRAZOENTREGA IS NULL"),
            1);
}

TEST_F(Conn, TextToOtherColumnsIsConvertedByTheDatabase) {
  Query q(db);
  q.SetSQL(u"INSERT INTO T (ID, I, N, D, S) VALUES (:ID, :I, :N, :D, :S)");
  q.BindText(u"ID", u"1");
  q.BindText(u"I", u"-42");
  q.BindText(u"N", u"1234.56");
  q.BindText(u"D", u"0.1");
  q.BindText(u"S", u"7");
  q.ExecSQL();
  Query r(db);
  r.SetSQL(u"SELECT I, N, D, S FROM T WHERE ID = 1");
  r.Open();
  EXPECT_EQ(r.FieldAsInteger(u"I"), -42);
  EXPECT_DOUBLE_EQ(r.FieldAsDouble(u"N"), 1234.56);
  EXPECT_EQ(r.FieldAsText(u"D"), u"0.1");
  EXPECT_EQ(r.FieldAsText(u"S"), u"7");
  // The engine's own conversion error, the transaction kept.
  q.BindText(u"ID", u"2");
  q.BindText(u"I", u"abc");
  std::string err = ErrorOf([&] { q.ExecSQL(); });
  EXPECT_TRUE(Has(err, "conversion error from string \"abc\"")) << err;
  EXPECT_TRUE(db.DefaultTransaction().InTransaction());
}

TEST_F(Conn, DayMonthYearTextIntoADateColumn) {
  Query q(db);
  q.SetSQL(u"INSERT INTO T (ID, TS) VALUES (:ID, :DATA)");
  q.BindInteger(u"ID", 1);
  q.BindText(u"DATA", u"21/05/2013");
  q.ExecSQL();
  q.BindInteger(u"ID", 2);
  q.BindText(u"DATA", u"01/12/2024 10:30:15");
  q.ExecSQL();
  EXPECT_EQ(Scalar(db, u"SELECT EXTRACT(DAY FROM TS) || '-' || EXTRACT(MONTH FROM TS) || '-' || "
                       u"EXTRACT(YEAR FROM TS) FROM T WHERE ID = 1"),
            u"21-5-2013");
  EXPECT_EQ(Scalar(db, u"SELECT TS FROM T WHERE ID = 1"), u"21/05/2013");
  EXPECT_EQ(Scalar(db, u"SELECT TS FROM T WHERE ID = 2"), u"01/12/2024 10:30:15");
  EXPECT_EQ(Scalar(db, u"SELECT EXTRACT(HOUR FROM TS) FROM T WHERE ID = 2"), u"10");
}

TEST_F(Conn, UnreadableDateTextIsAnErrorNamingTextAndParameter) {
  Query q(db);
  q.SetSQL(u"INSERT INTO T (ID, TS) VALUES (1, :DTVENC)");
  for (const char16_t* bad : {u"31/02/2013", u"2013-05-21", u"abc", u"21/05/2013 25:00"}) {
    q.BindText(u"DTVENC", bad);
    std::string err = ErrorOf([&] { q.ExecSQL(); });
    EXPECT_TRUE(Has(err, "'" + U8(bad) + "'")) << err;
    EXPECT_TRUE(Has(err, "DTVENC")) << err;
  }
  EXPECT_EQ(Count(db, u"T"), 0);
}

TEST_F(Conn, DatesFollowTheShortDateFormatInForce) {
  FormatSettings fs;
  fs.ShortDateFormat = u"mm/dd/yyyy";
  fs.DateSeparator = u'-';
  ScopedRegional regional(fs);
  Query q(db);
  q.SetSQL(u"INSERT INTO T (ID, TS) VALUES (1, :D)");
  q.BindText(u"D", u"05-21-2013");
  q.ExecSQL();
  EXPECT_EQ(Scalar(db, u"SELECT EXTRACT(DAY FROM TS) FROM T"), u"21");
  EXPECT_EQ(Scalar(db, u"SELECT TS FROM T"), u"05-21-2013");
}

TEST(Binding, Dialect3DateAndTimeColumns) {
  auto tdb = TestDatabase::Blank(3, "WIN1252");
  Database db;
  tdb.Connect(db);
  Exec(db, u"CREATE TABLE X (DT DATE, HR TIME, N NUMERIC(9,2), B BIGINT)");
  Exec(db, u"COMMIT");
  Query q(db);
  q.SetSQL(u"INSERT INTO X (DT, HR, N, B) VALUES (:DT, :HR, :N, :B)");
  q.BindText(u"DT", u"29/02/2024");
  q.BindText(u"HR", u"10:30");
  q.BindText(u"N", u"12.5");
  q.BindText(u"B", u"9007199254740993");
  q.ExecSQL();
  q.BindText(u"DT", u"");
  q.BindText(u"HR", u"");
  q.BindText(u"N", u"");
  q.BindText(u"B", u"");
  q.ExecSQL();
  Query r(db);
  r.SetSQL(u"SELECT DT, HR, N, B FROM X WHERE DT IS NOT NULL");
  r.Open();
  EXPECT_EQ(r.FieldAsText(u"DT"), u"29/02/2024");
  EXPECT_EQ(r.FieldAsText(u"HR"), u"10:30:00");
  EXPECT_EQ(r.FieldAsText(u"N"), u"12.50");
  EXPECT_EQ(r.FieldAsInteger(u"B"), 9007199254740993LL);
  EXPECT_EQ(Count(db, u"X", u"DT IS NULL AND HR IS NULL AND N IS NULL AND B IS NULL"), 1);
}

TEST_F(Conn, IntegerDoubleAndNullBindings) {
  Query q(db);
  q.SetSQL(u"INSERT INTO T (ID, V, I, N, D) VALUES (:ID, :V, :I, :N, :D)");
  q.BindInteger(u"ID", 1);
  q.BindInteger(u"V", 123);  // the engine writes it as text
  q.BindInteger(u"I", 2147483647);
  q.BindDouble(u"N", 10.25);
  q.BindDouble(u"D", -0.5);
  q.ExecSQL();
  q.BindInteger(u"ID", 2);
  q.BindNull(u"V");
  q.BindNull(u"I");
  q.BindNull(u"N");
  q.BindNull(u"D");
  q.ExecSQL();
  Query r(db);
  r.SetSQL(u"SELECT * FROM T ORDER BY ID");
  r.Open();
  EXPECT_EQ(r.FieldAsText(u"V"), u"123");
  EXPECT_EQ(r.FieldAsInteger(u"I"), 2147483647);
  EXPECT_DOUBLE_EQ(r.FieldAsDouble(u"N"), 10.25);
  EXPECT_EQ(r.FieldAsText(u"D"), u"-0.5");
  r.Next();
  EXPECT_TRUE(r.FieldIsNull(u"V"));
  EXPECT_TRUE(r.FieldIsNull(u"I"));
  EXPECT_TRUE(r.FieldIsNull(u"D"));
}

TEST_F(Conn, ParametersByNameWithoutRegardToCaseAndRepeated) {
  Query q(db);
  q.SetSQL(u"INSERT INTO T (ID, V, C) VALUES (:pId, :Texto, :TEXTO)");
  EXPECT_EQ(q.ParamNames(), (std::vector<UString>{u"pId", u"Texto"}));
  q.BindInteger(u"PID", 1);
  q.BindText(u"texto", u"ab");
  q.ExecSQL();
  EXPECT_EQ(Count(db, u"T", u"V = 'ab' AND C = 'ab'"), 1);
  EXPECT_TRUE(Has(ErrorOf([&] { q.BindText(u"OUTRO", u"x"); }), "OUTRO"));
}

TEST_F(Conn, UnboundParameterAndMixedParametersAreErrors) {
  Query q(db);
  q.SetSQL(u"INSERT INTO T (ID, V) VALUES (:ID, :VALOR)");
  q.BindInteger(u"ID", 1);
  std::string err = ErrorOf([&] { q.ExecSQL(); });
  EXPECT_TRUE(Has(err, "VALOR")) << err;
  // A new text forgets the values bound for the old one, even an equal text.
  q.SetSQL(u"INSERT INTO T (ID, V) VALUES (:ID, :VALOR)");
  q.BindText(u"VALOR", u"x");
  err = ErrorOf([&] { q.ExecSQL(); });
  EXPECT_TRUE(Has(err, "ID")) << err;
  q.SetSQL(u"INSERT INTO T (ID, V) VALUES (?, :VALOR)");
  err = ErrorOf([&] { q.ExecSQL(); });
  EXPECT_TRUE(Has(err, "mixes")) << err;
  q.SetSQL(u"INSERT INTO T (ID) VALUES (?)");
  err = ErrorOf([&] { q.ExecSQL(); });
  EXPECT_TRUE(Has(err, "positional")) << err;
  EXPECT_EQ(Count(db, u"T"), 0);
}

TEST_F(Conn, ParameterNamesInsideQuotesAndCommentsAreLeftAlone) {
  Query q(db);
  q.SetSQL(u"INSERT INTO T (ID, V, C) /* :ID? no */ VALUES (:ID, ':NAO', -- :NAO\n :SIM)");
  EXPECT_EQ(q.ParamNames(), (std::vector<UString>{u"ID", u"SIM"}));
  q.BindInteger(u"ID", 1);
  q.BindText(u"SIM", u"sim");
  q.ExecSQL();
  EXPECT_EQ(Scalar(db, u"SELECT V FROM T"), u":NAO");
  EXPECT_EQ(Scalar(db, u"SELECT C FROM T"), u"sim");
  Exec(db, u"INSERT INTO T (ID, V) VALUES (2, 'it''s :X')");
  EXPECT_EQ(Scalar(db, u"SELECT V FROM T WHERE ID = 2"), u"it's :X");
}

TEST_F(Conn, CharacterTextLongerThanTheColumnIsTheDatabasesError) {
  Query q(db);
  q.SetSQL(u"INSERT INTO T (ID, V) VALUES (:ID, :V)");
  q.BindInteger(u"ID", 1);
  q.BindText(u"V", u"0123456789");  // exactly 10
  q.ExecSQL();
  q.BindInteger(u"ID", 2);
  q.BindText(u"V", u"0123456789X");
  std::string err = ErrorOf([&] { q.ExecSQL(); });
  EXPECT_TRUE(Has(err, "string right truncation")) << err;
  EXPECT_EQ(Count(db, u"T"), 1);
}

TEST_F(Conn, SameTextIsNotPreparedAgainAndTheBufferIsReused) {
  Query q(db);
  const UString ins = u"INSERT INTO T (ID, V, N, TS) VALUES (:ID, :V, :N, :TS)";
  for (int i = 1; i <= 50; ++i) {
    q.SetSQL(ins);
    q.BindInteger(u"ID", i);
    q.BindText(u"V", UString(static_cast<std::size_t>(i % 10 + 1), u'x'));  // lengths vary
    q.BindText(u"N", i % 3 ? IntToU(i) + u".5" : u"");                       // nulls come and go
    q.BindText(u"TS", i % 2 ? u"01/01/2020" : u"");
    q.ExecSQL();
    if (i == 25) Exec(db, u"COMMIT");  // a commit does not cost a prepare
  }
  EXPECT_EQ(q.PrepareCount(), 1u);
  EXPECT_EQ(Count(db, u"T"), 50);
  EXPECT_EQ(Count(db, u"T", u"N IS NULL"), 16);
  EXPECT_EQ(Count(db, u"T", u"TS IS NULL"), 25);
  EXPECT_EQ(Scalar(db, u"SELECT V FROM T WHERE ID = 9"), u"xxxxxxxxxx");
  q.SetSQL(u"SELECT COUNT(*) FROM T");
  q.Open();
  EXPECT_EQ(q.PrepareCount(), 2u);
}

TEST(Dialect, DoubleQuotedConstantsAreStringsInDialect1) {
  TestDatabase tdb("dialect1");
  Database db;
  tdb.Connect(db);
  Exec(db, u"INSERT INTO UNIDADES (UNIDADE, DESCRICAO) VALUES (\"CX\", \"Caixa \"\"grande\"\"\")");
  EXPECT_EQ(Scalar(db, u"SELECT DESCRICAO FROM UNIDADES WHERE UNIDADE = \"CX\""), u"Caixa \"grande\"");
}

TEST(Dialect, DoubleQuotesAreIdentifiersInDialect3) {
  auto tdb = TestDatabase::Blank(3, "WIN1252");
  Database db;
  tdb.Connect(db);
  Exec(db, u"CREATE TABLE X (A VARCHAR(10))");
  Exec(db, u"COMMIT");
  std::string err = ErrorOf([&] { Exec(db, u"INSERT INTO X (A) VALUES (\"CX\")"); });
  EXPECT_TRUE(Has(err, "Column unknown")) << err;
}

// --- Character set --------------------------------------------------------------

TEST(Charset, AccentsRoundTripUnchanged) {
  const UString text = u"ç ã õ é Á Ç";
  TestDatabase tdb("accents");
  {
    Database db;
    tdb.Connect(db);
    Query q(db);
    q.SetSQL(u"INSERT INTO UNIDADES (UNIDADE, DESCRICAO) VALUES (:U, :D)");
    q.BindText(u"U", u"AÇÃO");
    q.BindText(u"D", text);
    q.ExecSQL();
    Exec(db, u"INSERT INTO UNIDADES (UNIDADE, DESCRICAO) VALUES ('LIT', " + QuotedStr(text) + u")");
    EXPECT_EQ(Scalar(db, u"SELECT DESCRICAO FROM UNIDADES WHERE UNIDADE = 'AÇÃO'"), text);
    EXPECT_EQ(Scalar(db, u"SELECT DESCRICAO FROM UNIDADES WHERE UNIDADE = 'LIT'"), text);
    // The bytes stored are WIN1252: one byte a letter, ç = 231, Ç = 199.
    EXPECT_EQ(Scalar(db, u"SELECT OCTET_LENGTH(DESCRICAO) FROM UNIDADES WHERE UNIDADE = 'LIT'"), u"11");
    EXPECT_EQ(Scalar(db, u"SELECT ASCII_VAL(DESCRICAO) FROM UNIDADES WHERE UNIDADE = 'LIT'"), u"231");
    EXPECT_EQ(Scalar(db, u"SELECT ASCII_VAL(SUBSTRING(DESCRICAO FROM 11 FOR 1)) FROM UNIDADES WHERE UNIDADE = 'AÇÃO'"),
              u"199");
    db.DefaultTransaction().Commit();
  }
  {
    // Another connection character set: the engine transliterates what is stored.
    Database db;
    db.SetCharacterSet(u"UTF8");
    tdb.Connect(db);
    EXPECT_EQ(db.CharacterSet(), u"UTF8");
    EXPECT_EQ(Scalar(db, u"SELECT DESCRICAO FROM UNIDADES WHERE UNIDADE = 'AÇÃO'"), text);
  }
  // And an independent reader.
  std::string out = tdb.Isql("SET LIST ON; SELECT UNIDADE, DESCRICAO FROM UNIDADES ORDER BY UNIDADE;");
  EXPECT_TRUE(Has(out, "AÇÃO")) << out;
  EXPECT_TRUE(Has(out, U8(text))) << out;
}

TEST(Charset, WrittenByIsqlReadByTheConnection) {
  TestDatabase tdb("isqlwrites");
  tdb.Isql("INSERT INTO UNIDADES (UNIDADE, DESCRICAO) VALUES ('PÇ', 'Peça única');\nCOMMIT;");
  Database db;
  tdb.Connect(db);
  EXPECT_EQ(Scalar(db, u"SELECT DESCRICAO FROM UNIDADES WHERE UNIDADE = 'PÇ'"), u"Peça única");
}

TEST(Charset, TextTheCharacterSetCannotHoldIsAClearError) {
  TestDatabase tdb("unencodable");
  Database db;
  tdb.Connect(db);
  Query q(db);
  q.SetSQL(u"INSERT INTO UNIDADES (UNIDADE, DESCRICAO) VALUES ('X', :DESCRICAO)");
  q.BindText(u"DESCRICAO", u"Caixa 中");
  std::string err = ErrorOf([&] { q.ExecSQL(); });
  EXPECT_TRUE(Has(err, "DESCRICAO")) << err;
  EXPECT_TRUE(Has(err, "U+4E2D")) << err;
  EXPECT_TRUE(Has(err, "WIN1252")) << err;
  err = ErrorOf([&] { Exec(db, u"INSERT INTO UNIDADES (UNIDADE) VALUES ('中')"); });
  EXPECT_TRUE(Has(err, "statement text")) << err;
  EXPECT_EQ(Count(db, u"UNIDADES"), 0);
  db.Close();
  // Through a UTF8 connection the engine refuses it itself.
  db.SetCharacterSet(u"UTF8");
  tdb.Connect(db);
  q.SetSQL(u"INSERT INTO UNIDADES (UNIDADE, DESCRICAO) VALUES ('X', :DESCRICAO)");
  q.BindText(u"DESCRICAO", u"Caixa 中");
  err = ErrorOf([&] { q.ExecSQL(); });
  EXPECT_TRUE(Has(err, "Cannot transliterate character between character sets")) << err;
}

TEST(Charset, Utf8DatabaseRoundTrip) {
  auto tdb = TestDatabase::Blank(3, "UTF8");
  Database db;
  tdb.Connect(db);
  Exec(db, u"CREATE TABLE X (A VARCHAR(5), C CHAR(3))");
  Exec(db, u"COMMIT");
  Query q(db);
  q.SetSQL(u"INSERT INTO X (A, C) VALUES (:A, :C)");
  q.BindText(u"A", u"ção𝄞");
  q.BindText(u"C", u"é");
  q.ExecSQL();
  Query r(db);
  r.SetSQL(u"SELECT A, C, CHAR_LENGTH(A) AS L FROM X");
  r.Open();
  EXPECT_EQ(r.FieldAsText(u"A"), u"ção𝄞");
  EXPECT_EQ(r.FieldAsText(u"C"), u"é");  // CHAR padding removed
  EXPECT_EQ(r.FieldAsInteger(u"L"), 4);
}

// --- Reading -------------------------------------------------------------------

TEST_F(Conn, ReadingRowsAndColumns) {
  Query q(db);
  q.SetSQL(u"SELECT ID FROM T");
  q.Open();
  EXPECT_TRUE(q.Active());
  EXPECT_TRUE(q.IsEmpty());
  EXPECT_TRUE(q.Eof());
  EXPECT_TRUE(q.FieldIsNull(u"ID"));  // no current row: null
  Exec(db, u"INSERT INTO T (ID, V, C, I, N, D, TS, S) VALUES (1, 'um', 'ab', 42, 12.5, 0.1, '21.05.2013', -3)");
  Exec(db, u"INSERT INTO T (ID, V, I) VALUES (2, ' 17 ', NULL)");
  Exec(db, u"INSERT INTO T (ID, V) VALUES (3, '4x')");
  q.SetSQL(u"SELECT ID AS CODIGO, V, C, I, N, D, TS, S FROM T ORDER BY ID");
  q.Open();
  EXPECT_FALSE(q.IsEmpty());
  EXPECT_EQ(q.FieldAsInteger(u"codigo"), 1);  // alias, any case
  EXPECT_EQ(q.FieldAsText(u"v"), u"um");
  EXPECT_EQ(q.FieldAsText(u"C"), u"ab");  // CHAR(5) without its padding
  EXPECT_EQ(q.FieldAsText(u"I"), u"42");
  EXPECT_EQ(q.FieldAsDouble(u"N"), 12.5);
  EXPECT_EQ(q.FieldAsText(u"D"), u"0.1");
  EXPECT_EQ(q.FieldAsText(u"TS"), u"21/05/2013");
  EXPECT_EQ(q.FieldAsInteger(u"S"), -3);
  EXPECT_TRUE(Has(ErrorOf([&] { q.FieldAsText(u"NADA"); }), "NADA"));
  q.Next();
  EXPECT_FALSE(q.Eof());
  EXPECT_EQ(q.FieldAsInteger(u"V"), 17);
  EXPECT_TRUE(q.FieldIsNull(u"I"));
  EXPECT_EQ(q.FieldAsText(u"I"), u"");
  EXPECT_TRUE(Has(ErrorOf([&] { q.FieldAsInteger(u"I"); }), "null"));
  q.Next();
  std::string err = ErrorOf([&] { q.FieldAsInteger(u"V"); });
  EXPECT_TRUE(Has(err, "'4x' is not a valid integer")) << err;
  q.Next();
  EXPECT_TRUE(q.Eof());
  EXPECT_FALSE(q.IsEmpty());  // it held rows
  q.Next();                   // past the end: nothing happens
  EXPECT_TRUE(q.Eof());
  q.Close();
  EXPECT_FALSE(q.Active());
}

TEST_F(Conn, ScaledNumbersAsTextAndInteger) {
  Exec(db, u"INSERT INTO T (ID, N, D) VALUES (1, 12.75, 1e20)");
  Query q(db);
  q.SetSQL(u"SELECT N, D, CAST(7 AS NUMERIC(5,2)) AS SETE FROM T");
  q.Open();
  std::string err = ErrorOf([&] { q.FieldAsInteger(u"N"); });
  EXPECT_TRUE(Has(err, "'12.75' is not a valid integer")) << err;
  EXPECT_EQ(q.FieldAsText(u"D"), u"100000000000000000000");
  EXPECT_EQ(q.FieldAsInteger(u"SETE"), 7);
}

TEST_F(Conn, OpenAndExecSQLOnTheWrongKindOfStatement) {
  Query q(db);
  q.SetSQL(u"INSERT INTO T (ID) VALUES (1)");
  EXPECT_TRUE(Has(ErrorOf([&] { q.Open(); }), "returns no rows"));
  q.SetSQL(u"INSERT INTO T (ID, V) VALUES (2, 'x') RETURNING ID, V");
  q.ExecSQL();
  EXPECT_EQ(q.FieldAsInteger(u"ID"), 2);
  EXPECT_EQ(q.FieldAsText(u"V"), u"x");
  EXPECT_EQ(Count(db, u"T"), 1);  // the first insert failed before running
}

TEST(Blob, TextBlobsShortAndLong) {
  auto tdb = TestDatabase::Blank(1, "WIN1252");
  Database db;
  tdb.Connect(db);
  Exec(db, u"CREATE TABLE X (ID INTEGER, OBS BLOB SUB_TYPE 1)");
  Exec(db, u"COMMIT");
  UString longText;
  while (longText.size() < 100000) longText += u"Observação número ";
  Query q(db);
  q.SetSQL(u"INSERT INTO X (ID, OBS) VALUES (:ID, :OBS)");
  q.BindInteger(u"ID", 1);
  q.BindText(u"OBS", u"Peça única");
  q.ExecSQL();
  q.BindInteger(u"ID", 2);
  q.BindText(u"OBS", longText);
  q.ExecSQL();
  q.BindInteger(u"ID", 3);
  q.BindText(u"OBS", u"");
  q.ExecSQL();
  EXPECT_EQ(Scalar(db, u"SELECT OBS FROM X WHERE ID = 1"), u"Peça única");
  EXPECT_EQ(Scalar(db, u"SELECT OBS FROM X WHERE ID = 2"), longText);
  EXPECT_EQ(Scalar(db, u"SELECT OCTET_LENGTH(OBS) FROM X WHERE ID = 2"), IntToU(static_cast<long long>(longText.size())));
  EXPECT_EQ(Count(db, u"X", u"ID = 3 AND OBS IS NULL"), 1);
}

TEST_F(Conn, StatementsOfReplacedTextsAreFreed) {
  // The engine's own count of this attachment's statements: a query that goes
  // through 300 different texts holds one statement, not 300.
  Query q(db);
  for (int i = 0; i < 300; ++i) {
    q.SetSQL(u"INSERT INTO T (ID, V) VALUES (" + IntToU(i) + u", 'v" + IntToU(i) + u"')");
    q.ExecSQL();
  }
  Query r(db);
  r.SetSQL(u"SELECT ID FROM T");
  r.Open();
  long long n = Count(db, u"MON$STATEMENTS", u"MON$ATTACHMENT_ID = CURRENT_CONNECTION");
  EXPECT_GE(n, 2);  // q's and r's at least: the count sees our statements
  EXPECT_LE(n, 4);  // q's, r's, the counting query's, and the engine's own
  EXPECT_EQ(Count(db, u"T"), 300);
}
