// The target connection over fbclient's OO API (firebird/Interface.h).
//
// Lifetimes: the Database state owns the IAttachment and the one ITransaction; each
// Query state owns its IStatement, its message metadata and its IResultSet. The
// Database state keeps a list of its queries so that a transaction end closes their
// result sets first and a detach frees their statements first. A Query or
// Transaction that outlives its Database is orphaned: every use is then an error.
//
// fbclient's release rules: IResultSet::close, IStatement::free, ITransaction::commit
// and rollback, and IAttachment::detach release the interface when they succeed;
// when they fail the interface is still ours and is released with release().
// IStatement::execute returns the transaction the statement leaves behind: null
// after a COMMIT or ROLLBACK statement (the one passed in has then been released by
// the client and is never touched again), a new one after SET TRANSACTION.
#include "platform/firebird/Firebird.h"

#include <firebird/Interface.h>

#include <langinfo.h>

#include <algorithm>
#include <clocale>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

#include "platform/DateTime.h"
#include "platform/Regional.h"
#include "platform/firebird/SqlText.h"

using namespace Firebird;

namespace fb {

namespace {

IMaster* Master() {
  static IMaster* m = fb_get_master_interface();
  return m;
}

[[noreturn]] void Fail(const UString& message) { throw EDatabaseError(message); }

UString U8(std::string_view s) { return Utf8ToU(s); }

std::string Hex(char32_t cp) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
  return buf;
}

// Transaction parameters: see the header.
const unsigned char kTpb[] = {isc_tpb_version3, isc_tpb_write, isc_tpb_read_committed,
                              isc_tpb_rec_version, isc_tpb_nowait};
const unsigned char kTpbReadOnly[] = {isc_tpb_version3, isc_tpb_read, isc_tpb_read_committed,
                                      isc_tpb_rec_version, isc_tpb_nowait};

constexpr unsigned kMaxVarchar = 32765;

enum class Category { Char, Date, Blob, Other };

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

// One item of a message: where it lives in the buffer and what it is.
struct Item {
  unsigned type = 0;
  unsigned length = 0;
  int subType = 0;
  int scale = 0;
  unsigned charSet = 0;
  unsigned offset = 0;
  unsigned nullOffset = 0;
};

template <class Status>
std::vector<Item> ReadItems(Status* st, IMessageMetadata* meta) {
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

bool IsServerName(const UString& name) {
  for (const char16_t* p : {u"inet://", u"inet4://", u"inet6://", u"xnet://", u"wnet://"}) {
    UString pre(p);
    if (name.size() >= pre.size() && SameTextAscii(name.substr(0, pre.size()), pre)) return true;
  }
  if (name.size() > 2 && name[0] == u'\\' && name[1] == u'\\') return true;  // \\host\path
  if (name.empty() || name[0] == u'/' || name[0] == u'.') return false;
  auto colon = name.find(u':');
  // "C:..." is a drive letter, not a host.
  return colon != UString::npos && colon >= 2;
}

struct Charset {
  UString name;  // as given to isc_dpb_lc_ctype
  unsigned id;
  Codec codec;
};

std::optional<Charset> KnownCharset(const UString& upper) {
  if (upper == u"UTF8" || upper == u"UNICODE_FSS") return Charset{u"UTF8", kCsUtf8, Codec::Utf8};
  if (upper == u"WIN1252") return Charset{u"WIN1252", kCsWin1252, Codec::Win1252};
  if (upper == u"ISO8859_1") return Charset{u"ISO8859_1", kCsIso8859_1, Codec::Latin1};
  // The legacy Windows client wrote its ANSI code page into NONE columns.
  if (upper == u"NONE") return Charset{u"NONE", kCsNone, Codec::Win1252};
  return std::nullopt;
}

// The connection set chosen for a database default set (see the header).
Charset ChooseCharset(const UString& dbDefault) {
  if (dbDefault == u"NONE" || dbDefault == u"OCTETS" || dbDefault.empty())
    return Charset{u"WIN1252", kCsWin1252, Codec::Win1252};
  if (auto c = KnownCharset(dbDefault); c && c->name != u"NONE") return *c;
  return Charset{u"UTF8", kCsUtf8, Codec::Utf8};
}

UString FormatScaled(std::int64_t v, int scale) {
  bool neg = v < 0;
  // Magnitude without overflow at INT64_MIN.
  std::uint64_t m = neg ? static_cast<std::uint64_t>(-(v + 1)) + 1 : static_cast<std::uint64_t>(v);
  std::string digits = std::to_string(m);
  if (scale < 0) {
    std::size_t s = static_cast<std::size_t>(-scale);
    if (digits.size() <= s) digits.insert(0, s + 1 - digits.size(), '0');
    digits.insert(digits.size() - s, ".");
  } else if (scale > 0) {
    digits.append(static_cast<std::size_t>(scale), '0');
  }
  if (neg) digits.insert(0, "-");
  return U8(digits);
}

// A negative scale is that of a NUMERIC or DECIMAL that the database holds as a
// double (dialect 1, precision above 9): it is written with the scale's digits,
// like the same column of a smaller precision.
UString FormatDouble(double v, int scale = 0) {
  if (std::isnan(v)) return u"NaN";
  if (std::isinf(v)) return v > 0 ? u"INF" : u"-INF";
  char buf[400];
  auto r = scale < 0 ? std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, -scale)
                     : std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
  std::string s(buf, r.ptr);
  if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);  // no "-0.00"
  return U8(s);
}

