// The run launched from the main window: the connection to the target for the
// run's length, the source path, the plan the operator confirms, the commands
// disabled meanwhile, the Cancel command, the trial run and the summary after it.
#include <QApplication>
#include <QPointer>
#include <QTimer>

#include "app/ConfirmaConversao.h"
#include "app/Main.h"
#include "platform/Error.h"
#include "run/ClassesConversaoController.h"
#include "toolkit/Explicacoes.h"

namespace {

UString U(const QString& s) { return s.toStdU16String(); }

}  // namespace

bool TForm1::ConectaBancoNorvale() {
  bool Result = false;
  const UString nome = U(edtDestino->text());
  try {
    // Another file than the one open: leave the old one and attach to the new.
    if (dbNorvale.Connected() && dbNorvale.DatabaseName() != nome) dbNorvale.Close();
    if (!dbNorvale.Connected()) {
      dbNorvale.SetDatabaseName(nome);
      // The user and password of the connection dialog, or the defaults.
      dbNorvale.SetUserName(credenciais_.usuario);
      dbNorvale.SetPassword(credenciais_.senha);
    }
    if (dbNorvale.DatabaseName().empty()) throw EConversao(u"Caminho do banco de dados em branco");
    dbNorvale.Open();
    Result = true;
  } catch (const std::exception& e) {
    MessageDlg(u"Não foi possível conectar ao banco de dados Norvale\rMotivo: " + ExplicaConexao(e, nome),
               MsgKind::Error, MsgButtons::OK);
  }
  return Result;
}

bool TForm1::ConectaBancoOrigem() {
  if (edtOrigem->text().isEmpty()) {
    MessageDlg(u"Caminho para o banco de dados de origem não pode ficar em branco.", MsgKind::Error, MsgButtons::OK);
    return false;
  }
  return true;
}

void TForm1::HabilitaBotoes(bool bln) {
  for (QWidget* w : std::initializer_list<QWidget*>{pnlAbrirOrigem, pnlAbrirNorvale, pnlConverter, pnlSair, boxCliente,
                                                    boxProduto, boxFornecedor, boxSubGrupo, boxGrupo, boxFabricante,
                                                    boxReceber, boxPagar, btnExaminar, btnConexao, btnConferir, boxSimular})
    w->setEnabled(bln);
}

void TForm1::CarregaParametros(TStringList& params) {
  for (const auto& [tipo, caixa] : caixas_)
    params.Add(UString(tipo->chave) + u"=" + (caixa->isChecked() ? u"S" : u"N"));
}

void TForm1::btnCancelarClick() {
  if (!emConversao_) return;
  cancelar_ = true;
  btnCancelar->setEnabled(false);
}

void TForm1::imgConverterClick() { ConverteEResume(false); }

void TForm1::btnConferirClick() { ConverteEResume(true); }

void TForm1::ConverteEResume(bool conferir) {
  // The commands are disabled during a run; this keeps a queued click from
  // starting a second one from inside the first.
  if (emConversao_) return;
  std::optional<ResultadoConversao> resultado = Converte(conferir);
  // Closing the window was asked during the run: it ends now that the run has, and
  // the box that said the run was taken back is all the operator waits for.
  if (fecharAoFim_) {
    QTimer::singleShot(0, this, [this] { close(); });
    return;
  }
  // With the commands back and the target let go: the operator may read the
  // summary while Norvale opens the file.
  if (resultado) {
    Resumo resumo(std::move(*resultado), servicos_, this);
    MostraResumo(resumo);
  }
}

