// The target connection against real embedded Firebird files (no mocks).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>

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

// Definitions are only usable by later statements once committed.
void CreateTable(Database& db, const UString& ddl) {
  Exec(db, ddl);
  Exec(db, u"COMMIT");
}

// Binds every value as text, then executes the query's current text.
void ExecTexts(Query& q, std::initializer_list<std::pair<const char16_t*, UString>> values) {
  for (const auto& [name, value] : values) q.BindText(name, value);
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
  try { f(); } catch (const EDatabaseError& e) { return e.what(); }
  return "";
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

::testing::AssertionResult HasAll(const std::string& text, std::initializer_list<std::string> parts) {
  for (const std::string& p : parts)
    if (!Has(text, p)) return ::testing::AssertionFailure() << "no \"" << p << "\" in: \"" << text << "\"";
  return ::testing::AssertionSuccess();
}

// The statement fails with EDatabaseError and its text holds every part.
#define EXPECT_ERROR(statement, ...) EXPECT_TRUE(HasAll(ErrorOf([&] { statement; }), {__VA_ARGS__}))

void SetLogin(Database& db, const UString& name) {
  db.SetDatabaseName(name);
  db.SetUserName(Utf8ToU(TestDatabase::kUser));
  db.SetPassword(Utf8ToU(TestDatabase::kPassword));
}

// A Norvale database plus one scratch table of every type the rules care about.
class Conn : public ::testing::Test {
 protected:
  void SetUp() override {
    tdb.Connect(db);
    CreateTable(db,
                u"CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, V VARCHAR(10), C CHAR(5), I INTEGER, "
                u"N NUMERIC(15,2), D DOUBLE PRECISION, TS TIMESTAMP, S SMALLINT, OBS BLOB SUB_TYPE 1)");
  }
  TestDatabase tdb{"conn"};
  Database db;
};

}  // namespace

// --- Attach -------------------------------------------------------------------

TEST(Attach, NorvaleOpensInDialect1AndWin1252) {
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
  EXPECT_ERROR(db.SetDatabaseName(u"/tmp/other.fb"), "cannot change while connected");
  EXPECT_EQ(db.DatabaseName(), tdb.Name());
  db.Close();
  EXPECT_FALSE(db.Connected());
  db.Close();  // closing twice is harmless
  db.SetDatabaseName(u"/tmp/other.fb");
  EXPECT_EQ(db.DatabaseName(), u"/tmp/other.fb");
}

// The connection set chosen from the database's, the text round trip through it,
// and statements prepared in the database's dialect.
TEST(Attach, DialectAndCharacterSetFollowTheDatabase) {
  struct Case { int dialect; const char* dbSet; const char16_t *connSet, *text; long long chars, octets; };
  const Case cases[] = {
      {3, "UTF8", u"UTF8", u"ção𝄞", 4, 9},
      {1, "NONE", u"WIN1252", u"ção", 3, 3},
      {3, "ISO8859_1", u"ISO8859_1", u"ção", 3, 3},
      // A set the client does not speak itself: UTF8, and the engine transliterates
      // to one byte a letter.
      {3, "WIN1250", u"UTF8", u"Łódź", 4, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dbSet);
    auto tdb = TestDatabase::Blank(c.dialect, c.dbSet);
    Database db;
    tdb.Connect(db);
    EXPECT_EQ(db.Dialect(), c.dialect);
    EXPECT_EQ(U8(db.DatabaseCharacterSet()), c.dbSet);
    EXPECT_EQ(db.CharacterSet(), c.connSet);
    CreateTable(db, u"CREATE TABLE X (A VARCHAR(10), C CHAR(3))");
    Query q(db);
    q.SetSQL(u"INSERT INTO X (A, C) VALUES (:A, :C)");
    ExecTexts(q, {{u"A", c.text}, {u"C", u"é"}});
    q.SetSQL(u"SELECT A, C, CHAR_LENGTH(A) AS L, OCTET_LENGTH(A) AS O FROM X");
    q.Open();
    EXPECT_EQ(q.FieldAsText(u"A"), c.text);
    EXPECT_EQ(q.FieldAsText(u"C"), u"é");  // CHAR padding removed
    EXPECT_EQ(q.FieldAsInteger(u"L"), c.chars);
    EXPECT_EQ(q.FieldAsInteger(u"O"), c.octets);
    // Double quotes make a string in dialect 1 and an identifier in dialect 3.
    if (c.dialect == 1)
      EXPECT_EQ(Scalar(db, u"SELECT \"a:B \"\"c\"\"\" FROM RDB$DATABASE"), u"a:B \"c\"");
    else
      EXPECT_ERROR(Exec(db, u"SELECT \"CX\" FROM RDB$DATABASE"), "Column unknown");
  }
}

