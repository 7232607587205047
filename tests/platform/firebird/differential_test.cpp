// The same literal statement texts run on two fresh Norvale databases, one attached
// with the statement cache off (each text prepared as it is) and one with it on
// (literals sent as values of a shared shape), must leave identical tables and fail
// alike. The texts are built the way the converters build theirs.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "converters/Cliente.h"
#include "platform/Error.h"
#include "platform/firebird/Firebird.h"
#include "tests/support/TestDatabase.h"

using fb::Database;
using fb::Query;

namespace {

std::string U8(const UString& s) { return UToUtf8(s); }

UString Q(const UString& s) { return QuotedStr(s); }

UString Zero(long long n, int width) {
  UString s = IntToU(n);
  while (static_cast<int>(s.size()) < width) s.insert(s.begin(), u'0');
  return s;
}

// What running a text gave: the rows it returned, or the kind of its error.
std::string Outcome(Query& q, const UString& text) {
  try {
    q.SetSQL(text);
    UString head = UpperAZ(TrimCtl(text).substr(0, 6));
    if (head != u"SELECT") {
      q.ExecSQL();
      return "ok";
    }
    q.Open();
    std::string rows = "rows:";
    for (; !q.Eof(); q.Next()) {
      for (const UString& f : q.FieldNames()) rows += (q.FieldIsNull(f) ? "<null>" : U8(q.FieldAsText(f))) + "|";
      rows += ";";
    }
    return rows;
  } catch (const EDatabaseError& e) {
    return std::string("error: ") + e.what();
  }
}

class ScopedCacheSwitch {
 public:
  explicit ScopedCacheSwitch(const char* value) { setenv("CONVERSOR_TOLV_CACHE", value, 1); }
  ~ScopedCacheSwitch() { unsetenv("CONVERSOR_TOLV_CACHE"); }
};

// Every column of a table, each row rendered without loss (doubles by their bits,
// timestamps to the fraction of a second), rows sorted. Columns the engine fills with
// the moment of the insert are left out.
std::vector<std::string> Dump(Database& db, const UString& table) {
  Query cols(db);
  cols.SetSQL(u"SELECT TRIM(RF.RDB$FIELD_NAME) AS NAME, F.RDB$FIELD_TYPE AS TYP, "
              u"COALESCE(RF.RDB$DEFAULT_SOURCE, F.RDB$DEFAULT_SOURCE) AS DEF "
              u"FROM RDB$RELATION_FIELDS RF JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE "
              u"WHERE RF.RDB$RELATION_NAME = :T ORDER BY RF.RDB$FIELD_POSITION");
  cols.BindText(u"T", table);
  cols.Open();
  UString select;
  std::vector<int> types;
  for (; !cols.Eof(); cols.Next()) {
    if (UpperAZ(cols.FieldAsText(u"DEF")).find(u"NOW") != UString::npos) continue;
    const UString name = cols.FieldAsText(u"NAME");
    const UString c = db.Dialect() >= 3 ? u"\"" + name + u"\"" : name;
    const int type = static_cast<int>(cols.FieldAsInteger(u"TYP"));
    UString e = c;
    if (type == 27) e = u"CAST(" + c + u" AS DOUBLE PRECISION)";
    if (type == 35)
      e = u"EXTRACT(YEAR FROM " + c + u") || '-' || EXTRACT(MONTH FROM " + c + u") || '-' || EXTRACT(DAY FROM " + c +
          u") || ' ' || EXTRACT(HOUR FROM " + c + u") || ':' || EXTRACT(MINUTE FROM " + c + u") || ':' || "
          u"EXTRACT(SECOND FROM " + c + u")";
    select += (select.empty() ? u"" : u", ") + e + u" AS C" + IntToU(static_cast<long long>(types.size()));
    types.push_back(type);
  }
  Query q(db);
  q.SetSQL(u"SELECT " + select + u" FROM " + table);
  q.Open();
  std::vector<std::string> rows;
  for (; !q.Eof(); q.Next()) {
    std::string row;
    for (std::size_t i = 0; i < types.size(); ++i) {
      const UString name = u"C" + IntToU(static_cast<long long>(i));
      if (q.FieldIsNull(name)) {
        row += "<null>|";
      } else if (types[i] == 27) {
        double d = q.FieldAsDouble(name);
        unsigned long long bits;
        std::memcpy(&bits, &d, 8);
        char buf[24];
        std::snprintf(buf, sizeof buf, "%016llx", bits);
        row += std::string(buf) + "|";
      } else {
        row += "[" + U8(q.FieldAsText(name)) + "]|";
      }
    }
    rows.push_back(row);
  }
  std::sort(rows.begin(), rows.end());
  return rows;
}

// Two fresh databases (Norvale's, or blank ones of dialect 3), a target query and an
// auxiliary query on each (the converters' two), the texts run on both.
template <int Dialect>
class DifferentialOf : public ::testing::Test {
 protected:
  static TestDatabase Fresh(const char* label) {
    return Dialect == 1 ? TestDatabase(label) : TestDatabase::Blank(Dialect, "WIN1252", label);
  }

