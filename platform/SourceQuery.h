#pragma once
// A read-only query over the legacy tables of one folder. A table is named by its
// file name without extension, found without regard to letter case; columns too.
//
// Column reads:
// - as text: character columns without their padding blanks, dates in the short
//   date format of the query's settings, numbers in decimal with their separator
//   and no superfluous zeros; a blank or null value gives the empty text;
// - as a double: null gives 0;
// - as a date-time: null gives 30/12/1899 (0).
// Every failure (folder, table or column missing, a value that does not convert,
// a statement not understood) is an ESourceError with a clear message.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DateTime.h"
#include "platform/Error.h"
#include "platform/Regional.h"
#include "platform/Text.h"

class SourceQuery {
 public:
  virtual ~SourceQuery() = default;

  virtual void SetDatabaseName(const UString& folder) = 0;  // the source directory
  virtual const UString& DatabaseName() const = 0;
  virtual void SetSQL(const UString& sql) = 0;  // closes the query; the empty text clears
  virtual const UString& SQL() const = 0;
  virtual void BindText(const UString& name, const UString& value) = 0;

  virtual void Open() = 0;  // on the first row, or at the end when empty
  virtual void Close() = 0;
  virtual bool Active() const = 0;

  virtual void First() = 0;
  virtual void Last() = 0;  // on the last row and at the end (Eof), as the legacy datasets
  virtual void Next() = 0;  // past the last row: Eof, still on the last row
  virtual bool Eof() const = 0;
  virtual int RecordCount() const = 0;  // exact, known before the first row is read
  virtual int RecNo() const = 0;        // 1-based position of the current row
  // The current row's record number in its file: 1-based, deleted records counted,
  // whatever the filter and the order; what the legacy program showed beside the
  // row, so the operator finds the row there. 0 when the result is empty.
  virtual long long RecordNumber() const = 0;

  virtual UString FieldAsText(std::u16string_view column) const = 0;
  virtual double FieldAsDouble(std::u16string_view column) const = 0;
  virtual TDateTime FieldAsDateTime(std::u16string_view column) const = 0;
  virtual bool FieldIsNull(std::u16string_view column) const = 0;
};

// What the inspection learns of one table without a statement: its file, its
// records (deleted ones included, as the file counts them), how its text is read,
// its memo file and its columns.
struct SourceTableInfo {
  std::string file;  // the file's own name, in its letter case
  long long records = 0;
  long long deleted = 0;
  std::string codePage;        // "cp850", ...
  std::string codePageSource;  // how it was decided: .cpg file, language byte, guess
  std::string memo;            // the memo file's name, empty when none
  std::vector<UString> columns;
  UString error;  // why the file found could not be read; the rest is then unknown
};

// The engine behind the queries: a run holds one, and asks it for every query.
class SourceEngine {
 public:
  virtual ~SourceEngine() = default;
  // A new query; its dates and numbers follow `regional`, which must outlive it.
  virtual std::unique_ptr<SourceQuery> NewQuery(const FormatSettings& regional) = 0;
  // The table's file and layout; nothing when the folder has no file of that name.
  // Two files that differ only by letter case are an ESourceError.
  virtual std::optional<SourceTableInfo> Describe(const UString& folder, const UString& table) = 0;
  // What the engine noticed about the tables it read and the operator should know
  // (a code page guessed by a narrow margin), one line each, oldest first, each
  // table once; the lines are handed over once.
  virtual std::vector<UString> TakeRemarks() = 0;
};