TEST(Attach, PathWithAccents) {
  TestDatabase tdb("accents-path");
  struct Cleanup {
    std::string path;
    ~Cleanup() { std::error_code ec; std::filesystem::remove_all(path, ec); }
  } cleanup{tdb.Path() + ".d"};
  const std::string dir = cleanup.path + "/Conversão Açúcar";
  std::filesystem::create_directories(dir);
  const std::string path = dir + "/Norvale ç.fb";
  std::filesystem::copy_file(tdb.Path(), path);
  Database db;
  SetLogin(db, Utf8ToU(path));
  db.Open();
  EXPECT_EQ(db.Dialect(), 1);
  Exec(db, u"INSERT INTO UNIDADES (UNIDADE) VALUES ('UN')");
  db.DefaultTransaction().Commit();
}

TEST(Attach, FailedOpenGivesTheReasonAndStaysClosed) {
  auto failedOpen = [](const UString& name, const UString& charset = u"") {
    Database db;
    SetLogin(db, name);
    db.SetCharacterSet(charset);
    std::string err = ErrorOf([&] { db.Open(); });
    EXPECT_FALSE(db.Connected()) << U8(name);
    return err;
  };
  EXPECT_TRUE(HasAll(failedOpen(u"/nonexistent/dir/norvale.fb"),
                     {"I/O error during \"open\" operation for file \"/nonexistent/dir/norvale.fb\"",
                      "No such file or directory"}));
  // No server listens on this port: the error is the network's, not the file's,
  // which shows the string went to the remote provider and not to the engine.
  std::string err = failedOpen(u"localhost/3999:/nonexistent/norvale.fb");
  EXPECT_TRUE(Has(err, "network") || Has(err, "connection")) << err;
  EXPECT_FALSE(Has(err, "I/O error")) << err;
  EXPECT_TRUE(HasAll(failedOpen(u""), {"name is empty"}));
  TestDatabase tdb("cs");
  EXPECT_TRUE(HasAll(failedOpen(tdb.Name(), u"KOI8R"), {"KOI8R"}));
}

// --- Transactions -------------------------------------------------------------

