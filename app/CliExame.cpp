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

// printf into a text.
struct Escreve {
  std::string& texto;
  template <class... A>
  void operator()(const char* formato, A... a) {
    if constexpr (sizeof...(A) == 0) {
      texto += formato;
    } else {
      const int n = std::snprintf(nullptr, 0, formato, a...);
      if (n <= 0) return;
      std::string linha(static_cast<std::size_t>(n) + 1, '\0');
      std::snprintf(linha.data(), linha.size(), formato, a...);
      linha.resize(static_cast<std::size_t>(n));
      texto += linha;
    }
  }
};

}  // namespace

TextoExame DescreveExame(const std::string& pasta) {
  TextoExame exame;
  Escreve escreve{exame.texto};
  dbase::Engine fonte;
  const ExameOrigem r = ExaminaOrigem(pasta, fonte);
  escreve("Inspeção da pasta de origem: %s\n", pasta.c_str());
  if (!r.erroPasta.empty()) {
    escreve("  %s\n", UToUtf8(r.erroPasta).c_str());
    escreve("Resultado: a pasta não pôde ser lida.\n");
    exame.status = 1;
    return exame;
  }
  std::vector<std::string> falhas;
  for (const ExameTabela& t : r.tabelas) {
    const std::string nome = UToUtf8(t.tabela) + " (" + UToUtf8(t.tipo) + ")";
    if (!t.encontrada && t.erro.empty()) {
      escreve("\n  %s: não encontrada (%s.dbf, sem distinção de maiúsculas)\n", nome.c_str(),
              UToUtf8(t.tabela).c_str());
      continue;
    }
    escreve("\n  %s: %s\n", nome.c_str(), t.encontrada ? t.arquivo.c_str() : "");
    if (!t.codePage.empty()) {
      escreve("    registros: %lld (%lld apagados)\n", t.registros, t.apagados);
      escreve("    página de código: %s (%s)\n", t.codePage.c_str(), t.codePageOrigem.c_str());
      escreve("    memo: %s\n", t.memo.empty() ? "nenhum" : t.memo.c_str());
      if (!t.colunasFaltando.empty())
        escreve("    faltam colunas que a conversão lê: %s\n", Lista(t.colunasFaltando).c_str());
      if (!t.colunaEmpresa.empty())
        escreve("    registros por empresa (%s): %s\n", UToUtf8(t.colunaEmpresa).c_str(), PorEmpresa(t).c_str());
    }
    if (!t.erro.empty()) {
      escreve("    ERRO: %s\n", UToUtf8(t.erro).c_str());
      falhas.push_back(UToUtf8(t.tabela));
    }
  }
  escreve("\n");
  if (r.NenhumaTabela()) {
    std::string nomes;
    for (const ExameTabela& t : r.tabelas) nomes += (nomes.empty() ? "" : ", ") + UToUtf8(t.tabela);
    escreve("Resultado: nenhuma tabela do TOLV nesta pasta (%s). Confira se é a pasta de dados do TOLV.\n",
            nomes.c_str());
    exame.status = 1;
    return exame;
  }
  if (falhas.empty()) {
    escreve("Resultado: toda tabela encontrada foi lida por inteiro.\n");
    return exame;
  }
  std::string lista;
  for (const auto& f : falhas) lista += (lista.empty() ? "" : ", ") + f;
  escreve("Resultado: não foi possível ler por inteiro: %s.\n", lista.c_str());
  exame.status = 1;
  return exame;
}

int ImprimeExame(const std::string& pasta) {
  const TextoExame exame = DescreveExame(pasta);
  std::fputs(exame.texto.c_str(), stdout);
  std::fflush(stdout);
  return exame.status;
}
