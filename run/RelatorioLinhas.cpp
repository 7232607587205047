#include "run/RelatorioLinhas.h"

#include <cerrno>
#include <cstring>

#include "platform/Error.h"

RelatorioLinhas::RelatorioLinhas(const std::string& caminho) : caminho_(caminho) {
  f_ = std::fopen(caminho.c_str(), "wb");
  if (!f_)
    throw EConversao("Não foi possível criar o relatório \"" + caminho + "\": " + std::strerror(errno) + ".");
  std::string cabecalho = "\xEF\xBB\xBF";
  for (const char* c : Colunas()) cabecalho += std::string(cabecalho.size() > 3 ? ";" : "") + c;
  std::fputs((cabecalho + "\r\n").c_str(), f_);
}

RelatorioLinhas::~RelatorioLinhas() {
  if (f_) std::fclose(f_);
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

void RelatorioLinhas::Fecha() {
  if (!f_) return;
  bool ok = !falhou_ && std::fflush(f_) == 0 && !std::ferror(f_);
  ok = (std::fclose(f_) == 0) && ok;
  f_ = nullptr;
  if (!ok) throw EConversao("Não foi possível gravar o relatório \"" + caminho_ + "\" por inteiro.");
}
