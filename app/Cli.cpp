#include "app/Cli.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/CliExame.h"
#include "app/ConsoleServices.h"
#include "platform/Error.h"
#include "platform/StringList.h"
#include "platform/firebird/Firebird.h"
#include "run/ClassesConversaoController.h"
#include "run/RelatorioLinhas.h"
#include "run/RunReport.h"
#include "run/SourceQuery.h"

namespace {

const char* kUsage =
    "Uso: conversor-tolv-cli --origem DIR --destino BANCO [--empresa 01|02] [--gerar-codigos]\n"
    "                        [--usuario U] [--senha S] [--simular] [--relatorio ARQUIVO] TIPO...\n"
    "     conversor-tolv-cli --inspecionar --origem DIR\n"
    "\n"
    "Converte as tabelas do TOLV (arquivos .dbf da pasta DIR) para o banco Norvale BANCO.\n"
    "\n"
    "  --origem DIR       pasta das tabelas .dbf do TOLV\n"
    "  --destino BANCO    caminho do arquivo .fb (modo embarcado) ou servidor:caminho\n"
    "  --empresa 01|02    empresa dos produtos e das contas (padrão 01)\n"
    "  --gerar-codigos    numera os produtos automaticamente\n"
    "  --usuario U        usuário do banco (padrão SYSDBA)\n"
    "  --senha S          senha do banco (padrão a da janela)\n"
    "  --simular          faz a conversão inteira e desfaz tudo no fim: o banco fica como estava\n"
    "  --relatorio ARQ    grava em ARQ (CSV, separado por ;) cada registro ignorado ou rejeitado\n"
    "  --inspecionar      só lê a pasta de origem e diz o que encontrou; não abre banco nenhum\n"
    "  --help             mostra este texto\n"
    "\n"
    "TIPO: cliente fornecedor grupo subgrupo produto receber pagar fabricante, ou todos.\n"
    "A ordem da conversão é sempre a mesma, qualquer que seja a ordem dos tipos.\n"
    "\n"
    "Saída: 0 concluída; 3 concluída com registros rejeitados; 1 falhou e nada foi gravado;\n"
    "2 uso incorreto. Uma simulação sai como a conversão de verdade sairia.\n"
    "A inspeção sai com 0 quando toda tabela encontrada pôde ser lida por inteiro, senão 1.\n";

struct Tipo {
  const char* name;
  const char16_t* key;
};

const Tipo kTipos[] = {
    {"cliente", u"CLIENTE"}, {"fornecedor", u"FORNECEDOR"}, {"grupo", u"GRUPO"},   {"subgrupo", u"SUBGRUPO"},
    {"produto", u"PRODUTO"}, {"receber", u"RECEBER"},       {"pagar", u"PAGAR"},   {"fabricante", u"FABRICANTE"},
};

int usageError(const std::string& why) {
  std::fprintf(stderr, "conversor-tolv-cli: %s\n\n%s", why.c_str(), kUsage);
  return 2;
}

void printSummary(bool committed, bool simulacao) {
  const RunReport& r = RunReport::Current();
  if (simulacao)
    std::printf("\nResumo da simulação%s\n", committed ? "" : " (a conversão falharia)");
  else
    std::printf("\nResumo da conversão%s\n", committed ? "" : " (desfeita: nada foi gravado)");
  if (r.Kinds().empty()) std::printf("  nenhum tipo convertido\n");
  for (const KindReport& k : r.Kinds()) {
    // After a rollback the rows written are gone again: say so rather than "gravados".
    std::printf("  %s: lidos %lld, %s %lld, ignorados %lld, rejeitados %lld\n", UToUtf8(k.kind).c_str(), k.read,
                committed ? (simulacao ? "a gravar" : "gravados") : "desfeitos", k.written, k.skipped, k.rejected);
    for (const RowNote& n : k.rejections) std::printf("    rejeitado: %s\n", UToUtf8(DescreveRejeicao(n)).c_str());
  }
  for (const UString& aviso : TakeSourceRemarks()) std::printf("  aviso: %s\n", UToUtf8(aviso).c_str());
  std::fflush(stdout);
}

}  // namespace

