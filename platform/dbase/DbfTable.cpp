#include "platform/dbase/DbfTable.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "platform/Error.h"
#include "platform/Regional.h"

namespace dbase {

namespace {

namespace fs = std::filesystem;

std::uint16_t le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t le32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint32_t be32(const std::uint8_t* p) {
  return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
         (static_cast<std::uint32_t>(p[2]) << 8) | static_cast<std::uint32_t>(p[3]);
}
std::uint16_t be16(const std::uint8_t* p) { return static_cast<std::uint16_t>((p[0] << 8) | p[1]); }
long long le64(const std::uint8_t* p) {
  unsigned long long v = 0;
  for (int i = 7; i >= 0; --i) v = (v << 8) | p[i];
  return static_cast<long long>(v);
}

std::string hex(unsigned v) {
  char b[8];
  std::snprintf(b, sizeof b, "0x%02X", v);
  return b;
}

bool isFoxPro(std::uint8_t v) { return v == 0x30 || v == 0x31 || v == 0x32 || v == 0xF5 || v == 0xFB; }

std::string lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return s;
}

// Files of the folder whose name, letter case aside, is stem + ext.
std::vector<std::string> filesNamed(const std::string& folder, const std::string& stemLower,
                                    const std::string& extLower) {
  std::vector<std::string> found;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (lower(name) == stemLower + extLower) {
      std::error_code ec2;
      // is_regular_file follows links: a link to a table counts, a link to a folder does not.
      if (entry.is_regular_file(ec2)) found.push_back(entry.path().string());
    }
  }
  return found;
}

// Julian day number of 30/12/1899, the zero of TDateTime.
constexpr long long kJulianZero = 2415019;

// Something named like the table that is no file to read: say what it is, rather
// than that the table is not there.
void NotATableFile(const std::string& folder, std::u16string_view table, const std::string& stemLower) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    if (lower(entry.path().filename().string()) != stemLower + ".dbf") continue;
    const std::string where = "A tabela \"" + UToUtf8(table) + "\" (" + entry.path().string() + ")";
    std::error_code e2;
    if (entry.is_symlink(e2) && !fs::exists(entry.path(), e2))
      throw ESourceError(where + " é um link para \"" + fs::read_symlink(entry.path(), e2).string() +
                         "\", que não existe.");
    if (entry.is_directory(e2)) throw ESourceError(where + " é uma pasta, não um arquivo.");
    throw ESourceError(where + " não é um arquivo comum (é um dispositivo, um pipe ou um socket).");
  }
}

// The table's file, mapped; a file that cannot be read names the table.
MappedFile MapTable(const std::string& path, const UString& name) {
  try {
    return MappedFile(path);
  } catch (const ESourceError& e) {
    throw ESourceError("A tabela \"" + UToUtf8(name) + "\" não pôde ser lida. " + e.what());
  }
}

}  // namespace

std::string FindTableFile(const std::string& folder, std::u16string_view table) {
  if (folder.empty()) throw ESourceError("A pasta das tabelas de origem não foi informada.");
  std::error_code ec;
  if (!fs::is_directory(folder, ec))
    throw ESourceError("A pasta das tabelas de origem não existe: \"" + folder + "\".");
  const std::string stem = lower(UToUtf8(table));
  std::vector<std::string> found = filesNamed(folder, stem, ".dbf");
  if (found.empty()) NotATableFile(folder, table, stem);
  if (found.empty())
    throw ESourceError("A tabela \"" + UToUtf8(table) + "\" não foi encontrada na pasta \"" + folder +
                       "\" (procurado o arquivo " + UToUtf8(table) + ".dbf, sem distinção de maiúsculas).");
  if (found.size() > 1) {
    std::string names;
    for (const auto& f : found) names += (names.empty() ? "\"" : ", \"") + fs::path(f).filename().string() + "\"";
    throw ESourceError("A tabela \"" + UToUtf8(table) + "\" é ambígua na pasta \"" + folder + "\": os arquivos " +
                       names + " diferem só em maiúsculas e minúsculas.");
  }
  return found.front();
}