// The connection has one transaction, started by the first statement. A commit
// statement through any query commits it; a statement the engine itself runs as a
// transaction end leaves none behind (the pointer it released is never used again).
// Either way the result sets of every query close.
TEST_F(Conn, TheOneTransaction) {
  struct Case { const char16_t* text; bool commits, staysActive; };
  const Case cases[] = {{u"COMMIT", true, false},      {u"commit", true, false},
                        {u"Commit;", true, false},     {u"  COMMIT ; ", true, false},
                        {u"commit work", true, false}, {u"ROLLBACK", false, false},
                        {u"COMMIT RETAIN", true, true}};
  auto& tr = db.DefaultTransaction();
  Query reader(db), ender(db);
  int id = 0, committed = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(U8(c.text));
    Exec(db, u"INSERT INTO T (ID) VALUES (" + IntToU(++id) + u")");
    reader.SetSQL(u"SELECT ID FROM T ORDER BY ID");
    reader.Open();
    ASSERT_TRUE(tr.InTransaction());
    ender.SetSQL(c.text);
    ender.ExecSQL();
    committed += c.commits;
    EXPECT_EQ(tr.InTransaction(), c.staysActive);
    EXPECT_FALSE(reader.Active());
    EXPECT_ERROR(reader.FieldAsText(u"ID"), "not open");
    EXPECT_ERROR(reader.Next(), "not open");
    EXPECT_EQ(Count(db, u"T"), committed);
  }
  fb::Transaction other(db);  // another view of the same transaction
  other.Commit();
  EXPECT_ERROR(tr.Commit(), "not active");
  EXPECT_ERROR(tr.Rollback(), "not active");
  Exec(db, u"COMMIT");  // with no transaction: nothing to do, no error
  EXPECT_FALSE(tr.InTransaction());
  reader.Open();  // starts the next transaction, which stays open
  EXPECT_TRUE(other.InTransaction());
  EXPECT_ERROR(tr.StartTransaction(), "already active");
  EXPECT_EQ(reader.FieldAsInteger(u"ID"), 1);
  Exec(db, u"DELETE FROM T");
  other.Rollback();  // keeps every commit before it
  EXPECT_FALSE(tr.InTransaction());
  EXPECT_EQ(Count(db, u"T"), committed);
  tr.Commit();
  tr.StartTransaction();
  EXPECT_TRUE(other.InTransaction());
  db.Close();
  Database again;  // and they are permanent for another connection too
  tdb.Connect(again);
  EXPECT_EQ(Count(again, u"T"), committed);
}

// Each error is the database's own text; the transaction and the writes before it stay.
TEST_F(Conn, FailedStatementsKeepTheTransactionAndEarlierWrites) {
  auto& tr = db.DefaultTransaction();
  Query q(db);
  q.SetSQL(u"INSERT INTO T (ID, V, I) VALUES (:ID, :V, :I)");
  ExecTexts(q, {{u"ID", u"1"}, {u"V", u"0123456789"}, {u"I", u"1"}});  // V exactly full
  struct Case { const char16_t *id, *v, *i; const char* error; };
  for (const Case& c : {Case{u"1", u"dup", u"1", "violation of PRIMARY or UNIQUE KEY constraint"},
                        Case{u"2", u"0123456789X", u"1", "string right truncation"},
                        Case{u"2", u"x", u"abc", "conversion error from string \"abc\""}}) {
    SCOPED_TRACE(c.error);
    EXPECT_ERROR(ExecTexts(q, {{u"ID", c.id}, {u"V", c.v}, {u"I", c.i}}), c.error);
    EXPECT_TRUE(tr.InTransaction());
  }
  // The statement savepoint: a statement that fails half way leaves nothing.
  EXPECT_ERROR(Exec(db, u"INSERT INTO T (ID) SELECT 10 FROM RDB$DATABASE UNION ALL SELECT 1 FROM RDB$DATABASE"),
               "violation");
  EXPECT_EQ(Count(db, u"T", u"ID = 10"), 0);
  EXPECT_ERROR(Exec(db, u"SELEC nada"), "Token unknown");
  EXPECT_TRUE(tr.InTransaction());
  Exec(db, u"INSERT INTO T (ID) VALUES (2)");
  tr.Commit();
  EXPECT_EQ(Count(db, u"T"), 2);
}

// Close and destruction roll back; queries survive a reconnect (prepared again, as
// their statements died with the attachment) and are orphaned by their database's end.
TEST(Lifetime, CloseReconnectAndDestruction) {
  TestDatabase tdb("life");
  auto db = std::make_unique<Database>();
  tdb.Connect(*db);
  Exec(*db, u"INSERT INTO UNIDADES (UNIDADE) VALUES ('UN')");
  Query q(*db);
  q.SetSQL(u"SELECT COUNT(*) AS N FROM UNIDADES");
  q.Open();
  db->Close();
  EXPECT_FALSE(q.Active());
  EXPECT_ERROR(q.Open(), "not connected");
  tdb.Connect(*db);
  q.Open();
  EXPECT_EQ(q.FieldAsInteger(u"N"), 0);
  EXPECT_EQ(q.PrepareCount(), 2u);
  Exec(*db, u"INSERT INTO UNIDADES (UNIDADE) VALUES ('CX')");
  fb::Transaction view(*db);
  EXPECT_TRUE(view.InTransaction());
  EXPECT_NO_THROW(db.reset());  // rolls back, frees the query's handles, detaches
  EXPECT_FALSE(q.Active());
  EXPECT_ERROR(q.Open(), "no longer exists");
  EXPECT_FALSE(view.InTransaction());
  EXPECT_ERROR(view.StartTransaction(), "no longer exists");
  Database again;
  tdb.Connect(again);
  EXPECT_EQ(Count(again, u"UNIDADES"), 0);
}

