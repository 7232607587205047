// The memo files beside a table: dBase III and dBase IV `.dbt`, FoxPro `.fpt`.
// Memo pointers come from the field; every block offset and length is checked
// against the memo file, since damaged pointers are common in the field.
#include <algorithm>
#include <cstring>

#include "platform/Error.h"
#include "platform/dbase/Bytes.h"
#include "platform/dbase/DbfTable.h"

namespace dbase {

using bytes::be16;
using bytes::be32;
using bytes::le16;
using bytes::le32;

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

}  // namespace dbase