  void SetUp() override {
    {
      ScopedCacheSwitch off("0");
      plainDb.Connect(plain);
    }
    cachedDb.Connect(cached);
  }

  // Runs the text through the same role on both sides; the outcomes must match.
  void Run(const UString& text, bool auxiliary = false) {
    UString& last = auxiliary ? lastAux : lastDest;
    if (text != last) ++textChanges;  // without the cache, what a query prepares
    last = text;
    std::string a = Outcome(auxiliary ? plainAux : plainDest, text);
    std::string b = Outcome(auxiliary ? cachedAux : cachedDest, text);
    EXPECT_EQ(a, b) << U8(text);
    outcomes.push_back(a);
    ++statements;
  }

  void ExpectSameTables(std::initializer_list<const char16_t*> tables) {
    plain.DefaultTransaction().Commit();
    cached.DefaultTransaction().Commit();
    for (const char16_t* t : tables) {
      SCOPED_TRACE(U8(t));
      std::vector<std::string> a = Dump(plain, t), b = Dump(cached, t);
      EXPECT_EQ(a.size(), b.size());
      for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) EXPECT_EQ(a[i], b[i]);
    }
  }

  // The literal side prepared every text; the cached side a few shapes, plus the texts
  // that had to run as they are.
  void ExpectFewPrepares(unsigned atMost) {
    EXPECT_EQ(plainDest.PrepareCount() + plainAux.PrepareCount(), textChanges);
    EXPECT_LE(cachedDest.PrepareCount() + cachedAux.PrepareCount(), atMost);
  }

  int Count(const std::string& outcomePrefix) const {
    int n = 0;
    for (const std::string& o : outcomes) n += o.rfind(outcomePrefix, 0) == 0;
    return n;
  }

  TestDatabase plainDb = Fresh("diff-plain"), cachedDb = Fresh("diff-cached");
  Database plain, cached;
  Query plainDest{plain}, plainAux{plain}, cachedDest{cached}, cachedAux{cached};
  unsigned statements = 0, textChanges = 0;
  UString lastDest, lastAux;
  std::vector<std::string> outcomes;
};

class Differential : public DifferentialOf<1> {};
class Differential3 : public DifferentialOf<3> {};

// --- The customer insert: every value a quoted text, two double-quoted constants ---

struct Customer {
  // The 48 values in the order of the column list, LimiteCredito written unquoted.
  std::vector<UString> v = std::vector<UString>(48);
  UString nascimento, ultAlteracao = u"21.05.2024", cadastro = u"21.05.2024";
};

// The record's own builder, so that the texts tried are those a conversion writes.
UString CustomerInsert(const Customer& c) {
  return TConverteCliente::SqlInsere(c.v, c.nascimento, c.ultAlteracao, c.cadastro, u"S", u"N");
}

Customer BaseCustomer(int code) {
  Customer c;
  c.v[0] = Zero(code, 8);
  c.v[1] = u"CLIENTE " + IntToU(code);
  c.v[10] = u"F";
  c.v[45] = u"0";
  return c;
}

}  // namespace

