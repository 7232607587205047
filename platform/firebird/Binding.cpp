// Parameter binding: the values bound by name become the input message, its
// metadata rebuilt only when a value needs another type or more room; long texts
// for BLOB columns are written as blobs.
#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/DateTime.h"
#include "platform/Regional.h"
#include "platform/firebird/Internal.h"

using namespace Firebird;

namespace fb {

namespace {

// "hh:nn[:ss[.zzz]]" with the regional time separator.
bool ParseTimeOnly(std::u16string_view s, TDateTime& out, const FormatSettings& fs) {
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
    if (i < s.size() && count < 2 && s[i] == fs.TimeSeparator) { ++i; continue; }
    if (i < s.size() && count == 2 && (s[i] == u'.' || s[i] == fs.DecimalSeparator)) { ++i; continue; }
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

Binding& QueryState::Bind(std::u16string_view name) {
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


// The values bound by name, by the toolkit's rules: a text reaches the column by its
// type (see Firebird.h).
void QueryState::SlotsFromBindings() {
  DbState& d = Db();
  const std::vector<Item>& orig = cur->origItems;
  const std::size_t n = orig.size();
  if (parsed.positional > 0)
    Fail(u"The statement has positional parameters (?); this query binds parameters by name (:NAME) only");
  if (n != posToName.size())
    Fail(u"The statement has " + IntToU(static_cast<long long>(n)) + u" parameters but its text names " +
         IntToU(static_cast<long long>(posToName.size())));
  for (std::size_t k = 0; k < names.size(); ++k)
    if (bindings[k].kind == Binding::Unbound) Fail(u"Parameter " + names[k] + u" has no value");
  slots.resize(n);
  for (std::size_t p = 0; p < n; ++p) {
    const Binding& b = bindings[posToName[p]];
    const Item& o = orig[p];
    const UString& pname = names[posToName[p]];
    Slot& s = slots[p];
    s.Reset();
    Category cat = CategoryOf(o.type);
    switch (b.kind) {
      case Binding::Unbound:
      case Binding::Null: s.isNull = true; break;
      case Binding::Integer: s.type = SQL_INT64; s.length = 8; s.i = b.i; break;
      case Binding::Double: s.type = SQL_DOUBLE; s.length = 8; s.d = b.d; break;
      case Binding::Text:
        if (b.text.empty() && cat != Category::Char) { s.isNull = true; break; }
        if (cat == Category::Date) {
          TDateTime dt;
          bool ok = TryStrToDateTime(b.text, dt, *Db().regional);
          if (!ok && o.type == SQL_TYPE_TIME) ok = ParseTimeOnly(b.text, dt, *Db().regional);
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
        d.EncodeInto(b.text, s.bytes, [&] { return u"the text of parameter " + pname; });
        if (s.bytes.size() > kMaxVarchar) {
          if (cat != Category::Blob)
            Fail(u"The text of parameter " + pname + u" is too long (" + IntToU(static_cast<long long>(s.bytes.size())) +
                 u" bytes, at most 32765)");
          // A long text for a BLOB column: written as a blob.
          s.type = SQL_BLOB;
          s.length = sizeof(ISC_QUAD);
          s.subType = o.subType;
          s.charSet = o.charSet;
          WriteBlob(s.bytes, o, s.blob);
          break;
        }
        s.type = SQL_VARYING;
        s.charSet = d.cs.id;
        s.length = static_cast<unsigned>(std::max<std::size_t>(s.bytes.size(), cat == Category::Char ? o.length : 64));
        s.length = std::min(std::max(s.length, 1u), kMaxVarchar);
        break;
    }
  }
}

namespace {

// Bytes a character may take in a character set: one in the single-byte sets,
// more (at most four) in the others.
unsigned MaxBytesPerChar(unsigned charSet) {
  switch (charSet) {
    case kCsUnicodeFss: return 3;
    case kCsUtf8:
    case 5: case 6: case 44: case 56: case 57: case 67: case 68: case 69:  // the Asian sets
      return 4;
    default: return 1;
  }
}

std::size_t CodePoints(std::u16string_view s) {
  std::size_t n = 0;
  for (char16_t c : s) n += !(c >= 0xDC00 && c <= 0xDFFF);
  return n;
}

bool IsAscii(std::u16string_view s) {
  return std::all_of(s.begin(), s.end(), [](char16_t c) { return c < 0x80; });
}

// An exact number compared with a column of the described type: the parameter is
// converted to that type first, so it must get there unchanged (no rounding of
// decimals the column does not keep, no overflow where the literal merely differs).
bool ExactFitsComparison(const Literal& l, const Item& o) {
  switch (o.type) {
    case SQL_DOUBLE:
    case SQL_D_FLOAT: return l.value > -(1LL << 53) && l.value < (1LL << 53);
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64: {
      if (l.scale < o.scale) return false;
      std::int64_t v = l.value;
      for (int k = 0; k < l.scale - o.scale; ++k) {
        if (v > std::numeric_limits<std::int64_t>::max() / 10 || v < std::numeric_limits<std::int64_t>::min() / 10)
          return false;
        v *= 10;
      }
      if (o.type == SQL_SHORT) return v >= std::numeric_limits<std::int16_t>::min() && v <= std::numeric_limits<std::int16_t>::max();
      if (o.type == SQL_LONG) return v >= std::numeric_limits<std::int32_t>::min() && v <= std::numeric_limits<std::int32_t>::max();
      return true;
    }
    default: return false;
  }
}

}  // namespace

// The literals of the text's shape, each sent as a value of the literal's own type,
// so that the engine converts it as it converts the literal. False when one of them
// would be taken otherwise than the literal is (the text then runs as it is).
bool QueryState::SlotsFromLiterals() {
  DbState& d = Db();
  const std::vector<Item>& orig = cur->origItems;
  const std::size_t n = orig.size();
  if (n != shape.literals.size()) return false;
  slots.resize(n);
  for (std::size_t p = 0; p < n; ++p) {
    const Literal& l = shape.literals[p];
    const Item& o = orig[p];
    const bool assigned = l.use == Literal::Assigned;
    Slot& s = slots[p];
    s.Reset();
    switch (l.kind) {
      case Literal::Text: {
        char32_t bad = 0;
        if (!EncodeText(d.cs.codec, l.text, s.bytes, bad) || s.bytes.size() > kMaxVarchar) return false;
        Category cat = CategoryOf(o.type);
        if (cat == Category::Char) {
          // Longer than the column: as a literal it finds no row (or is refused in
          // the literal's own words); as a parameter it would not get that far.
          const std::size_t room = o.length / MaxBytesPerChar(o.charSet);
          if (l.text.size() > room && CodePoints(l.text) > room) return false;
          if (!assigned && o.charSet != d.cs.id && !IsAscii(l.text)) return false;
        } else if (!assigned) {
          return false;  // a text compared with a number or a date
        }
        // VARCHAR, not CHAR: a CHAR message item would pad the value with blanks.
        s.type = SQL_VARYING;
        s.charSet = d.cs.id;
        s.length = static_cast<unsigned>(std::max<std::size_t>(s.bytes.size(), cat == Category::Char ? o.length : 64));
        s.length = std::min(std::max(s.length, 1u), kMaxVarchar);
        break;
      }
      case Literal::Exact:
        if (!assigned && !ExactFitsComparison(l, o)) return false;
        if (assigned && !l.wide && l.scale == 0 && (o.type == SQL_DOUBLE || o.type == SQL_D_FLOAT)) {
          // A whole number of at most ten digits is a double exactly, from its text
          // as from an integer; as text it shares the message item of the column's
          // other values ("0" in one row, "12.5" in the next), which is then not
          // rebuilt from row to row.
          s.bytes = UToUtf8(l.text);
          s.type = SQL_VARYING;
          s.charSet = d.cs.id;
          s.length = static_cast<unsigned>(std::max<std::size_t>(s.bytes.size(), 32));
          break;
        }
        s.type = l.wide ? SQL_INT64 : SQL_LONG;
        s.length = l.wide ? 8 : 4;
        s.scale = l.scale;
        s.i = l.value;
        break;
      case Literal::Approximate:
        // The engine reads such a literal from its text into a double; a text
        // converted to a DOUBLE PRECISION parameter takes that same way. To any
        // other type the double would be converted again, so it stays a literal.
        if (o.type != SQL_DOUBLE && o.type != SQL_D_FLOAT) return false;
        s.bytes = UToUtf8(l.text);
        s.type = SQL_VARYING;
        s.charSet = d.cs.id;
        s.length = static_cast<unsigned>(std::max<std::size_t>(s.bytes.size(), 32));
        break;
    }
  }
  return true;
}

// Builds the input message from the slots, rebuilding its metadata only when a value
// needs another type or more room than the current one gives.
void QueryState::WriteInput() {
  Prepared& pr = *cur;
  const std::size_t n = pr.origItems.size();
  if (n == 0) return;
  bool rebuild = pr.inMeta == nullptr || pr.curItems.size() != n;
  for (std::size_t p = 0; p < n && !rebuild; ++p) {
    const Slot& s = slots[p];
    if (s.isNull) continue;
    const Item& c = pr.curItems[p];
    if (c.type != s.type) rebuild = true;
    else if (s.type == SQL_VARYING && (c.length < s.bytes.size() || c.charSet != s.charSet)) rebuild = true;
    else if ((s.type == SQL_INT64 || s.type == SQL_LONG || s.type == SQL_DOUBLE) && c.scale != s.scale) rebuild = true;
    else if (s.type == SQL_BLOB && c.subType != s.subType) rebuild = true;
  }
  if (rebuild) BuildInput();
  // Every item's null indicator and value are written below, and the engine reads a
  // varying value only up to its length: clearing the whole message (large, once
  // texts have grown its varchars) each row would be work for nothing.
  inBuf.resize(pr.inLength);
  for (std::size_t p = 0; p < n; ++p) {
    const Slot& s = slots[p];
    const Item& c = pr.curItems[p];
    short nul = s.isNull ? -1 : 0;
    std::memcpy(&inBuf[c.nullOffset], &nul, sizeof nul);
    if (s.isNull) continue;
    unsigned char* at = &inBuf[c.offset];
    switch (s.type) {
      case SQL_VARYING: {
        std::uint16_t len = static_cast<std::uint16_t>(s.bytes.size());
        std::memcpy(at, &len, 2);
        std::memcpy(at + 2, s.bytes.data(), len);
        break;
      }
      case SQL_LONG: {
        std::int32_t v = static_cast<std::int32_t>(s.i);
        std::memcpy(at, &v, 4);
        break;
      }
      case SQL_INT64: std::memcpy(at, &s.i, 8); break;
      case SQL_DOUBLE: std::memcpy(at, &s.d, 8); break;
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
  Prepared& pr = *cur;
  const std::size_t n = pr.origItems.size();
  bool haveCur = pr.inMeta != nullptr && pr.curItems.size() == n;
  IMetadataBuilder* builder = nullptr;
  IMessageMetadata* built = nullptr;
  try {
    d.Guard([&] {
      builder = pr.inOrig->getBuilder(&d.st);
      for (unsigned p = 0; p < n; ++p) {
        Slot& s = slots[p];
        Item t;
        if (s.isNull) {
          // Any type carries a null: keep what the message has, so that a null
          // between two values does not force a rebuild.
          t = haveCur ? pr.curItems[p] : pr.origItems[p];
        } else {
          t.type = s.type;
          t.length = s.length;
          t.subType = s.subType;
          t.charSet = s.charSet;
          t.scale = s.scale;
          if (s.type == SQL_VARYING && haveCur && pr.curItems[p].type == SQL_VARYING)
            t.length = std::min(kMaxVarchar, std::max(t.length, pr.curItems[p].length * 2));  // grow
          if (s.type == SQL_TYPE_DATE || s.type == SQL_TYPE_TIME || s.type == SQL_TIMESTAMP) t = pr.origItems[p];
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
      if (pr.inMeta) pr.inMeta->release();
      pr.inMeta = built;
      built = nullptr;
      pr.curItems = std::move(items);
      pr.inLength = len;
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
