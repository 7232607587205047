// The floor of a conversion run: the rows a run wrote, written again into a fresh
// database by one prepared insert per table, in one transaction, with typed values.
// Nothing is read from dBase, nothing normalised, no text prepared per row: what is
// left is what the engine needs to store those rows.
//
//   bench_floor CONVERTED.fb FRESH.fb
//
// Every user table of CONVERTED that holds rows is copied into FRESH (same schema,
// empty), all columns but identities. The rows are read a block at a time and only
// the inserts (and the final commit) are timed, in wall seconds and in CPU seconds of
// this process (the embedded engine works in it), the second being steadier on a busy
// machine. Prints one line a table, "TABLE rows wall cpu", then "TOTAL rows wall cpu".
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <variant>
#include <vector>

#include "platform/Error.h"
#include "platform/firebird/Firebird.h"
#include "tests/support/TestDatabase.h"

namespace {

using Clock = std::chrono::steady_clock;

double CpuSeconds() {
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  return static_cast<double>(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) +
         static_cast<double>(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
}

struct Col {
  UString name;
  enum Kind { Text, Integer, Double, Timestamp } kind;
};

using Value = std::variant<std::monostate, UString, std::int64_t, double>;

std::vector<UString> Tables(fb::Database& db) {
  fb::Query q(db);
  q.SetSQL(u"SELECT TRIM(RDB$RELATION_NAME) AS T FROM RDB$RELATIONS WHERE RDB$SYSTEM_FLAG = 0 AND "
           u"RDB$VIEW_BLR IS NULL ORDER BY RDB$RELATION_ID");
  q.Open();
  std::vector<UString> out;
  for (; !q.Eof(); q.Next()) out.push_back(q.FieldAsText(u"T"));
  return out;
}

std::vector<Col> Columns(fb::Database& db, const UString& table) {
  fb::Query q(db);
  q.SetSQL(u"SELECT TRIM(RF.RDB$FIELD_NAME) AS NAME, F.RDB$FIELD_TYPE AS TYP, F.RDB$FIELD_SCALE AS SCALE "
           u"FROM RDB$RELATION_FIELDS RF JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE "
           u"WHERE RF.RDB$RELATION_NAME = :T AND RF.RDB$IDENTITY_TYPE IS NULL ORDER BY RF.RDB$FIELD_POSITION");
  q.BindText(u"T", table);
  q.Open();
  std::vector<Col> cols;
  for (; !q.Eof(); q.Next()) {
    long long t = q.FieldAsInteger(u"TYP");
    Col::Kind k = Col::Text;
    if (t == 27 || t == 10) k = Col::Double;
    else if ((t == 7 || t == 8 || t == 16) && q.FieldAsInteger(u"SCALE") == 0) k = Col::Integer;
    else if (t == 35 || t == 12 || t == 13) k = Col::Timestamp;
    cols.push_back({q.FieldAsText(u"NAME"), k});
  }
  return cols;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s CONVERTED.fb FRESH.fb\n", argv[0]);
    return 2;
  }
  try {
    fb::Database src, dst;
    ConnectTo(src, argv[1]);
    ConnectTo(dst, argv[2]);
    double total = 0, totalCpu = 0;
    long long totalRows = 0;
    for (const UString& table : Tables(src)) {
      std::vector<Col> cols = Columns(src, table);
      UString select, insert = u"INSERT INTO " + table + u" (", values;
      for (std::size_t i = 0; i < cols.size(); ++i) {
        select += (i ? u", " : u"") + cols[i].name;
        insert += (i ? u", " : u"") + cols[i].name;
        values += (i ? u", :" : u":") + cols[i].name;
      }
      insert += u") VALUES (" + values + u")";
      fb::Query read(src), write(dst);
      read.SetSQL(u"SELECT " + select + u" FROM " + table);
      read.Open();
      long long rows = 0;
      double seconds = 0, cpu = 0;
      std::vector<std::vector<Value>> block;
      while (!read.Eof()) {
        block.clear();
        for (int n = 0; n < 2000 && !read.Eof(); ++n, read.Next()) {
          std::vector<Value> row;
          for (const Col& c : cols) {
            if (read.FieldIsNull(c.name)) row.emplace_back();
            else if (c.kind == Col::Integer) row.emplace_back(read.FieldAsInteger(c.name));
            else if (c.kind == Col::Double) row.emplace_back(read.FieldAsDouble(c.name));
            else row.emplace_back(read.FieldAsText(c.name));
          }
          block.push_back(std::move(row));
        }
        auto t0 = Clock::now();
        double c0 = CpuSeconds();
        for (const auto& row : block) {
          write.SetSQL(insert);
          for (std::size_t i = 0; i < cols.size(); ++i) {
            const Value& v = row[i];
            if (std::holds_alternative<std::monostate>(v)) write.BindNull(cols[i].name);
            else if (auto* s = std::get_if<UString>(&v)) write.BindText(cols[i].name, *s);
            else if (auto* n = std::get_if<std::int64_t>(&v)) write.BindInteger(cols[i].name, *n);
            else write.BindDouble(cols[i].name, std::get<double>(v));
          }
          write.ExecSQL();
        }
        seconds += std::chrono::duration<double>(Clock::now() - t0).count();
        cpu += CpuSeconds() - c0;
        rows += static_cast<long long>(block.size());
      }
      if (rows == 0) continue;
      std::printf("%s %lld %.3f %.3f\n", UToUtf8(table).c_str(), rows, seconds, cpu);
      std::fflush(stdout);
      total += seconds;
      totalCpu += cpu;
      totalRows += rows;
    }
    auto commitStart = Clock::now();
    double c0 = CpuSeconds();
    dst.DefaultTransaction().Commit();
    total += std::chrono::duration<double>(Clock::now() - commitStart).count();
    totalCpu += CpuSeconds() - c0;
    std::printf("TOTAL %lld %.3f %.3f\n", totalRows, total, totalCpu);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_floor: %s\n", e.what());
    return 1;
  }
  fb::ShutdownClient();
  return 0;
}
