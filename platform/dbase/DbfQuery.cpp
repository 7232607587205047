// The source query engine over the dBase tables of a folder (platform/SourceQuery.h).
//
// Open resolves the table and columns, then makes one pass over the records in
// file order: deleted records are skipped and the WHERE conditions evaluated. The
// rows kept are remembered by their record positions (4 bytes a row, none at all
// when every record is a row); with ORDER BY the same pass takes each row's key
// (SortKeys), and the rows are sorted on the keys alone. Column reads convert the
// mapped bytes of the current record on demand.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <memory>
#include <string>
#include <vector>

#include "platform/DateTime.h"
#include "platform/Error.h"
#include "platform/dbase/DbfEngine.h"
#include "platform/dbase/DbfSql.h"
#include "platform/dbase/DbfTable.h"
#include "platform/dbase/SortKeys.h"

namespace dbase {

namespace {

// A WHERE condition bound to its field, with the literal converted once.
struct Filter {
  const Field* field = nullptr;
  Kind kind = Kind::Text;
  Condition::Op op = Condition::IsNull;
  bool matchesNull = false;   // the literal is empty: it equals the null (blank) values
  bool matchesNothing = false;  // a text the table's code page cannot hold
  std::string bytes;          // Text: the literal in the table's code page, right-trimmed
  Decimal number;
  TDateTime date = 0;
  bool logical = false;
  UString text;               // Memo
};

UString trimRightBlanks(const UString& s) {
  std::size_t n = s.size();
  while (n > 0 && (s[n - 1] == u' ' || s[n - 1] == 0)) --n;
  return s.substr(0, n);
}

class DbfQuery final : public SourceQuery {
 public:
  DbfQuery(Engine& engine, const FormatSettings& regional) : engine_(engine), fs_(regional) {}

  void SetDatabaseName(const UString& folder) override {
    Close();
    db_ = folder;
  }
  const UString& DatabaseName() const override { return db_; }

  void SetSQL(const UString& sql) override {
    Close();
    sql_ = sql;
    st_.reset();
    bound_.clear();
    if (!TrimCtl(sql).empty()) st_ = ParseStatement(sql);
  }
  const UString& SQL() const override { return sql_; }

  void BindText(const UString& name, const UString& value) override {
    std::u16string_view n = name;
    if (!n.empty() && n[0] == u':') n.remove_prefix(1);
    if (!st_) throw ESourceError("O parâmetro \"" + UToUtf8(n) + "\" não pode receber valor: a consulta não tem comando SQL.");
    const UString* known = nullptr;
    for (const UString& p : st_->params)
      if (SameTextAscii(p, n)) known = &p;
    if (!known)
      throw ESourceError("O parâmetro \"" + UToUtf8(n) + "\" não existe no comando: " + UToUtf8(sql_));
    for (auto& b : bound_)
      if (SameTextAscii(b.first, n)) {
        b.second = value;
        return;
      }
    bound_.emplace_back(*known, value);
  }

