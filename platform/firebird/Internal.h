#pragma once
// What the files of the target connection share: the states behind the public
// classes of Firebird.h and the helpers they all use. Not for callers outside
// platform/firebird/.
//
// Lifetimes: the Database state owns the IAttachment, the one ITransaction and the
// cache of prepared statements; a prepared statement (IStatement and the metadata
// describing it) is shared by the cache and the queries running its text, and freed
// when the last of them lets go; each Query state owns its IResultSet. The Database
// state keeps a list of its queries so that a transaction end closes their result
// sets first and a detach frees every statement first. A Query or Transaction that
// outlives its Database is orphaned: every use is then an error.
//
// fbclient's release rules: IResultSet::close, IStatement::free, ITransaction::commit
// and rollback, and IAttachment::detach release the interface when they succeed;
// when they fail the interface is still ours and is released with release().
// IStatement::execute returns the transaction the statement leaves behind: null
// after a COMMIT or ROLLBACK statement (the one passed in has then been released by
// the client and is never touched again), a new one after SET TRANSACTION.
#include <firebird/Interface.h>

#include <cstdint>
#include <cstring>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <string_view>
#include <vector>

#include "platform/Error.h"
#include "platform/Text.h"
#include "platform/firebird/Firebird.h"
#include "platform/firebird/LiteralShape.h"
#include "platform/firebird/SqlText.h"

namespace fb {

// --- Status and errors (Status.cpp) --------------------------------------------

Firebird::IMaster* Master();
[[noreturn]] void Fail(const UString& message);
inline UString U8(std::string_view s) { return Utf8ToU(s); }
std::string Hex(char32_t cp);

// --- Messages --------------------------------------------------------------------

constexpr unsigned kMaxVarchar = 32765;

enum class Category { Char, Date, Blob, Other };
Category CategoryOf(unsigned type);

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

std::vector<Item> ReadItems(Firebird::ThrowStatusWrapper* st, Firebird::IMessageMetadata* meta);

// --- Prepared statements and their cache (StatementCache.cpp) ----------------------

struct DbState;
struct QueryState;

// A statement text prepared on the attachment, with what describes it.
struct Prepared {
  DbState* db = nullptr;
  std::string key;  // the text as sent, in the connection character set
  Firebird::IStatement* stmt = nullptr;  // null: a shape the engine would not prepare
  unsigned type = 0;
  Firebird::IMessageMetadata* inOrig = nullptr;  // the parameters as the engine describes them
  Firebird::IMessageMetadata* inMeta = nullptr;  // the message last built for the values sent
  Firebird::IMessageMetadata* outMeta = nullptr;
  std::vector<Item> origItems, curItems, outItems;
  std::vector<UString> aliases, fields;
  unsigned inLength = 0, outLength = 0;
  // A statement has one result set at a time: the query whose result is open on it.
  QueryState* cursorOwner = nullptr;
  bool cached = false;
  std::list<std::shared_ptr<Prepared>>::iterator pos;  // in the cache, when cached

  Prepared() = default;
  ~Prepared();  // frees the statement
  Prepared(const Prepared&) = delete;
  Prepared& operator=(const Prepared&) = delete;
};

// The statements of an attachment by text, the least recently used going first
// once the cache is full. A statement stays alive while a query holds it, cached
// or not. A text may have more than one statement, when results of it were open at
// the same time.
class StatementCache {
 public:
  static constexpr std::size_t kCapacity = 64;
  // One with no result open (or only `owner`'s); finding counts as a use.
  std::shared_ptr<Prepared> Find(const std::string& key, const QueryState* owner);
  void Touch(Prepared& p);
  void Put(const std::shared_ptr<Prepared>& p);
  void Clear();
  std::size_t Size() const { return lru_.size(); }

 private:
  std::list<std::shared_ptr<Prepared>> lru_;  // most recently used first
  std::unordered_multimap<std::string, std::list<std::shared_ptr<Prepared>>::iterator> index_;
};

// Whether this process keeps statements and shapes them (CONVERSOR_TOLV_CACHE=0 turns
// both off, for the benchmark's comparison); read at each attach.
bool StatementCacheWanted();

// --- The attachment and its transaction (Attachment.cpp) --------------------------

struct Charset {
  UString name;  // as given to isc_dpb_lc_ctype
  unsigned id;
  Codec codec;
};

struct TranState;

struct DbState {
  Firebird::IMaster* master;
  Firebird::IUtil* util;
  Firebird::IProvider* provider;
  Firebird::ThrowStatusWrapper st;

  Firebird::IAttachment* att = nullptr;
  Firebird::ITransaction* tra = nullptr;

  UString name, user, password, charsetWanted;
  int dialect = 3;
  Charset cs{u"WIN1252", kCsWin1252, Codec::Win1252};
  UString dbCharset;

  std::vector<QueryState*> queries;
  std::vector<TranState*> trans;

  bool cacheOn = true;
  StatementCache cache;

