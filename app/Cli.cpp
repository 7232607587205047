#include "app/Cli.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/CliExame.h"
#include "app/Credenciais.h"
#include "app/ConsoleServices.h"
#include "app/InterrupcaoConsole.h"
#include "platform/Error.h"
#include "platform/StringList.h"
#include "platform/firebird/Firebird.h"
#include "converters/Tipos.h"
#include "platform/dbase/DbfEngine.h"
#include "run/ClassesConversaoController.h"
#include "run/GuardaRelatorio.h"
#include "run/Plano.h"
#include "run/Relatorio.h"
#include "toolkit/Explicacoes.h"
#include "toolkit/RunReport.h"

namespace {

const char* kUsage =
    "Uso: conversor-tolv-cli --origem DIR --destino BANCO [--empresa 01|02] [--gerar-codigos]\n"
    "                        [--usuario U] [--senha S] [--simular] [--relatorio ARQUIVO] TIPO...\n"
    "     conversor-tolv-cli --inspecionar --origem DIR\n"
    "     conversor-tolv-cli --conferir --origem DIR --destino BANCO [--empresa 01|02] TIPO...\n"
    "\n"
    "Converte as tabelas do TOLV (arquivos .dbf da pasta DIR) para o banco Norvale BANCO.\n"
    "\n"
    "  --origem DIR       pasta das tabelas .dbf do TOLV\n"
    "  --destino BANCO    caminho do arquivo .fb (modo embarcado) ou servidor:caminho\n"
    "  --empresa 01|02    empresa dos produtos e das contas (padrão 01)\n"
    "  --gerar-codigos    numera os produtos automaticamente\n"
    "  --usuario U        usuário do banco (padrão ISC_USER, senão SYSDBA)\n"
    "  --senha S          senha do banco (padrão ISC_PASSWORD, senão a da janela)\n"
    "  --simular          faz a conversão inteira e desfaz tudo no fim: o banco fica como estava\n"
    "  --relatorio ARQ    grava em ARQ (CSV com ;, ou planilha se terminar em .xlsx) cada registro\n"
    "                     ignorado ou rejeitado; nunca sobre o banco de destino, na pasta de\n"
    "                     origem ou sobre outro arquivo\n"
    "  --inspecionar      só lê a pasta de origem e diz o que encontrou; não abre banco nenhum\n"
    "  --conferir         confere um banco já convertido com a pasta de origem; não grava nada\n"
    "  --help             mostra este texto\n"
    "  --version          mostra a versão\n"
    "\n"
    "Cada opção aceita também a forma --opcao=valor. Sem --usuario e --senha valem\n"
    "ISC_USER e ISC_PASSWORD do ambiente, como nas ferramentas do Firebird.\n"
    "\n"
    "TIPO: %TIPOS%, ou todos.\n"
    "A ordem da conversão é sempre a mesma, qualquer que seja a ordem dos tipos.\n"
    "\n"
    "Antes de começar, confere as tabelas de origem e o banco de destino e mostra o plano:\n"
    "quantos registros cada tipo apaga no destino e lê da origem, e os documentos repetidos.\n"
    "Ctrl-C durante a conversão desfaz tudo: nada é gravado.\n"
    "\n"
    "Saída: 0 concluída; 3 concluída com registros rejeitados ou documentos repetidos;\n"
    "1 falhou ou não pôde começar, e nada foi gravado; 2 uso incorreto (também um --relatorio\n"
    "recusado); 130 interrompida pelo usuário, nada foi gravado.\n"
    "Uma simulação sai como a conversão de verdade sairia.\n"
    "A inspeção sai com 0 quando encontrou tabelas do TOLV e leu cada uma por inteiro, senão 1.\n"
    "A conferência sai com 0 quando tudo confere, senão 1.\n";

// The usage text, with the kinds' names as the list of kinds gives them.
std::string Uso() {
  std::string tipos;
  for (const Tipo& t : Tipos()) tipos += (tipos.empty() ? "" : " ") + std::string(t.nome);
  std::string uso = kUsage;
  const std::string marca = "%TIPOS%";
  uso.replace(uso.find(marca), marca.size(), tipos);
  return uso;
}

// One line: what was wrong; the whole usage is one --help away.
int usageError(const std::string& why) {
  std::fprintf(stderr, "conversor-tolv-cli: %s (use --help para ver o uso)\n", why.c_str());
  return 2;
}

// The reconciliation of every kind that has one, under `titulo`; true when every
// figure matches.
bool ImprimeConferencia(const RunReport& r, const char* titulo) {
  bool confere = true;
  bool impresso = false;
  for (const KindReport& k : r.Kinds()) {
    if (k.conferencia.empty()) continue;
    if (!impresso) std::printf("\n%s\n", titulo);
    impresso = true;
    const std::string empresa = k.empresa.empty() ? "" : " (empresa " + UToUtf8(k.empresa) + ")";
    std::printf("  %s%s: lidos %lld, ignorados %lld, rejeitados %lld, gravados %lld\n", UToUtf8(k.kind).c_str(),
                empresa.c_str(), k.read, k.skipped, k.rejected, k.written);
    for (const LinhaConferencia& l : k.conferencia) {
      confere = confere && l.confere;
      std::printf("    %s: origem %s, destino %s: %s", UToUtf8(l.figura).c_str(), UToUtf8(l.origem).c_str(),
                  UToUtf8(l.destino).c_str(), l.confere ? "confere" : "NÃO CONFERE");
      if (!l.arredondamento.empty()) std::printf(" (arredondamento do destino: %s)", UToUtf8(l.arredondamento).c_str());
      std::printf("\n");
    }
  }
  return confere;
}

void printSummary(const RunReport& r, SourceEngine& fonte, bool committed, bool simulacao) {
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
    if (k.repeated)
      std::printf("    repetidos: %lld já estavam no banco de destino (gravados de novo)\n", k.repeated);
  }
  ImprimeConferencia(r, "Conferência com a origem, antes da confirmação");
  for (const UString& aviso : fonte.TakeRemarks()) std::printf("  aviso: %s\n", UToUtf8(aviso).c_str());
  std::fflush(stdout);
}