UString Pad2(unsigned v) {
  UString s;
  s.push_back(static_cast<char16_t>(u'0' + (v / 10) % 10));
  s.push_back(static_cast<char16_t>(u'0' + v % 10));
  return s;
}

bool ParseWholeNumber(std::u16string_view s, std::int64_t& out) {
  std::size_t b = 0, e = s.size();
  while (b < e && s[b] == u' ') ++b;
  while (e > b && s[e - 1] == u' ') --e;
  if (b == e) return false;
  std::string a;
  for (std::size_t i = b; i < e; ++i) {
    char16_t c = s[i];
    if ((c >= u'0' && c <= u'9') || ((c == u'-' || c == u'+') && i == b)) a.push_back(static_cast<char>(c));
    else return false;
  }
  std::size_t start = a[0] == '+' ? 1 : 0;
  auto r = std::from_chars(a.data() + start, a.data() + a.size(), out);
  return r.ec == std::errc() && r.ptr == a.data() + a.size();
}

bool ParseDoubleText(std::u16string_view s, double& out) {
  std::size_t b = 0, e = s.size();
  while (b < e && s[b] == u' ') ++b;
  while (e > b && s[e - 1] == u' ') --e;
  if (b == e) return false;
  std::string a;
  for (std::size_t i = b; i < e; ++i) {
    char16_t c = s[i];
    if (c == u'.' || c == Regional().DecimalSeparator) a.push_back('.');
    else if ((c >= u'0' && c <= u'9') || c == u'-' || c == u'+' || c == u'e' || c == u'E') a.push_back(static_cast<char>(c));
    else return false;
  }
  std::size_t start = a[0] == '+' ? 1 : 0;
  auto r = std::from_chars(a.data() + start, a.data() + a.size(), out);
  return r.ec == std::errc() && r.ptr == a.data() + a.size() && std::isfinite(out);
}

// "hh:nn[:ss[.zzz]]" with the regional time separator.
bool ParseTimeOnly(std::u16string_view s, TDateTime& out) {
  std::size_t i = 0;
  while (i < s.size() && s[i] == u' ') ++i;
  int part[4] = {0, 0, 0, 0};
  int count = 0;
  for (; count < 4; ++count) {
    int v = 0, d = 0;
    while (i < s.size() && s[i] >= u'0' && s[i] <= u'9' && d < 4) { v = v * 10 + (s[i] - u'0'); ++i; ++d; }
    if (d == 0) return false;
    if (count == 3) { while (d < 3) { v *= 10; ++d; } while (d > 3) { v /= 10; --d; } }
    part[count] = v;
    if (i < s.size() && count < 2 && s[i] == Regional().TimeSeparator) { ++i; continue; }
    if (i < s.size() && count == 2 && (s[i] == u'.' || s[i] == Regional().DecimalSeparator)) { ++i; continue; }
    ++count;
    break;
  }
  while (i < s.size() && s[i] == u' ') ++i;
  if (i != s.size() || count < 2) return false;
  if (part[0] > 23 || part[1] > 59 || part[2] > 59) return false;
  out = EncodeTime(part[0], part[1], part[2], part[3]);
  return true;
}

}  // namespace

// ---------------------------------------------------------------------------
// States

struct QueryState;
struct TranState;

struct DbState {
  IMaster* master;
  IUtil* util;
  IProvider* provider;
  ThrowStatusWrapper st;

  IAttachment* att = nullptr;
  ITransaction* tra = nullptr;

  UString name, user, password, charsetWanted;
  int dialect = 3;
  Charset cs{u"WIN1252", kCsWin1252, Codec::Win1252};
  UString dbCharset;

  std::vector<QueryState*> queries;
  std::vector<TranState*> trans;

  DbState()
      : master(Master()),
        util(master->getUtilInterface()),
        provider(master->getDispatcher()),
        st(master->getStatus()) {}
  ~DbState();

  // The text of a Firebird status vector.
  UString Format(IStatus* s) const {
    char buf[4096];
    buf[0] = 0;
    util->formatStatus(buf, sizeof buf - 1, s);
    buf[sizeof buf - 1] = 0;
    std::string_view v(buf, std::strlen(buf));
    while (!v.empty() && (v.back() == '\n' || v.back() == '\r')) v.remove_suffix(1);
    std::string text(v);
    return IsValidUtf8(text) ? DecodeText(Codec::Utf8, text) : DecodeText(cs.codec, text);
  }

  // Runs f, turning Firebird's exceptions into EDatabaseError with its text.
  template <class F>
  auto Guard(F&& f) -> decltype(f()) {
    try {
      return f();
    } catch (const FbException& e) {
      throw EDatabaseError(Format(e.getStatus()));
    }
  }

  void RequireConnected() const {
    if (!att) Fail(u"The database " + (name.empty() ? UString(u"(no name)") : name) + u" is not connected");
  }

