#pragma once
// Every row of every user table of a Firebird file, as one text: a table's rows
// sorted, each value with a marker for null. Two dumps are equal exactly when the
// tables hold the same rows, so "the target is exactly as it was" is one comparison.
#include <string>

enum class Dump {
  Exact,
  // Columns the engine fills with the moment of the insert (a default of 'NOW') read
  // "<momento>": two runs of the same rows at different moments then dump alike.
  MaskInsertTimes,
};

// Opens its own connection (close the test's own first: embedded mode holds the file
// for one process at a time) and returns the dump. `dbPath` may also name a file
// through a server ("localhost/3050:/path").
std::string DumpTables(const std::string& dbPath, Dump mode = Dump::Exact);
