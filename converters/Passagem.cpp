#include "converters/Passagem.h"

#include <exception>

#include "platform/Error.h"
#include "toolkit/Explicacoes.h"

Passagem::Passagem(RunContext& ctx, const Tipo& tipo) : ctx_(ctx), tipo_(tipo) {
  ctx_.Report().Begin(tipo.relato);
  if (tipo.colunaEmpresa) ctx_.Report().Atual().empresa = ctx_.Empresa();
}

void Passagem::Percorre(const std::function<Linha(const SourceQuery&)>& linha) {
  ProgressBar& barra = ctx_.Barra();
  StatusLabel& rotulo = ctx_.Rotulo();
  RunReport& report = ctx_.Report();

  std::unique_ptr<SourceQuery> q = ctx_.NovaConsulta();
  q->SetSQL(u"");
  const UString consulta = tipo_.Consulta(ctx_.Empresa());
  q->SetSQL(consulta);
  if (consulta.find(u":PCodEmp") != UString::npos) q->BindText(u"PCodEmp", ctx_.Empresa());
  q->Open();
  q->Last();
  barra.SetMax(q->RecordCount());
  q->First();

  const UString texto = tipo_.TextoProgresso();
  const UString de = u" de " + IntToU(barra.Max());
  int registro = 1;
  while (!q->Eof()) {
    rotulo.SetCaption(texto + IntToU(registro) + de);
    ctx_.SetPosicao(tipo_.relato, registro, barra.Max());
    ctx_.ProcessMessages();
    // Looked at after the window took its input, so a Cancel pressed now stops
    // the run before this row is written.
    ctx_.VerificaInterrupcao();
    report.Read();
    Identifica(UString(), UString());

    if (tipo_.listaRecusadas) {
      try {
        Conta(linha(*q), *q);
      } catch (const EDatabaseError& e) {
        Conta(Linha::Recusada(ExplicaFalhaBanco(e, Situacao{tipo_.relato, derivado_})), *q);
      }
    } else {
      Conta(linha(*q), *q);
    }

    ++registro;
    q->Next();
    barra.StepBy(1);
  }

  ctx_.SetPosicao(nullptr, 0, 0);
  rotulo.SetCaption(u"");
  barra.SetPosition(0);
  barra.SetMax(0);
}

void Passagem::Conta(const Linha& l, const SourceQuery& q) {
  RunReport& report = ctx_.Report();
  if (l.desfecho == Linha::Desfecho::Gravada) {
    report.Written();
    for (SomaOrigem& s : ctx_.Somas()) s.Soma(q.FieldAsDouble(s.coluna));
    return;
  }
  // The record number of the file, not the progress count: after the company filter
  // and the order they differ, and the file's number is the one the operator finds.
  RowNote n{q.RecordNumber(), q.FieldAsText(tipo_.colunaCodigo), derivado_, nome_, l.motivo};
  if (l.desfecho == Linha::Desfecho::Ignorada)
    report.Skipped(std::move(n));
  else
    report.Rejected(std::move(n));
}