  std::string Encode(std::u16string_view text, const UString& what) const {
    std::string out;
    char32_t bad = 0;
    if (!EncodeText(cs.codec, text, out, bad))
      Fail(u"Cannot transliterate character between character sets: " + what + u" holds the character " +
           U8(Hex(bad)) + u", which the connection character set " + cs.name + u" cannot hold");
    return out;
  }
  UString Decode(std::string_view bytes, unsigned charSet) const {
    switch (charSet) {
      case kCsUtf8:
      case kCsUnicodeFss: return DecodeText(Codec::Utf8, bytes);
      case kCsWin1252: return DecodeText(Codec::Win1252, bytes);
      case kCsIso8859_1:
      case kCsOctets:
      case kCsAscii: return DecodeText(Codec::Latin1, bytes);
      default: return DecodeText(cs.codec, bytes);
    }
  }

  void Attach(const Charset& c);
  int ReadDialect();
  UString ReadDefaultCharset();
  void Open();
  void Close();  // throws the first error, always ends detached
  void Start();
  void Commit();
  void Rollback();
  void EnsureActive() {
    RequireConnected();
    if (!tra) Start();
  }
  void CloseAllCursors() noexcept;
  // Takes what IStatement::execute returned.
  void Adopt(ITransaction* returned) {
    if (returned != tra) tra = returned;  // the old one was released by the client
  }
};

struct TranState {
  DbState* db;
};

struct Binding {
  enum Kind { Unbound, Null, Text, Integer, Double } kind = Unbound;
  UString text;
  std::int64_t i = 0;
  double d = 0;
};

// What a parameter is sent as in the current message.
struct Slot {
  bool isNull = false;
  unsigned type = 0;
  unsigned length = 0;
  int subType = 0;
  int scale = 0;
  unsigned charSet = 0;
  ISC_TIMESTAMP ts{};
  ISC_QUAD blob{};
};

struct QueryState {
  DbState* db;

  UString sql;
  ParsedSql parsed;
  UString parseError;
  std::vector<UString> names;         // unique, in order of first appearance
  std::vector<std::size_t> posToName;  // for each "?" of parsed.sql
  std::vector<Binding> bindings;       // one per unique name
  std::size_t lastBound = static_cast<std::size_t>(-1);
  bool isCommit = false;

  IStatement* stmt = nullptr;
  UString preparedSql;
  unsigned stmtType = 0;
  unsigned prepareCount = 0;
  IMessageMetadata* inOrig = nullptr;
  IMessageMetadata* inMeta = nullptr;
  std::vector<Item> origItems, curItems;
  std::vector<unsigned char> inBuf;
  std::vector<Slot> slots;
  std::vector<std::string> encoded;
  IMessageMetadata* outMeta = nullptr;
  std::vector<Item> outItems;
  std::vector<UString> aliases, fields;
  std::vector<unsigned char> outBuf;

  IResultSet* rs = nullptr;
  bool active = false;
  bool hasRow = false;
  bool foundRow = false;  // the opened result held a first row

  explicit QueryState(DbState* d) : db(d) {
    if (db) db->queries.push_back(this);
  }
  ~QueryState() {
    CloseCursor();
    FreeStatement();
    if (db) db->queries.erase(std::find(db->queries.begin(), db->queries.end(), this));
  }

  DbState& Db() const {
    if (!db) Fail(u"The query's database no longer exists");
    return *db;
  }

