#pragma once
// A list of text lines; lines of the form name=value are read by name.
#include <vector>

#include "platform/Text.h"

class TStringList {
 public:
  void Add(const UString& line) { lines_.push_back(line); }
  void Clear() { lines_.clear(); }
  std::size_t Count() const { return lines_.size(); }
  const UString& operator[](std::size_t i) const { return lines_[i]; }
  const std::vector<UString>& Lines() const { return lines_; }
  // The value of the first line whose name matches `name` without regard to the
  // case of ASCII letters; the empty text when there is none.
  UString Values(std::u16string_view name) const;
  // Replaces the value of `name`, or adds name=value.
  void SetValue(std::u16string_view name, const UString& value);

 private:
  std::vector<UString> lines_;
};
