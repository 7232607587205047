// The attachment and its one transaction: attaching in embedded or server mode,
// the dialect and character set taken from the database, transaction start, commit
// and rollback, and the public Database and Transaction classes.
#include <langinfo.h>

#include <algorithm>
#include <clocale>
#include <cstring>
#include <optional>

#include "platform/firebird/Firebird.h"
#include "platform/firebird/Internal.h"

using namespace Firebird;

namespace fb {

namespace {

// Transaction parameters: see the header.
const unsigned char kTpb[] = {isc_tpb_version3, isc_tpb_write, isc_tpb_read_committed,
                              isc_tpb_rec_version, isc_tpb_nowait};
const unsigned char kTpbReadOnly[] = {isc_tpb_version3, isc_tpb_read, isc_tpb_read_committed,
                                      isc_tpb_rec_version, isc_tpb_nowait};


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

}  // namespace

DbState::DbState()
    : master(Master()),
      util(master->getUtilInterface()),
      provider(master->getDispatcher()),
      st(master->getStatus()) {}

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
  cacheOn = StatementCacheWanted();
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
  // Every statement goes before the attachment that prepared it.
  cache.Clear();
  for (QueryState* q : queries) q->Forget();
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
bool Database::CanHold(std::u16string_view text) const {
  std::string bytes;
  char32_t bad = 0;
  return EncodeText(impl_->cs.codec, text, bytes, bad);
}
Transaction& Database::DefaultTransaction() { return *impl_->defaultTransaction; }
void Database::SetRegional(const FormatSettings* fs) { impl_->regional = fs ? fs : &impl_->ownRegional; }
const FormatSettings& Database::Regional() const { return *impl_->regional; }

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