  void Open() override {
    if (active_) return;
    if (!st_) {
      if (!TrimCtl(sql_).empty()) st_ = ParseStatement(sql_);  // throws the same error again
      else throw ESourceError("A consulta das tabelas de origem não tem comando SQL.");
    }
    const Statement& st = *st_;
    const std::string path = FindTableFile(UToUtf8(db_), st.table);
    auto table = std::make_unique<Table>(path, st.table);

    cols_.clear();
    for (const ColumnRef& c : st.columns) cols_.push_back({c.name, Resolve(*table, c)});
    std::size_t slots = 4;
    while (slots < 2 * cols_.size()) slots *= 2;
    slots_.assign(slots, -1);
    for (std::size_t i = 0; i < cols_.size(); ++i) {
      std::size_t h = NameHash(cols_[i].name) & (slots - 1);
      while (slots_[h] >= 0) h = (h + 1) & (slots - 1);
      slots_[h] = static_cast<int>(i);
    }
    hint_ = 0;
    std::vector<Filter> filters;
    for (const Condition& c : st.where) filters.push_back(MakeFilter(*table, c));
    const Field* order = st.orderBy ? Resolve(*table, *st.orderBy) : nullptr;
    if (order) {
      const Kind k = Table::KindOf(*order);
      if (k == Kind::Memo || k == Kind::Unsupported)
        throw ESourceError("A coluna \"" + UToUtf8(order->name) + "\" da tabela \"" + UToUtf8(st.table) + "\" é do tipo \"" +
                           std::string(1, order->type) + "\" e não pode ordenar (ORDER BY).");
    }

    // The code page, when text is read: decided before the records are visited out
    // of order, and a narrow guess told to the operator.
    bool readsText = false;
    for (const Col& c : cols_) readsText |= Table::KindOf(*c.field) == Kind::Text || Table::KindOf(*c.field) == Kind::Memo;
    if (readsText && table->CpGuessIsClose()) engine_.RemarkCloseGuess(*table);

    // One pass in file order.
    std::optional<SortKeys> keys;
    if (order) keys.emplace(*table, *order);
    table->AdviseSequential();
    rows_.clear();
    identity_ = true;
    const std::uint32_t n = table->RecordCount();
    if (keys) keys->Reserve(n);
    std::uint32_t kept = 0;
    for (std::uint32_t rec = 0; rec < n; ++rec) {
      bool keep = table->IsLive(rec);
      for (std::size_t i = 0; keep && i < filters.size(); ++i) keep = Matches(*table, filters[i], rec);
      if (keep) {
        if (!identity_) rows_.push_back(rec);
        if (keys) keys->Add(rec);
        ++kept;
      } else if (identity_) {
        identity_ = false;
        rows_.reserve(rec + (n - rec) / 8);
        for (std::uint32_t r = 0; r < rec; ++r) rows_.push_back(r);
      }
    }
    count_ = kept;
    table_ = std::move(table);
    if (keys && count_ > 1) {
      const std::vector<std::uint32_t> sorted = keys->Order();
      keys.reset();
      std::vector<std::uint32_t> recs(count_);
      for (std::uint32_t i = 0; i < count_; ++i) recs[i] = identity_ ? sorted[i] : rows_[sorted[i]];
      rows_ = std::move(recs);
      identity_ = false;
    }
    if (order) table_->AdviseRandom();
    active_ = true;
    cur_ = 0;
    eof_ = count_ == 0;
  }

  void Close() override {
    active_ = false;
    table_.reset();
    cols_.clear();
    rows_.clear();
    rows_.shrink_to_fit();
    identity_ = true;
    count_ = 0;
    cur_ = 0;
    eof_ = true;
  }
  bool Active() const override { return active_; }

  void First() override {
    RequireActive("First");
    cur_ = 0;
    eof_ = count_ == 0;
  }
  // As the legacy datasets: on the last row, and at the end.
  void Last() override {
    RequireActive("Last");
    cur_ = count_ ? count_ - 1 : 0;
    eof_ = true;
  }
  void Next() override {
    RequireActive("Next");
    if (cur_ + 1 < count_) ++cur_;
    else eof_ = true;
  }
  bool Eof() const override { return !active_ || eof_; }
  int RecordCount() const override {
    RequireActive("RecordCount");
    return static_cast<int>(count_);
  }
  int RecNo() const override {
    RequireActive("RecNo");
    return count_ ? static_cast<int>(cur_) + 1 : 0;
  }
  long long RecordNumber() const override {
    RequireActive("RecordNumber");
    if (count_ == 0) return 0;
    return static_cast<long long>(identity_ ? cur_ : rows_[cur_]) + 1;
  }

  UString FieldAsText(std::u16string_view column) const override {
    const Field& f = Column(column);
    return table_->AsText(Current(column), f, fs_);
  }
  double FieldAsDouble(std::u16string_view column) const override {
    const Field& f = Column(column);
    return table_->AsDouble(Current(column), f, fs_);
  }
  TDateTime FieldAsDateTime(std::u16string_view column) const override {
    const Field& f = Column(column);
    return table_->AsDateTime(Current(column), f, fs_);
  }
  bool FieldIsNull(std::u16string_view column) const override {
    const Field& f = Column(column);
    return table_->IsNull(Current(column), f);
  }

