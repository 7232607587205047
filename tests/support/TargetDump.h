#pragma once
// Every row of every user table of a Firebird file, as one text: a table's rows
// sorted, each value with a marker for null. Two dumps are equal exactly when the
// tables hold the same rows, so "the target is exactly as it was" is one comparison.
#include <string>
#include <vector>

// Opens its own connection (close the test's own first: embedded mode holds the file
// for one process at a time) and returns the dump.
std::string DumpTables(const std::string& dbPath);

// Rows of a statement, each as "COL1|COL2|..." (every column of the select when
// `cols` is empty), read through a connection of its own so that only what was
// committed shows. A null reads as `null`.
std::vector<std::string> CommittedRows(const std::string& dbPath, const std::string& sql,
                                       const std::vector<std::string>& cols = {}, const std::string& null = "");