// --- Binding --------------------------------------------------------------------

TEST_F(Conn, NamedParameters) {
  Query q(db);
  const UString insert =
      u"INSERT INTO T (ID, V, C, S) /* :ID? no */ VALUES (:pId, 'it''s :NAO', -- :NAO\n :Texto, :PID)";
  q.SetSQL(insert);
  EXPECT_EQ(q.ParamNames(), (std::vector<UString>{u"pId", u"Texto"}));
  q.BindInteger(u"PID", 1);  // any case; a repeated name takes its one value everywhere
  q.BindText(u"texto", u"ab");
  q.ExecSQL();
  EXPECT_EQ(Count(db, u"T", u"ID = 1 AND S = 1 AND V = 'it''s :NAO' AND C = 'ab'"), 1);
  EXPECT_ERROR(q.BindText(u"OUTRO", u"x"), "OUTRO");
  // A new text forgets the values bound for the old one, even an equal text.
  q.SetSQL(insert);
  q.BindText(u"TEXTO", u"x");
  EXPECT_ERROR(q.ExecSQL(), "pId");
  q.SetSQL(u"INSERT INTO T (ID, V) VALUES (?, :VALOR)");
  EXPECT_ERROR(q.ExecSQL(), "mixes");
  q.SetSQL(u"INSERT INTO T (ID) VALUES (?)");
  EXPECT_ERROR(q.ExecSQL(), "positional");
  EXPECT_EQ(Count(db, u"T"), 1);
}

TEST_F(Conn, ValuesReachEachColumnByItsType) {
  Query q(db);
  q.SetSQL(u"INSERT INTO T (ID, V, C, I, N, D, TS, S) VALUES (:ID, :V, :C, :I, :N, :D, :TS, :S)");
  // Empty text stays empty for character columns and is null for the others.
  ExecTexts(q, {{u"ID", u"1"}, {u"V", u""}, {u"C", u""}, {u"I", u""}, {u"N", u""}, {u"D", u""}, {u"TS", u""},
                {u"S", u""}});
  // Other text the database converts.
  ExecTexts(q, {{u"ID", u"2"}, {u"V", u"v"}, {u"C", u"c"}, {u"I", u"-42"}, {u"N", u"1234.56"}, {u"D", u"0.1"},
                {u"TS", u"21/05/2013"}, {u"S", u"7"}});
  q.BindInteger(u"ID", 3);
  q.BindInteger(u"V", 123);  // the engine writes it as text
  q.BindInteger(u"I", 2147483647);
  q.BindDouble(u"N", 10.25);
  q.BindDouble(u"D", -0.5);
  for (const char16_t* name : {u"C", u"TS", u"S"}) q.BindNull(name);
  q.ExecSQL();
  EXPECT_EQ(Count(db, u"T",
                  u"ID = 1 AND V = '' AND V IS NOT NULL AND C IS NOT NULL AND C = '' AND I IS NULL AND N IS NULL "
                  u"AND D IS NULL AND TS IS NULL AND S IS NULL"),
            1);
  EXPECT_EQ(Count(db, u"T",
                  u"ID = 2 AND V = 'v' AND C = 'c' AND I = -42 AND N = 1234.56 AND D = 0.1 AND TS = '21.05.2013' "
                  u"AND S = 7"),
            1);
  EXPECT_EQ(Count(db, u"T",
                  u"ID = 3 AND V = '123' AND I = 2147483647 AND N = 10.25 AND D = -0.5 AND C IS NULL AND TS IS NULL "
                  u"AND S IS NULL"),
            1);
  // An empty character value reads as itself, not as a null.
  Query r(db);
  r.SetSQL(u"SELECT V, C FROM T WHERE ID = 1");
  r.Open();
  EXPECT_FALSE(r.FieldIsNull(u"V"));
  EXPECT_EQ(r.FieldAsText(u"V"), u"");
  EXPECT_FALSE(r.FieldIsNull(u"C"));
  EXPECT_EQ(r.FieldAsText(u"C"), u"");
}

