// Full read of a dBase table through the source query engine, every column read as
// text, as the converters read them.
//
//   bench_dbf_read FOLDER TABLE [ORDER_BY_COLUMN]
//
// Prints the rows, the seconds, the rows per second and the peak resident memory of
// the process (getrusage, ru_maxrss), with the resident memory before the query for
// comparison, and a checksum of every text read in the order read: two builds that
// give the same checksum on the same file returned the same rows in the same order.
#include <sys/resource.h>

#include <chrono>
#include <functional>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/Error.h"
#include "platform/dbase/DbfTable.h"
#include "platform/dbase/DbfEngine.h"

namespace {

// Processor time of the process (user and system), which another load on the
// machine does not lengthen as it does the elapsed time.
double cpuSeconds() {
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  return ru.ru_utime.tv_sec + ru.ru_stime.tv_sec + (ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
}

long maxRssKb() {
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  return ru.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s FOLDER TABLE [ORDER_BY_COLUMN]\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  const UString table = Utf8ToU(argv[2]);
  try {
    // The column list, from the table's header.
    std::vector<UString> columns;
    {
      dbase::Table t(dbase::FindTableFile(folder, table), table);
      for (const dbase::Field& f : t.Fields())
        if (!f.system) columns.push_back(f.name);
    }
    UString sql = u"SELECT ";
    for (std::size_t i = 0; i < columns.size(); ++i) sql += (i ? u", " : u"") + columns[i];
    sql += u" FROM " + table;
    if (argc > 3) sql += u" ORDER BY " + Utf8ToU(argv[3]) + u" ASC";

    const long rssBefore = maxRssKb();
    const double cpu0 = cpuSeconds();
    const auto t0 = std::chrono::steady_clock::now();
    dbase::Engine engine;
    const FormatSettings regional;
    auto q = engine.NewQuery(regional);
    q->SetDatabaseName(Utf8ToU(folder));
    q->SetSQL(sql);
    q->Open();
    const int count = q->RecordCount();
    const auto t1 = std::chrono::steady_clock::now();
    long long rows = 0, chars = 0;
    std::uint64_t sum = 0;
    const std::hash<std::u16string_view> hash;
    for (; !q->Eof(); q->Next(), ++rows)
      for (const UString& c : columns) {
        const UString v = q->FieldAsText(c);
        chars += static_cast<long long>(v.size());
        sum = (sum ^ hash(v)) * 0x100000001B3ull + 1;
      }
    q->Close();
    const auto t2 = std::chrono::steady_clock::now();
    const double open = std::chrono::duration<double>(t1 - t0).count();
    const double total = std::chrono::duration<double>(t2 - t0).count();
    std::printf("engine: %lld rows (RecordCount %d), %zu columns as text, %lld characters\n", rows, count,
                columns.size(), chars);
    std::printf("engine: open %.3f s, total %.3f s, %.0f rows/s\n", open, total, rows / total);
    const double cpu = cpuSeconds() - cpu0;
    std::printf("engine: processor %.3f s, %.0f rows per processor second\n", cpu, rows / cpu);
    std::printf("engine: peak RSS %.1f MB (%.1f MB before the query)\n", maxRssKb() / 1024.0, rssBefore / 1024.0);
    std::printf("engine: checksum %016llx\n", static_cast<unsigned long long>(sum));
    return rows == count ? 0 : 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "error: %s\n", e.what());
    return 1;
  }
}
