#pragma once
// The source query engine over dBase files: it opens queries on a folder of legacy
// tables, describes a table for the inspection, and keeps what it noticed while
// reading (a code page guessed by a narrow margin) until the run hands it over.
#include <string>
#include <utility>
#include <vector>

#include "platform/SourceQuery.h"

namespace dbase {

class Table;

class Engine final : public SourceEngine {
 public:
  std::unique_ptr<SourceQuery> NewQuery(const FormatSettings& regional) override;
  std::optional<SourceTableInfo> Describe(const UString& folder, const UString& table) override;
  std::vector<UString> TakeRemarks() override;

  // A table whose code page was guessed by a narrow margin: the operator should
  // look at its accents. Once for each file until the remarks are taken.
  void RemarkCloseGuess(const Table& t);

 private:
  std::vector<std::pair<std::string, UString>> remarks_;  // with the file each is about
};

// A query of the engine; its readings follow `regional`, which must outlive it.
std::unique_ptr<SourceQuery> NewDbfQuery(Engine& engine, const FormatSettings& regional);

}  // namespace dbase