TEST_F(Conn, DateTextIsReadWithTheShortDateFormatOfTheConnection) {
  // parts: day-month-year hour, as the database sees them.
  struct Case { const char16_t* format; char16_t separator; const char16_t *text, *parts; };
  const Case cases[] = {
      {u"dd/mm/yyyy", u'/', u"21/05/2013", u"21-5-2013 0"},
      {u"dd/mm/yyyy", u'/', u"01/12/2024 10:30:15", u"1-12-2024 10"},
      {u"mm/dd/yyyy", u'-', u"05-21-2013", u"21-5-2013 0"},
  };
  Query q(db);
  q.SetSQL(u"INSERT INTO T (ID, TS) VALUES (:ID, :DTVENC)");
  int id = 0;
  FormatSettings regional;
  for (const Case& c : cases) {
    SCOPED_TRACE(U8(c.text));
    regional = FormatSettings{.ShortDateFormat = c.format, .DateSeparator = c.separator};
    db.SetRegional(&regional);
    ExecTexts(q, {{u"ID", IntToU(++id)}, {u"DTVENC", c.text}});
    const UString where = u" FROM T WHERE ID = " + IntToU(id);
    EXPECT_EQ(Scalar(db, u"SELECT EXTRACT(DAY FROM TS) || '-' || EXTRACT(MONTH FROM TS) || '-' || "
                         u"EXTRACT(YEAR FROM TS) || ' ' || EXTRACT(HOUR FROM TS)" + where),
              c.parts);
    EXPECT_EQ(Scalar(db, u"SELECT TS" + where), c.text);
  }
  db.SetRegional(nullptr);
  // An unreadable text is an error naming the text and the parameter.
  q.BindInteger(u"ID", 99);
  for (const char16_t* bad : {u"31/02/2013", u"2013-05-21", u"abc", u"21/05/2013 25:00"}) {
    q.BindText(u"DTVENC", bad);
    EXPECT_ERROR(q.ExecSQL(), "'" + U8(bad) + "'", "DTVENC");
  }
  EXPECT_EQ(Count(db, u"T"), id);
}

TEST(Binding, Dialect3DateAndTimeColumns) {
  auto tdb = TestDatabase::Blank(3, "WIN1252");
  Database db;
  tdb.Connect(db);
  CreateTable(db, u"CREATE TABLE X (DT DATE, HR TIME, N NUMERIC(9,2), B BIGINT)");
  Query q(db);
  q.SetSQL(u"INSERT INTO X (DT, HR, N, B) VALUES (:DT, :HR, :N, :B)");
  ExecTexts(q, {{u"DT", u"29/02/2024"}, {u"HR", u"10:30"}, {u"N", u"12.5"}, {u"B", u"9007199254740993"}});
  ExecTexts(q, {{u"DT", u""}, {u"HR", u""}, {u"N", u""}, {u"B", u""}});
  q.SetSQL(u"SELECT DT, HR, N, B FROM X WHERE DT IS NOT NULL");
  q.Open();
  EXPECT_EQ(q.FieldAsText(u"DT"), u"29/02/2024");
  EXPECT_EQ(q.FieldAsText(u"HR"), u"10:30:00");
  EXPECT_EQ(q.FieldAsText(u"N"), u"12.50");
  EXPECT_EQ(q.FieldAsInteger(u"B"), 9007199254740993LL);
  EXPECT_EQ(Count(db, u"X", u"DT IS NULL AND HR IS NULL AND N IS NULL AND B IS NULL"), 1);
}