 private:
  struct Col {
    UString name;
    const Field* field;
  };

  void RequireActive(const char* what) const {
    if (!active_)
      throw ESourceError(std::string("A consulta das tabelas de origem não está aberta (") + what + "): " + UToUtf8(sql_));
  }

  const Field* Resolve(const Table& t, const ColumnRef& c) const {
    if (!c.table.empty() && !SameTextAscii(c.table, st_->table))
      throw ESourceError("A coluna \"" + UToUtf8(c.table) + "." + UToUtf8(c.name) + "\" é de uma tabela que não está no FROM (\"" +
                         UToUtf8(st_->table) + "\"): " + UToUtf8(sql_));
    const int i = t.FindField(c.name);
    if (i < 0)
      throw ESourceError("A coluna \"" + UToUtf8(c.name) + "\" não existe na tabela \"" + UToUtf8(st_->table) + "\" (" +
                         t.Path() + ").");
    return &t.Fields()[static_cast<std::size_t>(i)];
  }

  const Field& Column(std::u16string_view name) const {
    RequireActive("leitura de coluna");
    std::u16string_view n = name;
    const std::size_t dot = n.find(u'.');
    if (dot != std::u16string_view::npos) {
      if (!SameTextAscii(n.substr(0, dot), st_->table))
        throw ESourceError("A coluna \"" + UToUtf8(name) + "\" não é da tabela \"" + UToUtf8(st_->table) + "\" da consulta.");
      n.remove_prefix(dot + 1);
    }
    // The converters read the columns in the same order on every row: try the one
    // after the last found first, then the hash of the name.
    if (!cols_.empty()) {
      const Col& guess = cols_[hint_];
      if (SameTextAscii(guess.name, n)) {
        hint_ = hint_ + 1 < cols_.size() ? hint_ + 1 : 0;
        return *guess.field;
      }
      const std::size_t mask = slots_.size() - 1;
      for (std::size_t h = NameHash(n) & mask;; h = (h + 1) & mask) {
        const int i = slots_[h];
        if (i < 0) break;
        if (SameTextAscii(cols_[static_cast<std::size_t>(i)].name, n)) {
          hint_ = static_cast<std::size_t>(i) + 1 < cols_.size() ? static_cast<std::size_t>(i) + 1 : 0;
          return *cols_[static_cast<std::size_t>(i)].field;
        }
      }
    }
    std::string list;
    for (const Col& c : cols_) list += (list.empty() ? "" : ", ") + UToUtf8(c.name);
    throw ESourceError("A coluna \"" + UToUtf8(name) + "\" não faz parte da consulta da tabela \"" + UToUtf8(st_->table) +
                       "\" (colunas: " + list + ").");
  }

  std::uint32_t Current(std::u16string_view column) const {
    if (count_ == 0)
      throw ESourceError("A consulta da tabela \"" + UToUtf8(st_->table) + "\" não tem linhas; a coluna \"" + UToUtf8(column) +
                         "\" não pode ser lida.");
    return identity_ ? cur_ : rows_[cur_];
  }

