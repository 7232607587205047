#include "run/Relatorio.h"

#include <cctype>

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

std::unique_ptr<Relatorio> AbreRelatorio(const std::string& caminho) {
  const std::string ext = ".xlsx";
  bool planilha = caminho.size() > ext.size();
  for (std::size_t i = 0; planilha && i < ext.size(); ++i)
    planilha = std::tolower(static_cast<unsigned char>(caminho[caminho.size() - ext.size() + i])) == ext[i];
  if (planilha) return std::make_unique<RelatorioPlanilha>(caminho);
  return std::make_unique<RelatorioLinhas>(caminho);
}