TEST_F(Differential, CustomerInserts) {
  struct Case { const char* what; int field; UString value; };
  const Case cases[] = {
      {"apostrophe", 1, u"D'AVILA & O''NEIL"},
      {"accents", 3, u"RUA AÇÃO, Nº 5 - SÃO JOÃO ÉÊÍÓÔÕÚÇ"},
      {"full column", 1, UString(60, u'N')},
      {"one longer than the column", 1, UString(61, u'N')},
      {"state one longer", 6, u"SPX"},
      {"trailing blanks beyond the column", 6, u"SP    "},
      {"double quote inside", 25, u"diz \"oi\""},
      {"empty name", 1, u""},
      {"observation of 200", 25, UString(199, u'x') + u"é"},
      {"observation of 201", 25, UString(201, u'x')},
      {"credit limit", 45, u"1234.5"},
      {"negative credit limit", 45, u"-0.01"},
      {"credit limit with an exponent", 45, u"1.5E-5"},
      {"credit limit of 15 digits", 45, u"123456789012345"},
      {"credit limit as text", 45, u"'12,5'"},
      {"empty credit limit", 45, u"''"},
  };
  int code = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Customer cu = BaseCustomer(code++);
    cu.v[static_cast<std::size_t>(c.field)] = c.value;
    Run(CustomerInsert(cu));
  }
  struct DateCase { const char* what; UString nascimento, cadastro; };
  const DateCase dates[] = {
      {"birth date", u"25.12.1980", u"01.02.2003"},
      {"no birth date", u"", u"29.02.2024"},
      {"impossible date", u"31.02.2013", u"01.01.2000"},
      {"letters", u"", u"ABC"},
      {"empty date", u"", u""},
      {"year 1 and 9999", u"01.01.0001", u"31.12.9999"},
      {"date and time", u"", u"21.05.2013 10:30:15"},
  };
  for (const DateCase& d : dates) {
    SCOPED_TRACE(d.what);
    Customer cu = BaseCustomer(code++);
    cu.nascimento = d.nascimento;
    cu.cadastro = d.cadastro;
    Run(CustomerInsert(cu));
  }
  Run(CustomerInsert(BaseCustomer(1)));  // the key is taken
  ExpectSameTables({u"CLIENTE"});
  EXPECT_GE(Count("error"), 8);
  EXPECT_GE(Count("ok"), 12);
  ExpectFewPrepares(12);
}