int RunCli(int argc, char** argv) {
  std::string origem, destino, empresa = "01", usuario = "SYSDBA", senha = "ferncrest";
  std::string relatorio;
  bool gerarCodigos = false, haveOrigem = false, haveDestino = false, simular = false, inspecionar = false;
  std::vector<std::string> tipos, given;

  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&](std::string& into) -> bool {
      if (i + 1 >= argc) return false;
      into = argv[++i];
      return true;
    };
    // Two values for one option (two targets, two companies) are a mistake to point
    // out, not one to settle by taking the last.
    if (a.rfind("--", 0) == 0 && a != "--gerar-codigos" && a != "--simular" && a != "--inspecionar") {
      for (const std::string& g : given)
        if (g == a) return usageError(a + " foi dado mais de uma vez");
      given.push_back(a);
    }
    if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (a == "--origem") {
      if (!value(origem)) return usageError("--origem pede a pasta de origem");
      haveOrigem = true;
    } else if (a == "--destino") {
      if (!value(destino)) return usageError("--destino pede o banco de destino");
      haveDestino = true;
    } else if (a == "--empresa") {
      if (!value(empresa)) return usageError("--empresa pede 01 ou 02");
      if (empresa != "01" && empresa != "02") return usageError("empresa inválida: " + empresa + " (use 01 ou 02)");
    } else if (a == "--usuario") {
      if (!value(usuario)) return usageError("--usuario pede o nome do usuário");
    } else if (a == "--senha") {
      if (!value(senha)) return usageError("--senha pede a senha");
    } else if (a == "--gerar-codigos") {
      gerarCodigos = true;
    } else if (a == "--simular") {
      simular = true;
    } else if (a == "--inspecionar") {
      inspecionar = true;
    } else if (a == "--relatorio") {
      if (!value(relatorio) || relatorio.empty()) return usageError("--relatorio pede o arquivo do relatório");
    } else if (a.size() > 1 && a[0] == '-') {
      return usageError("opção desconhecida: " + a);
    } else {
      tipos.push_back(a);
    }
  }
  if (!haveOrigem || origem.empty()) return usageError("falta --origem");
  if (inspecionar) {
    if (haveDestino || !tipos.empty() || simular || !relatorio.empty())
      return usageError("--inspecionar só aceita --origem");
    return ImprimeExame(origem);
  }
  if (!haveDestino || destino.empty()) return usageError("falta --destino");
  if (tipos.empty()) return usageError("falta o TIPO a converter");

  TStringList params;
  for (const UString& key : TClassesConversaoController::Chaves()) params.SetValue(key, u"N");
  std::vector<std::string> indisponiveis;
  for (const std::string& t : tipos) {
    if (t == "todos") {
      for (const Tipo& k : kTipos) {
        if (TClassesConversaoController::Disponivel(k.key)) params.SetValue(k.key, u"S");
        else indisponiveis.push_back(k.name);
      }
      continue;
    }
    const Tipo* found = nullptr;
    for (const Tipo& k : kTipos)
      if (t == k.name) found = &k;
    if (!found) return usageError("tipo desconhecido: " + t);
    if (!TClassesConversaoController::Disponivel(found->key))
      return usageError("tipo ainda não disponível nesta versão: " + t);
    params.SetValue(found->key, u"S");
  }
  if (!indisponiveis.empty()) {
    std::string list;
    for (const auto& n : indisponiveis) list += (list.empty() ? "" : ", ") + n;
    std::fprintf(stderr, "Ainda não disponíveis nesta versão, não convertidos: %s\n", list.c_str());
  }

  ConsoleProgress progress;
  ConsoleServices services;
  services.SetProgress(&progress);
  WindowServices::Install(&services);
  struct Uninstall {
    ~Uninstall() { WindowServices::Install(nullptr); }
  } uninstall;

  fb::Database db;
  try {
    db.SetDatabaseName(Utf8ToU(destino));
    db.SetUserName(Utf8ToU(usuario));
    db.SetPassword(Utf8ToU(senha));
    db.Open();
  } catch (const std::exception& e) {
    MessageDlg(u"Não foi possível conectar ao banco de dados Norvale\rMotivo: " + ErrorMessage(e), MsgKind::Error,
               MsgButtons::OK);
    return 1;
  }

  std::unique_ptr<RelatorioLinhas> arquivoRelatorio;
  if (!relatorio.empty()) {
    try {
      arquivoRelatorio = std::make_unique<RelatorioLinhas>(relatorio);
    } catch (const std::exception& e) {
      MessageDlg(ErrorMessage(e), MsgKind::Error, MsgButtons::OK);
      return 1;
    }
    RunReport::Current().SetListener([&](const UString& tipo, RunReport::Outcome o, const RowNote& n) {
      arquivoRelatorio->Linha(tipo, o, n);
    });
  }
  struct Unlisten {
    ~Unlisten() { RunReport::Current().SetListener(nullptr); }
  } unlisten;

  bool committed = false;
  try {
    TClassesConversaoController controller;
    controller.SetSimulacao(simular);
    committed = controller.FEfetuaConversao(params, Utf8ToU(origem), db, db.DefaultTransaction(), progress.Bar(),
                                            progress.Label(), Utf8ToU(empresa), gerarCodigos);
  } catch (const std::exception& e) {
    // Only the start of the run's transaction fails this way.
    services.ShowError(ErrorMessage(e));
    committed = false;
  }
  progress.Finish();
  printSummary(committed, simular);
  int status = !committed ? 1 : RunReport::Current().TotalRejected() > 0 ? 3 : 0;
  if (arquivoRelatorio) {
    try {
      arquivoRelatorio->Fecha();
      std::printf("Relatório dos registros não gravados: %s\n", relatorio.c_str());
    } catch (const std::exception& e) {
      services.ShowError(ErrorMessage(e));
      if (status == 0) status = 1;
    }
  }
  // The last line, where a script or a tired operator looks.
  if (simular)
    std::printf("Simulação: tudo foi desfeito no fim; nada foi gravado no banco de destino.\n");
  std::fflush(stdout);
  return status;
}
