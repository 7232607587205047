#pragma once
// The keys of one column for ORDER BY. Each row's value is turned once, while the
// rows are first read in file order, into a string of bytes whose plain byte order
// is the order of the values (nulls first, then text by its stored bytes, numbers by
// value, dates by date, false before true). The sort then works on those strings
// alone: it never goes back to the table, so the records are not paged in again
// and again, and its memory is that of the key column, not of the file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/dbase/DbfTable.h"

namespace dbase {

class SortKeys {
 public:
  SortKeys(const Table& table, const Field& field);

  void Reserve(std::size_t rows);
  // The key of the next row, rows being added in file order. Throws ESourceError,
  // as a read of the cell would, when the value does not convert.
  void Add(std::uint32_t rec);
  std::size_t Size() const { return ends_.size(); }

  // The rows (their positions in the order they were added) in key order; equal
  // keys keep the order they were added in. The keys are released.
  std::vector<std::uint32_t> Order();

 private:
  std::string_view Key(std::uint32_t i) const;

  const Table& table_;
  const Field& field_;
  Kind kind_;
  std::string bytes_;                // every key, one after the other
  std::vector<std::uint64_t> ends_;  // where the key of each row ends in bytes_
};

}  // namespace dbase
