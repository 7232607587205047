// Statements: a query's text, its prepared statement with the message metadata
// that describes it, execution, and the result set it opens.
#include <algorithm>
#include <cstring>

#include "platform/firebird/Firebird.h"
#include "platform/firebird/Internal.h"

using namespace Firebird;

namespace fb {

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
  CloseCursor();
  FreeStatement();
  if (db) db->queries.erase(std::find(db->queries.begin(), db->queries.end(), this));
}

void QueryState::SetSQL(const UString& text) {
  CloseCursor();
  if (text == sql && parseError.empty() && bindings.size() == names.size()) {
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
  active = false;
  hasRow = false;
  foundRow = false;
}

void QueryState::ReleaseMeta() noexcept {
  if (inMeta) { inMeta->release(); inMeta = nullptr; }
  if (inOrig) { inOrig->release(); inOrig = nullptr; }
  if (outMeta) { outMeta->release(); outMeta = nullptr; }
  origItems.clear();
  curItems.clear();
  outItems.clear();
  aliases.clear();
  fields.clear();
}

void QueryState::FreeStatement() noexcept {
  CloseCursor();
  ReleaseMeta();
  if (stmt) {
    try {
      if (db && db->att) db->Guard([&] { stmt->free(&db->st); });
      else stmt->release();
    } catch (...) {
      stmt->release();
    }
    stmt = nullptr;
  }
  preparedSql.clear();
}


void QueryState::Prepare() {
  DbState& d = Db();
  if (!parseError.empty()) Fail(parseError);
  if (stmt && preparedSql == sql) return;
  FreeStatement();
  std::string text = d.Encode(parsed.sql, u"the statement text");
  d.EnsureActive();
  d.Guard([&] {
    stmt = d.att->prepare(&d.st, d.tra, static_cast<unsigned>(text.size()), text.c_str(),
                          static_cast<unsigned>(d.dialect), IStatement::PREPARE_PREFETCH_METADATA);
  });
  ++prepareCount;
  try {
    d.Guard([&] {
      stmtType = stmt->getType(&d.st);
      inOrig = stmt->getInputMetadata(&d.st);
      outMeta = stmt->getOutputMetadata(&d.st);
      origItems = ReadItems(&d.st, inOrig);
      outItems = ReadItems(&d.st, outMeta);
      outBuf.assign(outMeta->getMessageLength(&d.st), 0);
      for (unsigned i = 0; i < outItems.size(); ++i) {
        const char* a = outMeta->getAlias(&d.st, i);
        const char* f = outMeta->getField(&d.st, i);
        aliases.push_back(d.Decode(a ? a : "", kCsUtf8));
        fields.push_back(d.Decode(f ? f : "", kCsUtf8));
      }
    });
  } catch (...) {
    FreeStatement();
    throw;
  }
  preparedSql = sql;
}

// Fills the input message from the bindings, rebuilding its metadata only when a
// value needs another type or more room than the current one gives.

bool QueryState::ReturnsCursor() const {
  return stmtType == isc_info_sql_stmt_select || stmtType == isc_info_sql_stmt_select_for_upd;
}
bool QueryState::EndsTransaction() const {
  return stmtType == isc_info_sql_stmt_commit || stmtType == isc_info_sql_stmt_rollback ||
         stmtType == isc_info_sql_stmt_start_trans;
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
  Prepare();
  FillInput();
  const unsigned char* in = inMeta && !curItems.empty() ? inBuf.data() : nullptr;
  IMessageMetadata* im = in ? inMeta : nullptr;
  if (ReturnsCursor()) {
    d.Guard([&] {
      rs = stmt->openCursor(&d.st, d.tra, im, const_cast<unsigned char*>(in), outMeta, 0);
    });
    active = true;
    Fetch();
    foundRow = hasRow;
    return;
  }
  if (wantRows && outItems.empty()) Fail(u"The statement returns no rows; execute it instead of opening it");
  if (EndsTransaction()) d.CloseAllCursors();
  bool withOut = !outItems.empty();
  d.Guard([&] {
    ITransaction* r = stmt->execute(&d.st, d.tra, im, const_cast<unsigned char*>(in), withOut ? outMeta : nullptr,
                                    withOut ? outBuf.data() : nullptr);
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
void Query::BindText(const UString& name, const UString& value) {
  Binding& b = impl_->Bind(name);
  b.kind = Binding::Text;
  b.text = value;
}
void Query::BindInteger(const UString& name, std::int64_t value) {
  Binding& b = impl_->Bind(name);
  b.kind = Binding::Integer;
  b.i = value;
}
void Query::BindDouble(const UString& name, double value) {
  Binding& b = impl_->Bind(name);
  b.kind = Binding::Double;
  b.d = value;
}
void Query::BindNull(const UString& name) { impl_->Bind(name).kind = Binding::Null; }
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
std::vector<UString> Query::FieldNames() const { return impl_->aliases; }
unsigned Query::PrepareCount() const { return impl_->prepareCount; }


}  // namespace fb
