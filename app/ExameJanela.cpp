#include "app/ExameJanela.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

TExameDialog::TExameDialog(const QString& texto, bool ok, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Exame da pasta de origem"));
  setObjectName(QStringLiteral("ExameDialog"));

  auto* aviso = new QLabel(ok ? QStringLiteral("Toda tabela encontrada foi lida por inteiro. Nada foi gravado.")
                              : QStringLiteral("Há problemas na pasta de origem (veja \"Resultado\" no fim). "
                                               "Nada foi gravado."),
                           this);
  aviso->setWordWrap(true);
  if (!ok) {
    QFont f = aviso->font();
    f.setBold(true);
    aviso->setFont(f);
  }

  memoExame = new QPlainTextEdit(this);
  memoExame->setObjectName(QStringLiteral("memoExame"));
  memoExame->setReadOnly(true);
  // The lines are indented like the console's: a fixed pitch keeps them in columns.
  memoExame->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  memoExame->setLineWrapMode(QPlainTextEdit::NoWrap);
  memoExame->setPlainText(texto);

  btnFechar = new QPushButton(QStringLiteral("Fechar"), this);
  btnFechar->setDefault(true);
  connect(btnFechar, &QPushButton::clicked, this, &QDialog::accept);

  auto* botoes = new QHBoxLayout;
  botoes->addStretch();
  botoes->addWidget(btnFechar);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(aviso);
  layout->addWidget(memoExame, 1);
  layout->addLayout(botoes);
  // Well inside a 1024 x 768 screen; the text scrolls.
  resize(720, 520);
  setSizeGripEnabled(true);
}
