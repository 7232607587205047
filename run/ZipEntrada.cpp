#include "run/ZipEntrada.h"

#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <iterator>

namespace {

constexpr std::size_t kMaximo = 1 << 20;

std::uint32_t U16(const std::string& s, std::size_t p) {
  return static_cast<unsigned char>(s[p]) | static_cast<unsigned char>(s[p + 1]) << 8;
}
std::uint32_t U32(const std::string& s, std::size_t p) { return U16(s, p) | U16(s, p + 2) << 16; }

bool Inflate(const std::string& dados, std::size_t tamanho, std::string& saida) {
  saida.assign(tamanho, '\0');
  z_stream z{};
  if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return false;
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(dados.data()));
  z.avail_in = static_cast<uInt>(dados.size());
  z.next_out = reinterpret_cast<Bytef*>(saida.data());
  z.avail_out = static_cast<uInt>(saida.size());
  const int r = inflate(&z, Z_FINISH);
  inflateEnd(&z);
  return r == Z_STREAM_END && z.total_out == tamanho;
}

}  // namespace

bool LeEntradaZip(const std::string& caminho, const std::string& nome, std::string& conteudo) {
  std::ifstream f(caminho, std::ios::binary);
  if (!f) return false;
  f.seekg(0, std::ios::end);
  const std::streamoff total = f.tellg();
  if (total < 22) return false;
  // The end record is in the last 64 KiB + 22 bytes (its comment is at most 64 KiB).
  const std::streamoff cauda = std::min<std::streamoff>(total, 65535 + 22);
  std::string fim(static_cast<std::size_t>(cauda), '\0');
  f.seekg(total - cauda);
  f.read(fim.data(), cauda);
  std::size_t e = fim.rfind(std::string("PK\x05\x06", 4));
  if (e == std::string::npos || e + 22 > fim.size()) return false;
  const std::uint32_t tamanhoDir = U32(fim, e + 12), inicioDir = U32(fim, e + 16);
  if (inicioDir > total || tamanhoDir > total - inicioDir || tamanhoDir > kMaximo) return false;
  std::string dir(tamanhoDir, '\0');
  f.seekg(inicioDir);
  if (!f.read(dir.data(), tamanhoDir)) return false;

  for (std::size_t p = 0; p + 46 <= dir.size() && dir.compare(p, 4, "PK\x01\x02", 4) == 0;) {
    const std::uint32_t metodo = U16(dir, p + 10), comprimido = U32(dir, p + 20), tamanho = U32(dir, p + 24);
    const std::uint32_t n = U16(dir, p + 28), extra = U16(dir, p + 30), comentario = U16(dir, p + 32);
    const std::uint32_t local = U32(dir, p + 42);
    if (p + 46 + n > dir.size()) return false;
    if (dir.compare(p + 46, n, nome) == 0) {
      if (tamanho > kMaximo || comprimido > kMaximo || (metodo != 0 && metodo != 8)) return false;
      std::string cabecalho(30, '\0');
      f.seekg(local);
      if (!f.read(cabecalho.data(), 30) || cabecalho.compare(0, 4, "PK\x03\x04", 4) != 0) return false;
      f.seekg(local + 30 + U16(cabecalho, 26) + U16(cabecalho, 28));
      std::string dados(comprimido, '\0');
      if (!f.read(dados.data(), comprimido)) return false;
      if (metodo == 0) {
        conteudo = dados;
        return comprimido == tamanho;
      }
      return Inflate(dados, tamanho, conteudo);
    }
    p += 46 + n + extra + comentario;
  }
  return false;
}