namespace {

// --- The product insert: quoted texts, numbers in general form, 'dd.mm.yyyy' dates --

// A double as the converters write it: at most 15 significant digits, an exponent
// only for very small or very large magnitudes, a point as the decimal separator.
UString General(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15G", v);
  std::string s(buf);
  auto e = s.find('E');
  if (e != std::string::npos) s = s.substr(0, e) + "E" + std::to_string(std::atoi(s.c_str() + e + 1));
  return Utf8ToU(s);
}

struct Column {
  UString name;
  enum Kind { Text, Number, Integer, Date } kind;
  int length;
};

// The product columns the converter writes, in the order of the table.
std::vector<Column> ProductColumns(Database& db) {
  Query q(db);
  q.SetSQL(u"SELECT TRIM(RF.RDB$FIELD_NAME) AS NAME, F.RDB$FIELD_TYPE AS TYP, F.RDB$CHARACTER_LENGTH AS LEN "
           u"FROM RDB$RELATION_FIELDS RF JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE "
           u"WHERE RF.RDB$RELATION_NAME = 'PRODUTO' ORDER BY RF.RDB$FIELD_POSITION");
  q.Open();
  std::vector<Column> cols;
  for (; !q.Eof(); q.Next()) {
    UString n = q.FieldAsText(u"NAME");
    if (n == u"CODBARRA" || n == u"NCM_EXTIPI" || n == u"PESOBRUTO" || n == u"DT_INCLUSAO") continue;
    int t = static_cast<int>(q.FieldAsInteger(u"TYP"));
    Column::Kind k = t == 27 ? Column::Number : t == 8 ? Column::Integer : t == 35 ? Column::Date : Column::Text;
    cols.push_back({n, k, k == Column::Text ? static_cast<int>(q.FieldAsInteger(u"LEN")) : 0});
  }
  return cols;
}

// Values for one product row; an empty optional date leaves its column out. About
// one row in twenty has a text one longer than its column.
std::vector<UString> RandomProduct(const std::vector<Column>& cols, int row, std::mt19937& rng) {
  static const UString words[] = {u"PARAFUSO", u"D'ÁGUA", u"AÇÃO", u"peça única", u"O''BRIEN", u"", u"x", u"Ñ ü ç"};
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  const int tooLong = pick(20) == 0 ? pick(static_cast<int>(cols.size())) : -1;
  std::vector<UString> v;
  for (const Column& c : cols) {
    switch (c.kind) {
      case Column::Text: {
        UString s = pick(4) ? words[pick(8)] : UString(static_cast<std::size_t>(c.length), u'Z');
        v.push_back(static_cast<int>(v.size()) == tooLong ? UString(static_cast<std::size_t>(c.length) + 1, u'Y')
                                                           : LeftU(s, c.length));
        break;
      }
      case Column::Number: {
        double d;
        switch (pick(8)) {
          case 0: d = pick(100000) / 100.0; break;
          case 1: d = -pick(100000) / 1000.0; break;
          case 2: d = std::ldexp(static_cast<double>(rng()), -pick(80)); break;  // tiny and exponent forms
          case 3: d = static_cast<double>(rng()) * static_cast<double>(rng()) * (pick(2) ? 1 : -1e6); break;
          case 4: d = 123456789012345.0 - pick(1000); break;
          case 5: d = 1e20 * (pick(2) ? 1 : -1); break;
          case 6: d = std::uniform_real_distribution<double>(-1e7, 1e7)(rng); break;
          default: d = pick(3); break;
        }
        v.push_back(General(d));
        break;
      }
      case Column::Integer: v.push_back(IntToU(pick(3) ? pick(100) : -pick(2147483647))); break;
      case Column::Date:
        // The 31st of a short month fails, as a literal too.
        v.push_back(pick(3) == 0 ? UString() : Zero(1 + pick(31), 2) + u"." + Zero(1 + pick(12), 2) + u"." +
                                                   Zero(1900 + pick(200), 4));
        break;
    }
  }
  v[0] = Zero(row, 6);
  return v;
}

// The product insert of these values: the dates (and the registration date, any
// text) only when given.
UString ProductInsert(const std::vector<Column>& cols, const std::vector<UString>& v) {
  UString head = u"Insert Into Produto (", fixedTail, values = u" Values ( ", optCols, optVals, tailVals;
  bool afterDates = false;
  std::size_t lastFixed = 0;
  for (std::size_t i = 0; i < cols.size(); ++i)
    if (cols[i].kind != Column::Date) lastFixed = i;
  for (std::size_t i = 0; i < cols.size(); ++i) {
    const Column& c = cols[i];
    UString lit = c.kind == Column::Text || c.kind == Column::Date ? Q(v[i]) : v[i];
    if (c.kind == Column::Date) {
      afterDates = true;
      if (v[i].empty()) continue;
      optCols += u"Produto." + c.name + u", ";
      optVals += lit + u",";
    } else if (!afterDates) {
      head += u"Produto." + c.name + u",";
      values += lit + u", ";
    } else {
      bool last = i == lastFixed;
      fixedTail += u"Produto." + c.name + (last ? u")" : u",");
      tailVals += lit + (last ? u"" : u", ");
    }
  }
  return head + optCols + fixedTail + values + optVals + tailVals + u") ";
}

}  // namespace

