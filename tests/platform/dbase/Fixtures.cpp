#include "tests/platform/dbase/Fixtures.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace dbftest {

namespace {

struct Folder {
  std::string path;
  Folder() {
    path = std::string(CT_BINARY_DIR) + "/tmp/dbase-fixtures-" + std::to_string(getpid());
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
    const std::string cmd = "/usr/bin/python3 " CT_SOURCE_DIR "/tests/platform/dbase/make_fixtures.py '" + path + "'";
    if (std::system(cmd.c_str()) != 0) throw std::runtime_error("make_fixtures.py failed: " + cmd);
  }
  ~Folder() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
};

}  // namespace

const std::string& Dir() {
  static Folder f;
  return f.path;
}

std::string Sub(const std::string& name) { return Dir() + "/" + name; }

dbase::Engine& Engine() {
  static dbase::Engine e;
  return e;
}

const FormatSettings& Brasil() {
  static const FormatSettings fs;
  return fs;
}

std::unique_ptr<SourceQuery> Open(const std::string& folder, const UString& sql,
                                  const std::vector<std::pair<UString, UString>>& params, const FormatSettings& fs) {
  auto q = Engine().NewQuery(fs);
  q->SetDatabaseName(Utf8ToU(folder));
  q->SetSQL(sql);
  for (const auto& p : params) q->BindText(p.first, p.second);
  q->Open();
  return q;
}

UString SelectSql(const std::string& table, const Columns& columns) {
  UString sql = u"SELECT ";
  for (std::size_t i = 0; i < columns.size(); ++i) sql += (i ? u", " : u"") + columns[i];
  return sql + u" FROM " + Utf8ToU(table);
}

Strings Rows(SourceQuery& q, const Columns& columns) {
  Strings out;
  for (q.First(); !q.Eof(); q.Next()) {
    std::string row;
    for (std::size_t i = 0; i < columns.size(); ++i) row += (i ? "|" : "") + UToUtf8(q.FieldAsText(columns[i]));
    out.push_back(row);
  }
  return out;
}

Strings Select(const std::string& folder, const std::string& table, const Columns& columns,
               const FormatSettings& fs) {
  return Rows(*Open(folder, SelectSql(table, columns), {}, fs), columns);
}

void At(SourceQuery& q, int row) {
  q.First();
  for (int i = 1; i < row; ++i) q.Next();
}

std::string OpenError(const std::string& folder, const UString& sql) {
  return ErrorOf([&] { Open(folder, sql); });
}

::testing::AssertionResult Says(const std::string& message, const std::vector<const char*>& parts) {
  for (const char* p : parts)
    if (message.find(p) == std::string::npos)
      return ::testing::AssertionFailure() << "\"" << p << "\" is not in: \"" << message << "\"";
  return ::testing::AssertionSuccess();
}

}  // namespace dbftest
