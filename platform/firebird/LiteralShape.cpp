// Which literals a shape takes out, and why only those.
//
// A parameter takes the type the engine infers from its place, while a literal keeps
// its own type; they behave alike only where the engine converts the literal to that
// same type anyway. That is so for the values of INSERT ... VALUES (...) and of
// UPDATE's SET (each converted to its column's type as it is stored), and for the
// right side of a comparison with a column, where the connection checks before each
// execution that the value converts to the column's type without loss. Elsewhere (a
// select list, an expression, a function's argument, ORDER BY 1, a type's length, a
// literal with an introducer or a type name) the literal stays in the text.
#include "platform/firebird/LiteralShape.h"

#include <algorithm>
#include <limits>

namespace fb {

namespace {

bool IsIdentStart(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_'; }
bool IsIdentChar(char16_t c) { return IsIdentStart(c) || (c >= u'0' && c <= u'9') || c == u'$'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The end of the number starting at i (digits, a point, an exponent), and whether it
// is a plain number: "1abc", "0x1F", "1.2.3", "1e" are not.
std::size_t ScanNumber(std::u16string_view s, std::size_t i, bool& ok) {
  const std::size_t n = s.size();
  std::size_t j = i;
  while (j < n && IsDigit(s[j])) ++j;
  if (j < n && s[j] == u'.') {
    ++j;
    while (j < n && IsDigit(s[j])) ++j;
  }
  ok = true;
  if (j < n && (s[j] == u'e' || s[j] == u'E')) {
    ++j;
    if (j < n && (s[j] == u'+' || s[j] == u'-')) ++j;
    ok = j < n && IsDigit(s[j]);
    while (j < n && IsDigit(s[j])) ++j;
  }
  while (j < n && (IsIdentChar(s[j]) || s[j] == u'.')) { ok = false; ++j; }
  return j;
}

bool StartsNumber(std::u16string_view s, std::size_t i) {
  return i < s.size() && (IsDigit(s[i]) || (s[i] == u'.' && i + 1 < s.size() && IsDigit(s[i + 1])));
}

// The end of the quoted text starting at i (its quote doubled inside stands for
// itself), or npos when it does not close.
std::size_t ScanQuoted(std::u16string_view s, std::size_t i) {
  const char16_t q = s[i];
  for (std::size_t j = i + 1; j < s.size(); ++j) {
    if (s[j] != q) continue;
    if (j + 1 < s.size() && s[j + 1] == q) { ++j; continue; }
    return j + 1;
  }
  return std::u16string_view::npos;
}

UString Unquote(std::u16string_view quoted) {
  UString text;
  text.reserve(quoted.size());
  const char16_t q = quoted[0];
  for (std::size_t k = 1; k + 1 < quoted.size(); ++k) {
    text.push_back(quoted[k]);
    if (quoted[k] == q) ++k;  // a doubled quote stands for one
  }
  return text;
}

struct Token {
  enum Kind { Word, String, Number, Punct, Opaque } kind;
  std::size_t begin, end;  // the span in the text
  std::u16string_view word;  // Word: as written; Punct: the operator
  int depth;               // parentheses open before the token
};

// Splits the text into tokens, skipping blanks and comments. False when the text has
// parameters of its own or a quote that does not close.
bool Tokenize(std::u16string_view s, int dialect, std::vector<Token>& out) {
  int depth = 0;
  std::size_t i = 0;
  const std::size_t n = s.size();
  out.reserve(n / 4);
  while (i < n) {
    char16_t c = s[i];
    if (c <= 32) { ++i; continue; }
    if (c == u'-' && i + 1 < n && s[i + 1] == u'-') {
      while (i < n && s[i] != u'\n') ++i;
      continue;
    }
    if (c == u'/' && i + 1 < n && s[i + 1] == u'*') {
      auto e = s.find(u"*/", i + 2);
      if (e == std::u16string_view::npos) return false;
      i = e + 2;
      continue;
    }
    Token t{Token::Punct, i, i + 1, {}, depth};
    if (c == u'\'' || c == u'"') {
      t.end = ScanQuoted(s, i);
      if (t.end == std::u16string_view::npos) return false;
      // In dialect 3 double quotes delimit an identifier.
      t.kind = c == u'"' && dialect >= 3 ? Token::Word : Token::String;
    } else if (IsIdentStart(c)) {
      std::size_t j = i;
      while (j < n && IsIdentChar(s[j])) ++j;
      if (j - i == 1 && (c == u'q' || c == u'Q') && j < n && s[j] == u'\'') {
        // q'{...}': never taken out.
        if (j + 1 >= n) return false;
        char16_t open = s[j + 1];
        char16_t close = open == u'(' ? u')' : open == u'[' ? u']' : open == u'{' ? u'}' : open == u'<' ? u'>' : open;
        std::size_t k = j + 2;
        while (k + 1 < n && !(s[k] == close && s[k + 1] == u'\'')) ++k;
        if (k + 1 >= n) return false;
        t.kind = Token::Opaque;
        t.end = k + 2;
      } else {
        t.kind = Token::Word;
        t.end = j;
        t.word = s.substr(i, j - i);
      }
    } else if (StartsNumber(s, i)) {
      bool ok;
      t.end = ScanNumber(s, i, ok);
      t.kind = ok ? Token::Number : Token::Opaque;
    } else if (c == u'?' || (c == u':' && i + 1 < n && IsIdentStart(s[i + 1]))) {
      return false;  // the text has parameters of its own
    } else {
      static const char16_t* const kTwo[] = {u"<>", u"!=", u"^=", u"~=", u"<=", u">=", u"!<", u"!>",
                                             u"^<", u"^>", u"~<", u"~>", u"||"};
      for (const char16_t* op : kTwo)
        if (i + 1 < n && s[i] == op[0] && s[i + 1] == op[1]) t.end = i + 2;
      t.word = s.substr(i, t.end - i);
      if (c == u')') t.depth = --depth;
      if (c == u'(') ++depth;
    }
    out.push_back(std::move(t));
    i = out.back().end;
  }
  return true;
}

bool IsWord(const std::vector<Token>& t, std::size_t i, std::u16string_view w) {
  return i < t.size() && t[i].kind == Token::Word && SameTextAscii(t[i].word, w);
}
bool IsPunct(const std::vector<Token>& t, std::size_t i, std::u16string_view p) {
  return i < t.size() && t[i].kind == Token::Punct && t[i].word == p;
}

// Reads the number token (with the sign before it, if any) as the engine types it.
// False for a number the engine reads in a way of its own: one whose digits, the
// point left aside, exceed 2^63 - 1 is refused by its parser (or, at exactly 2^63
// in dialect 1, read as 0 once negated), so it stays in the text to be so.
bool ReadNumber(std::u16string_view number, bool negative, int dialect, Literal& lit) {
  const std::size_t e = number.find_first_of(u"eE");
  const std::u16string_view digits = number.substr(0, e);
  const bool point = digits.find(u'.') != std::u16string_view::npos;
  std::uint64_t mag = 0;
  int fraction = 0;
  bool afterPoint = false;
  for (char16_t c : digits) {
    if (c == u'.') { afterPoint = true; continue; }
    const unsigned d = static_cast<unsigned>(c - u'0');
    if (mag > (static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) - d) / 10) return false;
    mag = mag * 10 + d;
    if (afterPoint) ++fraction;
  }
  lit.text = negative ? UString(u"-") : UString();
  lit.text += number;
  if (e != std::u16string_view::npos || (point && dialect < 3)) {
    lit.kind = Literal::Approximate;
    return true;
  }
  lit.kind = Literal::Exact;
  lit.scale = -fraction;
  if (!point && mag <= static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
    lit.wide = false;
  } else if (dialect < 3) {
    lit.kind = Literal::Approximate;  // dialect 1 holds a larger integer as a double
    return true;
  } else {
    lit.wide = true;
  }
  lit.value = negative ? -static_cast<std::int64_t>(mag) : static_cast<std::int64_t>(mag);
  return true;
}

class Shaper {
 public:
  Shaper(std::u16string_view s, int dialect, std::vector<Token>& t)
      : s_(s), dialect_(dialect), t_(t), used_(t.size(), false) {
    taken_.reserve(t.size() / 4);
  }

  // A literal, possibly signed, spanning tokens [i, end); false when there is none at i.
  bool LiteralAt(std::size_t i, std::size_t& end) const {
    if (i >= t_.size()) return false;
    if (t_[i].kind == Token::String) { end = i + 1; return true; }
    if (t_[i].kind == Token::Number) { end = i + 1; return true; }
    if ((IsPunct(t_, i, u"-") || IsPunct(t_, i, u"+")) && i + 1 < t_.size() && t_[i + 1].kind == Token::Number) {
      end = i + 2;
      return true;
    }
    return false;
  }

  // A column reference ending at token i (COL or TABLE.COL); its first token.
  bool ColumnEndingAt(std::size_t i, std::size_t& first) const {
    if (i >= t_.size() || t_[i].kind != Token::Word) return false;
    first = i;
    if (i >= 2 && IsPunct(t_, i - 1, u".") && t_[i - 2].kind == Token::Word) first = i - 2;
    return true;
  }

  void Take(std::size_t first, std::size_t end, Literal::Use use) {
    for (std::size_t k = first; k < end; ++k)
      if (used_[k]) return;  // already taken
    Literal lit;
    lit.use = use;
    const Token& last = t_[end - 1];
    if (last.kind == Token::String) {
      lit.text = Unquote(s_.substr(last.begin, last.end - last.begin));
      lit.kind = Literal::Text;
    } else {
      bool negative = end - first == 2 && t_[first].word == u"-";
      if (!ReadNumber(s_.substr(last.begin, last.end - last.begin), negative, dialect_, lit)) return;
    }
    for (std::size_t k = first; k < end; ++k) used_[k] = true;
    taken_.push_back({first, end, std::move(lit)});
  }

  void ValuesList(std::size_t open, Literal::Use use) {
    // Items between the list's "(" and its ")", split by its commas.
    const int inner = t_[open].depth + 1;
    std::size_t start = open + 1;
    for (std::size_t k = start; k < t_.size(); ++k) {
      bool closes = IsPunct(t_, k, u")") && t_[k].depth == inner - 1;
      bool comma = IsPunct(t_, k, u",") && t_[k].depth == inner;
      if (!closes && !comma) continue;
      std::size_t end;
      if (LiteralAt(start, end) && end == k) Take(start, end, use);
      if (closes) return;
      start = k + 1;
    }
  }

  void SetList(std::size_t set) {
    static const char16_t* const kEnds[] = {u"WHERE", u"RETURNING", u"PLAN", u"ORDER", u"ROWS"};
    std::size_t start = set + 1;
    for (std::size_t k = start;; ++k) {
      bool ends = k >= t_.size() || IsPunct(t_, k, u";");
      if (!ends && t_[k].depth == 0)
        for (const char16_t* w : kEnds) ends = ends || IsWord(t_, k, w);
      bool comma = !ends && IsPunct(t_, k, u",") && t_[k].depth == 0;
      if (!ends && !comma) continue;
      // COL = literal or TABLE.COL = literal, nothing more.
      std::size_t eq = start;
      while (eq < k && !IsPunct(t_, eq, u"=")) ++eq;
      std::size_t first, end;
      if (eq < k && eq > start && ColumnEndingAt(eq - 1, first) && first == start && LiteralAt(eq + 1, end) &&
          end == k)
        Take(eq + 1, end, Literal::Assigned);
      if (ends) return;
      start = k + 1;
    }
  }

  void Comparisons() {
    static const char16_t* const kOps[] = {u"=", u"<>", u"!=", u"^=", u"~=", u"<", u">", u"<=", u">="};
    static const char16_t* const kBefore[] = {u"WHERE", u"AND", u"OR", u"NOT", u"ON", u"HAVING"};
    static const char16_t* const kAfter[] = {u"AND", u"OR", u"ORDER", u"GROUP", u"ROWS", u"PLAN",
                                             u"UNION", u"RETURNING", u"FOR", u"WITH", u"HAVING"};
    for (std::size_t k = 1; k < t_.size(); ++k) {
      if (t_[k].kind != Token::Punct || std::u16string_view(u"=<>!^~").find(t_[k].word[0]) == std::u16string_view::npos)
        continue;
      bool op = false;
      for (const char16_t* o : kOps) op = op || t_[k].word == o;
      if (!op) continue;
      std::size_t first, end;
      if (!ColumnEndingAt(k - 1, first) || first == 0) continue;
      bool before = IsPunct(t_, first - 1, u"(");
      for (const char16_t* w : kBefore) before = before || IsWord(t_, first - 1, w);
      if (!before || !LiteralAt(k + 1, end)) continue;
      bool after = end == t_.size() || IsPunct(t_, end, u")") || IsPunct(t_, end, u";");
      for (const char16_t* w : kAfter) after = after || IsWord(t_, end, w);
      if (after) Take(k + 1, end, Literal::Compared);
    }
  }

  bool Run(Shape& out) {
    if (t_.empty()) return false;
    const bool insert = IsWord(t_, 0, u"INSERT");
    const bool update = IsWord(t_, 0, u"UPDATE");
    const bool upsert = update && IsWord(t_, 1, u"OR") && IsWord(t_, 2, u"INSERT");
    if (!insert && !update && !IsWord(t_, 0, u"DELETE") && !IsWord(t_, 0, u"SELECT")) return false;
    if (insert || upsert) {
      for (std::size_t k = 0; k + 1 < t_.size(); ++k)
        if (IsWord(t_, k, u"VALUES") && t_[k].depth == 0 && IsPunct(t_, k + 1, u"(")) {
          // UPDATE OR INSERT also matches its values against the rows there.
          ValuesList(k + 1, upsert ? Literal::Compared : Literal::Assigned);
          break;
        }
    } else if (update) {
      for (std::size_t k = 0; k < t_.size(); ++k)
        if (IsWord(t_, k, u"SET") && t_[k].depth == 0) {
          SetList(k);
          break;
        }
    }
    Comparisons();
    if (taken_.empty()) return false;
    std::sort(taken_.begin(), taken_.end(), [](const Taken& a, const Taken& b) { return a.first < b.first; });
    out.sql.clear();
    out.sql.reserve(s_.size());
    out.literals.clear();
    out.literals.reserve(taken_.size());
    out.cuts.clear();
    std::size_t at = 0;
    for (Taken& tk : taken_) {
      out.sql.append(s_.substr(at, t_[tk.first].begin - at));
      out.cuts.push_back(out.sql.size());
      out.sql.push_back(u'?');
      at = t_[tk.end - 1].end;
      out.literals.push_back(std::move(tk.lit));
    }
    out.sql.append(s_.substr(at));
    return true;
  }

 private:
  struct Taken {
    std::size_t first, end;
    Literal lit;
  };
  std::u16string_view s_;
  int dialect_;
  std::vector<Token>& t_;
  std::vector<Taken> taken_;
  std::vector<bool> used_;  // tokens already taken out
};

}  // namespace

bool ShapeOf(std::u16string_view text, int dialect, Shape& out) {
  std::vector<Token> tokens;
  if (!Tokenize(text, dialect, tokens)) return false;
  return Shaper(text, dialect, tokens).Run(out);
}

namespace {

// Past the blanks and comments at i, as the tokenizer passes over them; npos when a
// comment does not close.
std::size_t SkipGaps(std::u16string_view s, std::size_t i) {
  const std::size_t n = s.size();
  for (;;) {
    while (i < n && s[i] <= 32) ++i;
    if (i + 1 < n && s[i] == u'-' && s[i + 1] == u'-') {
      while (i < n && s[i] != u'\n') ++i;
    } else if (i + 1 < n && s[i] == u'/' && s[i + 1] == u'*') {
      const auto e = s.find(u"*/", i + 2);
      if (e == std::u16string_view::npos) return e;
      i = e + 2;
    } else {
      return i;
    }
  }
}

}  // namespace

// The text around the literals is the shape's, character for character, so every
// literal stands where the shape took one out, with the same tokens around it: the
// text has that shape, and only the values need reading.
bool Reshape(std::u16string_view text, int dialect, Shape& shape) {
  std::vector<Literal> values(shape.literals.size());
  const std::u16string_view sql = shape.sql;
  std::size_t at = 0, from = 0;
  for (std::size_t i = 0; i < values.size(); ++i) {
    const std::u16string_view fixed = sql.substr(from, shape.cuts[i] - from);
    if (text.substr(at, fixed.size()) != fixed) return false;
    at += fixed.size();
    from = shape.cuts[i] + 1;
    Literal& lit = values[i];
    lit.use = shape.literals[i].use;
    if (at < text.size() && (text[at] == u'\'' || (text[at] == u'"' && dialect < 3))) {
      std::size_t end = ScanQuoted(text, at);
      if (end == std::u16string_view::npos) return false;
      lit.kind = Literal::Text;
      lit.text = Unquote(text.substr(at, end - at));
      at = end;
      continue;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == u'-' || text[at] == u'+')) {
      negative = text[at] == u'-';
      // A comment may stand between the sign and its number, as the tokenizer allows.
      at = SkipGaps(text, at + 1);
      if (at == std::u16string_view::npos) return false;
    }
    if (!StartsNumber(text, at)) return false;
    bool ok;
    std::size_t end = ScanNumber(text, at, ok);
    if (!ok || !ReadNumber(text.substr(at, end - at), negative, dialect, lit)) return false;
    at = end;
  }
  if (text.substr(at) != sql.substr(from)) return false;
  shape.literals = std::move(values);
  return true;
}

bool NumberLiteral(std::u16string_view text, int dialect, Literal& out) {
  std::size_t at = 0;
  const bool negative = !text.empty() && text[0] == u'-';
  if (!text.empty() && (text[0] == u'-' || text[0] == u'+')) at = 1;
  if (!StartsNumber(text, at)) return false;
  bool ok = false;
  if (ScanNumber(text, at, ok) != text.size() || !ok) return false;
  out.use = Literal::Assigned;
  return ReadNumber(text.substr(at), negative, dialect, out);
}

}  // namespace fb