// What the command line asked for.
struct Opcoes {
  std::string origem, destino, empresa = "01", usuario, senha, relatorio;
  bool gerarCodigos = false, haveOrigem = false, haveDestino = false, simular = false, inspecionar = false,
       conferir = false;
  std::vector<std::string> tipos;
};

// Reads the arguments into `o`; the exit status when the program must stop here
// (help, a usage error), -1 to go on.
int LeOpcoes(int argc, char** argv, Opcoes& o) {
  // The user and password as every Firebird tool takes them when not given; the
  // password is never printed.
  const Credenciais padrao = CredenciaisPadrao();
  o.usuario = UToUtf8(padrao.usuario);
  o.senha = UToUtf8(padrao.senha);
  // "--opcao=valor" is "--opcao valor".
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const std::size_t igual = a.find('=');
    if (a.rfind("--", 0) == 0 && igual != std::string::npos) {
      args.push_back(a.substr(0, igual));
      args.push_back(a.substr(igual + 1));
    } else {
      args.push_back(a);
    }
  }
  const int n = static_cast<int>(args.size());
  std::vector<std::string> given;
  for (int i = 0; i < n; ++i) {
    std::string a = args[i];
    auto value = [&](std::string& into) -> bool {
      if (i + 1 >= n) return false;
      into = args[++i];
      return true;
    };
    // Two values for one option (two targets, two companies) are a mistake to point
    // out, not one to settle by taking the last.
    if (a.rfind("--", 0) == 0 && a != "--gerar-codigos" && a != "--simular" && a != "--inspecionar" &&
        a != "--conferir") {
      for (const std::string& g : given)
        if (g == a) return usageError(a + " foi dado mais de uma vez");
      given.push_back(a);
    }
    if (a == "--help" || a == "-h") {
      std::fputs(Uso().c_str(), stdout);
      return 0;
    } else if (a == "--version") {
      std::printf("conversor-tolv-cli %s\n", CT_VERSION);
      return 0;
    } else if (a == "--origem") {
      if (!value(o.origem)) return usageError("--origem pede a pasta de origem");
      o.haveOrigem = true;
    } else if (a == "--destino") {
      if (!value(o.destino)) return usageError("--destino pede o banco de destino");
      o.haveDestino = true;
    } else if (a == "--empresa") {
      if (!value(o.empresa)) return usageError("--empresa pede 01 ou 02");
      if (o.empresa != "01" && o.empresa != "02")
        return usageError("empresa inválida: " + o.empresa + " (use 01 ou 02)");
    } else if (a == "--usuario") {
      if (!value(o.usuario)) return usageError("--usuario pede o nome do usuário");
    } else if (a == "--senha") {
      if (!value(o.senha)) return usageError("--senha pede a senha");
    } else if (a == "--gerar-codigos") {
      o.gerarCodigos = true;
    } else if (a == "--simular") {
      o.simular = true;
    } else if (a == "--inspecionar") {
      o.inspecionar = true;
    } else if (a == "--conferir") {
      o.conferir = true;
    } else if (a == "--relatorio") {
      if (!value(o.relatorio) || o.relatorio.empty()) return usageError("--relatorio pede o arquivo do relatório");
    } else if (a.size() > 1 && a[0] == '-') {
      return usageError("opção desconhecida: " + a);
    } else {
      o.tipos.push_back(a);
    }
  }
  if (!o.haveOrigem || o.origem.empty()) return usageError("falta --origem");
  std::error_code ec;
  if (std::filesystem::exists(o.origem, ec) && !std::filesystem::is_directory(o.origem, ec))
    return usageError("--origem pede a pasta das tabelas, e \"" + o.origem + "\" é um arquivo");
  if (o.inspecionar) {
    if (o.haveDestino || !o.tipos.empty() || o.simular || !o.relatorio.empty())
      return usageError("--inspecionar só aceita --origem");
    return -1;
  }
  if (!o.haveDestino || o.destino.empty()) return usageError("falta --destino");
  if (o.conferir && (o.simular || !o.relatorio.empty() || o.gerarCodigos))
    return usageError("--conferir só aceita --origem, --destino, --empresa, --usuario, --senha e os tipos");
  if (o.tipos.empty()) return usageError("falta o TIPO a converter");
  return -1;
}

