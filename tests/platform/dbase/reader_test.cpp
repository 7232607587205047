// The dBase reader on tables written by python3-dbf (and byte patches checked with
// python3-dbfread): field types, nulls, memos, header versions, damaged files.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/DateTime.h"
#include "platform/Error.h"
#include "platform/Regional.h"
#include "tests/platform/dbase/Fixtures.h"

using namespace dbftest;

namespace {

std::string repeat(const std::string& s, int n) {
  std::string r;
  for (int i = 0; i < n; ++i) r += s;
  return r;
}

std::string memoTipos() {
  std::string m;
  for (int i = 1; i <= 30; ++i) m += "Linha de observação número " + std::to_string(100 + i).substr(1) + "\r\n";
  return m;
}

const Columns kTipos = {u"NOME", u"QTD", u"PRECO", u"TAXA", u"DIA", u"ATIVO", u"OBS"};
const Columns kVfp = {u"NOME", u"QTD", u"PRECO", u"VALOR", u"QUANDO", u"DIA", u"OK", u"OBS", u"NUM"};

}  // namespace

TEST(DbfTypes, EveryFieldTypeAndMemoLayoutReadsAsText) {
  const struct { const char* table; Columns cols; Strings rows; } cases[] = {
      // dBase III, memo of three 512-byte .dbt blocks; the deleted record is no row.
      {"TIPOS", kTipos, {"Ação Ímpar|42|12,5|0,125|21/05/2013|True|" + memoTipos(), "  Espaço à esquerda|-3|-0,5||||",
                         "|0|1000|0|30/12/1899|False|curto"}},
      // Visual FoxPro: integer, double, currency, date-time, memo in .fpt; a row all null.
      {"VFP", kVfp, {"Ação|42|1,5|12,3456|21/05/2013 18:30:15|21/05/2013|True|memo visual ção|12,5", "||||||||",
                     "Negativo|-7|-2,25|-0,0001|21/05/2013|30/12/1899|False||-0,5",
                     "Grande|2147483646|1E20|123456789,1234|01/01/1900 00:00:01|31/12/9999|True|x|0"}},
      // A date-time field holds the days a date field holds.
      {"ANO1", {u"DIA", u"QUANDO"}, {"01/01/0001|01/01/0001", "31/12/9999|31/12/9999 23:59:59"}},
      // _NullFlags bits count only the nullable fields.
      {"VFPMISTO", {u"A", u"B", u"C", u"D"}, {"x||c|1", "y|5||2", "z|6|cc|3"}},
      {"FOX", {u"NOME", u"OBS", u"V"}, {"Açúcar|" + repeat("memo da raposa ção ", 60) + "|1,25", "Vazio||"}},
      {"DB4", {u"COD", u"OBS"}, {"1|Memória dBase IV ção", "2|", "3|" + repeat("Bloco longo ção ", 45)}},
      // Clipper's soft return (0x8D 0x0A) is a line break; a lone 0x8D is ì.
      {"SOFT", {u"OBS"}, {"linha1\r\nlinha2 ìndio"}},
      // 300 bytes: the high byte of the length in the decimals byte.
      {"CLIPPER", {u"LONGO", u"COD"}, {std::string(299, 'x') + "y|c1", "curto|c2", std::string(299, 'x') + "a|c3"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.table);
    auto q = Open(Dir(), SelectSql(c.table, c.cols));
    EXPECT_EQ(q->RecordCount(), static_cast<int>(c.rows.size()));
    EXPECT_EQ(Rows(*q, c.cols), c.rows);
  }
}

TEST(DbfTypes, TextReadsFollowTheQuerysRegionalSettings) {
  FormatSettings us;
  us.ShortDateFormat = u"yyyy-mm-dd";
  us.DateSeparator = u'-';
  us.DecimalSeparator = u'.';
  EXPECT_EQ(Select(Dir(), "tipos", {u"preco", u"dia"}, us), (Strings{"12.5|2013-05-21", "-0.5|", "1000|1899-12-30"}));
}

TEST(DbfTypes, DoubleAndDateTimeReads) {
  auto t = Open(Dir(), SelectSql("TIPOS", kTipos));
  EXPECT_DOUBLE_EQ(t->FieldAsDouble(u"PRECO"), 12.5);
  EXPECT_DOUBLE_EQ(t->FieldAsDouble(u"TAXA"), 0.125);
  EXPECT_EQ(t->FieldAsDateTime(u"DIA"), EncodeDate(2013, 5, 21));
  EXPECT_DOUBLE_EQ(t->FieldAsDouble(u"ATIVO"), 1);
  t->Next();
  EXPECT_EQ(t->RecNo(), 2);  // past the deleted record
  auto v = Open(Dir(), SelectSql("VFP", kVfp));
  EXPECT_NEAR(v->FieldAsDateTime(u"QUANDO"), 41415.0 + (18 * 3600 + 30 * 60 + 15) / 86400.0, 1e-9);
  EXPECT_DOUBLE_EQ(v->FieldAsDouble(u"VALOR"), 12.3456);
  EXPECT_DOUBLE_EQ(v->FieldAsDouble(u"QTD"), 42);
}

TEST(DbfTypes, NullsReadAsEmptyTextZeroAndTheZeroDay) {
  const struct { const char* table; int row; Columns nulls, values; } cases[] = {
      {"TIPOS", 1, {}, {u"NOME"}},
      {"TIPOS", 2, {u"TAXA", u"DIA", u"ATIVO", u"OBS"}, {u"NOME", u"QTD"}},
      {"TIPOS", 3, {u"NOME"}, {u"DIA"}},                     // all blanks; 18991230 is a date
      {"VALORES", 2, {u"VAL", u"DIA", u"N18"}, {u"COD"}},    // asterisks, a zero date, blanks
      {"VFP", 2, kVfp, {}},                                   // _NullFlags
      {"VFPMISTO", 1, {u"B"}, {u"A", u"C", u"D"}},
      {"VFPMISTO", 2, {u"C"}, {u"B"}},
      {"FOX", 2, {u"OBS", u"V"}, {u"NOME"}},
      {"DB4", 2, {u"OBS"}, {u"COD"}},
      {"SEMMEMO", 2, {u"OBS"}, {u"COD"}},  // a blank pointer needs no memo file
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.table) + " row " + std::to_string(c.row));
    Columns all = c.nulls;
    all.insert(all.end(), c.values.begin(), c.values.end());
    auto q = Open(Dir(), SelectSql(c.table, all));
    At(*q, c.row);
    for (const UString& col : c.nulls) {
      SCOPED_TRACE(S(col));
      EXPECT_TRUE(q->FieldIsNull(col));
      EXPECT_EQ(q->FieldAsText(col), u"");
      EXPECT_EQ(q->FieldAsDouble(col), 0);
      EXPECT_EQ(q->FieldAsDateTime(col), 0);
    }
    for (const UString& col : c.values) EXPECT_FALSE(q->FieldIsNull(col)) << S(col);
  }
}

