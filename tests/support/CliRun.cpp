#include "tests/support/CliRun.h"

#include <sys/wait.h>

#include <cstdlib>

CliResult RunCliProgram(const std::string& args, const TempDir& tmp, const std::string& before) {
  const std::string out = tmp.file("stdout.txt"), err = tmp.file("stderr.txt");
  const std::string cmd = before + std::string(CT_BINARY_DIR) + "/conversor-tolv-cli " + args + " >" + out + " 2>" + err;
  CliResult r;
  int rc = std::system(cmd.c_str());
  r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  r.out = Slurp(out);
  r.err = Slurp(err);
  return r;
}