// Many product rows of a real shop's mix, a few of them failing on a value.
TEST_F(Differential, ProductInserts) {
  const std::vector<Column> cols = ProductColumns(plain);
  ASSERT_GE(cols.size(), 100u);
  std::mt19937 rng(20240521);
  for (int row = 1; row <= 400; ++row) Run(ProductInsert(cols, RandomProduct(cols, row, rng)));
  // The registration date is written as the record holds it, whatever it is.
  std::vector<UString> v = RandomProduct(cols, 401, rng);
  for (std::size_t i = 0; i < cols.size(); ++i) {
    if (cols[i].kind == Column::Text) v[i] = LeftU(v[i], 1);
    if (cols[i].kind == Column::Date) v[i] = u"";
  }
  for (const char16_t* cadastro : {u"21/05/2013", u"2013-05-21", u"21.05.2013 10:00", u"hoje", u" "}) {
    std::vector<UString> w = v;
    w[0] = Zero(402 + static_cast<long long>(statements), 6);
    for (std::size_t i = 0; i < cols.size(); ++i)
      if (cols[i].name == u"DT_CADASTRO") w[i] = cadastro;
    Run(ProductInsert(cols, w));
  }
  ExpectSameTables({u"PRODUTO"});
  EXPECT_GE(Count("ok"), 100);
  EXPECT_GE(Count("error"), 20);
  // Each combination of present dates is a shape; a text one too long runs as it is.
  EXPECT_LE(cachedDest.PrepareCount(), 16u + static_cast<unsigned>(Count("error")));
  EXPECT_EQ(plainDest.PrepareCount(), statements);
}

// The city lookups, the cities created and the revenue-nature upsert.
TEST_F(Differential, LookupsAndUpserts) {
  const char16_t* cities[][3] = {{u"00001", u"SãO PAULO", u"SP"},  {u"00002", u"BELO HORIZONTE", u"MG"},
                                 {u"00003", u"PAU D'ALHO", u"PE"}, {u"00004", u"BHTE", u"MG"},
                                 {u"00005", u"", u""},             {u"00006", u"SEM ESTADO", u"S"}};
  for (auto& c : cities)
    Run(u" INSERT INTO CIDADES (CODCIDADE, CIDADE, CODMUNICIPIO, ESTADO) VALUES (" + Q(c[0]) + u", " + Q(c[1]) +
        u", '', " + Q(c[2]) + u") ");
  const UString sixty(60, u'C'), sixtyOne(61, u'C');
  Run(u" INSERT INTO CIDADES (CODCIDADE, CIDADE, CODMUNICIPIO, ESTADO) VALUES ('00007', " + Q(sixty) + u", '', 'RJ') ");
  const std::size_t firstLookup = outcomes.size();
  const UString lookups[][2] = {
      {u"SãO PAULO", u"SP"},  {u"SÃO PAULO", u"SP"},  {u"SãO PAULO", u"sp"},   {u"PAU D'ALHO", u"PE"},
      {u"BELO HORIZONTE", u"MG"}, {u"", u""},        {sixty, u"RJ"},          {sixtyOne, u"RJ"},
      {u"SãO PAULO", u"SPX"}, {u"SãO PAULO ", u"SP"}, {u" SãO PAULO", u"SP"}, {u"NOVA", u"SP"},
  };
  for (const auto& l : lookups) {
    Run(u" SELECT CODCIDADE FROM CIDADES WHERE CIDADE = " + Q(l[0]) + u" AND ESTADO = " + Q(l[1]), true);
    Run(u"SELECT CODCIDADE FROM CIDADES WHERE CIDADE = " + Q(l[0]) + u" AND ESTADO = " + Q(l[1]), true);
  }
  EXPECT_EQ(outcomes[firstLookup], "rows:00001|;");
  EXPECT_EQ(outcomes[firstLookup + 2 * 6], "rows:00007|;");  // the 60-letter city is found
  EXPECT_EQ(outcomes[firstLookup + 2 * 7], "rows:");         // a 61-letter name finds none, with no error
  Run(u" SELECT CODCIDADE FROM CIDADES WHERE CIDADE = 'BELO HORIZONTE' ", true);
  Run(u" SELECT MAX(CODCIDADE) AS CODCIDADE FROM CIDADES ", true);
  for (int i = 0; i < 3; ++i)
    Run(u"UPDATE OR INSERT INTO NATRECEITA (ID, CODRECEITA, DESCRECEITA) VALUES (1, 999,\"OUTRAS RECEITAS\")");
  // Keys that are not exactly the column's type are matched as the literal is.
  Run(u"UPDATE OR INSERT INTO NATRECEITA (ID, CODRECEITA, DESCRECEITA) VALUES (1.4, 5,\"X\")");
  Run(u"UPDATE OR INSERT INTO NATRECEITA (ID, CODRECEITA, DESCRECEITA) VALUES ('1', 6,\"Y\")");
  Run(u"UPDATE OR INSERT INTO NATRECEITA (ID, CODRECEITA, DESCRECEITA) VALUES (2, 7," + Q(UString(101, u'D')) + u")");
  ExpectSameTables({u"CIDADES", u"NATRECEITA"});
  ExpectFewPrepares(13);
}