// The selection list of the kinds named ("todos": every kind); the exit status of
// a usage error in `status` when a name is unknown.
bool Selecao(const std::vector<std::string>& nomes, TStringList& params, int& status) {
  for (const Tipo& t : Tipos()) params.SetValue(t.chave, u"N");
  for (const std::string& nome : nomes) {
    if (nome == "todos") {
      for (const Tipo& t : Tipos()) params.SetValue(t.chave, u"S");
      continue;
    }
    const Tipo* t = TipoPorNome(nome);
    if (!t) {
      status = usageError("tipo desconhecido: " + nome);
      return false;
    }
    params.SetValue(t->chave, u"S");
  }
  return true;
}

// The kinds the selection list ticks, in the run's order.
std::vector<const Tipo*> Marcados(const TStringList& params) {
  std::vector<const Tipo*> tipos;
  for (const Tipo& t : Tipos())
    if (params.Values(t.chave) == u"S") tipos.push_back(&t);
  return tipos;
}

void ImprimePlano(const Plano& plano) {
  for (const UString& l : plano.Linhas()) std::printf("%s\n", UToUtf8(l).c_str());
  std::printf("\n");
  std::fflush(stdout);
}

constexpr int kInterrompida = 130;

int Interrompida(ConsoleServices& services) {
  services.MessageBox(MsgKind::Warning, EInterrompida().Message(), MsgButtons::OK);
  return kInterrompida;
}