  // The settings dates and numbers are read and written under: the run's, while a
  // run lends its own, otherwise the connection's.
  FormatSettings ownRegional;
  const FormatSettings* regional = &ownRegional;

  DbState();
  ~DbState();

  // The text of a Firebird status vector (Status.cpp).
  UString Format(Firebird::IStatus* s) const;
  // The error of a failed call: the status's text and its codes (Status.cpp).
  EDatabaseError Error(Firebird::IStatus* s) const;

  // Runs f, turning Firebird's exceptions into EDatabaseError.
  template <class F>
  auto Guard(F&& f) -> decltype(f()) {
    try {
      return f();
    } catch (const Firebird::FbException& e) {
      throw Error(e.getStatus());
    }
  }

  void RequireConnected() const;
  // Text in the connection character set; a character it cannot hold is an error
  // naming `what` (Status.cpp).
  std::string Encode(std::u16string_view text, const UString& what) const;
  // The same into `out`, keeping its room; `what` names the text only when it fails.
  template <class What>
  void EncodeInto(std::u16string_view text, std::string& out, const What& what) const {
    char32_t bad = 0;
    if (!EncodeText(cs.codec, text, out, bad)) EncodeFailed(bad, what());
  }
  [[noreturn]] void EncodeFailed(char32_t bad, const UString& what) const;
  UString Decode(std::string_view bytes, unsigned charSet) const;

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
  // Prepares `key` on the attachment (StatementCache.cpp).
  std::shared_ptr<Prepared> PrepareStatement(const std::string& key);
  // Takes what IStatement::execute returned.
  void Adopt(Firebird::ITransaction* returned) {
    if (returned != tra) tra = returned;  // the old one was released by the client
  }
};

struct TranState {
  DbState* db;
};

// --- Statements and their messages (Statement.cpp, Binding.cpp, Columns.cpp) ------

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
  std::string bytes;  // SQL_VARYING
  std::int64_t i = 0;  // SQL_LONG, SQL_INT64
  double d = 0;        // SQL_DOUBLE
  ISC_TIMESTAMP ts{};
  ISC_QUAD blob{};

  // No value again, `bytes` keeping its room for the next row's text.
  void Reset() {
    std::string keep = std::move(bytes);
    *this = Slot{};
    keep.clear();
    bytes = std::move(keep);
  }
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

  // Worked out from the text once, at its first execution on this attachment.
  std::string textKey;  // parsed.sql in the connection character set
  bool textKeyReady = false;
  enum class ShapeState { Unknown, Shaped, None } shapeState = ShapeState::Unknown;
  Shape shape;          // kept from text to text: the next row's text is likely of it
  std::string shapeKey;
  bool shapeKept = false;  // shape and shapeKey are of an earlier text on this attachment

  std::shared_ptr<Prepared> cur;  // the statement last run
  unsigned prepareCount = 0;
  std::vector<Slot> slots;
  std::vector<unsigned char> inBuf;
  std::vector<unsigned char> outBuf;

  Firebird::IResultSet* rs = nullptr;
  bool active = false;
  bool hasRow = false;
  bool foundRow = false;  // the opened result held a first row

  explicit QueryState(DbState* d);
  ~QueryState();

  DbState& Db() const {
    if (!db) Fail(u"The query's database no longer exists");
    return *db;
  }

  // Statement.cpp
  void SetSQL(const UString& text);
  void CloseCursor() noexcept;
  void Forget() noexcept;  // what belongs to the attachment, before it goes
  bool Acquire(const std::string& key, bool isShape);
  bool RunShape(bool wantRows);
  // Runs `key`, a statement with a "?" for each of shape.literals, with them as
  // values; false when a value would not do what its literal does (nothing ran).
  bool RunLiterals(const std::string& key, bool wantRows);
  void Run(bool wantRows, bool shaped = false);
  bool ReturnsCursor() const;
  bool EndsTransaction() const;
  void Execute(bool wantRows);
  void Fetch();

  // Binding.cpp
  Binding& Bind(std::u16string_view name);
  void SlotsFromBindings();
  bool SlotsFromLiterals();
  void WriteInput();
  void BuildInput();
  void WriteBlob(const std::string& bytes, const Item& column, ISC_QUAD& id);

  // Columns.cpp
  std::size_t Column(const UString& name) const;
  bool IsNull(std::size_t i) const;
  UString Text(std::size_t i) const;
  std::int64_t Integer(std::size_t i) const;
  double Double(std::size_t i) const;
  std::string ReadBlob(const ISC_QUAD& id) const;

  template <class T>
  T At(const Item& it) const {
    T v;
    std::memcpy(&v, &outBuf[it.offset], sizeof v);
    return v;
  }
  std::int64_t IntValue(const Item& it) const;
};

// --- The public classes' states ---------------------------------------------------

struct Database::Impl : DbState {
  std::unique_ptr<Transaction> defaultTransaction;
};
struct Transaction::Impl : TranState {};
struct Query::Impl : QueryState {
  using QueryState::QueryState;
};

}  // namespace fb
