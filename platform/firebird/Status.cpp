// Status vectors and errors: the client's entry point, the text of a Firebird
// status, and the conversions of text to and from the connection character set,
// whose failures are errors of their own.
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/firebird/Internal.h"

using namespace Firebird;

namespace fb {

IMaster* Master() {
  static IMaster* m = fb_get_master_interface();
  return m;
}

void Fail(const UString& message) { throw EDatabaseError(message); }

std::string Hex(char32_t cp) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
  return buf;
}

UString DbState::Format(IStatus* s) const {
  char buf[4096];
  buf[0] = 0;
  util->formatStatus(buf, sizeof buf - 1, s);
  buf[sizeof buf - 1] = 0;
  std::string_view v(buf, std::strlen(buf));
  while (!v.empty() && (v.back() == '\n' || v.back() == '\r')) v.remove_suffix(1);
  std::string text(v);
  return IsValidUtf8(text) ? DecodeText(Codec::Utf8, text) : DecodeText(cs.codec, text);
}

namespace {

// The codes of the status vector's errors in order: each isc_arg_gds item, whatever
// arguments (texts, numbers, operating system codes) lie between them.
std::vector<long> Codes(const ISC_STATUS* v) {
  std::vector<long> codes;
  if (!v) return codes;
  while (v[0] != isc_arg_end) {
    if (v[0] == isc_arg_gds) codes.push_back(static_cast<long>(v[1]));
    v += v[0] == isc_arg_cstring ? 3 : 2;  // a counted string is its length and its address
  }
  return codes;
}

// The numbers EDatabaseError looks for must be the engine's.
static_assert(dbcode::kArithExcept == isc_arith_except);
static_assert(dbcode::kBadDbFormat == isc_bad_db_format);
static_assert(dbcode::kDeadlock == isc_deadlock);
static_assert(dbcode::kIoError == isc_io_error);
static_assert(dbcode::kLockConflict == isc_lock_conflict);
static_assert(dbcode::kNoDup == isc_no_dup);
static_assert(dbcode::kWrongOds == isc_wrong_ods);
static_assert(dbcode::kBadOdsVersion == isc_badodsver);
static_assert(dbcode::kRandom == isc_random);
static_assert(dbcode::kConnectReject == isc_connect_reject);
static_assert(dbcode::kUpdateConflict == isc_update_conflict);
static_assert(dbcode::kLogin == isc_login);
static_assert(dbcode::kLockTimeout == isc_lock_timeout);
static_assert(dbcode::kDsqlFieldErr == isc_dsql_field_err);
static_assert(dbcode::kDsqlRelationErr == isc_dsql_relation_err);
static_assert(dbcode::kConnLost == isc_conn_lost);
static_assert(dbcode::kUniqueKeyViolation == isc_unique_key_violation);
static_assert(dbcode::kNetLookupErr == isc_net_lookup_err);
static_assert(dbcode::kHostUnknown == isc_host_unknown);
static_assert(dbcode::kNetConnectErr == isc_net_connect_err);
static_assert(dbcode::kNetReadErr == isc_net_read_err);
static_assert(dbcode::kNetWriteErr == isc_net_write_err);
static_assert(dbcode::kIoReadErr == isc_io_read_err);
static_assert(dbcode::kLostDbConnection == isc_lost_db_connection);
static_assert(dbcode::kExceptionIntegerOverflow == isc_exception_integer_overflow);
static_assert(dbcode::kFileInUse == isc_file_in_use);
static_assert(dbcode::kAttShutdown == isc_att_shutdown);
static_assert(dbcode::kStringTruncation == isc_string_truncation);
static_assert(dbcode::kNumericOutOfRange == isc_numeric_out_of_range);
static_assert(dbcode::kNetServerShutdown == isc_net_server_shutdown);
static_assert(dbcode::kTruncLimits == isc_trunc_limits);
static_assert(dbcode::kLoginError == isc_login_error);
static_assert(dbcode::kAlreadyOpened == isc_already_opened);
static_assert(dbcode::kDynColumnDoesNotExist == isc_dyn_column_does_not_exist);
static_assert(dbcode::kDynTableNotFound == isc_dyn_table_not_found);
static_assert(dbcode::kDsqlTableNotFound == isc_dsql_table_not_found);

}  // namespace

EDatabaseError DbState::Error(IStatus* s) const { return EDatabaseError(Format(s), Codes(s->getErrors())); }

void DbState::RequireConnected() const {
  if (!att) Fail(u"The database " + (name.empty() ? UString(u"(no name)") : name) + u" is not connected");
}

namespace {

// The character as the operator sees it, then its code: "╔" (U+2554). Controls and
// halves of a surrogate pair have no picture of their own: the code alone.
UString Shown(char32_t cp) {
  const UString code = U8(Hex(cp));
  if (cp < 0x20 || (cp >= 0x7F && cp <= 0x9F) || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return code;
  std::string utf8;
  AppendUtf8(utf8, cp);
  return u"\"" + Utf8ToU(utf8) + u"\" (" + code + u")";
}

}  // namespace

std::string DbState::Encode(std::u16string_view text, const UString& what) const {
  std::string out;
  EncodeInto(text, out, [&] { return what; });
  return out;
}

void DbState::EncodeFailed(char32_t bad, const UString& what) const {
  Fail(u"Cannot transliterate character between character sets: " + what + u" holds the character " + Shown(bad) +
       u", which the connection character set " + cs.name + u" cannot hold");
}

UString DbState::Decode(std::string_view bytes, unsigned charSet) const {
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

}  // namespace fb
