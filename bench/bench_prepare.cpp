// One prepared INSERT reused for every row against a literal INSERT text per row,
// through the connection's statement cache (the text runs as its shape) and with the
// cache off (prepared again each time), all through fb::Query, each in one
// transaction, into a fresh embedded database (dialect 1, WIN1252) and a 40-column
// customer-like table.
//
//   build/bench_prepare [ROWS]      (default 20000)
//
// The prepared form binds every value as text, as the converters do (rule 2); the
// literal form quotes text values and writes dates as 'dd.mm.yyyy' (rule 1).
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/Error.h"
#include "platform/firebird/Firebird.h"
#include "tests/support/TestDatabase.h"

namespace {

constexpr int kText = 30, kDate = 4, kMoney = 4, kInt = 2;

UString Columns() {
  UString s = u"CODIGO VARCHAR(10) NOT NULL PRIMARY KEY";
  for (int i = 0; i < kText; ++i) s += u", T" + IntToU(i) + u" VARCHAR(" + IntToU(20 + (i % 4) * 20) + u")";
  for (int i = 0; i < kDate; ++i) s += u", D" + IntToU(i) + u" TIMESTAMP";
  for (int i = 0; i < kMoney; ++i) s += u", M" + IntToU(i) + u" NUMERIC(15,2)";
  for (int i = 0; i < kInt; ++i) s += u", I" + IntToU(i) + u" INTEGER";
  return s;
}

std::vector<UString> Names() {
  std::vector<UString> n{u"CODIGO"};
  for (int i = 0; i < kText; ++i) n.push_back(u"T" + IntToU(i));
  for (int i = 0; i < kDate; ++i) n.push_back(u"D" + IntToU(i));
  for (int i = 0; i < kMoney; ++i) n.push_back(u"M" + IntToU(i));
  for (int i = 0; i < kInt; ++i) n.push_back(u"I" + IntToU(i));
  return n;
}

// The values of row r, as texts; dates as dd/mm/yyyy.
std::vector<UString> Row(int r) {
  static const UString words[] = {u"JOÃO", u"AÇÃO", u"Peça", u"RUA DAS FLORES", u"São Paulo", u"O'Brien", u"", u"x"};
  std::vector<UString> v{IntToU(r)};
  for (int i = 0; i < kText; ++i) v.push_back(words[(r + i) % 8] + u" " + IntToU((r * 7 + i) % 1000));
  for (int i = 0; i < kDate; ++i) {
    int d = 1 + (r + i) % 28, m = 1 + (r + i) % 12;
    v.push_back((d < 10 ? u"0" : u"") + IntToU(d) + u"/" + (m < 10 ? u"0" : u"") + IntToU(m) + u"/2014");
  }
  for (int i = 0; i < kMoney; ++i) v.push_back(IntToU((r * 13 + i) % 100000) + u"." + IntToU(10 + i));
  for (int i = 0; i < kInt; ++i) v.push_back(IntToU(r % 1000 + i));
  return v;
}

UString LiteralInsert(const UString& table, const std::vector<UString>& names, const std::vector<UString>& v) {
  UString cols, vals;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i) { cols += u", "; vals += u", "; }
    cols += names[i];
    const UString& n = names[i];
    if (n[0] == u'D') vals += u"'" + v[i].substr(0, 2) + u"." + v[i].substr(3, 2) + u"." + v[i].substr(6) + u"'";
    else if (n[0] == u'M' || n[0] == u'I') vals += v[i];
    else vals += QuotedStr(v[i]);
  }
  return u"INSERT INTO " + table + u" (" + cols + u") VALUES (" + vals + u")";
}

double Seconds(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
  return std::chrono::duration<double>(b - a).count();
}

// CPU seconds of this process, the embedded engine's included: steadier than the
// wall clock when the disk or the other cores are busy.
double CpuSeconds() {
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  return static_cast<double>(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) +
         static_cast<double>(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
}

struct Rate {
  double wall = 0, cpu = 0;  // rows per second of each
};

// Rows per second of `rows` literal insert texts into `table` through one query.
Rate LiteralRun(fb::Database& db, const UString& table, const std::vector<UString>& names, int rows,
                unsigned& prepares) {
  fb::Query b(db);
  auto& tr = db.DefaultTransaction();
  double c0 = CpuSeconds();
  auto t0 = std::chrono::steady_clock::now();
  tr.StartTransaction();
  for (int r = 0; r < rows; ++r) {
    b.SetSQL(LiteralInsert(table, names, Row(r)));
    b.ExecSQL();
  }
  tr.Commit();
  auto t1 = std::chrono::steady_clock::now();
  prepares = b.PrepareCount();
  return {rows / Seconds(t0, t1), rows / (CpuSeconds() - c0)};
}

}  // namespace

