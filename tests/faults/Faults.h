#pragma once
// Helpers of the fault tests: the console front end run as a process of its own (so
// that it can be killed, or its server killed under it) over every kind this build
// converts, and targets that already hold an earlier conversion.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/ChildProcess.h"
#include "tests/support/CliRun.h"
#include "tests/support/TestDatabase.h"

// Rows of every legacy table of the generated folders: a few thousand where a run
// must last long enough to be interrupted, a few dozen where any run will do.
constexpr int kManyRows = 2000;
constexpr int kFewRows = 30;

inline bool Has(const std::string& text, const std::string& what) { return text.find(what) != std::string::npos; }

// Debian's gfix (firebird3.0-utils), for `gfix -v -full`.
inline std::string Gfix() {
  for (const char* c : {"/usr/bin/gfix", "/usr/bin/gfix-fb", "/opt/firebird/bin/gfix"})
    if (access(c, X_OK) == 0) return c;
  return "gfix";
}

// Whether a `gfix -v -full` report is of a sound database: no count of errors.
// Orphan pages (allocated, not yet linked when a process died) are counted as
// warnings: space to reclaim, not damage.
inline bool Sound(const std::string& validation) { return validation.find("errors\t:") == std::string::npos; }

// The console converting every kind it offers from `origem` into `destino` (a file,
// or a name through a server), with the tests' password.
inline std::vector<std::string> ConvertAll(const std::string& origem, const std::string& destino,
                                           const std::string& senha = TestDatabase::kPassword) {
  return {std::string(CT_BINARY_DIR) + "/conversor-tolv-cli", "--origem", origem, "--destino", destino, "--senha",
          senha, "todos"};
}

// Runs the console to its end; a run still going after `seconds` is killed and
// fails the test (a hang is a fault of its own).
inline CliResult RunConsole(const std::vector<std::string>& argv, double seconds = 120,
                               const ChildOptions& options = {}) {
  ChildProcess p(argv, options);
  const bool ended = p.WaitExit(seconds);
  if (!ended) {
    p.Signal(SIGKILL);
    p.WaitExit(10);
  }
  EXPECT_TRUE(ended) << "the console was still running after " << seconds << " s:\n" << p.Out() << p.Err();
  return {ended ? p.Status() : -1, p.Out(), p.Err()};
}

// Whether the console committed its run (0, or 3 with rows the target refused).
inline bool Committed(const CliResult& r) { return r.status == 0 || r.status == 3; }

// A fresh Norvale file holding the conversion of `origem`, done by the console in
// embedded mode.
inline std::string EarlierConversion(const std::string& origem, const std::string& label) {
  const std::string db = FreshDatabase(label);
  CliResult r = RunConsole(ConvertAll(origem, db));
  if (!Committed(r)) throw std::runtime_error("the earlier conversion failed:\n" + r.out + r.err);
  return db;
}