  Filter MakeFilter(const Table& t, const Condition& c) const {
    Filter fl;
    fl.field = Resolve(t, c.column);
    fl.kind = Table::KindOf(*fl.field);
    fl.op = c.op;
    if (fl.kind == Kind::Unsupported)
      throw ESourceError("A coluna \"" + UToUtf8(fl.field->name) + "\" da tabela \"" + UToUtf8(st_->table) + "\" é do tipo \"" +
                         std::string(1, fl.field->type) + "\", que este leitor não lê.");
    if (c.op == Condition::IsNull) return fl;
    UString value = c.value;
    if (c.op == Condition::EqualsParam) {
      const UString* v = nullptr;
      for (const auto& b : bound_)
        if (SameTextAscii(b.first, c.value)) v = &b.second;
      if (!v) throw ESourceError("O parâmetro \"" + UToUtf8(c.value) + "\" não recebeu valor: " + UToUtf8(sql_));
      value = *v;
    }
    value = trimRightBlanks(value);
    const std::string shown = "\"" + UToUtf8(value) + "\"";
    const std::string colText = "a coluna \"" + UToUtf8(fl.field->name) + "\" da tabela \"" + UToUtf8(st_->table) + "\"";
    if (TrimCtl(value).empty() && fl.kind != Kind::Text) {
      fl.matchesNull = true;
      return fl;
    }
    switch (fl.kind) {
      case Kind::Text:
        if (value.empty()) fl.matchesNull = true;
        else if (!Encode(t.Cp(), value, fl.bytes)) fl.matchesNothing = true;
        break;
      case Kind::Number: {
        if (!ParseDecimalText(value, fl.number))
          throw ESourceError("O valor " + shown + " não é um número e não pode ser comparado com " + colText + ".");
        break;
      }
      case Kind::Date: {
        if (!ParseDateText(TrimCtl(value), fl.date, fs_)) throw ESourceError("O valor " + shown + " não é uma data e não pode ser comparado com " + colText + ".");
        break;
      }
      case Kind::Logical: {
        const UString v = UpperAZ(TrimCtl(value));
        if (v == u"T" || v == u"Y" || v == u"S" || v == u"TRUE" || v == u".T.") fl.logical = true;
        else if (v == u"F" || v == u"N" || v == u"FALSE" || v == u".F.") fl.logical = false;
        else throw ESourceError("O valor " + shown + " não é lógico e não pode ser comparado com " + colText + ".");
        break;
      }
      case Kind::Memo:
        fl.text = value;
        break;
      case Kind::Unsupported:
        break;
    }
    return fl;
  }

  static bool Matches(const Table& t, const Filter& fl, std::uint32_t rec) {
    const Field& f = *fl.field;
    if (fl.op == Condition::IsNull) return t.IsNull(rec, f);
    if (fl.matchesNothing) return false;
    if (fl.matchesNull) return t.IsNull(rec, f);
    switch (fl.kind) {
      case Kind::Text: {
        std::string_view s;
        return t.TextBytes(rec, f, s) && s == fl.bytes;
      }
      case Kind::Number: {
        Decimal d;
        return t.NumberOf(rec, f, d) && CompareDecimal(d, fl.number) == 0;
      }
      case Kind::Date: {
        TDateTime d;
        if (!t.DateOf(rec, f, d)) return false;
        // A literal with a time matches that moment (to the millisecond the field
        // holds); a bare date matches a date field's day, or midnight of a date-time.
        if (fl.date != std::trunc(fl.date)) return std::fabs(d - fl.date) < 0.5 / 86400000.0;
        return std::trunc(d) == fl.date && (f.type == 'D' || d == fl.date);
      }
      case Kind::Logical: {
        bool b;
        return t.LogicalOf(rec, f, b) && b == fl.logical;
      }
      case Kind::Memo: {
        UString s;
        return t.MemoOf(rec, f, s) && trimRightBlanks(s) == fl.text;
      }
      case Kind::Unsupported: break;
    }
    return false;
  }

  // FNV-1a over the name with 'a'..'z' raised: letter case aside, as the lookups.
  static std::size_t NameHash(std::u16string_view n) {
    std::uint64_t h = 1469598103934665603ull;
    for (char16_t c : n) {
      if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
      h = (h ^ c) * 1099511628211ull;
    }
    return static_cast<std::size_t>(h ^ (h >> 29));
  }

  Engine& engine_;
  const FormatSettings& fs_;
  UString db_;
  UString sql_;
  std::vector<int> slots_;  // open addressing over cols_ by NameHash
  mutable std::size_t hint_ = 0;
  std::optional<Statement> st_;
  std::vector<std::pair<UString, UString>> bound_;
  std::unique_ptr<Table> table_;
  std::vector<Col> cols_;
  std::vector<std::uint32_t> rows_;
  bool identity_ = true;
  std::uint32_t count_ = 0;
  std::uint32_t cur_ = 0;
  bool eof_ = true;
  bool active_ = false;
};

}  // namespace

std::unique_ptr<SourceQuery> NewDbfQuery(Engine& engine, const FormatSettings& regional) {
  return std::make_unique<DbfQuery>(engine, regional);
}

}  // namespace dbase