  void SetSQL(const UString& text) {
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

  Binding& Bind(const UString& name) {
    if (!parseError.empty()) Fail(parseError);
    std::u16string_view n = name;
    if (!n.empty() && n[0] == u':') n.remove_prefix(1);
    // Converters bind in the order of the text: try the one after the last first.
    for (std::size_t j = 0; j < names.size(); ++j) {
      std::size_t k = (lastBound + 1 + j) % names.size();
      if (SameTextAscii(names[k], n)) {
        lastBound = k;
        return bindings[k];
      }
    }
    Fail(u"Parameter " + UString(n) + u" does not exist in the statement");
  }

  void CloseCursor() noexcept {
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

  void ReleaseMeta() noexcept {
    if (inMeta) { inMeta->release(); inMeta = nullptr; }
    if (inOrig) { inOrig->release(); inOrig = nullptr; }
    if (outMeta) { outMeta->release(); outMeta = nullptr; }
    origItems.clear();
    curItems.clear();
    outItems.clear();
    aliases.clear();
    fields.clear();
  }

  void FreeStatement() noexcept {
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

  void Prepare() {
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
  void FillInput() {
    DbState& d = Db();
    const std::size_t n = origItems.size();
    if (parsed.positional > 0)
      Fail(u"The statement has positional parameters (?); this query binds parameters by name (:NAME) only");
    if (n != posToName.size())
      Fail(u"The statement has " + IntToU(static_cast<long long>(n)) + u" parameters but its text names " +
           IntToU(static_cast<long long>(posToName.size())));
    if (n == 0) return;
    for (std::size_t k = 0; k < names.size(); ++k)
      if (bindings[k].kind == Binding::Unbound) Fail(u"Parameter " + names[k] + u" has no value");
    slots.resize(n);
    encoded.resize(n);
    bool rebuild = inMeta == nullptr || curItems.size() != n;
    for (std::size_t p = 0; p < n; ++p) {
      const Binding& b = bindings[posToName[p]];
      const Item& o = origItems[p];
      const UString& pname = names[posToName[p]];
      Slot& s = slots[p];
      s = Slot{};
      Category cat = CategoryOf(o.type);
      std::size_t need = 0;
      switch (b.kind) {
        case Binding::Unbound:
        case Binding::Null: s.isNull = true; break;
        case Binding::Integer: s.type = SQL_INT64; s.length = 8; break;
        case Binding::Double: s.type = SQL_DOUBLE; s.length = 8; break;
        case Binding::Text:
          if (b.text.empty() && cat != Category::Char) { s.isNull = true; break; }
          if (cat == Category::Date) {
            TDateTime dt;
            bool ok = TryStrToDateTime(b.text, dt);
            if (!ok && o.type == SQL_TYPE_TIME) ok = ParseTimeOnly(b.text, dt);
            if (!ok)
              Fail(u"'" + b.text + u"' is not a valid " + (o.type == SQL_TYPE_TIME ? UString(u"time") : UString(u"date")) +
                   u" (parameter " + pname + u")");
            int y, m, dd, h, mi, sec, ms;
            DecodeDate(dt, y, m, dd);
            DecodeTime(dt, h, mi, sec, ms);
            if (y < 1 || y > 9999) Fail(u"'" + b.text + u"' is out of the range of dates (parameter " + pname + u")");
            s.type = o.type;
            s.length = o.length;
            s.ts.timestamp_date = d.util->encodeDate(y, m, dd);
            s.ts.timestamp_time = d.util->encodeTime(h, mi, sec, ms * 10);
            break;
          }
          encoded[p] = d.Encode(b.text, u"the text of parameter " + pname);
          need = encoded[p].size();
          if (need > kMaxVarchar) {
            if (cat != Category::Blob)
              Fail(u"The text of parameter " + pname + u" is too long (" + IntToU(static_cast<long long>(need)) +
                   u" bytes, at most 32765)");
            // A long text for a BLOB column: written as a blob.
            s.type = SQL_BLOB;
            s.length = sizeof(ISC_QUAD);
            s.subType = o.subType;
            s.charSet = o.charSet;
            WriteBlob(encoded[p], o, s.blob);
            break;
          }
          s.type = SQL_VARYING;
          s.charSet = d.cs.id;
          s.length = static_cast<unsigned>(std::max<std::size_t>(need, cat == Category::Char ? o.length : 64));
          s.length = std::min(std::max(s.length, 1u), kMaxVarchar);
          break;
      }
      if (!rebuild && !s.isNull) {
        const Item& c = curItems[p];
        if (c.type != s.type) rebuild = true;
        else if (s.type == SQL_VARYING && (c.length < need || c.charSet != s.charSet)) rebuild = true;
        else if ((s.type == SQL_INT64 || s.type == SQL_DOUBLE) && c.scale != 0) rebuild = true;
        else if (s.type == SQL_BLOB && c.subType != s.subType) rebuild = true;
      }
    }
    if (rebuild) BuildInput();
    std::fill(inBuf.begin(), inBuf.end(), 0);
    for (std::size_t p = 0; p < n; ++p) {
      const Slot& s = slots[p];
      const Item& c = curItems[p];
      short nul = s.isNull ? -1 : 0;
      std::memcpy(&inBuf[c.nullOffset], &nul, sizeof nul);
      if (s.isNull) continue;
      unsigned char* at = &inBuf[c.offset];
      switch (s.type) {
        case SQL_VARYING: {
          std::uint16_t len = static_cast<std::uint16_t>(encoded[p].size());
          std::memcpy(at, &len, 2);
          std::memcpy(at + 2, encoded[p].data(), len);
          break;
        }
        case SQL_INT64: {
          std::int64_t v = bindings[posToName[p]].i;
          std::memcpy(at, &v, 8);
          break;
        }
        case SQL_DOUBLE: {
          double v = bindings[posToName[p]].d;
          std::memcpy(at, &v, 8);
          break;
        }
        case SQL_TYPE_DATE: std::memcpy(at, &s.ts.timestamp_date, sizeof(ISC_DATE)); break;
        case SQL_TYPE_TIME: std::memcpy(at, &s.ts.timestamp_time, sizeof(ISC_TIME)); break;
        case SQL_TIMESTAMP: std::memcpy(at, &s.ts, sizeof(ISC_TIMESTAMP)); break;
        case SQL_BLOB: std::memcpy(at, &s.blob, sizeof(ISC_QUAD)); break;
        default: break;
      }
    }
  }

  void BuildInput() {
    DbState& d = Db();
    const std::size_t n = origItems.size();
    bool haveCur = inMeta != nullptr && curItems.size() == n;
    IMetadataBuilder* builder = nullptr;
    IMessageMetadata* built = nullptr;
    try {
      d.Guard([&] {
        builder = inOrig->getBuilder(&d.st);
        for (unsigned p = 0; p < n; ++p) {
          Slot& s = slots[p];
          Item t;
          if (s.isNull) {
            // Any type carries a null: keep what the message has, so that a null
            // between two values does not force a rebuild.
            t = haveCur ? curItems[p] : origItems[p];
          } else {
            t.type = s.type;
            t.length = s.length;
            t.subType = s.subType;
            t.charSet = s.charSet;
            t.scale = 0;
            if (s.type == SQL_VARYING && haveCur && curItems[p].type == SQL_VARYING)
              t.length = std::min(kMaxVarchar, std::max(t.length, curItems[p].length * 2));  // grow
            if (s.type == SQL_TYPE_DATE || s.type == SQL_TYPE_TIME || s.type == SQL_TIMESTAMP) t = origItems[p];
          }
          builder->setType(&d.st, p, t.type);
          builder->setLength(&d.st, p, t.length);
          builder->setSubType(&d.st, p, t.subType);
          builder->setCharSet(&d.st, p, t.charSet);
          builder->setScale(&d.st, p, t.scale);
        }
        built = builder->getMetadata(&d.st);
        builder->release();
        builder = nullptr;
        std::vector<Item> items = ReadItems(&d.st, built);
        unsigned len = built->getMessageLength(&d.st);
        if (inMeta) inMeta->release();
        inMeta = built;
        built = nullptr;
        curItems = std::move(items);
        inBuf.assign(len, 0);
      });
    } catch (...) {
      if (builder) builder->release();
      if (built) built->release();
      throw;
    }
  }

  void WriteBlob(const std::string& bytes, const Item& column, ISC_QUAD& id) {
    DbState& d = Db();
    std::vector<unsigned char> bpb;
    if (column.subType == 1 && column.charSet != d.cs.id && column.charSet != kCsNone) {
      bpb = {isc_bpb_version1,
             isc_bpb_source_type, 1, 1,
             isc_bpb_source_interp, 1, static_cast<unsigned char>(d.cs.id),
             isc_bpb_target_type, 1, 1,
             isc_bpb_target_interp, 1, static_cast<unsigned char>(column.charSet)};
    }
    IBlob* blob = nullptr;
    try {
      d.Guard([&] {
        blob = d.att->createBlob(&d.st, d.tra, &id, static_cast<unsigned>(bpb.size()), bpb.empty() ? nullptr : bpb.data());
        for (std::size_t at = 0; at < bytes.size(); at += 32000) {
          unsigned len = static_cast<unsigned>(std::min<std::size_t>(32000, bytes.size() - at));
          blob->putSegment(&d.st, len, bytes.data() + at);
        }
        blob->close(&d.st);
        blob = nullptr;
      });
    } catch (...) {
      if (blob) blob->release();
      throw;
    }
  }

  std::string ReadBlob(const ISC_QUAD& id) const {
    DbState& d = Db();
    if (!d.tra) Fail(u"A BLOB cannot be read after its transaction ended");
    std::string out;
    IBlob* blob = nullptr;
    try {
      d.Guard([&] {
        ISC_QUAD bid = id;
        blob = d.att->openBlob(&d.st, d.tra, &bid, 0, nullptr);
        char buf[16384];
        for (;;) {
          unsigned got = 0;
          int r = blob->getSegment(&d.st, sizeof buf, buf, &got);
          if (r == IStatus::RESULT_NO_DATA) break;
          out.append(buf, got);
        }
        blob->close(&d.st);
        blob = nullptr;
      });
    } catch (...) {
      if (blob) blob->release();
      throw;
    }
    return out;
  }

  bool ReturnsCursor() const {
    return stmtType == isc_info_sql_stmt_select || stmtType == isc_info_sql_stmt_select_for_upd;
  }
  bool EndsTransaction() const {
    return stmtType == isc_info_sql_stmt_commit || stmtType == isc_info_sql_stmt_rollback ||
           stmtType == isc_info_sql_stmt_start_trans;
  }

  void Execute(bool wantRows) {
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

  void Fetch() {
    DbState& d = Db();
    if (!rs) { hasRow = false; return; }
    int r = d.Guard([&] { return rs->fetchNext(&d.st, outBuf.data()); });
    hasRow = r == IStatus::RESULT_OK;
  }

  std::size_t Column(const UString& name) const {
    if (!active) Fail(u"The query is not open (field " + name + u")");
    for (std::size_t i = 0; i < aliases.size(); ++i)
      if (SameTextAscii(aliases[i], name)) return i;
    for (std::size_t i = 0; i < fields.size(); ++i)
      if (SameTextAscii(fields[i], name)) return i;
    Fail(u"Field " + name + u" not found");
  }

  bool IsNull(std::size_t i) const {
    if (!hasRow) return true;  // no current row: every field reads as null
    short nul;
    std::memcpy(&nul, &outBuf[outItems[i].nullOffset], sizeof nul);
    return nul != 0;
  }

  template <class T>
  T At(const Item& it) const {
    T v;
    std::memcpy(&v, &outBuf[it.offset], sizeof v);
    return v;
  }

  std::int64_t IntValue(const Item& it) const {
    switch (it.type) {
      case SQL_SHORT: return At<std::int16_t>(it);
      case SQL_LONG: return At<std::int32_t>(it);
      case SQL_INT64: return At<std::int64_t>(it);
      default: return 0;
    }
  }

  UString Text(std::size_t i) const {
    if (IsNull(i)) return UString();
    const Item& it = outItems[i];
    const unsigned char* p = &outBuf[it.offset];
    DbState& d = Db();
    switch (it.type) {
      case SQL_TEXT: {
        UString s = d.Decode(std::string_view(reinterpret_cast<const char*>(p), it.length), it.charSet);
        if (it.charSet != kCsOctets) while (!s.empty() && s.back() == u' ') s.pop_back();
        return s;
      }
      case SQL_VARYING: {
        std::uint16_t len;
        std::memcpy(&len, p, 2);
        return d.Decode(std::string_view(reinterpret_cast<const char*>(p + 2), len), it.charSet);
      }
      case SQL_SHORT:
      case SQL_LONG:
      case SQL_INT64: return FormatScaled(IntValue(it), it.scale);
      case SQL_FLOAT: return FormatDouble(static_cast<double>(At<float>(it)), it.scale);
      case SQL_DOUBLE:
      case SQL_D_FLOAT: return FormatDouble(At<double>(it), it.scale);
      case SQL_TYPE_DATE: {
        unsigned y, m, dd;
        d.util->decodeDate(At<ISC_DATE>(it), &y, &m, &dd);
        return DateToStr(EncodeDate(static_cast<int>(y), static_cast<int>(m), static_cast<int>(dd)));
      }
      case SQL_TYPE_TIME: {
        unsigned h, mi, s, f;
        d.util->decodeTime(At<ISC_TIME>(it), &h, &mi, &s, &f);
        return Pad2(h) + u":" + Pad2(mi) + u":" + Pad2(s);
      }
      case SQL_TIMESTAMP: {
        ISC_TIMESTAMP ts = At<ISC_TIMESTAMP>(it);
        unsigned y, m, dd, h, mi, s, f;
        d.util->decodeDate(ts.timestamp_date, &y, &m, &dd);
        d.util->decodeTime(ts.timestamp_time, &h, &mi, &s, &f);
        UString out = DateToStr(EncodeDate(static_cast<int>(y), static_cast<int>(m), static_cast<int>(dd)));
        if (h || mi || s) out += u" " + Pad2(h) + u":" + Pad2(mi) + u":" + Pad2(s);
        return out;
      }
      case SQL_BOOLEAN: return *p ? u"True" : u"False";
      case SQL_BLOB: {
        std::string bytes = ReadBlob(At<ISC_QUAD>(it));
        return it.subType == 1 ? d.Decode(bytes, it.charSet) : DecodeText(Codec::Latin1, bytes);
      }
      default: Fail(u"Field " + aliases[i] + u" has a type this client cannot read");
    }
  }

  std::int64_t Integer(std::size_t i) const {
    const Item& it = outItems[i];
    if (IsNull(i)) Fail(u"'' is not a valid integer value (field " + aliases[i] + u" is null)");
    if ((it.type == SQL_SHORT || it.type == SQL_LONG || it.type == SQL_INT64) && it.scale == 0) return IntValue(it);
    UString t = Text(i);
    std::int64_t v;
    if (ParseWholeNumber(t, v)) return v;
    // "12.00" of a scaled or floating column is still a whole number.
    double dv;
    if (it.type != SQL_TEXT && it.type != SQL_VARYING && ParseDoubleText(t, dv) && dv == std::trunc(dv) &&
        std::fabs(dv) < 9.2e18)
      return static_cast<std::int64_t>(dv);
    Fail(u"'" + t + u"' is not a valid integer value (field " + aliases[i] + u")");
  }

  double Double(std::size_t i) const {
    const Item& it = outItems[i];
    if (IsNull(i)) Fail(u"'' is not a valid floating point value (field " + aliases[i] + u" is null)");
    switch (it.type) {
      case SQL_SHORT:
      case SQL_LONG:
      case SQL_INT64:
        // Divided, not multiplied by 0.1...: 3 / 10 is 0.3, 3 * 0.1 is not.
        return it.scale < 0 ? static_cast<double>(IntValue(it)) / std::pow(10.0, -it.scale)
                            : static_cast<double>(IntValue(it)) * std::pow(10.0, it.scale);
      case SQL_FLOAT: return At<float>(it);
      case SQL_DOUBLE:
      case SQL_D_FLOAT: return At<double>(it);
      default: break;
    }
    UString t = Text(i);
    double v;
    if (ParseDoubleText(t, v)) return v;
    Fail(u"'" + t + u"' is not a valid floating point value (field " + aliases[i] + u")");
  }
};

DbState::~DbState() {
  try {
    Close();
  } catch (...) {
  }
  for (QueryState* q : queries) q->db = nullptr;
  for (TranState* t : trans) t->db = nullptr;
  st.dispose();
  provider->release();
}

void DbState::CloseAllCursors() noexcept {
  for (QueryState* q : queries) q->CloseCursor();
}

namespace {
// fbclient converts database file names with the character set of the process
// locale, which it reads once, at the first attach of the process, and keeps. A
// program that never called setlocale is in the C locale, whose ASCII cannot carry
// "ç" ("Cannot transliterate character between character sets"). So the first
// attach runs with LC_CTYPE switched to UTF-8 when it is not, and the locale is put
// back right after; everything runs on one thread.
class FirstAttachLocale {
 public:
  FirstAttachLocale() {
    static bool done = false;
    if (done) return;
    done = true;
    const char* codeset = nl_langinfo(CODESET);
    if (codeset && (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0)) return;
    const char* cur = std::setlocale(LC_CTYPE, nullptr);
    saved_ = cur ? cur : "C";
    for (const char* l : {"C.UTF-8", "C.utf8", "en_US.UTF-8"})
      if (std::setlocale(LC_CTYPE, l)) {
        switched_ = true;
        break;
      }
  }
  ~FirstAttachLocale() {
    if (switched_) std::setlocale(LC_CTYPE, saved_.c_str());
  }
  FirstAttachLocale(const FirstAttachLocale&) = delete;
  FirstAttachLocale& operator=(const FirstAttachLocale&) = delete;

 private:
  std::string saved_;
  bool switched_ = false;
};
}  // namespace

void DbState::Attach(const Charset& c) {
  FirstAttachLocale locale;
  IXpbBuilder* dpb = nullptr;
  try {
    Guard([&] {
      dpb = util->getXpbBuilder(&st, IXpbBuilder::DPB, nullptr, 0);
      // The name goes as UTF-8 bytes, which is what Linux file names are; see
      // FirstAttachLocale for the client's own conversion of it.
      if (!user.empty()) dpb->insertString(&st, isc_dpb_user_name, UToUtf8(user).c_str());
      if (!password.empty()) dpb->insertString(&st, isc_dpb_password, UToUtf8(password).c_str());
      dpb->insertString(&st, isc_dpb_lc_ctype, UToUtf8(c.name).c_str());
      if (!IsServerName(name)) {
        // A plain path: the embedded engine, never a server behind a loopback.
        unsigned major = util->getClientVersion() >> 8;
        dpb->insertString(&st, isc_dpb_config, major >= 4 ? "Providers=Engine13" : "Providers=Engine12");
      }
      att = provider->attachDatabase(&st, UToUtf8(name).c_str(), dpb->getBufferLength(&st), dpb->getBuffer(&st));
    });
  } catch (...) {
    if (dpb) dpb->dispose();
    throw;
  }
  dpb->dispose();
  cs = c;
}

int DbState::ReadDialect() {
  const unsigned char items[] = {isc_info_db_sql_dialect, isc_info_end};
  unsigned char buf[64] = {};
  Guard([&] { att->getInfo(&st, sizeof items, items, sizeof buf, buf); });
  if (buf[0] != isc_info_db_sql_dialect) return 3;
  unsigned len = buf[1] | (buf[2] << 8);
  int v = 0;
  for (unsigned k = 0; k < len && k < 4; ++k) v |= buf[3 + k] << (8 * k);
  return v;
}

UString DbState::ReadDefaultCharset() {
  ITransaction* t = nullptr;
  IResultSet* cur = nullptr;
  IMessageMetadata* meta = nullptr;
  UString result;
  try {
    Guard([&] {
      t = att->startTransaction(&st, sizeof kTpbReadOnly, kTpbReadOnly);
      // A cast to a UTF8 VARCHAR whatever the connection set.
      const char* sql = "SELECT CAST(TRIM(RDB$CHARACTER_SET_NAME) AS VARCHAR(63) CHARACTER SET UTF8) FROM RDB$DATABASE";
      IMetadataBuilder* b = master->getMetadataBuilder(&st, 1);
      try {
        b->setType(&st, 0, SQL_VARYING);
        b->setLength(&st, 0, 63 * 4);
        b->setCharSet(&st, 0, kCsUtf8);
        meta = b->getMetadata(&st);
      } catch (...) {
        b->release();
        throw;
      }
      b->release();
      std::vector<unsigned char> row(meta->getMessageLength(&st));
      unsigned off = meta->getOffset(&st, 0), nulOff = meta->getNullOffset(&st, 0);
      cur = att->openCursor(&st, t, 0, sql, static_cast<unsigned>(dialect), nullptr, nullptr, meta, nullptr, 0);
      if (cur->fetchNext(&st, row.data()) == IStatus::RESULT_OK) {
        short nul;
        std::memcpy(&nul, &row[nulOff], 2);
        if (!nul) {
          std::uint16_t len;
          std::memcpy(&len, &row[off], 2);
          result = DecodeText(Codec::Utf8, std::string_view(reinterpret_cast<const char*>(&row[off + 2]), len));
        }
      }
      cur->close(&st);
      cur = nullptr;
      meta->release();
      meta = nullptr;
      t->commit(&st);
      t = nullptr;
    });
  } catch (...) {
    if (cur) cur->release();
    if (meta) meta->release();
    if (t) {
      try { t->rollback(&st); } catch (...) { t->release(); }
    }
    throw;
  }
  result = UpperAZ(TrimCtl(result));
  return result.empty() ? UString(u"NONE") : result;
}

void DbState::Open() {
  if (att) return;
  if (name.empty()) Fail(u"The database name is empty");
  try {
    std::optional<Charset> forced;
    if (!charsetWanted.empty()) {
      forced = KnownCharset(UpperAZ(charsetWanted));
      if (!forced)
        Fail(u"Character set " + charsetWanted + u" is not supported by this client (use UTF8, WIN1252, ISO8859_1 or NONE)");
    }
    Attach(forced ? *forced : Charset{u"WIN1252", kCsWin1252, Codec::Win1252});
    int dbDialect = ReadDialect();
    dialect = dbDialect > 0 && dbDialect < 3 ? dbDialect : 3;
    dbCharset = ReadDefaultCharset();
    if (!forced) {
      Charset want = ChooseCharset(dbCharset);
      if (want.name != cs.name) {
        Guard([&] { att->detach(&st); });
        att = nullptr;
        Attach(want);
      }
    }
  } catch (...) {
    if (att) {
      try { Guard([&] { att->detach(&st); }); } catch (...) { att->release(); }
      att = nullptr;
    }
    throw;
  }
}

void DbState::Close() {
  if (!att) return;
  std::optional<EDatabaseError> first;
  CloseAllCursors();
  for (QueryState* q : queries) q->FreeStatement();
  if (tra) {
    try {
      Guard([&] { tra->rollback(&st); });
    } catch (const EDatabaseError& e) {
      if (!first) first = e;
      tra->release();
    }
    tra = nullptr;
  }
  try {
    Guard([&] { att->detach(&st); });
  } catch (const EDatabaseError& e) {
    if (!first) first = e;
    att->release();
  }
  att = nullptr;
  if (first) throw *first;
}

void DbState::Start() {
  RequireConnected();
  if (tra) Fail(u"The transaction is already active");
  Guard([&] { tra = att->startTransaction(&st, sizeof kTpb, kTpb); });
}

void DbState::Commit() {
  RequireConnected();
  if (!tra) Fail(u"The transaction is not active");
  CloseAllCursors();  // a result set does not survive its transaction
  Guard([&] { tra->commit(&st); });
  tra = nullptr;
}

void DbState::Rollback() {
  RequireConnected();
  if (!tra) Fail(u"The transaction is not active");
  CloseAllCursors();
  Guard([&] { tra->rollback(&st); });
  tra = nullptr;
}

// ---------------------------------------------------------------------------
// Public classes

struct Database::Impl : DbState {
  std::unique_ptr<Transaction> defaultTransaction;
};
struct Transaction::Impl : TranState {};
struct Query::Impl : QueryState {
  using QueryState::QueryState;
};

namespace {
DbState& TranDb(const TranState& t) {
  if (!t.db) Fail(u"The transaction's database no longer exists");
  return *t.db;
}
}  // namespace

Transaction::Transaction(Database& db) : impl_(std::make_unique<Impl>()) {
  impl_->db = db.impl_.get();
  impl_->db->trans.push_back(impl_.get());
}
Transaction::~Transaction() {
  if (impl_->db) {
    auto& v = impl_->db->trans;
    v.erase(std::find(v.begin(), v.end(), impl_.get()));
  }
}
bool Transaction::InTransaction() const { return impl_->db && impl_->db->tra != nullptr; }
void Transaction::StartTransaction() { TranDb(*impl_).Start(); }
void Transaction::Commit() { TranDb(*impl_).Commit(); }
void Transaction::Rollback() { TranDb(*impl_).Rollback(); }

Database::Database() : impl_(std::make_unique<Impl>()) {
  impl_->defaultTransaction = std::make_unique<Transaction>(*this);
}
Database::~Database() {
  impl_->defaultTransaction.reset();
  // ~DbState closes (never throwing) and orphans what is left.
}
void Database::SetDatabaseName(const UString& name) {
  if (impl_->att)
    Fail(u"The database name cannot change while connected to " + impl_->name + u"; close the connection first");
  impl_->name = name;
}
const UString& Database::DatabaseName() const { return impl_->name; }
void Database::SetUserName(const UString& user) { impl_->user = user; }
void Database::SetPassword(const UString& password) { impl_->password = password; }
void Database::SetCharacterSet(const UString& charset) {
  if (impl_->att) Fail(u"The character set cannot change while connected; close the connection first");
  impl_->charsetWanted = charset;
}
void Database::Open() { impl_->Open(); }
void Database::Close() { impl_->Close(); }
bool Database::Connected() const { return impl_->att != nullptr; }
int Database::Dialect() const { return impl_->dialect; }
UString Database::CharacterSet() const { return impl_->cs.name; }
UString Database::DatabaseCharacterSet() const { return impl_->dbCharset; }
Transaction& Database::DefaultTransaction() { return *impl_->defaultTransaction; }

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

void ShutdownClient() {
  IProvider* p = Master()->getDispatcher();
  ThrowStatusWrapper st(Master()->getStatus());
  try {
    p->shutdown(&st, 0, fb_shutrsn_app_stopped);
  } catch (...) {
  }
  st.dispose();
  p->release();
}

}  // namespace fb
