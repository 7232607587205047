#include "app/CliExame.h"

#include <cstdio>

#include "platform/dbase/DbfEngine.h"
#include "run/ExameOrigem.h"

namespace {

std::string Lista(const std::vector<UString>& v) {
  std::string s;
  for (const UString& x : v) s += (s.empty() ? "" : ", ") + UToUtf8(x);
  return s;
}

std::string PorEmpresa(const ExameTabela& t) {
  std::string s;
  for (const auto& [empresa, n] : t.porEmpresa) {
    s += (s.empty() ? "" : "; ") + (empresa.empty() ? std::string("(em branco)") : UToUtf8(empresa)) + ": " +
         std::to_string(n);
    if (t.documentos) {
      auto a = t.abertosPorEmpresa.find(empresa);
      s += " (" + std::to_string(a == t.abertosPorEmpresa.end() ? 0 : a->second) + " em aberto)";
    }
  }
  return s.empty() ? "nenhum registro" : s;
}

}  // namespace

int ImprimeExame(const std::string& pasta) {
  dbase::Engine fonte;
  const ExameOrigem r = ExaminaOrigem(pasta, fonte);
  std::printf("Inspeção da pasta de origem: %s\n", pasta.c_str());
  if (!r.erroPasta.empty()) {
    std::printf("  %s\n", UToUtf8(r.erroPasta).c_str());
    std::printf("Resultado: a pasta não pôde ser lida.\n");
    return 1;
  }
  std::vector<std::string> falhas;
  for (const ExameTabela& t : r.tabelas) {
    const std::string nome = UToUtf8(t.tabela) + " (" + UToUtf8(t.tipo) + ")";
    if (!t.encontrada && t.erro.empty()) {
      std::printf("\n  %s: não encontrada (%s.dbf, sem distinção de maiúsculas)\n", nome.c_str(),
                  UToUtf8(t.tabela).c_str());
      continue;
    }
    std::printf("\n  %s: %s\n", nome.c_str(), t.encontrada ? t.arquivo.c_str() : "");
    if (!t.codePage.empty()) {
      std::printf("    registros: %lld (%lld apagados)\n", t.registros, t.apagados);
      std::printf("    página de código: %s (%s)\n", t.codePage.c_str(), t.codePageOrigem.c_str());
      std::printf("    memo: %s\n", t.memo.empty() ? "nenhum" : t.memo.c_str());
      if (!t.colunasFaltando.empty())
        std::printf("    faltam colunas que a conversão lê: %s\n", Lista(t.colunasFaltando).c_str());
      if (!t.colunaEmpresa.empty())
        std::printf("    registros por empresa (%s): %s\n", UToUtf8(t.colunaEmpresa).c_str(), PorEmpresa(t).c_str());
    }
    if (!t.erro.empty()) {
      std::printf("    ERRO: %s\n", UToUtf8(t.erro).c_str());
      falhas.push_back(UToUtf8(t.tabela));
    }
  }
  std::printf("\n");
  if (r.NenhumaTabela()) {
    std::string nomes;
    for (const ExameTabela& t : r.tabelas) nomes += (nomes.empty() ? "" : ", ") + UToUtf8(t.tabela);
    std::printf("Resultado: nenhuma tabela do TOLV nesta pasta (%s). Confira se é a pasta de dados do TOLV.\n",
                nomes.c_str());
    return 1;
  }
  if (falhas.empty()) {
    std::printf("Resultado: toda tabela encontrada foi lida por inteiro.\n");
    return 0;
  }
  std::string lista;
  for (const auto& f : falhas) lista += (lista.empty() ? "" : ", ") + f;
  std::printf("Resultado: não foi possível ler por inteiro: %s.\n", lista.c_str());
  return 1;
}
