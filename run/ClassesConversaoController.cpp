#include "run/ClassesConversaoController.h"

#include <cstdlib>
#include <memory>
#include <string_view>

#include "converters/Tipos.h"
#include "run/Conferencia.h"
#include "platform/Error.h"
#include "toolkit/Explicacoes.h"
#include "toolkit/RunContext.h"
#include "toolkit/classConversao.h"

namespace {

// Rows the target refused while the run went on were not written: the operator is
// told which, after the run's own box, so none is lost without a word.
void AvisaRejeitados(const RunContext& ctx) {
  constexpr std::size_t kListados = 20;
  const RunReport& r = ctx.Report();
  const long long total = r.TotalRejected();
  if (total == 0) return;
  UString texto = u"Registros recusados pelo banco de destino e não gravados: " + IntToU(total) + u"\r";
  std::size_t listados = 0;
  for (const KindReport& k : r.Kinds())
    for (const RowNote& n : k.rejections)
      if (listados < kListados) {
        texto += u"\r" + k.kind + u", " + DescreveRejeicao(n);
        ++listados;
      }
  if (static_cast<long long>(listados) < total) texto += u"\r... e mais " + IntToU(total - listados) + u".";
  ctx.MessageDlg(texto, MsgKind::Warning, MsgButtons::OK);
}

// Documents added that the target already held, alike in company, type, number,
// customer or supplier, due date and value: most likely a folder converted twice.
// They were written, as documents always are; the operator is told how many.
void AvisaRepetidos(const RunContext& ctx) {
  const long long total = ctx.Report().TotalRepeated();
  if (total == 0) return;
  UString texto = IntToU(total) + (total == 1 ? u" documento convertido é igual a um" : u" documentos convertidos são iguais a documentos")
                  + u" que o banco de destino já tinha (mesma empresa, tipo, número, cliente ou fornecedor, vencimento "
                    u"e valor): confira se esta pasta já não tinha sido convertida.";
  for (const KindReport& k : ctx.Report().Kinds())
    if (k.repeated) texto += u"\r" + k.kind + u": " + IntToU(k.repeated);
  ctx.MessageDlg(texto, MsgKind::Warning, MsgButtons::OK);
}

// The database's English sends an operator looking for a fault of the program when
// the cause is outside it; the explanation goes in front. A target without the
// Norvale tables is told by name: those the selected kinds write that it lacks.
UString ExplicaFalha(const EDatabaseError& e, RunContext& ctx, const TStringList& MParams, bool naConfirmacao) {
  Situacao s;
  const std::vector<KindReport>& kinds = ctx.Report().Kinds();
  if (!kinds.empty()) s.tipo = kinds.back().kind;
  s.codigo = ctx.Onde().codigo;
  s.naConfirmacao = naConfirmacao;
  if (e.IsUnknownTable() || e.IsUnknownColumn()) {
    std::vector<UString> tabelas;
    for (const Tipo& t : Tipos())
      if (MParams.Values(t.chave) == u"S") {
        for (const char16_t* x : t.esvazia) tabelas.push_back(x);
        for (const char16_t* x : t.acrescenta) tabelas.push_back(x);
      }
    s.tabelasFaltando = TabelasFaltando(ctx.Destino(), tabelas);
  }
  return ExplicaFalhaBanco(e, s);
}

// Where the run was when the target refused something: the kind and the source
// row it was on. Errors of the legacy tables name their own table, column and record.
UString Onde(const RunContext& ctx) {
  const RunContext::Posicao& p = ctx.Onde();
  if (!p.tipo) return UString();
  return u"\r(" + UString(p.tipo) + u", registro " + IntToU(p.registro) + u" de " + IntToU(p.total) + u" da origem)";
}

}  // namespace

