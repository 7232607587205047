// The dBase reader on tables written by python3-dbf (and byte patches checked with
// python3-dbfread): field types, nulls, memos, header versions, damaged files.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/Error.h"

#include "platform/DateTime.h"
#include "platform/Regional.h"
#include "tests/platform/dbase/Fixtures.h"

using namespace dbftest;

namespace {

std::string memoTipos() {
  std::string m;
  for (int i = 1; i <= 30; ++i) {
    char b[64];
    std::snprintf(b, sizeof b, "Linha de observação número %02d\r\n", i);
    m += b;
  }
  return m;
}

std::string repeat(const std::string& s, int n) {
  std::string r;
  for (int i = 0; i < n; ++i) r += s;
  return r;
}

}  // namespace

TEST(DbfTypes, DBaseIIIWithMemoAllTypesDeletedRecordsAndNulls) {
  auto q = Open(Dir(), u"SELECT NOME, QTD, PRECO, TAXA, DIA, ATIVO, OBS FROM TIPOS");
  ASSERT_EQ(q->RecordCount(), 3);  // the deleted record is not a row
  EXPECT_EQ(Rows(*q, {u"NOME", u"QTD", u"PRECO", u"TAXA", u"DIA", u"ATIVO"}),
            (std::vector<std::string>{"Ação Ímpar|42|12,5|0,125|21/05/2013|True",
                                      "  Espaço à esquerda|-3|-0,5|||",
                                      "|0|1000|0|30/12/1899|False"}));
  q->First();
  EXPECT_EQ(S(q->FieldAsText(u"OBS")), memoTipos());  // three 512-byte blocks
  EXPECT_DOUBLE_EQ(q->FieldAsDouble(u"PRECO"), 12.5);
  EXPECT_DOUBLE_EQ(q->FieldAsDouble(u"TAXA"), 0.125);
  EXPECT_EQ(q->FieldAsDateTime(u"DIA"), EncodeDate(2013, 5, 21));
  EXPECT_DOUBLE_EQ(q->FieldAsDouble(u"ATIVO"), 1);
  EXPECT_FALSE(q->FieldIsNull(u"NOME"));
  q->Next();
  EXPECT_EQ(q->RecNo(), 2);
  EXPECT_TRUE(q->FieldIsNull(u"TAXA"));
  EXPECT_TRUE(q->FieldIsNull(u"DIA"));
  EXPECT_TRUE(q->FieldIsNull(u"ATIVO"));
  EXPECT_TRUE(q->FieldIsNull(u"OBS"));
  EXPECT_EQ(q->FieldAsDouble(u"TAXA"), 0);
  EXPECT_EQ(q->FieldAsDateTime(u"DIA"), 0);  // 30/12/1899
  EXPECT_EQ(DateToStr(q->FieldAsDateTime(u"DIA")), u"30/12/1899");
  EXPECT_EQ(q->FieldAsText(u"OBS"), u"");
  q->Next();
  EXPECT_TRUE(q->FieldIsNull(u"NOME"));  // all blanks
  EXPECT_FALSE(q->FieldIsNull(u"DIA"));  // 18991230 is a date, not a null
  EXPECT_EQ(q->FieldAsText(u"OBS"), u"curto");
}

TEST(DbfTypes, TextReadsFollowTheRegionalSettingsInForce) {
  FormatSettings us;
  us.ShortDateFormat = u"yyyy-mm-dd";
  us.DateSeparator = u'-';
  us.DecimalSeparator = u'.';
  ScopedRegional r(us);
  auto q = Open(Dir(), u"select preco, dia from tipos");
  EXPECT_EQ(Rows(*q, {u"PRECO", u"DIA"}), (std::vector<std::string>{"12.5|2013-05-21", "-0.5|", "1000|1899-12-30"}));
}

