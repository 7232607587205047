// Statements: a query's text, its prepared statement with the message metadata
// that describes it, execution, and the result set it opens.
#include <algorithm>
#include <cstring>

#include "platform/firebird/Firebird.h"
#include "platform/firebird/Internal.h"

using namespace Firebird;

namespace fb {

namespace {
// A shape's values were refused by the engine before the statement ran.
struct ValueRefused {};

// A converter gives the same long insert text row after row; comparing it as bytes
// costs a fraction of comparing it character by character.
bool SameBytes(const UString& a, const UString& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(char16_t)) == 0;
}
}  // namespace

Category CategoryOf(unsigned type) {
  switch (type) {
    case SQL_TEXT:
    case SQL_VARYING: return Category::Char;
    case SQL_TYPE_DATE:
    case SQL_TYPE_TIME:
    case SQL_TIMESTAMP: return Category::Date;
    case SQL_BLOB: return Category::Blob;
    default: return Category::Other;
  }
}

std::vector<Item> ReadItems(ThrowStatusWrapper* st, IMessageMetadata* meta) {
  std::vector<Item> items;
  if (!meta) return items;
  unsigned n = meta->getCount(st);
  items.resize(n);
  for (unsigned i = 0; i < n; ++i) {
    Item& it = items[i];
    it.type = meta->getType(st, i) & ~1u;
    it.length = meta->getLength(st, i);
    it.subType = meta->getSubType(st, i);
    it.scale = meta->getScale(st, i);
    it.charSet = meta->getCharSet(st, i) & 0xFF;
    it.offset = meta->getOffset(st, i);
    it.nullOffset = meta->getNullOffset(st, i);
  }
  return items;
}

QueryState::QueryState(DbState* d) : db(d) {
  if (db) db->queries.push_back(this);
}

QueryState::~QueryState() {
  Forget();
  if (db) db->queries.erase(std::find(db->queries.begin(), db->queries.end(), this));
}

void QueryState::SetSQL(const UString& text) {
  CloseCursor();
  if (SameBytes(text, sql) && parseError.empty() && bindings.size() == names.size()) {
    // The same text again (a converter's insert, row after row): keep what was
    // parsed and prepared; only the values are forgotten.
    for (Binding& b : bindings) b.kind = Binding::Unbound;
    return;
  }
  sql = text;
  parseError.clear();
  names.clear();
  posToName.clear();
  bindings.clear();
  textKeyReady = false;
  shapeState = ShapeState::Unknown;
  isCommit = IsCommitStatement(text);
  try {
    parsed = ParseSql(text);
  } catch (const EDatabaseError& e) {
    parsed = ParsedSql{};
    parseError = e.Message();
    return;
  }
  for (const UString& n : parsed.params) {
    std::size_t k = 0;
    while (k < names.size() && !SameTextAscii(names[k], n)) ++k;
    if (k == names.size()) names.push_back(n);
    posToName.push_back(k);
  }
  bindings.assign(names.size(), Binding{});
}

void QueryState::CloseCursor() noexcept {
  if (rs) {
    try {
      if (db) db->Guard([&] { rs->close(&db->st); });
      else rs->release();
    } catch (...) {
      rs->release();
    }
    rs = nullptr;
  }
  if (cur && cur->cursorOwner == this) cur->cursorOwner = nullptr;
  active = false;
  hasRow = false;
  foundRow = false;
}

void QueryState::Forget() noexcept {
  CloseCursor();
  cur.reset();
  textKeyReady = false;
  shapeState = ShapeState::Unknown;
  shapeKept = false;
}

