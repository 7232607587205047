#pragma once
// The shape of a statement text: the text with its literal values taken out and a
// positional parameter in each one's place, so that texts that differ only in their
// values (a converter's insert, row after row) share one prepared statement.
//
// Only literals whose place makes the parameter stand for exactly the literal are
// taken out (see LiteralShape.cpp); the connection still checks each value against
// the parameter the engine describes before sending it as a value.
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/Text.h"

namespace fb {

struct Literal {
  // Text: a '...' string (in dialect 1 also "..."). Exact: a number the engine types
  // as an integer, scaled in dialect 3 when it has a point. Approximate: a number the
  // engine types as DOUBLE PRECISION, which it reads from its own text.
  enum Kind { Text, Exact, Approximate } kind = Text;
  // Assigned: a value of INSERT ... VALUES or of UPDATE's SET, which the engine
  // converts to the column's type, literal or parameter alike. Compared: the right
  // side of a comparison with a column (and UPDATE OR INSERT's values, which are
  // also matched), where the parameter takes the column's type but the literal
  // keeps its own.
  enum Use { Assigned, Compared } use = Assigned;
  UString text;            // Text: the characters; Approximate: as written, with its sign
  std::int64_t value = 0;  // Exact: the digits as a whole number, with the sign
  int scale = 0;           // Exact: minus the count of digits after the point
  bool wide = false;       // Exact: BIGINT rather than INTEGER
};

struct Shape {
  UString sql;  // the text with a "?" for each literal taken out
  std::vector<Literal> literals;
  std::vector<std::size_t> cuts;  // where each "?" stands in sql
};

// The shape of a SELECT, INSERT, UPDATE, UPDATE OR INSERT or DELETE text in the given
// SQL dialect. False when the text is none of those, has parameters of its own, or
// has no literal that can be taken out.
bool ShapeOf(std::u16string_view text, int dialect, Shape& out);

// When `text` is `shape` with other literal values (the next row of the same
// statement), reads them into `shape` and returns true, at a fraction of the cost of
// ShapeOf; otherwise leaves `shape` alone and returns false. A text that Reshape
// accepts gets from ShapeOf the same shape and the same values.
bool Reshape(std::u16string_view text, int dialect, Shape& shape);

// A number written as a statement text writes it ("12", "-0.5", "1.5E-5"), read as
// the engine types that literal. False when the text is not one number, or is one
// the engine reads in a way of its own (the text must then run as it is).
bool NumberLiteral(std::u16string_view text, int dialect, Literal& out);

}  // namespace fb