TEST(DbfTypes, NumbersAreReadOnTheirDigits) {
  auto q = Open(Dir(), u"SELECT COD, VAL, DIA, N18 FROM VALORES");
  ASSERT_EQ(q->RecordCount(), 7);
  EXPECT_EQ(S(q->FieldAsText(u"N18")), "123456789012345678");  // 18 digits, exact
  EXPECT_EQ(S(q->FieldAsText(u"VAL")), "1,5");
  q->Next();  // asterisks and a zero date are nulls
  EXPECT_TRUE(q->FieldIsNull(u"VAL"));
  EXPECT_EQ(q->FieldAsText(u"VAL"), u"");
  EXPECT_EQ(q->FieldAsDouble(u"VAL"), 0);
  EXPECT_TRUE(q->FieldIsNull(u"DIA"));
  EXPECT_EQ(q->FieldAsDateTime(u"DIA"), 0);
  EXPECT_TRUE(q->FieldIsNull(u"N18"));
  q->Next();
  q->Next();
  q->Next();  // "    1,50" and "  00012"
  EXPECT_EQ(S(q->FieldAsText(u"VAL")), "1,5");
  EXPECT_DOUBLE_EQ(q->FieldAsDouble(u"VAL"), 1.5);
  EXPECT_EQ(S(q->FieldAsText(u"N18")), "12");
  q->Next();  // "-0.00" and "+7"
  EXPECT_EQ(S(q->FieldAsText(u"VAL")), "0");
  EXPECT_EQ(S(q->FieldAsText(u"N18")), "7");
  q->Next();  // "1.5E+03" and "-000000000000.50"
  EXPECT_EQ(S(q->FieldAsText(u"VAL")), "1500");
  EXPECT_EQ(S(q->FieldAsText(u"N18")), "-0,5");
}

TEST(DbfTypes, AValueThatDoesNotConvertNamesTableColumnAndRecord) {
  auto q = Open(Dir(), u"SELECT COD, VAL, DIA FROM VALORES");
  q->Next();
  q->Next();
  EXPECT_EQ(q->FieldAsText(u"COD"), u"C");  // the rest of the row reads
  const std::string e = ErrorOf([&] { q->FieldAsText(u"VAL"); });
  EXPECT_NE(e.find("tabela \"VALORES\""), std::string::npos) << e;
  EXPECT_NE(e.find("coluna \"VAL\""), std::string::npos) << e;
  EXPECT_NE(e.find("registro 3"), std::string::npos) << e;
  EXPECT_NE(e.find("12X4"), std::string::npos) << e;
  EXPECT_NE(ErrorOf([&] { q->FieldAsDouble(u"VAL"); }), "");
  EXPECT_NE(ErrorOf([&] { q->FieldIsNull(u"VAL"); }), "");
  q->Next();  // 19940231
  const std::string d = ErrorOf([&] { q->FieldAsDateTime(u"DIA"); });
  EXPECT_NE(d.find("coluna \"DIA\", registro 4"), std::string::npos) << d;
  EXPECT_NE(d.find("19940231"), std::string::npos) << d;
  EXPECT_NE(ErrorOf([&] { q->FieldAsText(u"DIA"); }), "");
  // A WHERE or ORDER BY over the garbage stops at Open, naming the record too.
  const std::string w = ErrorOf([&] { Open(Dir(), u"SELECT COD FROM VALORES WHERE VAL = \"2\""); });
  EXPECT_NE(w.find("registro 3"), std::string::npos) << w;
  const std::string o = ErrorOf([&] { Open(Dir(), u"SELECT COD FROM VALORES ORDER BY VAL"); });
  EXPECT_NE(o.find("registro 3"), std::string::npos) << o;
}

TEST(DbfTypes, VisualFoxProIntegerDoubleCurrencyDateTimeAndNullFlags) {
  auto q = Open(Dir(), u"SELECT NOME, QTD, PRECO, VALOR, QUANDO, DIA, OK, OBS, NUM FROM VFP");
  ASSERT_EQ(q->RecordCount(), 4);
  const std::vector<UString> cols = {u"NOME", u"QTD", u"PRECO", u"VALOR", u"QUANDO", u"DIA", u"OK", u"OBS", u"NUM"};
  EXPECT_EQ(Rows(*q, cols),
            (std::vector<std::string>{
                "Ação|42|1,5|12,3456|21/05/2013 18:30:15|21/05/2013|True|memo visual ção|12,5",
                "||||||||",
                "Negativo|-7|-2,25|-0,0001|21/05/2013|30/12/1899|False||-0,5",
                "Grande|2147483646|1E20|123456789,1234|01/01/1900 00:00:01|31/12/9999|True|x|0",
            }));
  q->First();
  EXPECT_NEAR(q->FieldAsDateTime(u"QUANDO"), 41415.0 + (18 * 3600 + 30 * 60 + 15) / 86400.0, 1e-9);
  EXPECT_DOUBLE_EQ(q->FieldAsDouble(u"VALOR"), 12.3456);
  EXPECT_DOUBLE_EQ(q->FieldAsDouble(u"QTD"), 42);
  q->Next();
  for (const UString& c : cols) {
    EXPECT_TRUE(q->FieldIsNull(c)) << S(c);
    EXPECT_EQ(q->FieldAsDouble(c), 0) << S(c);
  }
  EXPECT_EQ(q->FieldAsDateTime(u"QUANDO"), 0);
  // The system field is not a column.
  EXPECT_NE(ErrorOf([&] { Open(Dir(), u"SELECT _NullFlags FROM VFP"); }).find("não existe"), std::string::npos);
}