// Makes `cur` the statement of `key`: the one this query holds, else one from the
// attachment's cache, else one prepared now. A statement has one result open at a
// time: a query opening another result of the same text meanwhile gets a second
// statement, which is cached too. False when `key` is a shape the engine would not
// prepare (remembered, so it is tried once).
bool QueryState::Acquire(const std::string& key, bool isShape) {
  DbState& d = Db();
  auto usable = [&](const std::shared_ptr<Prepared>& p) {
    return p && (!p->cursorOwner || p->cursorOwner == this);
  };
  if (cur && cur->key == key && usable(cur)) {
    if (d.cacheOn) d.cache.Touch(*cur);
    return cur->stmt != nullptr;
  }
  cur.reset();
  if (d.cacheOn) {
    if (std::shared_ptr<Prepared> found = d.cache.Find(key, this)) {
      cur = std::move(found);
      return cur->stmt != nullptr;
    }
  }
  ++prepareCount;
  std::shared_ptr<Prepared> p;
  try {
    p = d.PrepareStatement(key);
  } catch (const EDatabaseError&) {
    if (!isShape) throw;
    p = std::make_shared<Prepared>();
    p->db = &d;
    p->key = key;
  }
  // A definition is run once, and holding it would only hold what it defines.
  if (d.cacheOn && p->type != isc_info_sql_stmt_ddl) d.cache.Put(p);
  cur = std::move(p);
  return cur->stmt != nullptr;
}

bool QueryState::ReturnsCursor() const {
  return cur->type == isc_info_sql_stmt_select || cur->type == isc_info_sql_stmt_select_for_upd;
}
bool QueryState::EndsTransaction() const {
  return cur->type == isc_info_sql_stmt_commit || cur->type == isc_info_sql_stmt_rollback ||
         cur->type == isc_info_sql_stmt_start_trans;
}

void QueryState::Execute(bool wantRows) {
  DbState& d = Db();
  CloseCursor();
  d.RequireConnected();
  if (!parseError.empty()) Fail(parseError);
  if (isCommit) {
    // A commit statement is a real commit of the connection's transaction.
    if (wantRows) Fail(u"A COMMIT statement returns no rows");
    if (d.tra) d.Commit();
    return;
  }
  d.EnsureActive();
  if (RunShape(wantRows)) return;
  if (!textKeyReady) {
    textKey = d.Encode(parsed.sql, u"the statement text");
    textKeyReady = true;
  }
  Acquire(textKey, false);
  SlotsFromBindings();
  WriteInput();
  Run(wantRows);
}

// Runs the text's shape with its literals as values, when it has one, the engine
// prepares it, and every value would do there what the literal does; otherwise the
// text runs as it is.
bool QueryState::RunShape(bool wantRows) {
  DbState& d = Db();
  if (!d.cacheOn || !parsed.params.empty() || parsed.positional > 0 || parsed.psqlBody) return false;
  if (shapeState == ShapeState::Unknown) {
    char32_t bad = 0;
    if (shapeKept && Reshape(sql, d.dialect, shape)) {
      shapeState = ShapeState::Shaped;  // the shape of the text before, other values
    } else {
      shapeKept = ShapeOf(sql, d.dialect, shape) && EncodeText(d.cs.codec, shape.sql, shapeKey, bad);
      shapeState = shapeKept ? ShapeState::Shaped : ShapeState::None;
    }
  }
  if (shapeState != ShapeState::Shaped) return false;
  return RunLiterals(shapeKey, wantRows);
}

bool QueryState::RunLiterals(const std::string& key, bool wantRows) {
  if (!Acquire(key, true) || !SlotsFromLiterals()) return false;
  WriteInput();
  try {
    Run(wantRows, true);
  } catch (const ValueRefused&) {
    return false;
  }
  return true;
}