Table::Table(const std::string& path, const UString& name) : path_(path), name_(name), dbf_(MapTable(path, name)) {
  const std::uint8_t* d = dbf_.Data();
  const std::size_t size = dbf_.Size();
  const std::string where = "A tabela \"" + UToUtf8(name_) + "\" (" + path_ + ")";
  if (size < 32) throw ESourceError(where + " não é uma tabela dBase: o arquivo tem só " + std::to_string(size) + " bytes.");
  version_ = d[0];
  if (version_ == 0x04 || version_ == 0x8C)
    throw ESourceError(where + " é do dBase 7 (versão " + hex(version_) + "), que este leitor não lê.");
  headerCount_ = le32(d + 4);
  headerLen_ = le16(d + 8);
  recLen_ = le16(d + 10);
  ldid_ = d[29];
  if (headerLen_ < 33 || recLen_ < 1)
    throw ESourceError(where + " não é uma tabela dBase: cabeçalho de " + std::to_string(headerLen_) +
                       " bytes e registro de " + std::to_string(recLen_) + " bytes.");
  if (headerLen_ > size)
    throw ESourceError(where + " está truncada ou não é uma tabela dBase: o cabeçalho declara " + std::to_string(headerLen_) +
                       " bytes e o arquivo tem " + std::to_string(size) + ".");

  // Field descriptors: 32 bytes each from offset 32, up to the 0x0D (or a NUL name,
  // or the header's end when the terminator is missing).
  struct Raw {
    std::string name;
    char type;
    std::uint8_t len, dec, flags;
  };
  std::vector<Raw> raw;
  for (std::size_t pos = 32; pos + 32 <= headerLen_ && d[pos] != 0x0D && d[pos] != 0x00; pos += 32) {
    const std::uint8_t* f = d + pos;
    Raw r;
    std::size_t n = 0;
    while (n < 11 && f[n] != 0) ++n;
    r.name.assign(reinterpret_cast<const char*>(f), n);
    while (!r.name.empty() && r.name.back() == ' ') r.name.pop_back();
    r.type = static_cast<char>(f[11]);
    r.len = f[16];
    r.dec = f[17];
    r.flags = f[18];
    raw.push_back(r);
  }
  if (raw.empty()) throw ESourceError(where + " não tem campos no cabeçalho.");
  // Lengths no writer gives a field are a broken header: read as they stand, a field
  // of no bytes would be empty in every record and a wider logical one would lose
  // what follows its first byte.
  for (const Raw& r : raw) {
    const char* what = nullptr;
    if (r.len == 0 && !(r.type == 'C' && r.dec > 0)) what = "tem tamanho 0";
    else if (r.type == 'L' && r.len != 1) what = "é lógico e não tem 1 byte";
    if (what)
      throw ESourceError(where + " tem cabeçalho inválido: o campo \"" + r.name + "\" (tipo " + std::string(1, r.type) +
                         ", " + std::to_string(r.len + (r.type == 'C' ? 256u * r.dec : 0u)) + " bytes) " + what + ".");
  }

  // Clipper and FoxPro keep the high byte of long character lengths in the decimals
  // byte. Take it when the lengths then fit the record length.
  std::uint64_t sumLow = 1, sumHigh = 1;
  for (const Raw& r : raw) {
    sumLow += r.len;
    sumHigh += r.len + (r.type == 'C' ? 256u * r.dec : 0u);
  }
  bool useHigh;
  if (sumHigh == recLen_) useHigh = true;
  else if (sumLow == recLen_) useHigh = false;
  else if (sumHigh <= recLen_) useHigh = true;
  else if (sumLow <= recLen_) useHigh = false;
  else
    throw ESourceError(where + " tem cabeçalho inconsistente: os campos somam " + std::to_string(sumLow) +
                       " bytes e o registro declara " + std::to_string(recLen_) + ".");

  std::uint32_t offset = 1;
  int bit = 0;
  for (const Raw& r : raw) {
    Field f;
    f.name = Decode(CodePage::Cp1252, reinterpret_cast<const std::uint8_t*>(r.name.data()), r.name.size());
    f.type = r.type;
    f.length = r.len + ((useHigh && r.type == 'C') ? 256u * r.dec : 0u);
    f.decimals = r.type == 'C' ? 0 : r.dec;
    f.flags = isFoxPro(version_) ? r.flags : 0;
    f.offset = offset;
    offset += f.length;
    f.system = (f.flags & 0x01) != 0 || r.type == '0';
    if (!f.system) {
      // Visual FoxPro gives each variable-length field a bit, then each nullable one.
      if (r.type == 'V' || r.type == 'Q') ++bit;
      if (f.flags & 0x02) f.nullBit = bit++;
    }
    fields_.push_back(f);
  }
  for (std::size_t i = 0; i < fields_.size(); ++i)
    if (fields_[i].type == '0' && SameTextAscii(fields_[i].name, u"_NullFlags")) nullFlagsField_ = static_cast<int>(i);
  if (nullFlagsField_ >= 0 && static_cast<std::uint64_t>(bit) > 8ull * fields_[nullFlagsField_].length)
    throw ESourceError(where + " tem um campo _NullFlags curto demais para os seus campos anuláveis.");

  // Record count against the file size.
  const std::uint64_t data = size - headerLen_;
  const std::uint64_t whole = data / recLen_;
  const std::uint64_t rest = data % recLen_;
  if (headerCount_ <= whole) {
    count_ = headerCount_;
  } else if (headerCount_ == whole + 1 && rest > 0 &&
             (d[headerLen_ + whole * recLen_] == ' ' || d[headerLen_ + whole * recLen_] == '*')) {
    // A short last record: the file ends inside it. It is a row; its columns that
    // the file does not hold give an error when read.
    count_ = headerCount_;
  } else {
    throw ESourceError(where + " está truncada ou tem cabeçalho errado: o cabeçalho indica " +
                       std::to_string(headerCount_) + " registros de " + std::to_string(recLen_) +
                       " bytes, mas o arquivo (" + std::to_string(size) + " bytes, cabeçalho de " +
                       std::to_string(headerLen_) + ") só comporta " + std::to_string(whole) + ".");
  }

  // Companion files: the memo file and a `.cpg` naming the code page.
  const fs::path p(path_);
  const std::string folder = p.has_parent_path() ? p.parent_path().string() : std::string(".");
  const std::string stem = lower(p.stem().string());
  std::vector<std::string> fpt = filesNamed(folder, stem, ".fpt");
  std::vector<std::string> dbt = filesNamed(folder, stem, ".dbt");
  if (isFoxPro(version_) && !fpt.empty()) {
    memoPath_ = fpt.front();
    memoFpt_ = true;
  } else if (!dbt.empty()) {
    memoPath_ = dbt.front();
  } else if (!fpt.empty()) {
    memoPath_ = fpt.front();
    memoFpt_ = true;
  }
  std::vector<std::string> cpg = filesNamed(folder, stem, ".cpg");
  if (!cpg.empty()) cpgPath_ = cpg.front();
}

