#pragma once
// The fixture folder of the dBase reader's tests, written once per test program by
// make_fixtures.py (python3-dbf, with byte patches checked by python3-dbfread).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Text.h"
#include "platform/SourceQuery.h"
#include "platform/dbase/DbfEngine.h"

namespace dbftest {

// The engine every query of these tests comes from (its remarks accumulate there),
// and the Brazilian settings a run starts with.
dbase::Engine& Engine();
const FormatSettings& Brasil();

using Strings = std::vector<std::string>;
using Columns = std::vector<UString>;

// The folder; written on first use, removed when the program ends.
const std::string& Dir();
std::string Sub(const std::string& name);  // Dir() + "/" + name

inline std::string S(const UString& u) { return UToUtf8(u); }

// An open query over the folder.
std::unique_ptr<SourceQuery> Open(const std::string& folder, const UString& sql,
                                  const std::vector<std::pair<UString, UString>>& params = {},
                                  const FormatSettings& fs = Brasil());
UString SelectSql(const std::string& table, const Columns& columns);  // SELECT a, b FROM table

// Every row's text of the given columns, joined by "|"; of a whole table in the folder.
Strings Rows(SourceQuery& q, const Columns& columns);
Strings Select(const std::string& folder, const std::string& table, const Columns& columns,
               const FormatSettings& fs = Brasil());

// Moves the query to its 1-based row.
void At(SourceQuery& q, int row);

// The message of the exception the call throws ("" when it throws none).
template <class F>
std::string ErrorOf(F&& f) {
  try {
    f();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "";
}
std::string OpenError(const std::string& folder, const UString& sql);

// The message holds every part.
::testing::AssertionResult Says(const std::string& message, const std::vector<const char*>& parts);

}  // namespace dbftest
