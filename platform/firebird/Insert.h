#pragma once
// A record class's insert with its values bound to a statement prepared once, the
// literal text of the same row being what it is measured against: a row written
// here leaves the table, or fails with the error, that its literal text would.
//
// Each value goes to the engine as a value of its literal's own type (a text as a
// text, a number as the number its literal is), so the engine converts it to the
// column's type as it converts the literal. Where that would not hold (a text
// longer than its column, a value the engine refuses before running, a character
// the connection cannot hold) the row's literal text runs as it is instead; so it
// does for every row when the statement cache is off (CONVERSOR_TOLV_CACHE=0).
#include <cstddef>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/Text.h"
#include "platform/firebird/Firebird.h"

namespace fb {

// One value as the row's literal text writes it.
struct Value {
  enum Kind { Text, Number } kind = Text;
  // Text: the characters, unquoted. Number: as written, "12.5", "-3", "1.5E-5".
  UString text;

  static Value Texto(UString t) { return {Text, std::move(t)}; }
  static Value Numero(UString n) { return {Number, std::move(n)}; }
};

// A column as the insert names it ("Produto.CODPROD") and its value. Columns are
// named by string literals, which live as long as the program.
struct ColumnValue {
  const char16_t* column;
  Value value;
};
using Row = std::vector<ColumnValue>;

// Writes a row in place, column after column: a record that keeps one Row for all
// its rows refills it without allocating, each text keeping the room it took in
// the rows before. Done() drops the columns of a longer previous row.
class RowFiller {
 public:
  explicit RowFiller(Row& row) : row_(row) {}
  void Texto(const char16_t* column, std::u16string_view v) { Set(column, Value::Text, v); }
  void Numero(const char16_t* column, std::u16string_view v) { Set(column, Value::Number, v); }
  void Done() { row_.erase(row_.begin() + static_cast<std::ptrdiff_t>(n_), row_.end()); }

 private:
  void Set(const char16_t* column, Value::Kind kind, std::u16string_view v) {
    if (n_ == row_.size()) row_.push_back({column, {kind, UString()}});
    ColumnValue& c = row_[n_++];
    c.column = column;
    c.value.kind = kind;
    c.value.text.assign(v);
  }

  Row& row_;
  std::size_t n_ = 0;
};

class Insert {
 public:
  Insert(Database& db, std::u16string_view table);
  ~Insert();
  Insert(const Insert&) = delete;
  Insert& operator=(const Insert&) = delete;

  // Writes one row of the given columns, in their order. Each list of columns
  // (a record leaves its empty optional dates out) is prepared on its first row
  // and kept until the connection closes; `literal` gives the row's literal text,
  // built only when it has to run.
  void Execute(const Row& row, const std::function<UString()>& literal);

  // Rows that ran as their literal text (for tests and benchmarks).
  unsigned LiteralRuns() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace fb