int Table::FindField(std::u16string_view name) const {
  for (std::size_t i = 0; i < fields_.size(); ++i)
    if (!fields_[i].system && SameTextAscii(fields_[i].name, name)) return static_cast<int>(i);
  return -1;
}

std::string Table::TableText() const { return "tabela \"" + UToUtf8(name_) + "\""; }

void Table::BadValue(std::uint32_t rec, const Field& f, const std::string& what) const {
  throw ESourceError("Valor inválido na " + TableText() + ", coluna \"" + UToUtf8(f.name) + "\", registro " +
                     std::to_string(static_cast<unsigned long long>(rec) + 1) + ": " + what);
}

std::string Table::Quote(const std::uint8_t* p, std::size_t n) const {
  std::string s = "\"";
  s += UToUtf8(Decode(cp_ ? *cp_ : CodePage::Cp850, p, n));
  return s + "\"";
}

// ---- code page ----

CodePage Table::Cp() const {
  if (!cp_) DecideCodePage();
  return *cp_;
}

const std::string& Table::CpSource() const {
  if (!cp_) DecideCodePage();
  return cpSource_;
}

void Table::DecideCodePage() const {
  if (!cpgPath_.empty()) {
    std::ifstream in(cpgPath_, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    const std::string text = ss.str();
    std::optional<CodePage> cp = CodePageFromCpg(text);
    if (!cp) {
      std::string shown = text.substr(0, 40);
      while (!shown.empty() && static_cast<unsigned char>(shown.back()) <= ' ') shown.pop_back();
      throw ESourceError("O arquivo \"" + cpgPath_ + "\" da " + TableText() + " indica o código de página \"" +
                         shown + "\", que este leitor não conhece (conhece 437, 850, 860, 1252 e UTF-8).");
    }
    cp_ = *cp;
    cpSource_ = "arquivo .cpg";
    return;
  }
  std::optional<CodePage> declared = CodePageFromLanguageDriver(ldid_);
  if (declared && *declared != CodePage::Cp437) {
    cp_ = *declared;
    cpSource_ = "byte de idioma " + hex(ldid_);
    return;
  }
  // Gather the evidence of the character fields, record by record, until enough
  // letters beyond ASCII have been seen.
  CodePageEvidence ev;
  const std::uint8_t* d = dbf_.Data();
  for (std::uint32_t rec = 0; rec < count_ && ev.highBytes < 4096; ++rec) {
    const std::uint64_t off = headerLen_ + static_cast<std::uint64_t>(rec) * recLen_;
    const std::uint64_t avail = std::min<std::uint64_t>(recLen_, dbf_.Size() - off);
    for (const Field& f : fields_) {
      if (f.type != 'C' || (f.flags & 0x04) || f.offset + f.length > avail) continue;
      ev.Add(d + off + f.offset, f.length);
    }
    TouchRecord(rec);
  }
  if (declared) {
    cp_ = CheckCp437(ev);
    cpSource_ = *cp_ == CodePage::Cp437 ? "byte de idioma " + hex(ldid_)
                                        : "byte de idioma " + hex(ldid_) + " (cp437) corrigido pelo texto";
    return;
  }
  cp_ = GuessCodePage(ev);
  cpSource_ = ldid_ ? "estimado pelo texto (byte de idioma " + hex(ldid_) + " desconhecido)" : "estimado pelo texto";
}

// ---- records ----

void Table::AdviseSequential() const {
  dbf_.AdviseSequential();
  dbf_.SetReleaseEvery(MappedFile::kReleaseEvery);
}

void Table::AdviseRandom() const {
  dbf_.AdviseRandom();
  dbf_.SetReleaseEvery(256);
}

bool Table::IsLive(std::uint32_t rec) const {
  const std::uint8_t flag = dbf_.Data()[headerLen_ + static_cast<std::uint64_t>(rec) * recLen_];
  TouchRecord(rec);
  if (flag == ' ') return true;
  if (flag == '*') return false;
  if (flag == 0x1A)
    throw ESourceError("A " + TableText() + " (" + path_ + ") termina no registro " + std::to_string(rec + 1ull) +
                       " (marca de fim 0x1A), mas o cabeçalho indica " + std::to_string(headerCount_) +
                       " registros: o cabeçalho está errado ou o arquivo foi cortado.");
  throw ESourceError("A " + TableText() + " (" + path_ + ") tem marca de registro inválida (" + hex(flag) +
                     ") no registro " + std::to_string(rec + 1ull) +
                     ": o arquivo está corrompido ou o cabeçalho está errado.");
}

const std::uint8_t* Table::Cell(std::uint32_t rec, const Field& f) const {
  const std::uint64_t off = headerLen_ + static_cast<std::uint64_t>(rec) * recLen_;
  if (off + f.offset + f.length > dbf_.Size())
    throw ESourceError("O registro " + std::to_string(rec + 1ull) + " da " + TableText() +
                       " está incompleto: o arquivo termina antes do fim da coluna \"" + UToUtf8(f.name) + "\".");
  TouchRecord(rec);
  return dbf_.Data() + off + f.offset;
}

bool Table::NullFlag(std::uint32_t rec, const Field& f) const {
  if (f.nullBit < 0 || nullFlagsField_ < 0) return false;
  const std::uint8_t* flags = Cell(rec, fields_[nullFlagsField_]);
  return (flags[f.nullBit / 8] >> (f.nullBit % 8)) & 1;
}

Kind Table::KindOf(const Field& f) {
  switch (f.type) {
    case 'C': return Kind::Text;
    case 'N': case 'F': case 'I': case 'Y': return Kind::Number;
    case 'B': return f.length == 8 ? Kind::Number : Kind::Unsupported;
    case 'D': case 'T': return Kind::Date;
    case 'L': return Kind::Logical;
    case 'M': return Kind::Memo;
    default: return Kind::Unsupported;
  }
}

namespace {
bool allBlank(const std::uint8_t* p, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i)
    if (p[i] != ' ' && p[i] != 0) return false;
  return true;
}
}  // namespace