// One value at a time where a parameter could differ from the literal: empty texts
// into other types, numbers into texts, decimals into integers, values beyond the
// column or the type, comparisons of mixed types.
TEST_F(Differential, EdgeValues) {
  const UString natreceita = u"INSERT INTO NATRECEITA (ID, CODRECEITA, DESCRECEITA) VALUES (";
  const char16_t* natValues[] = {
      u"2, '', 'x'",         u"3, 2.5, 'x'",         u"4, -2.5, 'x'",         u"5, 1e3, \"dq\"",
      u"6, 2147483648, 'x'", u"7, -2147483648, 'x'", u"8, '12', 'x'",         u"9, ' 12 ', 'x'",
      u"10, 0012, ''",       u"11, +7, 'x'",         u"12, 999, 'a''b''''c'", u"13, 1.5E308, 'x'",
      u"14, -0.0, 'x'",      u"15, .5, 'x'",         u"16, 5., 'x'",          u"17, 12345678901234567890, 'x'",
      u"18, 0.49999999999999999, 'x'", u"19, '1e2', 'x'", u"20, '2,5', 'x'", u"21, 7, '   '",
  };
  for (const char16_t* v : natValues) Run(natreceita + v + u")");
  const UString unidades = u"INSERT INTO UNIDADES (UNIDADE, DESCRICAO) VALUES (";
  const char16_t* unitValues[] = {
      u"'', ''",   u"'UN', 'é'",  u"123, 'num'",          u"1.5, 'x'",    u"1e2, 'x'",
      u"-7, 'x'",  u"'ABCDEFG', 'seven'", u"'ABCDE   ', 'blanks'", u"'AB  ', 'blanks inside'",
      u"'Ç€Œ', 'win1252'",
  };
  for (const char16_t* v : unitValues) Run(unidades + v + u")");
  const UString prices =
      u"INSERT INTO COMPPROD (CODPROD, CODEMPRESA, CODGRADE, PRECOCUSTO, PRECOMEDIO, ESTOQUE) VALUES (";
  const char16_t* priceValues[] = {
      u"'000001', '00', '0000', 0.1, 0.30000000000000004, 1e-7",
      u"'000002', '00', '0000', 123456789012345, 1234567890123456, 99999999999999999999",
      u"'000003', '00', '0000', -1.7976931348623157E308, 4.9E-324, 2.2250738585072014E-308",
      u"'000004', '00', '0000', '12.5', '', 0",
      u"'000005', '00', '0000', 1, 12.345678901234567890123, -0",
      u"'000006', '00', '0000', 1E400, 0, 0",
  };
  for (const char16_t* v : priceValues) Run(prices + v + u")");
  const char16_t* others[] = {
      u"SELECT ID FROM NATRECEITA WHERE CODRECEITA = 2.5",
      u"SELECT ID FROM NATRECEITA WHERE CODRECEITA = 3",
      u"SELECT ID FROM NATRECEITA WHERE CODRECEITA = 3.0",
      u"SELECT ID FROM NATRECEITA WHERE CODRECEITA = '3'",
      u"SELECT ID FROM NATRECEITA WHERE CODRECEITA = 99999999999",
      u"SELECT ID FROM NATRECEITA WHERE CODRECEITA >= -2147483648 ORDER BY 1",
      u"SELECT ID FROM NATRECEITA WHERE DESCRECEITA = 'a''b''''c'",
      u"SELECT UNIDADE FROM UNIDADES WHERE UNIDADE = 'UNXXXXX'",
      u"SELECT UNIDADE FROM UNIDADES WHERE UNIDADE = 123",
      u"SELECT UNIDADE FROM UNIDADES WHERE UNIDADE = 'ABCDE   '",
      u"SELECT UNIDADE FROM UNIDADES WHERE UNIDADE < 'B' ORDER BY 1",
      u"SELECT CODPROD FROM COMPPROD WHERE PRECOCUSTO = 0.1",
      u"SELECT CODPROD FROM COMPPROD WHERE PRECOCUSTO = 1",
      u"SELECT CODPROD FROM COMPPROD WHERE ESTOQUE = 1E-7",
      u"UPDATE NATRECEITA SET DESCRECEITA = 'novo''', CODRECEITA = -1 WHERE ID = 3",
      u"UPDATE NATRECEITA SET CODRECEITA = 'abc' WHERE ID = 3",
      u"UPDATE NATRECEITA SET NATRECEITA.CST = '1234' WHERE ID = 4",
      u"UPDATE COMPPROD SET PRECONF = 1.5E-5, DIFICMS = -3 WHERE CODPROD = '000001' AND CODEMPRESA = '00'",
      u"DELETE FROM UNIDADES WHERE UNIDADE = 'UN'",
      u"DELETE FROM UNIDADES WHERE UNIDADE = 'UNIDADE GRANDE'",
  };
  for (const char16_t* t : others) Run(t);
  ExpectSameTables({u"NATRECEITA", u"UNIDADES", u"COMPPROD"});
  EXPECT_GE(Count("error"), 8);
}

