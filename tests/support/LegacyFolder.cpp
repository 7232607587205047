#include "tests/support/LegacyFolder.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "tests/support/ChildProcess.h"
#include "tests/support/Files.h"

namespace fs = std::filesystem;

std::string GeneratedLegacyFolder(int rows, char variant) {
  const std::string src = CT_SOURCE_DIR;
  const std::string script = src + "/bench/make_legacy_folder.py";
  // A new version of the generator or of the example rows makes a new folder.
  const std::string key = Fingerprint(Slurp(script) + Slurp(src + "/examples/make_examples.py"));
  const std::string folder = std::string(CT_BINARY_DIR) + "/tests/legacy/" + key + "-" + std::to_string(rows) + "-" +
                             std::string(1, variant);
  if (fs::exists(folder)) return folder;
  // Written under a name of its own and renamed into place, so that a concurrent
  // test process never sees half a folder.
  const std::string tmp = folder + ".tmp." + std::to_string(getpid());
  fs::remove_all(tmp);
  fs::create_directories(tmp);
  std::vector<std::string> args = {"/usr/bin/python3", script, tmp, "--semente", std::to_string(2024 + variant)};
  for (const char* kind :
       {"--clientes", "--fornecedores", "--grupos", "--subgrupos", "--produtos", "--receber", "--pagar", "--fabricantes"}) {
    args.push_back(kind);
    args.push_back(std::to_string(rows));
  }
  ChildProcess gen(args);
  if (!gen.WaitExit(300) || gen.Status() != 0) {
    fs::remove_all(tmp);
    throw std::runtime_error("make_legacy_folder.py failed: " + gen.Out() + gen.Err());
  }
  std::error_code ec;
  fs::rename(tmp, folder, ec);
  if (ec) fs::remove_all(tmp);  // another process got there first
  return folder;
}

void CopyFolder(const std::string& from, const std::string& to) {
  fs::create_directories(to);
  for (const auto& e : fs::directory_iterator(from))
    fs::copy_file(e.path(), fs::path(to) / e.path().filename(), fs::copy_options::overwrite_existing);
}
