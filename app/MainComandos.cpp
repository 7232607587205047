// The row of labelled commands under the window's original layout: the inspection
// of the source folder, the connection to the target, whether the next run is a
// trial, and the check of a converted target; and the handlers of the first two
// (the trial and the check are runs, with the others in MainConversao).
#include <QApplication>
#include <QKeySequence>

#include "app/CliExame.h"
#include "app/Conexao.h"
#include "app/ExameJanela.h"
#include "app/Main.h"

void TForm1::CriaLinhaComandos() {
  btnExaminar = new QPushButton(QStringLiteral("Examinar pasta..."), this);
  btnExaminar->setGeometry(56, 410, 120, 26);
  btnExaminar->setToolTip(QStringLiteral(
      "Lê a pasta de origem e mostra o que cada tabela do TOLV tem, sem abrir o banco Norvale nem gravar nada "
      "(Alt+E)"));
  btnConexao = new QPushButton(QStringLiteral("Conexão..."), this);
  btnConexao->setGeometry(182, 410, 92, 26);
  btnConexao->setToolTip(QStringLiteral(
      "Escolhe o banco Norvale: um arquivo deste computador ou um banco num servidor Firebird, com usuário e senha "
      "(Alt+C)"));
  btnConferir = new QPushButton(QStringLiteral("Conferir..."), this);
  btnConferir->setGeometry(456, 410, 91, 26);
  btnConferir->setToolTip(QStringLiteral(
      "Confere um banco já convertido com a pasta de origem, tipo a tipo: registros, valores e quantidades. "
      "Não grava nada (Alt+F)"));
  // Outside the window's tab walk, which keeps its order; the keyboard reaches them
  // by their shortcuts.
  for (QPushButton* b : {btnExaminar, btnConexao, btnConferir}) b->setFocusPolicy(Qt::ClickFocus);
  btnExaminar->setShortcut(QKeySequence(QStringLiteral("Alt+E")));
  btnConexao->setShortcut(QKeySequence(QStringLiteral("Alt+C")));
  btnConferir->setShortcut(QKeySequence(QStringLiteral("Alt+F")));

  boxSimular = new QCheckBox(QStringLiteral("Simular (nada é gravado)"), this);
  boxSimular->setGeometry(282, 412, 170, 22);
  boxSimular->setToolTip(
      QStringLiteral("Faz a conversão inteira e desfaz tudo no fim: o banco de destino fica como estava"));
}

void TForm1::btnExaminarClick() {
  if (emConversao_) return;
  // Nothing to inspect yet: the operator picks the folder first.
  if (edtOrigem->text().isEmpty()) imgAbrirOrigemClick();
  if (edtOrigem->text().isEmpty()) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  TextoExame exame;
  try {
    exame = DescreveExame(edtOrigem->text().toStdString());
  } catch (...) {
    QApplication::restoreOverrideCursor();
    throw;
  }
  QApplication::restoreOverrideCursor();
  TExameDialog dialogo(QString::fromStdString(exame.texto), exame.status == 0, this);
  dialogo.exec();
}

void TForm1::btnConexaoClick() {
  if (emConversao_) return;
  const Conexao atual{edtDestino->text(), QString::fromStdU16String(credenciais_.usuario),
                      QString::fromStdU16String(credenciais_.senha)};
  TConexaoDialog dialogo(servicos_, atual, [this] { return EscolheArquivoNorvale(); }, this);
  if (dialogo.exec() != QDialog::Accepted) return;
  const Conexao escolhida = dialogo.Escolhida();
  // Kept as given: a server's "host/port:path" is not a path of this computer.
  edtDestino->setText(escolhida.nome);
  edtDestino->setCursorPosition(0);
  credenciais_ = {escolhida.usuario.toStdU16String(), escolhida.senha.toStdU16String()};
}
