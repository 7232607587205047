// The legacy folder is only read: a run changes no byte, no modification time and
// no name in it, and a folder the program may not write into converts as usual.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "Faults.h"
#include "tests/support/DbfFixture.h"
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
  TempDir source_{"origem-somente-leitura"};
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
  if (geteuid() == 0) {
    const passwd* nobody = getpwnam("nobody");
    if (!nobody) GTEST_SKIP() << "no unprivileged user \"nobody\" to run the console as";
    who.uid = static_cast<int>(nobody->pw_uid);
    who.gid = static_cast<int>(nobody->pw_gid);
    server = std::make_unique<FirebirdServer>();
    if (!server->Running()) GTEST_SKIP() << server->Why();
    target = server->Name(target);
  }
  const std::string before = Snapshot(source_.path());
  const CliResult r = RunConsole(ConvertAll(source_.path(), target), 120, who);
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
