// The legacy folder is only read: a run changes no byte, no modification time and
// no name in it, and a folder the program may not write into converts as usual.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "Faults.h"
#include "tests/support/Files.h"
#include "tests/support/FirebirdServer.h"
#include "tests/support/LegacyFolder.h"

namespace fs = std::filesystem;

namespace {

// Every name in the folder (and the folder itself) with its size, permissions,
// modification time to the nanosecond and contents.
std::string Snapshot(const std::string& folder) {
  std::vector<std::string> entries;
  auto describe = [](const fs::path& p) {
    struct stat st {};
    lstat(p.c_str(), &st);
    std::ostringstream s;
    s << p.filename().string() << " size=" << st.st_size << " mode=" << std::oct << st.st_mode << std::dec
      << " mtime=" << st.st_mtim.tv_sec << "." << st.st_mtim.tv_nsec;
    if (S_ISREG(st.st_mode)) s << " bytes=" << Slurp(p.string());
    return s.str();
  };
  entries.push_back(describe(folder));
  for (const auto& e : fs::directory_iterator(folder)) entries.push_back(describe(e.path()));
  std::sort(entries.begin() + 1, entries.end());
  std::string all;
  for (const std::string& e : entries) all += e + "\n";
  return all;
}

// A folder under /tmp that every user may enter and read. What another user is
// handed lies there: the checkout may sit below a folder only its owner can enter.
class SharedDir {
 public:
  explicit SharedDir(const std::string& name) {
    std::string tmpl = "/tmp/" + name + "-XXXXXX";
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("cannot create a folder like " + tmpl);
    path_ = tmpl;
    fs::permissions(path_, fs::perms(0755));
  }
  ~SharedDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// The console as another user can start it: a copy of the program in `dir`, with
// any library it loads from the build or source tree copied beside it.
std::string ConsoleCopy(const SharedDir& dir, ChildOptions& who) {
  const std::string program = std::string(CT_BINARY_DIR) + "/conversor-tolv-cli";
  const std::string copy = dir.file("conversor-tolv-cli");
  fs::copy_file(program, copy);
  fs::permissions(copy, fs::perms(0755));
  FILE* ldd = popen(("ldd '" + program + "'").c_str(), "r");
  char line[4096];
  bool libraries = false;
  while (ldd && fgets(line, sizeof line, ldd)) {
    std::istringstream in(line);
    std::string name, arrow, path;
    in >> name >> arrow >> path;
    if (arrow != "=>" || (path.rfind(CT_BINARY_DIR, 0) != 0 && path.rfind(CT_SOURCE_DIR, 0) != 0)) continue;
    fs::copy_file(path, dir.file(fs::path(path).filename().string()), fs::copy_options::overwrite_existing);
    fs::permissions(dir.file(fs::path(path).filename().string()), fs::perms(0755));
    libraries = true;
  }
  if (ldd) pclose(ldd);
  if (libraries) who.env.push_back("LD_LIBRARY_PATH=" + dir.path());
  return copy;
}

void ReadOnly(const std::string& folder) {
  for (const auto& e : fs::directory_iterator(folder)) fs::permissions(e.path(), fs::perms(0444));
  fs::permissions(folder, fs::perms(0555));
}

class ReadOnlySourceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CopyFolder(GeneratedLegacyFolder(kFewRows, 'A'), source_.path());
    ReadOnly(source_.path());
  }
  void TearDown() override { fs::permissions(source_.path(), fs::perms(0755)); }
  SharedDir source_{"origem-somente-leitura"};
};

TEST_F(ReadOnlySourceTest, ARunChangesNothingInTheSourceFolder) {
  const std::string before = Snapshot(source_.path());
  const CliResult r = RunConsole(ConvertAll(source_.path(), FreshDatabase("origem-intacta")));
  EXPECT_TRUE(Committed(r)) << r.out << r.err;
  EXPECT_TRUE(Has(r.out, "[Information] Conversão concluída com sucesso!")) << r.out;
  EXPECT_EQ(Snapshot(source_.path()), before);
}

// The superuser writes whatever the permission bits say, so the folder is read by an
// unprivileged user; the target is written by a server of the test's own, which a
// user without rights on the target file reaches like any client.
TEST_F(ReadOnlySourceTest, AFolderWithoutWritePermissionConvertsAsUsual) {
  ChildOptions who;
  std::unique_ptr<FirebirdServer> server;
  std::string target = FreshDatabase("origem-sem-escrita");
  std::vector<std::string> argv = ConvertAll(source_.path(), target);
  SharedDir program("conversor-tolv-programa");
  if (geteuid() == 0) {
    const passwd* nobody = getpwnam("nobody");
    if (!nobody) GTEST_SKIP() << "no unprivileged user \"nobody\" to run the console as";
    who.uid = static_cast<int>(nobody->pw_uid);
    who.gid = static_cast<int>(nobody->pw_gid);
    // The database file is opened by the server, which runs as this test does.
    server = std::make_unique<FirebirdServer>();
    if (!server->Running()) GTEST_SKIP() << server->Why();
    argv = ConvertAll(source_.path(), server->Name(target));
    argv[0] = ConsoleCopy(program, who);
  }
  const std::string before = Snapshot(source_.path());
  const CliResult r = RunConsole(argv, 120, who);
  EXPECT_TRUE(Committed(r)) << r.out << r.err;
  EXPECT_TRUE(Has(r.out, "[Information] Conversão concluída com sucesso!")) << r.out;
  EXPECT_EQ(Snapshot(source_.path()), before);
  // It could not have written into the folder even had it tried.
  if (who.uid >= 0) {
    ChildProcess touch({"/usr/bin/touch", source_.file("GRUPO.DBF")}, who);
    ASSERT_TRUE(touch.WaitExit(30));
    EXPECT_NE(touch.Status(), 0);
  }
}

}  // namespace
