// Fuzz target: the dBase table reader. The input is a table file, optionally
// followed by "#MEMO#" and its memo file and by "#CPG#" and a code-page file; the
// table is opened, every record's flag read and every field of every record read
// as every type, then the table is read again through the source query, sorted by
// each column that can order.
//
// A table may be refused, and a value may not convert, with an ESourceError: that
// is the reader doing its work. Anything else that leaves it (another exception, a
// crash, a sanitizer report, a hang) is a fault.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzFiles.h"
#include "platform/Error.h"
#include "platform/dbase/DbfTable.h"
#include "platform/dbase/DbfEngine.h"

namespace {

constexpr std::string_view kMemo = "#MEMO#";
constexpr std::string_view kCpg = "#CPG#";
// Enough records to pass every branch; a longer table only repeats them.
constexpr std::uint32_t kMaxRecords = 64;
// A field that has refused this many values will refuse the others the same way.
constexpr int kMaxRefusals = 3;

template <class F>
bool Tolerate(F&& f) {
  try {
    f();
    return true;
  } catch (const ESourceError&) {
    return false;
  }
}

bool IsName(const UString& s) {
  if (s.empty() || s.size() > 11) return false;
  for (char16_t c : s)
    if (!((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'_')) return false;
  return !(s[0] >= u'0' && s[0] <= u'9');
}

// Every record's flag, and every field of every record as text, number, date and
// null test (the typed reads of comparisons and sorting run under these).
void ReadEveryCell(const dbase::Table& t, std::uint32_t records) {
  Tolerate([&] { (void)t.CpSource(); });  // an unknown .cpg is refused
  const std::uint32_t n = std::min(t.RecordCount(), records);
  std::vector<int> refusals(t.Fields().size());
  for (std::uint32_t rec = 0; rec < n; ++rec) {
    Tolerate([&] { (void)t.IsLive(rec); });
    for (std::size_t i = 0; i < t.Fields().size(); ++i) {
      if (refusals[i] >= kMaxRefusals) continue;
      const dbase::Field& f = t.Fields()[i];
      const FormatSettings fs;
      const bool ok = Tolerate([&] { (void)t.IsNull(rec, f); }) & Tolerate([&] { (void)t.AsText(rec, f, fs); }) &
                      Tolerate([&] { (void)t.AsDouble(rec, f, fs); }) &
                      Tolerate([&] { (void)t.AsDateTime(rec, f, fs); });
      if (!ok) ++refusals[i];
    }
  }
}

// The table through the source query, in file order and sorted by its first
// column that can order.
void ReadThroughQueries(const dbase::Table& t) {
  UString cols, order;
  std::vector<UString> names;
  for (const dbase::Field& f : t.Fields()) {
    if (f.system || !IsName(f.name)) continue;
    names.push_back(f.name);
    cols += (cols.empty() ? u"" : u", ") + f.name;
    const dbase::Kind k = dbase::Table::KindOf(f);
    if (order.empty() && k != dbase::Kind::Memo && k != dbase::Kind::Unsupported) order = f.name;
  }
  if (names.empty()) return;
  std::vector<UString> sqls = {u"SELECT " + cols + u" FROM T"};
  if (!order.empty()) sqls.push_back(u"SELECT " + cols + u" FROM T ORDER BY " + order);
  for (const UString& sql : sqls) {
    Tolerate([&] {
      dbase::Engine engine;
      const FormatSettings regional;
      auto q = engine.NewQuery(regional);
      q->SetDatabaseName(Utf8ToU(fuzz::Folder()));
      q->SetSQL(sql);
      q->Open();
      q->Last();
      (void)q->RecordCount();
      std::vector<int> refusals(names.size());
      int rows = 0;
      for (q->First(); !q->Eof() && rows < static_cast<int>(kMaxRecords); q->Next(), ++rows)
        for (std::size_t i = 0; i < names.size(); ++i)
          if (refusals[i] < kMaxRefusals && !Tolerate([&] { (void)q->FieldAsText(names[i]); })) ++refusals[i];
    });
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view in(reinterpret_cast<const char*>(data), size);
  std::string_view dbf = in, memo, cpg;
  bool hasMemo = false, hasCpg = false;
  if (auto c = dbf.find(kCpg); c != std::string_view::npos) {
    cpg = dbf.substr(c + kCpg.size());
    dbf = dbf.substr(0, c);
    hasCpg = true;
  }
  if (auto m = dbf.find(kMemo); m != std::string_view::npos) {
    memo = dbf.substr(m + kMemo.size());
    dbf = dbf.substr(0, m);
    hasMemo = true;
  }
  // The memo file's name follows the table's kind, as the writers name it.
  const std::uint8_t version = dbf.empty() ? 0 : static_cast<std::uint8_t>(dbf[0]);
  const bool fox = version == 0x30 || version == 0x31 || version == 0x32 || version == 0xF5 || version == 0xFB;
  fuzz::RemoveFile("T.DBT");
  fuzz::RemoveFile("T.FPT");
  fuzz::RemoveFile("T.CPG");
  fuzz::WriteFile("T.DBF", dbf);
  if (hasMemo) fuzz::WriteFile(fox ? "T.FPT" : "T.DBT", memo);
  if (hasCpg) fuzz::WriteFile("T.CPG", cpg);

  std::unique_ptr<dbase::Table> table;
  Tolerate([&] { table = std::make_unique<dbase::Table>(fuzz::Folder() + "/T.DBF", u"T"); });
  if (!table) return 0;
  table->AdviseSequential();
  ReadEveryCell(*table, kMaxRecords);
  table->AdviseRandom();  // records visited out of order are read another way
  ReadEveryCell(*table, 8);
  ReadThroughQueries(*table);
  return 0;
}
