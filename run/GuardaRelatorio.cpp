#include "run/GuardaRelatorio.h"

#include <filesystem>
#include <vector>

#include "run/Relatorio.h"

namespace fs = std::filesystem;

namespace {

// The same file or folder, whether or not it exists yet.
bool Mesmo(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  if (fs::exists(a, ec) && fs::exists(b, ec)) return fs::equivalent(a, b, ec);
  return fs::weakly_canonical(a, ec) == fs::weakly_canonical(b, ec);
}

// The file a target names: the path itself, and for a server on this machine the
// path after "host:" or "host/port:".
std::vector<fs::path> ArquivosDoDestino(const std::string& destino) {
  std::vector<fs::path> r{destino};
  if (const auto p = destino.find(':'); p != std::string::npos && p + 1 < destino.size()) r.emplace_back(destino.substr(p + 1));
  return r;
}

}  // namespace

UString RecusaRelatorio(const std::string& relatorio, const std::string& origem, const std::string& destino) {
  const fs::path arquivo(relatorio);
  const UString nome = u"\"" + Utf8ToU(relatorio) + u"\"";
  for (const fs::path& banco : ArquivosDoDestino(destino))
    if (Mesmo(arquivo, banco)) return u"o relatório " + nome + u" seria gravado por cima do banco de destino.";
  std::error_code ec;
  const fs::path pasta = fs::absolute(arquivo, ec).parent_path();
  if (Mesmo(pasta, fs::path(origem)))
    return u"o relatório " + nome + u" seria gravado na pasta de origem, cujas tabelas a conversão só lê; escolha outra pasta.";
  if (fs::is_directory(arquivo, ec)) return nome + u" é uma pasta; dê o nome de um arquivo.";
  if (fs::exists(arquivo, ec) && !Relatorio::EhRelatorio(relatorio))
    return nome + u" já existe e não é um relatório deste programa; escolha outro nome (ou apague-o antes).";
  return UString();
}