void QueryState::Run(bool wantRows, bool shaped) {
  DbState& d = Db();
  Prepared& p = *cur;
  const unsigned char* in = p.inMeta && !p.curItems.empty() ? inBuf.data() : nullptr;
  IMessageMetadata* im = in ? p.inMeta : nullptr;
  // The engine converts the values of a message before it runs anything, and says
  // so with a DSQL error; the literal would have failed (or not) while the statement
  // ran, with its own words and its own side effects (an identity value used up),
  // so the text runs as it is instead.
  auto call = [&](auto&& f) {
    try {
      f();
    } catch (const FbException& e) {
      if (shaped && e.getStatus()->getErrors()[1] == isc_dsql_error) throw ValueRefused{};
      throw d.Error(e.getStatus());
    }
  };
  outBuf.resize(p.outLength);
  if (ReturnsCursor()) {
    call([&] { rs = p.stmt->openCursor(&d.st, d.tra, im, const_cast<unsigned char*>(in), p.outMeta, 0); });
    p.cursorOwner = this;
    active = true;
    Fetch();
    foundRow = hasRow;
    return;
  }
  if (wantRows && p.outItems.empty()) Fail(u"The statement returns no rows; execute it instead of opening it");
  // Statements kept may refer to what a definition changes or drops.
  if (p.type == isc_info_sql_stmt_ddl) d.cache.Clear();
  if (EndsTransaction()) d.CloseAllCursors();
  bool withOut = !p.outItems.empty();
  call([&] {
    ITransaction* r = p.stmt->execute(&d.st, d.tra, im, const_cast<unsigned char*>(in),
                                      withOut ? p.outMeta : nullptr, withOut ? outBuf.data() : nullptr);
    d.Adopt(r);
  });
  if (withOut) {
    // EXECUTE PROCEDURE, INSERT ... RETURNING: one row.
    active = true;
    hasRow = true;
    foundRow = true;
  }
}

void QueryState::Fetch() {
  DbState& d = Db();
  if (!rs) { hasRow = false; return; }
  int r;
  try {
    r = d.Guard([&] { return rs->fetchNext(&d.st, outBuf.data()); });
  } catch (...) {
    // The engine gives up a cursor whose fetch failed: close it, so that no caller
    // takes it for an empty result or loops on it.
    CloseCursor();
    throw;
  }
  hasRow = r == IStatus::RESULT_OK;
}

// ---------------------------------------------------------------------------
// The public class

Query::Query(Database& db) : impl_(std::make_unique<Impl>(db.impl_.get())) {}
Query::~Query() = default;
void Query::SetSQL(const UString& sql) { impl_->SetSQL(sql); }
const UString& Query::SQL() const { return impl_->sql; }
std::vector<UString> Query::ParamNames() const { return impl_->names; }
void Query::BindText(std::u16string_view name, const UString& value) {
  Binding& b = impl_->Bind(name);
  b.kind = Binding::Text;
  b.text = value;
}
void Query::BindInteger(std::u16string_view name, std::int64_t value) {
  Binding& b = impl_->Bind(name);
  b.kind = Binding::Integer;
  b.i = value;
}
void Query::BindDouble(std::u16string_view name, double value) {
  Binding& b = impl_->Bind(name);
  b.kind = Binding::Double;
  b.d = value;
}
void Query::BindNull(std::u16string_view name) { impl_->Bind(name).kind = Binding::Null; }
void Query::ExecSQL() { impl_->Execute(false); }
void Query::Open() { impl_->Execute(true); }
void Query::Close() { impl_->CloseCursor(); }
bool Query::Active() const { return impl_->active; }
bool Query::IsEmpty() const { return !impl_->active || !impl_->foundRow; }
bool Query::Eof() const { return !impl_->active || !impl_->hasRow; }
void Query::Next() {
  if (!impl_->active) Fail(u"The query is not open");
  if (!impl_->hasRow) return;
  if (impl_->rs) impl_->Fetch();
  else impl_->hasRow = false;  // the one row of an executed statement
}
UString Query::FieldAsText(const UString& name) const { return impl_->Text(impl_->Column(name)); }
std::int64_t Query::FieldAsInteger(const UString& name) const { return impl_->Integer(impl_->Column(name)); }
double Query::FieldAsDouble(const UString& name) const { return impl_->Double(impl_->Column(name)); }
bool Query::FieldIsNull(const UString& name) const { return impl_->IsNull(impl_->Column(name)); }
std::vector<UString> Query::FieldNames() const {
  return impl_->cur ? impl_->cur->aliases : std::vector<UString>();
}
unsigned Query::PrepareCount() const { return impl_->prepareCount; }

}  // namespace fb