// A converter runs one insert row after row: it is prepared once, its buffer is
// reused as lengths and nulls change, and a commit does not cost a prepare.
TEST_F(Conn, StatementReuse) {
  Query q(db);
  for (int i = 1; i <= 50; ++i) {
    q.SetSQL(u"INSERT INTO T (ID, V, N, TS) VALUES (:ID, :V, :N, :TS)");
    q.BindInteger(u"ID", i);
    ExecTexts(q, {{u"V", UString(static_cast<std::size_t>(i % 10 + 1), u'x')},
                  {u"N", i % 3 ? IntToU(i) + u".5" : u""},
                  {u"TS", i % 2 ? u"01/01/2020" : u""}});
    if (i == 25) Exec(db, u"COMMIT");
  }
  EXPECT_EQ(q.PrepareCount(), 1u);
  EXPECT_EQ(Count(db, u"T"), 50);
  EXPECT_EQ(Count(db, u"T", u"N IS NULL"), 16);
  EXPECT_EQ(Count(db, u"T", u"TS IS NULL"), 25);
  EXPECT_EQ(Scalar(db, u"SELECT V FROM T WHERE ID = 9"), u"xxxxxxxxxx");
}

// --- Character set --------------------------------------------------------------

TEST(Charset, AccentsRoundTripWithAnIndependentReaderAndWriter) {
  const UString text = u"ç ã õ é Á Ç";
  TestDatabase tdb("accents");
  tdb.Isql("INSERT INTO UNIDADES (UNIDADE, DESCRICAO) VALUES ('PÇ', 'Peça única');\nCOMMIT;");
  {
    Database db;
    tdb.Connect(db);
    EXPECT_EQ(Scalar(db, u"SELECT DESCRICAO FROM UNIDADES WHERE UNIDADE = 'PÇ'"), u"Peça única");
    Query q(db);
    q.SetSQL(u"INSERT INTO UNIDADES (UNIDADE, DESCRICAO) VALUES (:U, :D)");
    ExecTexts(q, {{u"U", u"AÇÃO"}, {u"D", text}});
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
  std::string out = tdb.Isql("SET LIST ON; SELECT UNIDADE, DESCRICAO FROM UNIDADES ORDER BY UNIDADE;");
  EXPECT_TRUE(Has(out, "AÇÃO")) << out;
  EXPECT_TRUE(Has(out, U8(text))) << out;
}

TEST_F(Conn, TextTheCharacterSetCannotHoldIsAClearError) {
  // 中 has no byte in WIN1252; the other five are the bytes it leaves undefined.
  struct Case { UString text; const char* code; };
  const Case cases[] = {{u"中", "U+4E2D"},      {u"\u0081", "U+0081"}, {u"\u008D", "U+008D"},
                        {u"\u008F", "U+008F"}, {u"\u0090", "U+0090"}, {u"\u009D", "U+009D"}};
  Query q(db);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    q.SetSQL(u"INSERT INTO UNIDADES (UNIDADE, DESCRICAO) VALUES ('X', :DESCRICAO)");
    q.BindText(u"DESCRICAO", u"Caixa " + c.text);
    EXPECT_ERROR(q.ExecSQL(), "DESCRICAO", c.code, "WIN1252");
    EXPECT_ERROR(Exec(db, u"INSERT INTO UNIDADES (UNIDADE) VALUES ('" + c.text + u"')"), "statement text", c.code);
  }
  EXPECT_EQ(Count(db, u"UNIDADES"), 0);
  db.Close();
  // Through a UTF8 connection the engine refuses it itself.
  db.SetCharacterSet(u"UTF8");
  tdb.Connect(db);
  q.SetSQL(u"INSERT INTO UNIDADES (UNIDADE, DESCRICAO) VALUES ('X', :DESCRICAO)");
  q.BindText(u"DESCRICAO", u"Caixa 中");
  EXPECT_ERROR(q.ExecSQL(), "Cannot transliterate character between character sets");
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
  // Open refuses a statement without rows before running it (no row 9 below);
  // ExecSQL of one that returns a row leaves it readable.
  q.SetSQL(u"INSERT INTO T (ID) VALUES (9)");
  EXPECT_ERROR(q.Open(), "returns no rows");
  q.SetSQL(u"INSERT INTO T (ID, V, C, I, N, D, TS, S) VALUES (1, 'um', 'ab', 42, 12.75, 0.1, '21.05.2013', -3) "
           u"RETURNING ID, V");
  q.ExecSQL();
  EXPECT_EQ(q.FieldAsInteger(u"ID"), 1);
  EXPECT_EQ(q.FieldAsText(u"V"), u"um");
  Exec(db, u"INSERT INTO T (ID, V, I, D) VALUES (2, ' 17 ', NULL, 1e20)");
  Exec(db, u"INSERT INTO T (ID, V) VALUES (3, '4x')");
  q.SetSQL(u"SELECT ID AS CODIGO, V, C, I, N, D, TS, S, CAST(7 AS NUMERIC(5,2)) AS SETE FROM T ORDER BY ID");
  q.Open();
  EXPECT_FALSE(q.IsEmpty());
  EXPECT_EQ(q.FieldAsInteger(u"codigo"), 1);  // alias, any case
  EXPECT_EQ(q.FieldAsText(u"v"), u"um");
  EXPECT_EQ(q.FieldAsText(u"C"), u"ab");  // CHAR(5) without its padding
  EXPECT_EQ(q.FieldAsText(u"I"), u"42");
  EXPECT_EQ(q.FieldAsDouble(u"N"), 12.75);
  EXPECT_ERROR(q.FieldAsInteger(u"N"), "'12.75' is not a valid integer");
  EXPECT_EQ(q.FieldAsInteger(u"SETE"), 7);
  EXPECT_EQ(q.FieldAsText(u"D"), u"0.1");
  EXPECT_EQ(q.FieldAsText(u"TS"), u"21/05/2013");
  EXPECT_EQ(q.FieldAsInteger(u"S"), -3);
  EXPECT_ERROR(q.FieldAsText(u"NADA"), "NADA");
  q.Next();
  EXPECT_FALSE(q.Eof());
  EXPECT_EQ(q.FieldAsInteger(u"V"), 17);
  EXPECT_EQ(q.FieldAsText(u"D"), u"100000000000000000000");
  EXPECT_TRUE(q.FieldIsNull(u"I"));
  EXPECT_EQ(q.FieldAsText(u"I"), u"");
  EXPECT_ERROR(q.FieldAsInteger(u"I"), "null");
  q.Next();
  EXPECT_ERROR(q.FieldAsInteger(u"V"), "'4x' is not a valid integer");
  q.Next();
  EXPECT_TRUE(q.Eof());
  EXPECT_FALSE(q.IsEmpty());  // it held rows
  q.Next();                   // past the end: nothing happens
  EXPECT_TRUE(q.Eof());
  q.Close();
  EXPECT_FALSE(q.Active());
}

