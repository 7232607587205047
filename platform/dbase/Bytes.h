#pragma once
// Little- and big-endian fields of the dBase headers, records and memo blocks, and
// the hexadecimal form bytes take in messages. Internal to the reader.
#include <cstdint>
#include <cstdio>
#include <string>

namespace dbase::bytes {

inline std::uint16_t le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
inline std::uint32_t le32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::uint16_t be16(const std::uint8_t* p) { return static_cast<std::uint16_t>((p[0] << 8) | p[1]); }
inline std::uint32_t be32(const std::uint8_t* p) {
  return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
         (static_cast<std::uint32_t>(p[2]) << 8) | static_cast<std::uint32_t>(p[3]);
}
inline long long le64(const std::uint8_t* p) {
  unsigned long long v = 0;
  for (int i = 7; i >= 0; --i) v = (v << 8) | p[i];
  return static_cast<long long>(v);
}

inline std::string hex(unsigned v) {
  char b[8];
  std::snprintf(b, sizeof b, "0x%02X", v);
  return b;
}

}  // namespace dbase::bytes