// The conversion itself: the check and the plan, the run, the summary and the row report.
int Converte(const Opcoes& o, const TStringList& params) {
  if (!o.relatorio.empty()) {
    if (const UString recusa = RecusaRelatorio(o.relatorio, o.origem, o.destino); !recusa.empty()) {
      std::fprintf(stderr, "conversor-tolv-cli: --relatorio: %s\n", UToUtf8(recusa).c_str());
      return 2;
    }
  }
  // Before the target is opened: the engine's threads must start with the signals blocked.
  InterrupcaoConsole interrupcao;
  ConsoleProgress progress;
  ConsoleServices services;
  services.SetProgress(&progress);
  dbase::Engine fonte;
  RunReport report;

  fb::Database db;
  try {
    db.SetDatabaseName(Utf8ToU(o.destino));
    db.SetUserName(Utf8ToU(o.usuario));
    db.SetPassword(Utf8ToU(o.senha));
    db.Open();
  } catch (const std::exception& e) {
    services.MessageBox(MsgKind::Error, u"Não foi possível conectar ao banco de dados Norvale\rMotivo: " +
                                                   ExplicaConexao(e, Utf8ToU(o.destino)),
                        MsgButtons::OK);
    return 1;
  }

  const Preparacao preparacao = PreparaConversao(Marcados(params), Utf8ToU(o.origem), Utf8ToU(o.empresa), fonte, db);
  if (interrupcao.Pedida()) return Interrompida(services);
  if (!preparacao.problemas.empty()) {
    services.MessageBox(MsgKind::Error, TextoProblemas(preparacao.problemas), MsgButtons::OK);
    return 1;
  }
  if (!o.conferir) ImprimePlano(preparacao.plano);

  std::unique_ptr<Relatorio> arquivoRelatorio;
  if (!o.relatorio.empty()) {
    try {
      arquivoRelatorio = AbreRelatorio(o.relatorio);
    } catch (const std::exception& e) {
      services.MessageBox(MsgKind::Error, ErrorMessage(e), MsgButtons::OK);
      return 1;
    }
    report.SetListener([&](const UString& tipo, RunReport::Outcome desfecho, const RowNote& n) {
      arquivoRelatorio->Linha(tipo, desfecho, n);
    });
  }

  bool committed = false;
  bool interrompida = false;
  try {
    TClassesConversaoController controller(services, fonte, report);
    controller.SetSimulacao(o.simular);
    controller.SetConferir(o.conferir);
    controller.SetPlano(&preparacao.plano);
    controller.SetInterrupcao(&interrupcao.Pedido());
    committed = controller.FEfetuaConversao(params, Utf8ToU(o.origem), db, db.DefaultTransaction(), progress.Bar(),
                                            progress.Label(), Utf8ToU(o.empresa), o.gerarCodigos);
    interrompida = controller.Interrompida();
  } catch (const std::exception& e) {
    // Only the start of the run's transaction fails this way.
    services.ShowError(ErrorMessage(e));
    committed = false;
  }
  progress.Finish();
  if (o.conferir && !interrompida) {
    // A check prints its table and says whether it all matched; nothing was written.
    const bool confere = ImprimeConferencia(report, "Conferência do banco de destino com a pasta de origem") && committed;
    std::printf("%s\n", !committed ? "Conferência: não foi possível conferir (veja o erro acima)."
                         : confere ? "Conferência: tudo confere."
                                   : "Conferência: há diferenças (veja NÃO CONFERE acima).");
    std::fflush(stdout);
    return confere ? 0 : 1;
  }
  printSummary(report, fonte, committed, o.simular);
  int status = interrompida                                                     ? kInterrompida
               : !committed                                                     ? 1
               : report.TotalRejected() > 0 || report.TotalRepeated() > 0 ? 3
                                                                                : 0;
  if (arquivoRelatorio) {
    // Only a run that got to its end replaces an earlier report.
    if (!committed) {
      arquivoRelatorio->Descarta();
      std::printf("Relatório não gravado: a conversão não chegou ao fim.\n");
    } else {
      try {
        arquivoRelatorio->Conferencia(report);
        arquivoRelatorio->Fecha();
        std::printf("Relatório dos registros não gravados: %s\n", o.relatorio.c_str());
      } catch (const std::exception& e) {
        services.ShowError(ErrorMessage(e));
        if (status == 0) status = 1;
      }
    }
  }
  // The last line, where a script or a tired operator looks.
  if (o.simular)
    std::printf("Simulação: tudo foi desfeito no fim; nada foi gravado no banco de destino.\n");
  std::fflush(stdout);
  return status;
}

}  // namespace

int RunCli(int argc, char** argv) {
  Opcoes o;
  if (const int status = LeOpcoes(argc, argv, o); status >= 0) return status;
  if (o.inspecionar) return ImprimeExame(o.origem);
  TStringList params;
  int status = 0;
  if (!Selecao(o.tipos, params, status)) return status;
  return Converte(o, params);
}