// In dialect 3 a number with a point is an exact decimal, and scaled integer columns
// compare exactly: a literal with more decimals than the column, or beyond its type,
// finds nothing where a parameter would be rounded or overflow.
TEST_F(Differential3, ExactNumbersAndComparisons) {
  for (Database* db : {&plain, &cached}) {
    Query q(*db);
    q.SetSQL(u"CREATE TABLE D3 (ID INTEGER NOT NULL PRIMARY KEY, S SMALLINT, N NUMERIC(9,2), B BIGINT, "
             u"M NUMERIC(18,4), D DOUBLE PRECISION, V VARCHAR(5), C CHAR(3), DT DATE, \"q\" VARCHAR(2))");
    q.ExecSQL();
    db->DefaultTransaction().Commit();
  }
  const UString insert = u"INSERT INTO D3 (ID, S, N, B, M, D, V, C, DT) VALUES (";
  const char16_t* values[] = {
      u"1, 5, 12.345, 9223372036854775807, 1.23456, 0.1, 'abc', 'ab', '2020-01-01'",
      u"2, 1.5, -12.355, -9223372036854775808, 12345678901234.5678, 1e-3, '', '', '2020-02-30'",
      u"3, 32768, 1, 1, 1, 1, 'x', 'x', '2020-01-01'",
      u"4, 2, 123456789012.34, 1, 1, 1, 'x', 'x', '2020-01-01'",
      u"5, 2, 0.005, 2.5, 5., .5, 'x', 'abcd', '2020-01-01'",
  };
  for (const char16_t* v : values) Run(insert + v + u")");
  const char16_t* others[] = {
      u"SELECT ID FROM D3 WHERE N = 12.345",
      u"SELECT ID FROM D3 WHERE N = 12.35",
      u"SELECT ID FROM D3 WHERE N = 12.350",
      u"SELECT ID FROM D3 WHERE S = 100000",
      u"SELECT ID FROM D3 WHERE S = 5",
      u"SELECT ID FROM D3 WHERE B = 9223372036854775807",
      u"SELECT ID FROM D3 WHERE M = 1.23456",
      u"SELECT ID FROM D3 WHERE M = 1.2346",
      u"SELECT ID FROM D3 WHERE D = 0.1",
      u"SELECT ID FROM D3 WHERE D = 1e-1",
      u"SELECT ID FROM D3 WHERE V = 'abcdef'",
      u"SELECT ID FROM D3 WHERE C = 'ab '",
      u"SELECT ID FROM D3 WHERE DT = '2020-01-01' ORDER BY 1",
      u"SELECT \"ID\" FROM D3 WHERE \"V\" = 'abc'",
      u"UPDATE D3 SET \"q\" = 'xyz' WHERE ID = 1",
      u"UPDATE D3 SET N = 99.999, \"q\" = 'ok' WHERE ID = 1",
  };
  for (const char16_t* t : others) Run(t);
  ExpectSameTables({u"D3"});
  EXPECT_GE(Count("error"), 3);
}
