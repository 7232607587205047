#include "run/Relatorio.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/Error.h"

#include "run/RelatorioLinhas.h"
#include "run/RelatorioPlanilha.h"

const std::vector<const char*>& Relatorio::Colunas() {
  static const std::vector<const char*> c = {"Tipo", "Registro no arquivo", "Código no TOLV", "Código no Norvale",
                                             "Nome ou descrição", "Ocorrência", "Motivo"};
  return c;
}

std::vector<UString> Relatorio::Campos(const UString& tipo, RunReport::Outcome o, const RowNote& n) {
  return {tipo, IntToU(n.row), n.code, n.derived, n.name,
          o == RunReport::Outcome::Skipped ? u"ignorado" : u"rejeitado", n.what};
}

const std::vector<const char*>& Relatorio::ColunasConferencia() {
  static const std::vector<const char*> c = {"Tipo",    "Empresa",   "Conferido", "Origem",
                                             "Destino", "Resultado", "Arredondamento do destino"};
  return c;
}

std::vector<std::vector<UString>> Relatorio::LinhasConferencia(const RunReport& r) {
  std::vector<std::vector<UString>> linhas;
  for (const KindReport& k : r.Kinds())
    for (const LinhaConferencia& l : k.conferencia)
      linhas.push_back({k.kind, k.empresa, l.figura, l.origem, l.destino, l.confere ? u"confere" : u"NÃO CONFERE",
                        l.arredondamento});
  return linhas;
}

void Relatorio::Conferencia(const RunReport& r) {
  const std::vector<std::vector<UString>> linhas = LinhasConferencia(r);
  if (linhas.empty()) return;
  Secao(TituloConferencia(), ColunasConferencia(), linhas);
}

namespace {

bool Planilha(const std::string& caminho) {
  const std::string ext = ".xlsx";
  bool planilha = caminho.size() > ext.size();
  for (std::size_t i = 0; planilha && i < ext.size(); ++i)
    planilha = std::tolower(static_cast<unsigned char>(caminho[caminho.size() - ext.size() + i])) == ext[i];
  return planilha;
}

}  // namespace

bool Relatorio::EhRelatorio(const std::string& caminho) {
  return Planilha(caminho) ? RelatorioPlanilha::EhRelatorio(caminho) : RelatorioLinhas::EhRelatorio(caminho);
}

int Relatorio::CriaAoLado(const std::string& caminho, std::string& temporario) {
  const std::filesystem::path p(caminho);
  std::string modelo = (p.parent_path() / ("." + p.filename().string() + ".XXXXXX")).string();
  const int fd = mkstemp(modelo.data());
  if (fd < 0)
    throw EConversao("Não foi possível criar o relatório \"" + caminho + "\": " + std::strerror(errno) + ".");
  temporario = modelo;
  // mkstemp makes it private to its owner; a report is an ordinary file.
  const mode_t mascara = umask(0);
  umask(mascara);
  fchmod(fd, 0666 & ~mascara);
  return fd;
}

std::unique_ptr<Relatorio> AbreRelatorio(const std::string& caminho) {
  if (Planilha(caminho)) return std::make_unique<RelatorioPlanilha>(caminho);
  return std::make_unique<RelatorioLinhas>(caminho);
}