TEST(DbfTypes, VisualFoxProNullBitsCountOnlyNullableFields) {
  auto q = Open(Dir(), u"SELECT A, B, C, D FROM VFPMISTO");
  EXPECT_EQ(Rows(*q, {u"A", u"B", u"C", u"D"}), (std::vector<std::string>{"x||c|1", "y|5||2", "z|6|cc|3"}));
  q->First();
  EXPECT_TRUE(q->FieldIsNull(u"B"));
  EXPECT_FALSE(q->FieldIsNull(u"C"));
  EXPECT_FALSE(q->FieldIsNull(u"D"));
}

TEST(DbfTypes, FoxProMemoInFpt) {
  auto q = Open(Dir(), u"SELECT NOME, OBS, V FROM FOX");
  EXPECT_EQ(S(q->FieldAsText(u"NOME")), "Açúcar");
  EXPECT_EQ(S(q->FieldAsText(u"OBS")), repeat("memo da raposa ção ", 60));
  EXPECT_EQ(S(q->FieldAsText(u"V")), "1,25");
  q->Next();
  EXPECT_TRUE(q->FieldIsNull(u"OBS"));
  EXPECT_TRUE(q->FieldIsNull(u"V"));
}

TEST(DbfTypes, DBaseIVMemoBlocks) {
  auto q = Open(Dir(), u"SELECT COD, OBS FROM DB4");
  EXPECT_EQ(Rows(*q, {u"COD", u"OBS"}),
            (std::vector<std::string>{"1|Memória dBase IV ção", "2|", "3|" + repeat("Bloco longo ção ", 45)}));
}

TEST(DbfTypes, ClipperSoftReturnsAreLineBreaks) {
  auto q = Open(Dir(), u"SELECT OBS FROM SOFT");
  EXPECT_EQ(S(q->FieldAsText(u"OBS")), "linha1\r\nlinha2 ìndio");
}

TEST(DbfTypes, ClipperLongCharacterField) {
  auto q = Open(Dir(), u"SELECT LONGO, COD FROM CLIPPER");
  EXPECT_EQ(S(q->FieldAsText(u"LONGO")), std::string(299, 'x') + "y");
  EXPECT_EQ(q->FieldAsText(u"COD"), u"c1");
  q->Next();
  EXPECT_EQ(q->FieldAsText(u"LONGO"), u"curto");
  EXPECT_EQ(q->FieldAsText(u"COD"), u"c2");
}

TEST(DbfTypes, OtherFieldTypesGiveAClearErrorWhenRead) {
  auto q = Open(Dir(), u"SELECT COD, ESTRANHO FROM TIPOX");
  EXPECT_EQ(q->FieldAsText(u"COD"), u"A");
  const std::string e = ErrorOf([&] { q->FieldAsText(u"ESTRANHO"); });
  EXPECT_NE(e.find("tipo de campo \"W\""), std::string::npos) << e;
  EXPECT_NE(e.find("coluna \"ESTRANHO\""), std::string::npos) << e;
}

TEST(DbfTypes, MemoFileMissingOrPointerOutsideIt) {
  auto q = Open(Dir(), u"SELECT COD, OBS FROM SEMMEMO");
  const std::string e = ErrorOf([&] { q->FieldAsText(u"OBS"); });
  EXPECT_NE(e.find("arquivo de memo"), std::string::npos) << e;
  q->Next();
  EXPECT_TRUE(q->FieldIsNull(u"OBS"));  // a blank pointer needs no memo file
  auto r = Open(Dir(), u"SELECT OBS FROM MEMORUIM");
  const std::string b = ErrorOf([&] { r->FieldAsText(u"OBS"); });
  EXPECT_NE(b.find("bloco 9999"), std::string::npos) << b;
}

TEST(DbfHeader, EveryVersionByteOfTheField) {
  for (const char* t : {"V02", "VFB", "V43", "V63", "VCB", "V8B", "V30", "V31", "V32", "VF5", "V83", "SEM0D", "EXTRA00"}) {
    auto q = Open(Dir(), Utf8ToU(std::string("SELECT COD, VAL FROM ") + t));
    EXPECT_EQ(Rows(*q, {u"COD", u"VAL"}), (std::vector<std::string>{"A|1,5", "B|2"})) << t;
  }
}

TEST(DbfHeader, EndMarkAndTrailingBytesAreTolerated) {
  for (const char* t : {"BASE10", "SEM1A", "LIXOFIM"}) {
    auto q = Open(Dir(), Utf8ToU(std::string("SELECT COD FROM ") + t));
    EXPECT_EQ(q->RecordCount(), 10) << t;
    q->Last();
    EXPECT_EQ(q->FieldAsText(u"COD"), u"R10") << t;
  }
  // A header count below the records in the file: the header rules.
  EXPECT_EQ(Open(Dir(), u"SELECT COD FROM OITO")->RecordCount(), 8);
}