bool Table::TextBytes(std::uint32_t rec, const Field& f, std::string_view& out) const {
  if (NullFlag(rec, f)) return false;
  const std::uint8_t* p = Cell(rec, f);
  std::size_t n = f.length;
  while (n > 0 && (p[n - 1] == ' ' || p[n - 1] == 0)) --n;
  out = std::string_view(reinterpret_cast<const char*>(p), n);
  return n > 0;
}

bool Table::NumberOf(std::uint32_t rec, const Field& f, Decimal& out) const {
  if (NullFlag(rec, f)) return false;
  const std::uint8_t* p = Cell(rec, f);
  switch (f.type) {
    case 'N':
    case 'F': {
      switch (ParseDecimal(p, f.length, out)) {
        case ParseResult::Ok: return true;
        case ParseResult::Null: return false;
        case ParseResult::Bad: BadValue(rec, f, Quote(p, f.length) + " não é um número.");
      }
      return false;
    }
    case 'I':
      if (f.length != 4) BadValue(rec, f, "campo inteiro (I) de " + std::to_string(f.length) + " bytes.");
      out = Decimal::FromInt(static_cast<std::int32_t>(le32(p)));
      return true;
    case 'Y':
      if (f.length != 8) BadValue(rec, f, "campo moeda (Y) de " + std::to_string(f.length) + " bytes.");
      out = Decimal::FromScaled(le64(p), 4);
      return true;
    case 'B': {
      if (f.length != 8) break;
      double v;
      std::memcpy(&v, p, 8);
      if (!std::isfinite(v)) BadValue(rec, f, "o número de ponto flutuante não é finito.");
      out = Decimal::FromDouble(v);
      return true;
    }
    default: break;
  }
  BadValue(rec, f, std::string("a coluna é do tipo \"") + f.type + "\", que não é número.");
}