// A FLOAT holds fewer digits than a double: it reads as the shortest text that gives
// the same float back, not as the digits of the double it widens to.
TEST_F(Conn, FloatsReadAsTheShortestTextOfTheFloat) {
  struct Case { const char16_t *literal, *text; };
  const Case cases[] = {{u"0.1", u"0.1"}, {u"-2.3", u"-2.3"}, {u"123456.7", u"123456.7"},
                        {u"16777217", u"16777216"}, {u"1e10", u"10000000000"}, {u"0", u"0"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(U8(c.literal));
    EXPECT_EQ(Scalar(db, u"SELECT CAST(" + UString(c.literal) + u" AS FLOAT) FROM RDB$DATABASE"), c.text);
  }
}

// A row that fails to convert while it is fetched closes the result: no caller can
// take it for an empty result or loop on a cursor the engine has given up.
TEST_F(Conn, AFailedFetchClosesTheResult) {
  Exec(db, u"INSERT INTO T (ID, V) VALUES (1, '10')");
  Exec(db, u"INSERT INTO T (ID, V) VALUES (2, 'dez')");
  Exec(db, u"INSERT INTO T (ID, V) VALUES (3, '30')");
  // DESC fails on the open (its first row), ASC on the Next to the second row.
  for (const char16_t* order : {u"DESC", u"ASC"}) {
    SCOPED_TRACE(U8(order));
    Query q(db);
    q.SetSQL(u"SELECT ID, CAST(V AS INTEGER) AS N FROM T WHERE ID < 3 ORDER BY ID " + UString(order));
    std::string err = ErrorOf([&] {
      q.Open();
      while (!q.Eof()) q.Next();
    });
    EXPECT_TRUE(Has(err, "conversion error")) << err;
    EXPECT_FALSE(q.Active());
    EXPECT_TRUE(q.Eof());
    EXPECT_TRUE(q.IsEmpty());
    EXPECT_ERROR(q.Next(), "not open");
    EXPECT_ERROR(q.FieldAsText(u"ID"), "not open");
    // The query and the transaction stay usable.
    q.SetSQL(u"SELECT COUNT(*) AS N FROM T");
    q.Open();
    EXPECT_EQ(q.FieldAsInteger(u"N"), 3);
    EXPECT_TRUE(db.DefaultTransaction().InTransaction());
  }
}

// NUMERIC and DECIMAL read with the scale the column declares, whatever holds them:
// in dialect 1 a precision above 9 is a double, and money columns are NUMERIC(15,2).
TEST_F(Conn, ScaledNumbersReadWithTheirScale) {
  Query q(db);
  q.SetSQL(u"INSERT INTO T (ID, N) VALUES (:ID, :N)");
  ExecTexts(q, {{u"ID", u"1"}, {u"N", u"12.5"}});
  q.BindInteger(u"ID", 2);
  q.BindDouble(u"N", -0.001);
  q.ExecSQL();
  q.SetSQL(u"SELECT N, CAST(0.3 AS NUMERIC(9,1)) AS N1 FROM T ORDER BY ID");
  q.Open();
  EXPECT_EQ(q.FieldAsText(u"N"), u"12.50");
  EXPECT_EQ(q.FieldAsDouble(u"N"), 12.5);
  EXPECT_EQ(q.FieldAsText(u"N1"), u"0.3");
  EXPECT_EQ(q.FieldAsDouble(u"N1"), 0.3);  // 3 tenths, not 3 times 0.1
  q.Next();
  EXPECT_EQ(q.FieldAsText(u"N"), u"0.00");
}

TEST_F(Conn, TextBlobsShortLongAndEmpty) {
  UString longText;
  while (longText.size() < 100000) longText += u"Observação número ";
  Query q(db);
  q.SetSQL(u"INSERT INTO T (ID, OBS) VALUES (:ID, :OBS)");
  ExecTexts(q, {{u"ID", u"1"}, {u"OBS", u"Peça única"}});
  ExecTexts(q, {{u"ID", u"2"}, {u"OBS", longText}});
  ExecTexts(q, {{u"ID", u"3"}, {u"OBS", u""}});
  EXPECT_EQ(Scalar(db, u"SELECT OBS FROM T WHERE ID = 1"), u"Peça única");
  EXPECT_EQ(Scalar(db, u"SELECT OBS FROM T WHERE ID = 2"), longText);
  EXPECT_EQ(Scalar(db, u"SELECT OCTET_LENGTH(OBS) FROM T WHERE ID = 2"), IntToU(static_cast<long long>(longText.size())));
  EXPECT_EQ(Count(db, u"T", u"ID = 3 AND OBS IS NULL"), 1);
}
