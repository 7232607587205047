#pragma once
// The fixture folder of the dBase reader's tests, written once per test program by
// make_fixtures.py (python3-dbf, with byte patches checked by python3-dbfread).
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Text.h"
#include "run/SourceQuery.h"

namespace dbftest {

// The folder; written on first use, removed when the program ends.
const std::string& Dir();
std::string Sub(const std::string& name);  // Dir() + "/" + name

inline UString U(const char* utf8) { return Utf8ToU(utf8); }
inline std::string S(const UString& u) { return UToUtf8(u); }

// An open query over the folder.
std::unique_ptr<SourceQuery> Open(const std::string& folder, const UString& sql,
                                  const std::vector<std::pair<UString, UString>>& params = {});

// Every row's text of the given columns, joined by "|".
std::vector<std::string> Rows(SourceQuery& q, const std::vector<UString>& columns);

// The message of the ESourceError the call throws ("" when it throws none).
template <class F>
std::string ErrorOf(F&& f) {
  try {
    f();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "";
}

}  // namespace dbftest
