#include "converters/Passagem.h"

#include <exception>

#include "platform/Error.h"

Passagem::Passagem(RunContext& ctx, const Tipo& tipo) : ctx_(ctx), tipo_(tipo) { ctx_.Report().Begin(tipo.relato); }

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

    if (tipo_.listaRecusadas) {
      try {
        Conta(linha(*q), *q, registro);
      } catch (const EDatabaseError& e) {
        Conta(Linha::Recusada(ErrorMessage(e)), *q, registro);
      }
    } else {
      Conta(linha(*q), *q, registro);
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

void Passagem::Conta(const Linha& l, const SourceQuery& q, int registro) {
  RunReport& report = ctx_.Report();
  switch (l.desfecho) {
    case Linha::Desfecho::Gravada: report.Written(); break;
    case Linha::Desfecho::Ignorada: report.Skipped(registro, q.FieldAsText(tipo_.colunaCodigo), l.motivo); break;
    case Linha::Desfecho::Recusada: report.Rejected(registro, q.FieldAsText(tipo_.colunaCodigo), l.motivo); break;
  }
}