int main(int argc, char** argv) {
  int rows = argc > 1 ? std::atoi(argv[1]) : 20000;
  if (rows <= 0) rows = 20000;
  try {
    auto tdb = TestDatabase::Blank(1, "WIN1252", "bench");
    Rate prepared, literal, literalCached;
    unsigned preparesA, preparesB, preparesC;
    {
      fb::Database db;
      tdb.Connect(db);
      fb::Query q(db);
      for (const char16_t* t : {u"BENCH_A", u"BENCH_B", u"BENCH_C"}) {
        q.SetSQL(UString(u"CREATE TABLE ") + t + u" (" + Columns() + u")");
        q.ExecSQL();
      }
      q.SetSQL(u"COMMIT");
      q.ExecSQL();
      auto names = Names();
      auto& tr = db.DefaultTransaction();

      UString ins = u"INSERT INTO BENCH_A (";
      UString vals;
      for (std::size_t i = 0; i < names.size(); ++i) {
        ins += (i ? u", " : u"") + names[i];
        vals += (i ? u", :" : u":") + names[i];
      }
      ins += u") VALUES (" + vals + u")";
      fb::Query a(db);
      double c0 = CpuSeconds();
      auto t0 = std::chrono::steady_clock::now();
      tr.StartTransaction();
      for (int r = 0; r < rows; ++r) {
        auto v = Row(r);
        a.SetSQL(ins);
        for (std::size_t i = 0; i < names.size(); ++i) a.BindText(names[i], v[i]);
        a.ExecSQL();
      }
      tr.Commit();
      auto t1 = std::chrono::steady_clock::now();
      prepared = {rows / Seconds(t0, t1), rows / (CpuSeconds() - c0)};
      preparesA = a.PrepareCount();

      // The literal texts through the connection's statement cache (each runs as its
      // shape), then on a connection with the cache off (each prepared as it is).
      literalCached = LiteralRun(db, u"BENCH_C", names, rows, preparesC);
      {
        setenv("CONVERSOR_TOLV_CACHE", "0", 1);
        fb::Database plain;
        tdb.Connect(plain);
        unsetenv("CONVERSOR_TOLV_CACHE");
        literal = LiteralRun(plain, u"BENCH_B", names, rows, preparesB);
      }

      // The three forms wrote the same values.
      q.SetSQL(u"SELECT COUNT(*) AS N FROM BENCH_A A JOIN BENCH_B B ON B.CODIGO = A.CODIGO "
               u"JOIN BENCH_C C ON C.CODIGO = A.CODIGO "
               u"WHERE A.T5 IS NOT DISTINCT FROM B.T5 AND A.D1 = B.D1 AND A.M2 = B.M2 "
               u"AND C.T5 IS NOT DISTINCT FROM B.T5 AND C.D1 = B.D1 AND C.M2 = B.M2");
      q.Open();
      if (q.FieldAsInteger(u"N") != rows) {
        std::fprintf(stderr, "bench_prepare: the tables differ\n");
        return 1;
      }
      q.Close();
      tr.Commit();
    }
    std::printf("rows: %d, 41 columns, one transaction each, embedded, dialect 1, WIN1252\n", rows);
    std::printf("                                                 rows/s   rows/CPU s\n");
    std::printf("prepared once, bound by name (%u prepare):       %8.0f   %8.0f\n", preparesA, prepared.wall,
                prepared.cpu);
    std::printf("literal text per row, cache off (%u prepares): %8.0f   %8.0f\n", preparesB, literal.wall,
                literal.cpu);
    std::printf("literal text per row, cache on (%u prepare):     %8.0f   %8.0f\n", preparesC, literalCached.wall,
                literalCached.cpu);
    std::printf("cache on/cache off: %.2f wall, %.2f CPU; prepared/cache on: %.2f wall, %.2f CPU\n",
                literalCached.wall / literal.wall, literalCached.cpu / literal.cpu, prepared.wall / literalCached.wall,
                prepared.cpu / literalCached.cpu);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_prepare: %s\n", e.what());
    return 1;
  }
  fb::ShutdownClient();
  return 0;
}