bool Table::DateOf(std::uint32_t rec, const Field& f, TDateTime& out) const {
  if (NullFlag(rec, f)) return false;
  const std::uint8_t* p = Cell(rec, f);
  if (f.type == 'D') {
    if (f.length != 8) BadValue(rec, f, "campo de data com " + std::to_string(f.length) + " bytes.");
    bool blankOrZero = true;
    for (int i = 0; i < 8; ++i)
      if (p[i] != ' ' && p[i] != '0' && p[i] != 0) blankOrZero = false;
    if (blankOrZero) return false;
    int v[8];
    for (int i = 0; i < 8; ++i) {
      if (p[i] < '0' || p[i] > '9') BadValue(rec, f, Quote(p, 8) + " não é uma data (AAAAMMDD).");
      v[i] = p[i] - '0';
    }
    const int y = v[0] * 1000 + v[1] * 100 + v[2] * 10 + v[3], m = v[4] * 10 + v[5], dd = v[6] * 10 + v[7];
    if (!TryEncodeDate(y, m, dd, out)) BadValue(rec, f, Quote(p, 8) + " não é uma data que exista.");
    return true;
  }
  if (f.type == 'T') {
    if (f.length != 8) BadValue(rec, f, "campo data-hora (T) de " + std::to_string(f.length) + " bytes.");
    if (allBlank(p, 8)) return false;
    const long long day = static_cast<std::int32_t>(le32(p));
    const long long ms = static_cast<std::int32_t>(le32(p + 4));
    if (day == 0) return false;
    if (ms < 0 || ms >= 86400000) BadValue(rec, f, "hora fora do dia (" + std::to_string(ms) + " ms).");
    const double serial = static_cast<double>(day - kJulianZero);
    if (serial < kMinDateTime || serial > kMaxDateTime) BadValue(rec, f, "dia juliano fora do calendário (" + std::to_string(day) + ").");
    out = serial + (serial < 0 ? -1.0 : 1.0) * static_cast<double>(ms) / 86400000.0;
    return true;
  }
  BadValue(rec, f, std::string("a coluna é do tipo \"") + f.type + "\", que não é data.");
}

