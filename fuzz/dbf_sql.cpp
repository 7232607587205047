// Fuzz target: the source statement parser, and the query that runs what it
// parsed. The input is a statement in UTF-8; when it parses, it runs over a small
// table T (character, numeric, date, logical and memo columns, nulls, a deleted
// record) with each of its parameters bound to a value the input's bytes choose,
// and every row's columns are read.
//
// A statement not understood, a table or column that is not there and a value that
// does not compare are ESourceErrors: the parser doing its work. Anything else that
// leaves it is a fault.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz/FuzzFiles.h"
#include "platform/Error.h"
#include "platform/dbase/DbfSql.h"
#include "platform/dbase/DbfEngine.h"

namespace {

// T.DBF (dBase III with memo) and T.DBT, written byte by byte:
// COD C(6), NOME C(10), VAL N(8,2), DIA D, OK L, OBS M.
void WriteTable() {
  struct F {
    const char* name;
    char type;
    std::uint8_t len, dec;
  };
  const F fields[] = {{"COD", 'C', 6, 0}, {"NOME", 'C', 10, 0}, {"VAL", 'N', 8, 2},
                      {"DIA", 'D', 8, 0}, {"OK", 'L', 1, 0},    {"OBS", 'M', 10, 0}};
  // Values in the table's code page (cp1252), each padded to its field.
  auto pad = [](std::string v, std::size_t n, bool right) {
    if (v.size() < n) v.insert(right ? 0 : v.size(), n - v.size(), ' ');
    return v;
  };
  auto record = [&](char flag, const char* cod, const char* nome, const char* val, const char* dia, char ok,
                    const char* obs) {
    return std::string(1, flag) + pad(cod, 6, false) + pad(nome, 10, false) + pad(val, 8, true) +
           pad(dia, 8, false) + std::string(1, ok) + pad(obs, 10, true);
  };
  const std::string records[] = {
      record(' ', "000001", "A\xE7\xE3o", "12.50", "20240131", 'T', "1"),
      record(' ', "000002", "", "", "", '?', ""),
      record('*', "000003", "apagado", "1.00", "20000101", 'F', "1"),
      record(' ', "a00001", "min\xFAsculo", "-0.25", "19991231", 'N', "2"),
      record(' ', "B00001", "MAI\xDASCULO", "********", "00000000", ' ', "0"),
  };
  const std::size_t n = sizeof records / sizeof *records;
  const std::uint16_t hlen = 32 + 32 * 6 + 1, rlen = 1 + 6 + 10 + 8 + 8 + 1 + 10;
  std::string d(32, '\0');
  d[0] = static_cast<char>(0x83);
  d[1] = 124, d[2] = 12, d[3] = 2;
  d[4] = static_cast<char>(n);
  d[8] = static_cast<char>(hlen & 0xFF), d[9] = static_cast<char>(hlen >> 8);
  d[10] = static_cast<char>(rlen & 0xFF), d[11] = static_cast<char>(rlen >> 8);
  d[29] = 0x03;  // cp1252
  for (const F& f : fields) {
    std::string desc(32, '\0');
    std::memcpy(desc.data(), f.name, std::strlen(f.name));
    desc[11] = f.type;
    desc[16] = static_cast<char>(f.len);
    desc[17] = static_cast<char>(f.dec);
    d += desc;
  }
  d += '\x0D';
  for (const std::string& r : records) d += r;
  d += '\x1A';
  fuzz::WriteFile("T.DBF", d);

  std::string memo(512 * 3, '\0');
  memo[0] = 3;
  const char* m1 = "Observa\xE7\xE3o de teste\x1A\x1A";
  const char* m2 = "linha um\x8D\nlinha dois\x1A";
  std::memcpy(memo.data() + 512, m1, std::strlen(m1));
  std::memcpy(memo.data() + 1024, m2, std::strlen(m2));
  fuzz::WriteFile("T.DBT", memo);
}

const char16_t* const kValues[] = {u"",         u"000001",   u"a00001",   u"Ação",  u"12.5",  u"12,50",
                                   u"-0.25",    u"1E+3",     u"20240131", u"31/01/2024", u"T",   u"n",
                                   u"S",        u"x",        u"   ",      u"\"",    u"Observação de teste"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool written = (WriteTable(), true);
  (void)written;
  const UString sql = Utf8ToU(std::string_view(reinterpret_cast<const char*>(data), size));
  dbase::Statement st;
  try {
    st = dbase::ParseStatement(sql);
  } catch (const ESourceError&) {
    return 0;
  }
  try {
    dbase::Engine engine;
    const FormatSettings regional;
    auto q = engine.NewQuery(regional);
    q->SetDatabaseName(Utf8ToU(fuzz::Folder()));
    q->SetSQL(sql);
    for (std::size_t i = 0; i < st.params.size(); ++i) {
      const std::size_t pick = size ? data[(i * 7) % size] : 0;
      q->BindText(st.params[i], kValues[pick % (sizeof kValues / sizeof *kValues)]);
    }
    q->Open();
    for (q->First(); !q->Eof(); q->Next()) {
      for (const dbase::ColumnRef& c : st.columns) {
        try {
          (void)q->FieldAsText(c.name);
          (void)q->FieldIsNull(c.name);
          (void)q->FieldAsDouble(c.name);
          (void)q->FieldAsDateTime(c.name);
        } catch (const ESourceError&) {
        }
      }
    }
    q->Last();
    (void)q->RecNo();
  } catch (const ESourceError&) {
  }
  return 0;
}
