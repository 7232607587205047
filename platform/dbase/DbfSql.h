#pragma once
// The statements the source query engine understands: the forms the converters use.
//
//   SELECT col {, col} FROM table
//     [WHERE cond {AND cond}]
//     [ORDER BY col [ASC]] [;]
//   col  := name | table.name
//   cond := col = :param | col = "text" | col IS NULL
//
// Keywords, names and parameters in any letter case; blanks, tabs and line breaks
// anywhere between tokens. Anything else is an ESourceError naming what was not
// understood and where.
#include <cstddef>
#include <optional>
#include <vector>

#include "platform/Text.h"

namespace dbase {

struct ColumnRef {
  UString table;  // the qualifier as written, empty when none
  UString name;
  std::size_t pos = 0;  // 1-based character position in the statement, for messages
};

struct Condition {
  enum Op { EqualsParam, EqualsText, IsNull };
  ColumnRef column;
  Op op = IsNull;
  UString value;  // the parameter name without ':' or the literal text
};

struct Statement {
  std::vector<ColumnRef> columns;
  UString table;
  std::vector<Condition> where;
  std::optional<ColumnRef> orderBy;
  std::vector<UString> params;  // parameter names, first appearance order
};

Statement ParseStatement(std::u16string_view sql);

}  // namespace dbase
