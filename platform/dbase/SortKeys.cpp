#include "platform/dbase/SortKeys.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace dbase {

namespace {

void putBig32(std::string& out, std::uint32_t v) {
  out.push_back(static_cast<char>(v >> 24));
  out.push_back(static_cast<char>(v >> 16));
  out.push_back(static_cast<char>(v >> 8));
  out.push_back(static_cast<char>(v));
}

// The moment a date-time stands for, in milliseconds from 30/12/1899, made to sort
// as an unsigned integer. Before that day the time of day is written as a negative
// fraction (-1.25 is 29/12/1899 06:00, after -1.0), so the double alone would put
// the hours of those days backwards.
std::uint64_t orderedMoment(TDateTime t) {
  const double day = std::trunc(t);
  const long long ms = std::llround(day) * 86400000ll + std::llround(std::fabs(t - day) * 86400000.0);
  return static_cast<std::uint64_t>(ms) ^ 0x8000000000000000ull;
}

// One step of the sort: a row, and 8 bytes of its key from the depth reached.
struct Entry {
  std::uint64_t word;
  std::uint32_t tail;  // key bytes left from this depth, 9 for "more than 8"
  std::uint32_t row;
};

bool operator<(const Entry& a, const Entry& b) {
  if (a.word != b.word) return a.word < b.word;
  if (a.tail != b.tail) return a.tail < b.tail;
  return a.row < b.row;  // equal keys stay in the order they came
}

std::string numberKey(const Decimal& d) {
  // Sign first (negative, zero, positive), then the power of ten of the first
  // significant digit, then the significant digits. Negatives have the power and
  // the digits inverted, and an end byte above every digit, so that of two
  // negatives with the same first digits the longer (the larger magnitude) sorts
  // first.
  std::string out;
  if (d.IsZero()) {
    out.push_back(2);
    return out;
  }
  std::string digits;
  long long exp;
  if (!d.intDigits.empty()) {
    exp = static_cast<long long>(d.intDigits.size());
    digits = d.intDigits + d.fracDigits;
  } else {
    const std::size_t lead = d.fracDigits.find_first_not_of('0');
    exp = -static_cast<long long>(lead);
    digits = d.fracDigits.substr(lead);
  }
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
  exp = std::clamp<long long>(exp, -0x7FFFFFFFll, 0x7FFFFFFFll);
  const std::uint32_t biased = static_cast<std::uint32_t>(exp + 0x80000000ll);
  out.push_back(d.negative ? 1 : 3);
  putBig32(out, d.negative ? ~biased : biased);
  for (char c : digits) out.push_back(static_cast<char>(d.negative ? 10 - (c - '0') : 1 + (c - '0')));
  if (d.negative) out.push_back(static_cast<char>(0xFF));
  return out;
}

}  // namespace

SortKeys::SortKeys(const Table& table, const Field& field)
    : table_(table), field_(field), kind_(Table::KindOf(field)) {}

void SortKeys::Reserve(std::size_t rows) {
  ends_.reserve(rows);
  const std::size_t per = kind_ == Kind::Text ? std::min<std::size_t>(field_.length, 16) : 8;
  bytes_.reserve(rows * per);
}

void SortKeys::Add(std::uint32_t rec) {
  // A null adds nothing: the empty key sorts before every value.
  switch (kind_) {
    case Kind::Text: {
      std::string_view s;
      if (table_.TextBytes(rec, field_, s)) bytes_.append(s);
      break;
    }
    case Kind::Number: {
      Decimal d;
      if (table_.NumberOf(rec, field_, d)) bytes_ += numberKey(d);
      break;
    }
    case Kind::Date: {
      TDateTime t;
      if (table_.DateOf(rec, field_, t)) {
        const std::uint64_t b = orderedMoment(t);
        putBig32(bytes_, static_cast<std::uint32_t>(b >> 32));
        putBig32(bytes_, static_cast<std::uint32_t>(b));
      }
      break;
    }
    case Kind::Logical: {
      bool b;
      if (table_.LogicalOf(rec, field_, b)) bytes_.push_back(b ? 2 : 1);
      break;
    }
    case Kind::Memo:
    case Kind::Unsupported:
      table_.BadValue(rec, field_, "esta coluna não pode ordenar.");
  }
  ends_.push_back(bytes_.size());
}

std::string_view SortKeys::Key(std::uint32_t i) const {
  const std::uint64_t begin = i ? ends_[i - 1] : 0;
  return std::string_view(bytes_.data() + begin, ends_[i] - begin);
}

std::vector<std::uint32_t> SortKeys::Order() {
  // Most significant bytes first, 8 at a time: the rows are sorted on the first 8
  // bytes of their keys; each run of rows alike in those (and longer) is sorted
  // again on the next 8, and so on. Long shared prefixes cost a pass over the run
  // per 8 bytes shared, never a comparison of whole keys.
  const std::uint32_t n = static_cast<std::uint32_t>(ends_.size());
  std::vector<Entry> e(n);
  for (std::uint32_t i = 0; i < n; ++i) e[i].row = i;
  struct Range {
    std::uint32_t begin, end;
    std::size_t at;  // the key bytes before this are alike in the whole range
  };
  std::vector<Range> todo;
  if (n > 1) todo.push_back({0, n, 0});
  while (!todo.empty()) {
    Range r = todo.back();
    todo.pop_back();
    // Whole words that every key of the range shares (descriptions that differ only
    // at the end) are stepped over at once rather than 8 bytes a pass.
    {
      const std::string_view first = Key(e[r.begin].row);
      std::size_t common = first.size() - r.at;
      for (std::uint32_t k = r.begin + 1; k < r.end && common >= 8; ++k) {
        const std::string_view key = Key(e[k].row);
        const std::size_t limit = std::min(common, key.size() - r.at);
        std::size_t j = 0;
        while (j < limit && key[r.at + j] == first[r.at + j]) ++j;
        common = j;
      }
      r.at += common / 8 * 8;
    }
    for (std::uint32_t k = r.begin; k < r.end; ++k) {
      const std::string_view key = Key(e[k].row);
      const std::size_t left = key.size() - r.at;  // a range only holds keys at least this long
      unsigned char b[8] = {};
      std::memcpy(b, key.data() + r.at, std::min<std::size_t>(8, left));
      std::uint64_t w = 0;
      for (unsigned char c : b) w = (w << 8) | c;
      e[k].word = w;
      e[k].tail = left > 8 ? 9 : static_cast<std::uint32_t>(left);
    }
    // Rows alike so far are in the order they came: when these 8 bytes do not
    // tell them apart either, there is nothing to sort.
    bool alike = true;
    for (std::uint32_t k = r.begin + 1; alike && k < r.end; ++k)
      alike = e[k].word == e[r.begin].word && e[k].tail == e[r.begin].tail;
    if (!alike) std::sort(e.begin() + r.begin, e.begin() + r.end);
    for (std::uint32_t k = r.begin; k < r.end;) {
      std::uint32_t j = k + 1;
      while (j < r.end && e[j].word == e[k].word && e[j].tail == e[k].tail) ++j;
      if (e[k].tail == 9 && j - k > 1) todo.push_back({k, j, r.at + 8});
      k = j;
    }
  }
  bytes_.clear();
  bytes_.shrink_to_fit();
  ends_.clear();
  ends_.shrink_to_fit();
  std::vector<std::uint32_t> order(n);
  for (std::uint32_t k = 0; k < n; ++k) order[k] = e[k].row;
  return order;
}

}  // namespace dbase