bool Table::LogicalOf(std::uint32_t rec, const Field& f, bool& out) const {
  if (NullFlag(rec, f)) return false;
  const std::uint8_t* p = Cell(rec, f);
  if (f.length < 1) BadValue(rec, f, "campo lógico sem bytes.");
  switch (p[0]) {
    case 'T': case 't': case 'Y': case 'y': case 'S': case 's': out = true; return true;
    case 'F': case 'f': case 'N': case 'n': out = false; return true;
    case '?': case ' ': case 0: return false;
    default: BadValue(rec, f, Quote(p, 1) + " não é um valor lógico (T, F, Y, N ou ?).");
  }
}

// ---- memo ----

void Table::OpenMemo() const {
  memoOpened_ = true;
  if (memoPath_.empty()) return;
  memo_ = MappedFile(memoPath_);
  memo_.SetReleaseEvery(256);
  const std::uint8_t* m = memo_.Data();
  if (memoFpt_) {
    if (memo_.Size() < 8) throw ESourceError("O arquivo de memo \"" + memoPath_ + "\" está truncado.");
    memoBlock_ = be16(m + 6);
    if (memoBlock_ == 0) memoBlock_ = 1;  // SET BLOCKSIZE TO 0: blocks of one byte
  } else {
    memoBlock_ = 512;
    // dBase IV keeps its block length at bytes 20-21; dBase III has none there.
    if (version_ != 0x83 && memo_.Size() >= 22) {
      const std::uint16_t b = le16(m + 20);
      if (b >= 32) memoBlock_ = b;
    }
  }
}

