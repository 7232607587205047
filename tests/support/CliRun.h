#pragma once
// The console front end as a user runs it: the real program, its output and its
// exit status.
#include <string>

#include "tests/support/DbfFixture.h"

struct CliResult {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs build/conversor-tolv-cli with `args` (shell words), its output kept in files
// of `tmp`.
CliResult RunCliProgram(const std::string& args, const TempDir& tmp);

std::string Slurp(const std::string& path);