TEST(DbfTypes, NumbersAreReadOnTheirDigits) {
  auto q = Open(Dir(), u"SELECT VAL, N18 FROM VALORES");
  ASSERT_EQ(q->RecordCount(), 7);
  const struct { int row; const char *val, *n18; } cases[] = {
      {1, "1,5", "123456789012345678"},  // 18 digits, exact
      {4, "3", "123456789012345677"},
      {5, "1,5", "12"},    // "    1,50" and "  00012"
      {6, "0", "7"},       // "-0.00" and "+7"
      {7, "1500", "-0,5"},  // "1.5E+03" and "-000000000000.50"
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    At(*q, c.row);
    EXPECT_EQ(S(q->FieldAsText(u"VAL")), c.val);
    EXPECT_EQ(S(q->FieldAsText(u"N18")), c.n18);
  }
  At(*q, 5);
  EXPECT_DOUBLE_EQ(q->FieldAsDouble(u"VAL"), 1.5);
}

// A cell that cannot be read fails every read of it with an error naming what is
// wrong and where; the other columns of the row still read.
TEST(DbfTypes, ACellThatCannotBeReadNamesTableColumnAndRecord) {
  struct Case {
    const char* table;
    int row;
    const char16_t *good, *goodText, *bad;
    std::vector<const char*> says;
  };
  const Case cases[] = {
      {"VALORES", 3, u"COD", u"C", u"VAL", {"tabela \"VALORES\"", "coluna \"VAL\"", "registro 3", "12X4"}},
      {"VALORES", 4, u"COD", u"D", u"DIA", {"coluna \"DIA\", registro 4", "19940231"}},
      {"TIPOX", 1, u"COD", u"A", u"ESTRANHO", {"tipo de campo \"W\"", "coluna \"ESTRANHO\""}},
      {"SEMMEMO", 1, u"COD", u"1", u"OBS", {"arquivo de memo"}},
      {"MEMORUIM", 1, u"COD", u"1", u"OBS", {"bloco 9999"}},
      // The file ends inside the last record: the row is there, its last column is not.
      {"CURTO", 10, u"COD", u"R10", u"VAL", {"registro 10 da tabela \"CURTO\" está incompleto", "\"VAL\""}},
      {"ANO0", 1, u"DIA", u"01/01/2000", u"QUANDO", {"coluna \"QUANDO\", registro 1", "dia juliano fora do calendário (1721425)"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.table);
    auto q = Open(Dir(), SelectSql(c.table, {c.good, c.bad}));
    At(*q, c.row);
    EXPECT_EQ(q->FieldAsText(c.good), c.goodText);
    EXPECT_TRUE(Says(ErrorOf([&] { q->FieldAsText(c.bad); }), c.says));
    EXPECT_TRUE(Says(ErrorOf([&] { q->FieldAsDouble(c.bad); }), c.says));
    EXPECT_TRUE(Says(ErrorOf([&] { q->FieldAsDateTime(c.bad); }), c.says));
    EXPECT_TRUE(Says(ErrorOf([&] { q->FieldIsNull(c.bad); }), c.says));
  }
  // A WHERE or ORDER BY over the garbage stops at Open, naming the record too.
  EXPECT_TRUE(Says(OpenError(Dir(), u"SELECT COD FROM VALORES WHERE VAL = \"2\""), {"registro 3"}));
  EXPECT_TRUE(Says(OpenError(Dir(), u"SELECT COD FROM VALORES ORDER BY VAL"), {"registro 3"}));
  // Beyond the range of a double: an error as a double, never 0; its digits as text.
  auto big = Open(Dir(), u"SELECT COD, VAL FROM ENORME ORDER BY VAL");
  EXPECT_EQ(S(big->FieldAsText(u"COD")), "B");
  big->Next();
  EXPECT_EQ(big->FieldAsText(u"VAL").size(), 310u);
  EXPECT_TRUE(Says(ErrorOf([&] { big->FieldAsDouble(u"VAL"); }), {"coluna \"VAL\"", "registro 1"}));
  // The system field is not a column.
  EXPECT_TRUE(Says(OpenError(Dir(), u"SELECT _NullFlags FROM VFP"), {"não existe"}));
}

TEST(DbfHeader, EveryVersionByteOfTheField) {
  for (const char* t : {"V02", "VFB", "V43", "V63", "VCB", "V8B", "V30", "V31", "V32", "VF5", "V83", "SEM0D", "EXTRA00"})
    EXPECT_EQ(Select(Dir(), t, {u"COD", u"VAL"}), (Strings{"A|1,5", "B|2"})) << t;
}

TEST(DbfHeader, EndMarkTrailingBytesAndAShortLastRecordAreTolerated) {
  for (const char* t : {"BASE10", "SEM1A", "LIXOFIM", "CURTO"}) {
    auto q = Open(Dir(), SelectSql(t, {u"COD"}));
    EXPECT_EQ(q->RecordCount(), 10) << t;
    q->Last();
    EXPECT_EQ(q->FieldAsText(u"COD"), u"R10") << t;
  }
  // A header count below the records in the file: the header rules.
  EXPECT_EQ(Open(Dir(), u"SELECT COD FROM OITO")->RecordCount(), 8);
}

TEST(DbfHeader, ARecordCountTheFileCannotHoldIsAnError) {
  const struct { const char* table; std::vector<const char*> says; } cases[] = {
      {"CORTADO", {"truncada ou tem cabeçalho errado", "indica 10 registros", "só comporta 5"}},
      {"MAIS1", {"truncada ou tem cabeçalho errado"}},
      {"MIL", {"truncada ou tem cabeçalho errado"}},
      {"MARCA1A", {"termina no registro 6"}},
      {"MARCARUIM", {"marca de registro inválida (0x58) no registro 3"}},
      {"TEXTO", {"não é uma tabela dBase"}},
  };
  for (const auto& c : cases) {
    const std::string e = OpenError(Dir(), SelectSql(c.table, {u"COD"}));
    EXPECT_TRUE(Says(e, c.says)) << c.table;
    EXPECT_TRUE(Says(e, {("tabela \"" + std::string(c.table) + "\"").c_str()}));
  }
}

// Every way of cutting a table or its memo file ends in rows or an ESourceError:
// never a crash, never more rows than the file has.
TEST(DbfHeader, CutAtEveryLengthNeverCrashes) {
  namespace fs = std::filesystem;
  const std::string dir = Dir() + "/cortes";
  fs::create_directories(dir);
  const struct { std::string table, memoExt; Columns cols; int rows; } cases[] = {
      {"TIPOS", ".DBT", kTipos, 3},
      {"VFP", ".FPT", kVfp, 4},
      {"DB4", ".DBT", {u"COD", u"OBS"}, 3},
      {"FOX", ".FPT", {u"NOME", u"OBS", u"V"}, 2},
  };
  for (const auto& c : cases) {
    const std::string from = Dir() + "/" + c.table, to = dir + "/CUT";
    const std::string exts[] = {".DBF", c.memoExt};
    for (const std::string& cut : exts) {
      for (std::uintmax_t n = 0; n < fs::file_size(from + cut); ++n) {
        for (const std::string& ext : exts) fs::copy_file(from + ext, to + ext, fs::copy_options::overwrite_existing);
        fs::resize_file(to + cut, n);
        try {
          auto q = Open(dir, SelectSql("CUT", c.cols));
          int rows = 0;
          for (; !q->Eof(); q->Next(), ++rows)
            for (const UString& col : c.cols) {
              try {
                q->FieldAsText(col);
                q->FieldIsNull(col);
              } catch (const ESourceError&) {
              }
            }
          EXPECT_LE(rows, c.rows) << c.table;
        } catch (const ESourceError&) {
        }
      }
    }
    fs::remove(to + c.memoExt);
  }
  fs::remove_all(dir);
}