std::string_view Table::MemoBytes(std::uint32_t rec, const Field& f, bool& isNull) const {
  isNull = true;
  if (NullFlag(rec, f)) return {};
  const std::uint8_t* p = Cell(rec, f);
  std::uint64_t block = 0;
  if (f.length == 4) {
    block = le32(p);
  } else {
    std::size_t b = 0, e = f.length;
    while (b < e && (p[b] == ' ' || p[b] == 0)) ++b;
    while (e > b && (p[e - 1] == ' ' || p[e - 1] == 0)) --e;
    for (std::size_t i = b; i < e; ++i) {
      if (p[i] < '0' || p[i] > '9') BadValue(rec, f, "o ponteiro de memo " + Quote(p, f.length) + " não é um número.");
      block = block * 10 + (p[i] - '0');
    }
  }
  if (block == 0) return {};
  if (!memoOpened_) OpenMemo();
  if (!memo_.IsOpen())
    BadValue(rec, f, "a tabela não tem arquivo de memo (.dbt ou .fpt) ao seu lado: " + path_ + ".");
  const std::uint8_t* m = memo_.Data();
  const std::uint64_t size = memo_.Size();
  const std::uint64_t start = block * memoBlock_;
  // FoxPro's memo data starts after its 512-byte header, whatever the block size
  // says; a pointer into the header comes from a broken block size or pointer.
  if (memoFpt_ && start < 512)
    BadValue(rec, f, "o memo aponta para o bloco " + std::to_string(block) + " de " + std::to_string(memoBlock_) +
                         " bytes, dentro do cabeçalho do arquivo de memo " + memoPath_ +
                         " (tamanho de bloco declarado: " + std::to_string(be16(memo_.Data() + 6)) + ").");
  if (start < memoBlock_ || start >= size)
    BadValue(rec, f, "o memo aponta para o bloco " + std::to_string(block) + ", fora do arquivo " + memoPath_ + ".");
  memo_.Touch();
  const std::uint8_t* q = m + start;
  const std::uint64_t left = size - start;
  std::uint64_t len = 0;
  const std::uint8_t* text = q;
  if (memoFpt_) {
    if (left < 8) BadValue(rec, f, "o bloco de memo " + std::to_string(block) + " está truncado.");
    const std::uint32_t type = be32(q);
    len = be32(q + 4);
    if (type != 1) BadValue(rec, f, "o memo do bloco " + std::to_string(block) + " não é texto (tipo " + std::to_string(type) + ").");
    text = q + 8;
    len = std::min<std::uint64_t>(len, left - 8);
  } else if (left >= 8 && q[0] == 0xFF && q[1] == 0xFF && q[2] == 0x08 && q[3] == 0x00) {
    // dBase IV: the length counts the 8 bytes of the block header.
    const std::uint32_t total = le32(q + 4);
    text = q + 8;
    len = total >= 8 ? total - 8 : total;
    len = std::min<std::uint64_t>(len, left - 8);
    const void* eom = std::memchr(text, 0x1A, len);
    if (eom) len = static_cast<const std::uint8_t*>(eom) - text;
  } else {
    // dBase III: the text runs to the first 0x1A (or the end of the file).
    const void* eom = std::memchr(q, 0x1A, left);
    len = eom ? static_cast<std::uint64_t>(static_cast<const std::uint8_t*>(eom) - q) : left;
  }
  // The text as written: only the NULs and end marks some writers leave go.
  while (len > 0 && (text[len - 1] == 0 || text[len - 1] == 0x1A)) --len;
  isNull = len == 0;
  return std::string_view(reinterpret_cast<const char*>(text), len);
}

bool Table::MemoOf(std::uint32_t rec, const Field& f, UString& out) const {
  bool isNull;
  std::string_view bytes = MemoBytes(rec, f, isNull);
  if (isNull) return false;
  // Clipper's soft returns (0x8D 0x0A) are line breaks.
  const CodePage cp = Cp();
  out.clear();
  std::size_t from = 0;
  for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
    if (static_cast<std::uint8_t>(bytes[i]) == 0x8D && bytes[i + 1] == 0x0A) {
      DecodeAppend(cp, reinterpret_cast<const std::uint8_t*>(bytes.data()) + from, i - from, out);
      out += u"\r\n";
      from = i + 2;
      ++i;
    }
  }
  DecodeAppend(cp, reinterpret_cast<const std::uint8_t*>(bytes.data()) + from, bytes.size() - from, out);
  return true;
}

// ---- conversions of the source query ----

bool Table::IsNull(std::uint32_t rec, const Field& f) const {
  switch (KindOf(f)) {
    case Kind::Text: {
      std::string_view s;
      return !TextBytes(rec, f, s);
    }
    case Kind::Number: {
      Decimal d;
      return !NumberOf(rec, f, d);
    }
    case Kind::Date: {
      TDateTime t;
      return !DateOf(rec, f, t);
    }
    case Kind::Logical: {
      bool b;
      return !LogicalOf(rec, f, b);
    }
    case Kind::Memo: {
      bool isNull;
      MemoBytes(rec, f, isNull);
      return isNull;
    }
    case Kind::Unsupported: break;
  }
  BadValue(rec, f, std::string("o tipo de campo \"") + f.type + "\" (" + std::to_string(f.length) +
                       " bytes) não é lido por este leitor.");
}

