// Inserts with bound values: one prepared statement per list of columns, the
// values sent as their literals would be, the literal text as the way out.
#include "platform/firebird/Insert.h"

#include <cstring>

#include "platform/firebird/Internal.h"

namespace fb {

namespace {

// A record passes the same string literals row after row; another pointer may
// still name the same column.
bool SameColumn(const char16_t* a, const UString& b) { return std::u16string_view(a) == b; }

}  // namespace

struct Insert::Impl {
  struct Columns {
    std::vector<const char16_t*> given;
    std::vector<UString> names;
    std::string key;  // the statement, in the connection character set
    bool usable = true;
    std::unique_ptr<QueryState> q;
  };
  // Past this many lists of columns the rows run as their text: a record has a
  // few optional columns, not an open set.
  static constexpr std::size_t kMaxLists = 64;

  DbState* db;
  UString table;
  QueryState literal;
  std::vector<Columns> lists;
  unsigned literalRuns = 0;

  Impl(DbState* d, std::u16string_view t) : db(d), table(t), literal(d) {}

  Columns* Find(const Row& row) {
    for (Columns& c : lists) {
      if (c.names.size() != row.size()) continue;
      bool same = true;
      for (std::size_t i = 0; i < row.size() && same; ++i)
        same = c.given[i] == row[i].column || SameColumn(row[i].column, c.names[i]);
      if (same) return &c;
    }
    if (lists.size() >= kMaxLists) return nullptr;
    Columns c;
    UString sql = u"INSERT INTO " + table + u" (";
    UString marks;
    for (std::size_t i = 0; i < row.size(); ++i) {
      c.given.push_back(row[i].column);
      c.names.emplace_back(row[i].column);
      sql += (i ? u", " : u"") + c.names.back();
      marks += i ? u", ?" : u"?";
    }
    sql += u") VALUES (" + marks + u")";
    DbState& d = literal.Db();
    try {
      c.key = d.Encode(sql, u"the statement text");
    } catch (const EDatabaseError&) {
      c.usable = false;
    }
    c.q = std::make_unique<QueryState>(db);
    lists.push_back(std::move(c));
    return &lists.back();
  }

  void RunLiteral(const std::function<UString()>& text) {
    ++literalRuns;
    literal.SetSQL(text());
    literal.Execute(false);
  }
};

Insert::Insert(Database& db, std::u16string_view table) : impl_(std::make_unique<Impl>(db.impl_.get(), table)) {}
Insert::~Insert() = default;

void Insert::Execute(const Row& row, const std::function<UString()>& literal) {
  Impl& m = *impl_;
  DbState& d = m.literal.Db();
  d.RequireConnected();
  Impl::Columns* c = d.cacheOn ? m.Find(row) : nullptr;
  if (!c || !c->usable) return m.RunLiteral(literal);
  QueryState& q = *c->q;
  q.CloseCursor();
  std::vector<Literal>& values = q.shape.literals;
  values.resize(row.size());
  for (std::size_t i = 0; i < row.size(); ++i) {
    const Value& v = row[i].value;
    Literal& l = values[i];
    if (v.kind == Value::Number) {
      // A column's number is often the row before's ("0" row after row): the literal
      // read from that same text then still holds.
      if (l.kind != Literal::Text && l.use == Literal::Assigned && l.text == v.text) continue;
      if (!NumberLiteral(v.text, d.dialect, l)) return m.RunLiteral(literal);
    } else {
      l.kind = Literal::Text;
      l.use = Literal::Assigned;
      l.text = v.text;
    }
  }
  d.EnsureActive();
  if (!q.RunLiterals(c->key, false)) m.RunLiteral(literal);
}

unsigned Insert::LiteralRuns() const { return impl_->literalRuns; }

}  // namespace fb
