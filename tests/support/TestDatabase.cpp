#include "tests/support/TestDatabase.h"

#include <unistd.h>

#include <atomic>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <memory>
#include <stdexcept>
#include <vector>

#include "platform/firebird/Firebird.h"
#include "tests/support/Files.h"

namespace fs = std::filesystem;

namespace {

std::string Root() { return std::string(CT_BINARY_DIR) + "/tests/fbdb"; }

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("TestDatabase: cannot read " + path);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string ShellQuote(const std::string& s) {
  std::string out = "'";
  for (char c : s) {
    if (c == '\'') out += "'\\''";
    else out += c;
  }
  return out + "'";
}

std::string SqlQuote(const std::string& s) {
  std::string out = "'";
  for (char c : s) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out + "'";
}

// Runs a shell command; returns its output (stdout and stderr), throws on failure.
std::string Run(const std::string& command) {
  std::string full = command + " 2>&1";
  FILE* p = popen(full.c_str(), "r");
  if (!p) throw std::runtime_error("TestDatabase: cannot run " + command);
  std::string out;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  int rc = pclose(p);
  if (rc != 0) throw std::runtime_error("TestDatabase: `" + command + "` failed:\n" + out);
  return out;
}

std::string IsqlPath() {
  for (const char* c : {"/usr/bin/isql-fb", "/usr/local/bin/isql-fb", "/opt/firebird/bin/isql"})
    if (access(c, X_OK) == 0) return c;
  return "isql-fb";
}

std::string UniqueTmp(const std::string& base) {
  static std::atomic<unsigned> counter{0};
  return base + ".tmp." + std::to_string(getpid()) + "." + std::to_string(counter++);
}

// Templates are shared by every test process: built under a unique name and
// renamed into place, which is atomic, so concurrent processes never see half a file.
std::string NorvaleTemplate() {
  static const std::string path = [] {
    std::string src = CT_SOURCE_DIR;
    std::string key = Fingerprint(ReadFile(src + "/schema/norvale.sql") + ReadFile(src + "/scripts/create-db.sh"));
    fs::create_directories(Root() + "/templates");
    std::string t = Root() + "/templates/norvale-" + key + ".fb";
    if (!fs::exists(t)) {
      std::string tmp = UniqueTmp(t);
      Run("bash " + ShellQuote(src + "/scripts/create-db.sh") + " " + ShellQuote(tmp));
      fs::rename(tmp, t);
    }
    return t;
  }();
  return path;
}

std::string BlankTemplate(int dialect, const std::string& charset) {
  fs::create_directories(Root() + "/templates");
  std::string t = Root() + "/templates/blank-d" + std::to_string(dialect) + "-" + charset + ".fb";
  if (!fs::exists(t)) {
    std::string tmp = UniqueTmp(t);
    std::string script = tmp + ".sql";
    {
      std::ofstream out(script);
      out << "SET SQL DIALECT " << dialect << ";\n"
          << "CREATE DATABASE " << SqlQuote(tmp) << " USER 'SYSDBA' PASSWORD 'masterkey' PAGE_SIZE 8192"
          << " DEFAULT CHARACTER SET " << charset << ";\nCOMMIT;\n";
    }
    try {
      Run("ISC_USER=SYSDBA " + IsqlPath() + " -q -bail -i " + ShellQuote(script));
    } catch (...) {
      fs::remove(script);
      fs::remove(tmp);
      throw;
    }
    fs::remove(script);
    fs::rename(tmp, t);
  }
  return t;
}

std::string NewPath(const std::string& label) {
  static std::atomic<unsigned> counter{0};
  fs::create_directories(Root());
  std::string safe;
  for (char c : label) safe += (std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_') ? c : '_';
  return Root() + "/" + std::to_string(getpid()) + "-" + std::to_string(counter++) + "-" + safe + ".fb";
}

}  // namespace

TestDatabase::TestDatabase(const std::string& label) : TestDatabase(NorvaleTemplate(), label, 0) {}

TestDatabase::TestDatabase(const std::string& templatePath, const std::string& label, int) {
  path_ = NewPath(label);
  fs::copy_file(templatePath, path_, fs::copy_options::overwrite_existing);
}

TestDatabase TestDatabase::Blank(int dialect, const std::string& charset, const std::string& label) {
  return TestDatabase(BlankTemplate(dialect, charset), label, 0);
}

TestDatabase::~TestDatabase() {
  if (!path_.empty()) {
    std::error_code ec;
    fs::remove(path_, ec);
  }
}

TestDatabase::TestDatabase(TestDatabase&& other) noexcept : path_(std::move(other.path_)) { other.path_.clear(); }

void ConnectTo(fb::Database& db, const std::string& path) {
  db.SetDatabaseName(Utf8ToU(path));
  db.SetUserName(Utf8ToU(TestDatabase::kUser));
  db.SetPassword(Utf8ToU(TestDatabase::kPassword));
  db.Open();
}

void TestDatabase::Connect(fb::Database& db) const { ConnectTo(db, path_); }

std::string TestDatabase::Isql(const std::string& sql, const std::string& charset) const {
  std::string script = UniqueTmp(path_) + ".sql";
  {
    std::ofstream out(script, std::ios::binary);
    out << sql << "\n";
  }
  try {
    std::string out = Run("ISC_USER=SYSDBA " + IsqlPath() + " -q -bail -ch " + ShellQuote(charset) + " -i " +
                          ShellQuote(script) + " " + ShellQuote(path_));
    fs::remove(script);
    return out;
  } catch (...) {
    fs::remove(script);
    throw;
  }
}

std::string FreshDatabase(const std::string& label) {
  // Kept until the process ends, then removed like any other.
  static std::vector<std::unique_ptr<TestDatabase>> kept;
  kept.push_back(std::make_unique<TestDatabase>(label));
  return kept.back()->Path();
}