UString Table::AsText(std::uint32_t rec, const Field& f) const {
  switch (KindOf(f)) {
    case Kind::Text: {
      std::string_view s;
      if (!TextBytes(rec, f, s)) return UString();
      return Decode(Cp(), reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
    }
    case Kind::Number: {
      Decimal d;
      if (!NumberOf(rec, f, d)) return UString();
      if (f.type == 'B') return FloatToStrU(d.ToDouble());
      return d.UText(Regional().DecimalSeparator);
    }
    case Kind::Date: {
      TDateTime t;
      if (!DateOf(rec, f, t)) return UString();
      UString s = DateToStr(t);
      if (f.type == 'T' && t != std::trunc(t)) s += FormatDateTime(u" hh:nn:ss", t);
      return s;
    }
    case Kind::Logical: {
      bool b;
      if (!LogicalOf(rec, f, b)) return UString();
      return b ? u"True" : u"False";
    }
    case Kind::Memo: {
      UString s;
      if (!MemoOf(rec, f, s)) return UString();
      return s;
    }
    case Kind::Unsupported: break;
  }
  IsNull(rec, f);  // throws the error of the type
  return UString();
}

bool ParseDateText(std::u16string_view s, TDateTime& out) {
  if (TryStrToDateTime(s, out)) return true;
  if (s.size() != 8) return false;
  int v = 0;
  for (char16_t c : s) {
    if (c < u'0' || c > u'9') return false;
    v = v * 10 + (c - u'0');
  }
  return TryEncodeDate(v / 10000, v / 100 % 100, v % 100, out);
}

double Table::AsDouble(std::uint32_t rec, const Field& f) const {
  switch (KindOf(f)) {
    case Kind::Number: {
      Decimal d;
      if (!NumberOf(rec, f, d)) return 0;
      const double v = d.ToDouble();
      if (!std::isfinite(v)) BadValue(rec, f, "número fora da faixa de um double.");
      return v;
    }
    case Kind::Date: {
      TDateTime t;
      return DateOf(rec, f, t) ? t : 0;
    }
    case Kind::Logical: {
      bool b;
      return LogicalOf(rec, f, b) && b ? 1 : 0;
    }
    case Kind::Text:
    case Kind::Memo: {
      // A point or a comma: the legacy texts have both.
      const UString s = TrimCtl(AsText(rec, f));
      if (s.empty()) return 0;
      Decimal d;
      const double v = ParseDecimalText(s, d) ? d.ToDouble() : NAN;
      if (!std::isfinite(v)) BadValue(rec, f, "\"" + UToUtf8(s) + "\" não é um número.");
      return v;
    }
    case Kind::Unsupported: break;
  }
  IsNull(rec, f);  // throws the error of the type
  return 0;
}

TDateTime Table::AsDateTime(std::uint32_t rec, const Field& f) const {
  switch (KindOf(f)) {
    case Kind::Date: {
      TDateTime t;
      return DateOf(rec, f, t) ? t : 0;
    }
    case Kind::Number: {
      Decimal d;
      return NumberOf(rec, f, d) ? d.ToDouble() : 0;
    }
    case Kind::Text:
    case Kind::Memo: {
      const UString s = TrimCtl(AsText(rec, f));
      if (s.empty()) return 0;
      TDateTime t;
      if (ParseDateText(s, t)) return t;
      BadValue(rec, f, "\"" + UToUtf8(s) + "\" não é uma data.");
    }
    case Kind::Logical: {
      // A null reads as the zero day like every other null; a value has no date.
      bool b;
      if (!LogicalOf(rec, f, b)) return 0;
      BadValue(rec, f, "um valor lógico não é uma data.");
    }
    case Kind::Unsupported: break;
  }
  IsNull(rec, f);
  return 0;
}

}  // namespace dbase
