#pragma once
// Legacy folders of any size, written by bench/make_legacy_folder.py (the value mix
// of a real shop, checked with Debian's python3-dbfread), every table `rows` rows.
#include <string>

// A folder with `rows` rows of every legacy table, of the given variant (folders of
// two variants convert into different target rows). Built once per build tree and
// shared by every test process: read it, never write into it (copy it first).
std::string GeneratedLegacyFolder(int rows, char variant = 'A');

// Copies every file of `from` into the folder `to` (created if needed).
void CopyFolder(const std::string& from, const std::string& to);