std::optional<ResultadoConversao> TForm1::Converte(bool conferir) {
  std::vector<const Tipo*> tipos;
  for (const auto& [tipo, caixa] : caixas_)
    if (caixa->isChecked()) tipos.push_back(tipo);
  if (tipos.empty()) {
    MessageDlg(u"Marque ao menos um tipo de dado para converter.", MsgKind::Warning, MsgButtons::OK);
    return std::nullopt;
  }
  if (!ConectaBancoNorvale()) return std::nullopt;
  // Whatever happens from here, the target is let go at the end: the embedded
  // engine holds the file for one process, and Norvale must be able to open it.
  struct Solta {
    fb::Database& db;
    ~Solta() {
      try {
        db.Close();
      } catch (const std::exception&) {
        // A connection that broke is gone already.
      }
    }
  } solta{dbNorvale};
  if (!ConectaBancoOrigem()) return std::nullopt;

  QPointer<QWidget> focado = QApplication::focusWidget();
  emConversao_ = true;
  HabilitaBotoes(false);
  // Final step, also after an error: the commands come back, and the focus to the
  // command that had it.
  struct Final {
    TForm1* form;
    QPointer<QWidget> focado;
    ~Final() {
      form->btnCancelar->hide();
      form->HabilitaBotoes(true);
      form->emConversao_ = false;
      if (focado && focado->window() == form && focado->isEnabled()) focado->setFocus(Qt::OtherFocusReason);
    }
  } fim{this, focado};

  // The check and the plan, before anything is touched; the operator confirms the
  // plan. A trial deletes nothing and keeps nothing, so it does not ask: its summary
  // tells what the run would do.
  const bool simular = boxSimular->isChecked() || conferir;
  fonte_.TakeRemarks();  // an earlier run's, told in its own summary or dropped with it
  const Preparacao preparacao =
      PreparaConversao(tipos, U(edtOrigem->text()), U(cmbEmpresa->currentText()), fonte_, dbNorvale);
  if (!preparacao.problemas.empty()) {
    MessageDlg(TextoProblemas(preparacao.problemas), MsgKind::Error, MsgButtons::OK);
    barra->SetPosition(0);
    barra->SetMax(0);
    return std::nullopt;
  }
  if (!simular && !ConfirmaPlano(servicos_, preparacao.plano)) return std::nullopt;

  // Every row not written, as the run meets it, for the summary.
  ResultadoConversao resultado;
  resultado.simulacao = simular;
  resultado.conferencia = conferir;
  resultado.origem = edtOrigem->text().toStdString();
  resultado.destino = edtDestino->text().toStdString();
  relatorio_.SetListener([&resultado](const UString& tipo, RunReport::Outcome desfecho, const RowNote& n) {
    resultado.linhas.push_back({tipo, desfecho, n});
  });
  struct Desliga {
    RunReport& r;
    ~Desliga() { r.SetListener(nullptr); }
  } desliga{relatorio_};

  TStringList MParams;
  CarregaParametros(MParams);
  TClassesConversaoController controlador(servicos_, fonte_, relatorio_);
  controlador.SetPlano(&preparacao.plano);
  controlador.SetSimulacao(simular);
  controlador.SetConferir(conferir);
  controlador.SetLinhasNoResumo(true);
  cancelar_ = false;
  fecharAoFim_ = false;
  controlador.SetInterrupcao(&cancelar_);
  planoEmCurso_ = &preparacao.plano;
  struct EsquecePlano {
    const Plano*& p;
    ~EsquecePlano() { p = nullptr; }
  } esquece{planoEmCurso_};
  btnCancelar->setEnabled(true);
  btnCancelar->show();
  btnCancelar->raise();
  const bool concluida =
      controlador.FEfetuaConversao(MParams, U(edtOrigem->text()), dbNorvale, transacaoNorvale, *barra, *lblProgresso,
                                   U(cmbEmpresa->currentText()), mGerarCodigo);
  using D = ResultadoConversao::Desfecho;
  resultado.desfecho = controlador.Interrompida() ? D::Interrompida
                       : !concluida               ? D::Falhou
                       : conferir                 ? D::Conferida
                       : simular                  ? D::Simulada
                                                  : D::Gravada;
  resultado.report = relatorio_;
  resultado.report.SetListener(nullptr);
  resultado.avisos = fonte_.TakeRemarks();
  return resultado;
}