bool TClassesConversaoController::FEfetuaConversao(const TStringList& MParams, const UString& BDOrigem,
                                                   fb::Database& BDDestino, fb::Transaction& Transacao,
                                                   ProgressBar& Barra, StatusLabel& lblInfo,
                                                   const UString& Empresa, bool GerarCodigo) {
  bool result = false;
  interrompida_ = false;
  report_.Clear();
  RunContext ctx(BDDestino, fonte_, ui_, report_);
  ctx.SetOrigem(BDOrigem);
  ctx.SetEmpresa(Empresa);
  ctx.SetGerarCodigo(GerarCodigo);
  ctx.SetSimulacao(simulacao_ || conferir_);
  ctx.SetConferir(conferir_);
  ctx.SetLinhasNoResumo(linhasNoResumo_);
  ctx.SetProgresso(Barra, lblInfo);
  ctx.SetInterrupcao(interrupcao_);

  std::vector<const Tipo*> tipos;
  for (const Tipo& t : Tipos())
    if (MParams.Values(t.chave) == u"S") tipos.push_back(&t);
  Preparacao preparacao;
  const Plano* plano = plano_;
  if (!plano) {
    preparacao = PreparaConversao(tipos, BDOrigem, Empresa, fonte_, BDDestino);
    if (!preparacao.problemas.empty()) {
      ctx.MessageDlg(TextoProblemas(preparacao.problemas), MsgKind::Error, MsgButtons::OK);
      Barra.SetPosition(0);
      Barra.SetMax(0);
      return false;
    }
    plano = &preparacao.plano;
  }

  auto conversao = std::make_unique<TConversao>(ctx);
  Barra.SetPosition(0);
  // Outside the guard: a transaction that cannot start reaches the caller.
  conversao->PIniciaTransacao(Transacao);
  UString motivo;
  bool confirmando = false;
  try {
    // CONVERSOR_TOLV_CONFERENCIA=0 leaves the check out, only so that the benchmark
    // can tell what it costs; a check after the fact needs it whatever the setting.
    const char* semConferencia = std::getenv("CONVERSOR_TOLV_CONFERENCIA");
    const bool confere = conferir_ || !semConferencia || std::string_view(semConferencia) != "0";
    ctx.VerificaInterrupcao();
    for (const Tipo* t : tipos) {
      // What the kind wrote is read back and compared with the source before the
      // commit: a run that does not reconcile is never kept.
      Conferencia conferencia(ctx, *t);
      if (confere) conferencia.Antes();
      t->converte(ctx, *t);
      if (confere) conferencia.Depois();
      if (const PlanoTipo* p = plano->DoTipo(*t); p && p->repetidos) report_.Repeated(t->relato, p->repetidos);
    }
    // The last moment the operator's stop can take everything back.
    ctx.VerificaInterrupcao();
    confirmando = !ctx.Simulacao();
    if (ctx.Simulacao())
      conversao->PCancelaTransacao(Transacao);
    else
      conversao->PConfirmaTransacao(Transacao);
    confirmando = false;
    if (!conferir_) {
      ctx.MessageDlg(u"Conversão concluída com sucesso!", MsgKind::Information, MsgButtons::OK);
      if (!linhasNoResumo_) AvisaRejeitados(ctx);
      AvisaRepetidos(ctx);
    }
    result = true;
    Barra.SetPosition(0);
    return result;
  } catch (const EInterrompida& e) {
    interrompida_ = true;
    motivo = ErrorMessage(e);
  } catch (const ESourceError& e) {
    motivo = ErrorMessage(e);
  } catch (const EDatabaseError& e) {
    motivo = ExplicaFalha(e, ctx, MParams, confirmando) + Onde(ctx);
  } catch (const std::exception& e) {
    motivo = ErrorMessage(e) + Onde(ctx);
  } catch (...) {
    motivo = u"erro desconhecido";
  }
  try {
    conversao->PCancelaTransacao(Transacao);
  } catch (const std::exception& e) {
    // The rollback failing too (a lost connection) must not hide the first error.
    motivo += u"\r" + ErrorMessage(e);
  }
  if (interrompida_)
    ctx.MessageDlg(motivo, MsgKind::Warning, MsgButtons::OK);
  else
    ctx.MessageDlg(u"Ocorreu um erro durante a conversão! Motivo: " + motivo, MsgKind::Error, MsgButtons::OK);
  Barra.SetPosition(0);
  Barra.SetMax(0);
  return false;
}
