#include "run/RelatorioLinhas.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "platform/Error.h"

namespace {

// The first line of every report, byte-order mark included.
std::string Cabecalho() {
  std::string c = "\xEF\xBB\xBF";
  bool primeira = true;
  for (const char* coluna : Relatorio::Colunas()) {
    c += std::string(primeira ? "" : ";") + coluna;
    primeira = false;
  }
  return c + "\r\n";
}

}  // namespace

bool RelatorioLinhas::EhRelatorio(const std::string& caminho) {
  std::FILE* f = std::fopen(caminho.c_str(), "rb");
  if (!f) return false;
  const std::string cabecalho = Cabecalho();
  std::string inicio(cabecalho.size(), '\0');
  const std::size_t lidos = std::fread(inicio.data(), 1, inicio.size(), f);
  std::fclose(f);
  return lidos == cabecalho.size() && inicio == cabecalho;
}

RelatorioLinhas::RelatorioLinhas(const std::string& caminho) : caminho_(caminho) {
  const int fd = CriaAoLado(caminho, temporario_);
  f_ = fdopen(fd, "wb");
  if (!f_) {
    const int erro = errno;
    close(fd);
    std::remove(temporario_.c_str());
    throw EConversao("Não foi possível criar o relatório \"" + caminho + "\": " + std::strerror(erro) + ".");
  }
  std::fputs(Cabecalho().c_str(), f_);
}

RelatorioLinhas::~RelatorioLinhas() { Descarta(); }

void RelatorioLinhas::Descarta() {
  if (f_) std::fclose(f_);
  f_ = nullptr;
  if (!temporario_.empty()) std::remove(temporario_.c_str());
  temporario_.clear();
}

std::string RelatorioLinhas::Campo(const UString& valor) {
  std::string s = UToUtf8(valor);
  std::string out;
  out.reserve(s.size() + 2);
  bool aspas = false;
  if (!s.empty() && (s[0] == '=' || s[0] == '+' || s[0] == '@' ||
                     (s[0] == '-' && (s.size() == 1 || s[1] < '0' || s[1] > '9')))) {
    out.push_back('\'');
  }
  for (std::size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
      out.push_back(' ');
      continue;
    }
    if (c == ';') aspas = true;
    if (c == '"') {
      aspas = true;
      out.push_back('"');
    }
    out.push_back(c);
  }
  return aspas ? "\"" + out + "\"" : out;
}

void RelatorioLinhas::Linha(const UString& tipo, RunReport::Outcome o, const RowNote& n) {
  if (!f_) return;
  std::string linha;
  for (const UString& c : Campos(tipo, o, n)) linha += (linha.empty() ? "" : ";") + Campo(c);
  linha += "\r\n";
  if (std::fputs(linha.c_str(), f_) == EOF) falhou_ = true;
}

void RelatorioLinhas::Secao(const char* titulo, const std::vector<const char*>& colunas,
                            const std::vector<std::vector<UString>>& linhas) {
  if (!f_) return;
  // A blank line and the title keep a spreadsheet from reading it as more rows.
  std::string texto = std::string("\r\n") + titulo + "\r\n";
  for (std::size_t i = 0; i < colunas.size(); ++i) texto += (i ? ";" : "") + std::string(colunas[i]);
  texto += "\r\n";
  for (const std::vector<UString>& linha : linhas) {
    for (std::size_t i = 0; i < linha.size(); ++i) texto += (i ? ";" : "") + Campo(linha[i]);
    texto += "\r\n";
  }
  if (std::fputs(texto.c_str(), f_) == EOF) falhou_ = true;
}

void RelatorioLinhas::Fecha() {
  if (!f_) return;
  bool ok = !falhou_ && std::fflush(f_) == 0 && !std::ferror(f_);
  ok = (std::fclose(f_) == 0) && ok;
  f_ = nullptr;
  ok = ok && std::rename(temporario_.c_str(), caminho_.c_str()) == 0;
  if (!ok) {
    std::remove(temporario_.c_str());
    temporario_.clear();
    throw EConversao("Não foi possível gravar o relatório \"" + caminho_ + "\" por inteiro.");
  }
  temporario_.clear();
}
