// Parameter binding: the values bound by name become the input message, its
// metadata rebuilt only when a value needs another type or more room; long texts
// for BLOB columns are written as blobs.
#include <algorithm>
#include <cstring>

#include "platform/DateTime.h"
#include "platform/Regional.h"
#include "platform/firebird/Internal.h"

using namespace Firebird;

namespace fb {

namespace {

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

Binding& QueryState::Bind(const UString& name) {
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


void QueryState::FillInput() {
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

void QueryState::BuildInput() {
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


void QueryState::WriteBlob(const std::string& bytes, const Item& column, ISC_QUAD& id) {
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


}  // namespace fb
