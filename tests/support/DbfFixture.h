#pragma once
// Legacy tables for tests, written by an independent writer (Debian's python3-dbf),
// so the reader is never tested against its own mistakes.
#include <string>
#include <vector>

struct DbfTable {
  std::string path;                         // file to write, e.g. dir + "/GRUPO.DBF"
  std::string fields;                       // "CODIGO C(4); DESCRICAO C(40)"
  std::vector<std::vector<std::string>> rows;  // values as UTF-8 text ("" is null for N, D, L)
  std::string codepage = "cp1252";
  std::string type = "db3";
  std::vector<int> deleted;                 // 0-based rows to mark deleted
};

// Writes the table; throws std::runtime_error with the writer's output on failure.
void WriteDbf(const DbfTable& t);

// A fresh empty folder under the build tree, removed by the destructor.
class TempDir {
 public:
  explicit TempDir(const std::string& name);
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};