TEST(DbfHeader, ARecordCountTheFileCannotHoldIsAnError) {
  for (const char* t : {"CORTADO", "MAIS1", "MIL"}) {
    const std::string e = ErrorOf([&] { Open(Dir(), Utf8ToU(std::string("SELECT COD FROM ") + t)); });
    EXPECT_NE(e.find("truncada ou tem cabeçalho errado"), std::string::npos) << t << ": " << e;
    EXPECT_NE(e.find("tabela \"" + std::string(t) + "\""), std::string::npos) << e;
  }
  const std::string c = ErrorOf([&] { Open(Dir(), u"SELECT COD FROM CORTADO"); });
  EXPECT_NE(c.find("indica 10 registros"), std::string::npos) << c;
  EXPECT_NE(c.find("só comporta 5"), std::string::npos) << c;
  const std::string m = ErrorOf([&] { Open(Dir(), u"SELECT COD FROM MARCA1A"); });
  EXPECT_NE(m.find("termina no registro 6"), std::string::npos) << m;
  const std::string f = ErrorOf([&] { Open(Dir(), u"SELECT COD FROM MARCARUIM"); });
  EXPECT_NE(f.find("marca de registro inválida (0x58) no registro 3"), std::string::npos) << f;
  const std::string x = ErrorOf([&] { Open(Dir(), u"SELECT COD FROM TEXTO"); });
  EXPECT_NE(x.find("não é uma tabela dBase"), std::string::npos) << x;
}

TEST(DbfHeader, AShortLastRecordIsARowWhoseMissingColumnsFailWhenRead) {
  auto q = Open(Dir(), u"SELECT COD, VAL FROM CURTO");
  EXPECT_EQ(q->RecordCount(), 10);
  q->Last();
  EXPECT_EQ(q->FieldAsText(u"COD"), u"R10");
  const std::string e = ErrorOf([&] { q->FieldAsText(u"VAL"); });
  EXPECT_NE(e.find("registro 10 da tabela \"CURTO\" está incompleto"), std::string::npos) << e;
  EXPECT_NE(e.find("\"VAL\""), std::string::npos) << e;
}

// Every way of cutting a table or its memo file ends in rows or an ESourceError:
// never a crash, never more rows than the file has.
TEST(DbfHeader, CutAtEveryLengthNeverCrashes) {
  namespace fs = std::filesystem;
  const std::string dir = Dir() + "/cortes";
  fs::create_directories(dir);
  struct Case {
    std::string table, memoExt;
    std::vector<UString> cols;
    int rows;
  };
  const Case cases[] = {
      {"TIPOS", ".DBT", {u"NOME", u"QTD", u"PRECO", u"TAXA", u"DIA", u"ATIVO", u"OBS"}, 3},
      {"VFP", ".FPT", {u"NOME", u"QTD", u"PRECO", u"VALOR", u"QUANDO", u"DIA", u"OK", u"OBS", u"NUM"}, 4},
      {"DB4", ".DBT", {u"COD", u"OBS"}, 3},
      {"FOX", ".FPT", {u"NOME", u"OBS", u"V"}, 2},
  };
  auto readAll = [&](const Case& c) {
    UString sql = u"SELECT ";
    for (std::size_t i = 0; i < c.cols.size(); ++i) sql += (i ? u", " : u"") + c.cols[i];
    sql += u" FROM CUT";
    try {
      auto q = Open(dir, sql);
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
  };
  for (const Case& c : cases) {
    const std::string dbf = Dir() + "/" + c.table + ".DBF", memo = Dir() + "/" + c.table + c.memoExt;
    const std::uintmax_t dbfSize = fs::file_size(dbf), memoSize = fs::file_size(memo);
    for (int part = 0; part < 2; ++part) {
      const std::uintmax_t size = part == 0 ? dbfSize : memoSize;
      for (std::uintmax_t n = 0; n < size; ++n) {
        fs::copy_file(dbf, dir + "/CUT.DBF", fs::copy_options::overwrite_existing);
        fs::copy_file(memo, dir + "/CUT" + c.memoExt, fs::copy_options::overwrite_existing);
        fs::resize_file(dir + (part == 0 ? "/CUT.DBF" : "/CUT" + c.memoExt), n);
        readAll(c);
      }
    }
    fs::remove(dir + "/CUT" + c.memoExt);
  }
  fs::remove_all(dir);
}
