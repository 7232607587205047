// The header and record layout of a table: the field descriptors, the record count
// checked against the file size, the companion files (memo, .cpg), and where each
// record and cell lies in the mapping. The code page is decided in DbfCodePage.cpp.
#include "platform/dbase/DbfTable.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/Error.h"
#include "platform/dbase/Bytes.h"

namespace dbase {

using bytes::hex;
using bytes::le16;
using bytes::le32;

namespace {

namespace fs = std::filesystem;

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

namespace {

// A field descriptor as the header holds it, before the record layout is decided.
struct RawField {
  std::string name;
  char type;
  std::uint8_t len, dec, flags;
};

// Field descriptors: 32 bytes each from offset 32, up to the 0x0D (or a NUL name,
// or the header's end when the terminator is missing).
std::vector<RawField> ReadDescriptors(const std::uint8_t* d, std::uint32_t headerLen, const std::string& where) {
  std::vector<RawField> raw;
  for (std::size_t pos = 32; pos + 32 <= headerLen && d[pos] != 0x0D && d[pos] != 0x00; pos += 32) {
    const std::uint8_t* f = d + pos;
    RawField r;
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
  for (const RawField& r : raw) {
    const char* what = nullptr;
    if (r.len == 0 && !(r.type == 'C' && r.dec > 0)) what = "tem tamanho 0";
    else if (r.type == 'L' && r.len != 1) what = "é lógico e não tem 1 byte";
    if (what)
      throw ESourceError(where + " tem cabeçalho inválido: o campo \"" + r.name + "\" (tipo " + std::string(1, r.type) +
                         ", " + std::to_string(r.len + (r.type == 'C' ? 256u * r.dec : 0u)) + " bytes) " + what + ".");
  }
  return raw;
}

// Clipper and FoxPro keep the high byte of long character lengths in the decimals
// byte. Take it when the lengths then fit the record length.
bool LongCharLengths(const std::vector<RawField>& raw, std::uint32_t recLen, const std::string& where) {
  std::uint64_t sumLow = 1, sumHigh = 1;
  for (const RawField& r : raw) {
    sumLow += r.len;
    sumHigh += r.len + (r.type == 'C' ? 256u * r.dec : 0u);
  }
  if (sumHigh == recLen) return true;
  if (sumLow == recLen) return false;
  if (sumHigh <= recLen) return true;
  if (sumLow <= recLen) return false;
  throw ESourceError(where + " tem cabeçalho inconsistente: os campos somam " + std::to_string(sumLow) +
                     " bytes e o registro declara " + std::to_string(recLen) + ".");
}

// The fields laid one after the other from byte 1 of the record. bits: how many
// bits of the Visual FoxPro _NullFlags field they take.
std::vector<Field> LayOut(const std::vector<RawField>& raw, bool useHigh, bool foxPro, int& bits) {
  std::vector<Field> fields;
  std::uint32_t offset = 1;
  bits = 0;
  for (const RawField& r : raw) {
    Field f;
    f.name = Decode(CodePage::Cp1252, reinterpret_cast<const std::uint8_t*>(r.name.data()), r.name.size());
    f.type = r.type;
    f.length = r.len + ((useHigh && r.type == 'C') ? 256u * r.dec : 0u);
    f.decimals = r.type == 'C' ? 0 : r.dec;
    f.flags = foxPro ? r.flags : 0;
    f.offset = offset;
    offset += f.length;
    f.system = (f.flags & 0x01) != 0 || r.type == '0';
    if (!f.system) {
      // Visual FoxPro gives each variable-length field a bit, then each nullable one.
      if (r.type == 'V' || r.type == 'Q') ++bits;
      if (f.flags & 0x02) f.nullBit = bits++;
    }
    fields.push_back(f);
  }
  return fields;
}

}  // namespace

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
    throw ESourceError(where + " está truncada ou não é uma tabela dBase: o cabeçalho declara " +
                       std::to_string(headerLen_) +
                       " bytes e o arquivo tem " + std::to_string(size) + ".");
  ReadFields(where);
  CountRecords(where);
  FindCompanions();
}

void Table::ReadFields(const std::string& where) {
  const std::vector<RawField> raw = ReadDescriptors(dbf_.Data(), headerLen_, where);
  int bits = 0;
  fields_ = LayOut(raw, LongCharLengths(raw, recLen_, where), isFoxPro(version_), bits);
  for (std::size_t i = 0; i < fields_.size(); ++i)
    if (fields_[i].type == '0' && SameTextAscii(fields_[i].name, u"_NullFlags")) nullFlagsField_ = static_cast<int>(i);
  if (nullFlagsField_ >= 0 && static_cast<std::uint64_t>(bits) > 8ull * fields_[nullFlagsField_].length)
    throw ESourceError(where + " tem um campo _NullFlags curto demais para os seus campos anuláveis.");
}

void Table::CountRecords(const std::string& where) {
  const std::uint8_t* d = dbf_.Data();
  const std::size_t size = dbf_.Size();
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
}

void Table::FindCompanions() {
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


// ---- records ----

void Table::AdviseSequential() const {
  dbf_.AdviseSequential();
  dbf_.SetReleaseEvery(MappedFile::kReleaseEvery);
  copied_ = false;
  lastTouched_ = 0xFFFFFFFFu;
}

void Table::AdviseRandom() const {
  // A visit through the mapping would map pages (on this kind of file, whole runs
  // of them) for one record: a read call per record costs less and keeps nothing.
  dbf_.Release();
  dbf_.AdviseRandom();
  copied_ = true;
  copyLen_ = 0;
  copySpan_ = recLen_;
  lastTouched_ = 0xFFFFFFFFu;
}

void Table::Visit(std::uint32_t rec) const {
  lastTouched_ = rec;
  if (!copied_) {
    dbf_.Touch();
    return;
  }
  const std::uint64_t off = headerLen_ + static_cast<std::uint64_t>(rec) * recLen_;
  const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(recLen_, dbf_.Size() - off));
  if (off >= copyFrom_ && off + want <= copyFrom_ + copyLen_) {
    copiedRecord_ = copy_.data() + (off - copyFrom_);
    return;
  }
  // Visits that go on where the last read ended (a key that follows the file
  // order, or stretches of it) read ever longer runs, up to 256 kB; any other visit
  // reads its record alone.
  constexpr std::size_t kLongestRun = 256 * 1024;
  const bool onward = copyLen_ > 0 && off >= copyFrom_ + copyLen_ && off < copyFrom_ + copyLen_ + 4ull * recLen_;
  copySpan_ = onward ? std::min<std::size_t>(copySpan_ * 2, std::max<std::size_t>(kLongestRun, recLen_)) : recLen_;
  const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(std::max<std::size_t>(copySpan_, want), dbf_.Size() - off));
  if (copy_.size() < n) copy_.resize(n);
  copyFrom_ = off;
  copyLen_ = dbf_.ReadAt(off, copy_.data(), n);
  copiedRecord_ = copy_.data();
  if (copyLen_ < want) {
    copyLen_ = 0;
    lastTouched_ = 0xFFFFFFFFu;
    throw ESourceError("Não foi possível ler o registro " + std::to_string(rec + 1ull) + " da " + TableText() + " (" +
                       path_ + "): o arquivo mudou durante a leitura.");
  }
}

bool Table::IsLive(std::uint32_t rec) const {
  const std::uint8_t flag = Record(rec)[0];
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
  return Record(rec) + f.offset;
}

bool Table::NullFlag(std::uint32_t rec, const Field& f) const {
  if (f.nullBit < 0 || nullFlagsField_ < 0) return false;
  const std::uint8_t* flags = Cell(rec, fields_[nullFlagsField_]);
  return (flags[f.nullBit / 8] >> (f.nullBit % 8)) & 1;
}

}  // namespace dbase
