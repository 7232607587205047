#pragma once
// The console front end as a user runs it: the real program, its output and its
// exit status.
#include <string>

#include "tests/support/DbfFixture.h"
#include "tests/support/Files.h"

struct CliResult {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs build/conversor-tolv-cli with `args` (shell words), its output kept in files
// of `tmp`. `before` goes in front of the program in the shell command: variables,
// a `timeout`, a wrapper that changes what the program may do.
CliResult RunCliProgram(const std::string& args, const TempDir& tmp, const std::string& before = "");
