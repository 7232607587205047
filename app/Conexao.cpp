#include "app/Conexao.h"

#include <QApplication>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "platform/firebird/Firebird.h"
#include "toolkit/Explicacoes.h"

namespace {

UString U(const QString& s) { return s.toStdU16String(); }

struct Partes {
  QString servidor, porta, caminho;
};

// A name on a server, split as the dialog shows it: "host:path", "host/port:path",
// an IPv6 address in brackets as the host. A path of this computer ("/...", "C:\...")
// gives nothing.
std::optional<Partes> PartesServidor(const QString& nome) {
  if (nome.isEmpty() || nome.startsWith(u'/') || nome.startsWith(u'.')) return std::nullopt;
  qsizetype inicio = 0;
  if (nome.startsWith(u'[')) {
    inicio = nome.indexOf(u']');
    if (inicio < 0) return std::nullopt;
  }
  const qsizetype doisPontos = nome.indexOf(u':', inicio);
  if (doisPontos < 2) return std::nullopt;  // "C:" is a drive letter
  Partes p;
  const QString antes = nome.left(doisPontos);
  const qsizetype barra = antes.indexOf(u'/', inicio);
  p.servidor = barra < 0 ? antes : antes.left(barra);
  if (barra >= 0) p.porta = antes.mid(barra + 1);
  p.caminho = nome.mid(doisPontos + 1);
  return p;
}

}  // namespace

QString NomeServidor(const QString& servidor, const QString& porta, const QString& caminho) {
  return servidor + (porta.isEmpty() ? QString() : QStringLiteral("/") + porta) + QStringLiteral(":") + caminho;
}

TConexaoDialog::TConexaoDialog(WindowServices& servicos, const Conexao& atual,
                               std::function<std::optional<QString>()> escolheArquivo, QWidget* parent)
    : QDialog(parent), servicos_(servicos), escolheArquivo_(std::move(escolheArquivo)) {
  setWindowTitle(QStringLiteral("Conexão com o banco Norvale"));
  setObjectName(QStringLiteral("ConexaoDialog"));

  auto* banco = new QGroupBox(QStringLiteral("Banco de dados"), this);
  rbArquivo = new QRadioButton(QStringLiteral("Arquivo neste computador"), banco);
  edtArquivo = new QLineEdit(banco);
  edtArquivo->setPlaceholderText(QStringLiteral("caminho do arquivo .fb"));
  btnProcurar = new QPushButton(QStringLiteral("Procurar..."), banco);
  btnProcurar->setToolTip(QStringLiteral("Escolhe o arquivo .fb do Norvale"));
  rbServidor = new QRadioButton(QStringLiteral("Servidor Firebird"), banco);
  rbServidor->setToolTip(QStringLiteral("O banco aberto pelo servidor Firebird, como o Norvale faz numa rede"));
  edtServidor = new QLineEdit(banco);
  edtServidor->setPlaceholderText(QStringLiteral("nome ou endereço, por exemplo localhost"));
  edtPorta = new QLineEdit(banco);
  edtPorta->setPlaceholderText(QStringLiteral("3050"));
  edtPorta->setToolTip(QStringLiteral("Em branco: a porta padrão do Firebird, 3050"));
  edtPorta->setMaxLength(5);
  edtCaminho = new QLineEdit(banco);
  edtCaminho->setPlaceholderText(QStringLiteral("caminho do banco no servidor, ou o seu apelido"));

  auto* linhaArquivo = new QHBoxLayout;
  linhaArquivo->addWidget(edtArquivo, 1);
  linhaArquivo->addWidget(btnProcurar);
  auto* formServidor = new QFormLayout;
  formServidor->addRow(QStringLiteral("Servidor:"), edtServidor);
  formServidor->addRow(QStringLiteral("Porta:"), edtPorta);
  formServidor->addRow(QStringLiteral("Caminho no servidor:"), edtCaminho);
  auto* layoutBanco = new QVBoxLayout(banco);
  layoutBanco->addWidget(rbArquivo);
  layoutBanco->addLayout(linhaArquivo);
  layoutBanco->addWidget(rbServidor);
  layoutBanco->addLayout(formServidor);

  auto* acesso = new QGroupBox(QStringLiteral("Acesso"), this);
  edtUsuario = new QLineEdit(atual.usuario, acesso);
  edtSenha = new QLineEdit(atual.senha, acesso);
  edtSenha->setEchoMode(QLineEdit::Password);
  auto* formAcesso = new QFormLayout(acesso);
  formAcesso->addRow(QStringLiteral("Usuário:"), edtUsuario);
  formAcesso->addRow(QStringLiteral("Senha:"), edtSenha);

  auto* nota = new QLabel(QStringLiteral("Vale até fechar o programa; nada disto é gravado no disco."), this);
  nota->setWordWrap(true);

  btnTestar = new QPushButton(QStringLiteral("Testar conexão"), this);
  btnTestar->setToolTip(QStringLiteral("Abre o banco com estes dados e diz se deu certo; nada é gravado"));
  btnOK = new QPushButton(QStringLiteral("OK"), this);
  btnOK->setDefault(true);
  btnCancelar = new QPushButton(QStringLiteral("Cancelar"), this);
  auto* botoes = new QHBoxLayout;
  botoes->addWidget(btnTestar);
  botoes->addStretch();
  botoes->addWidget(btnOK);
  botoes->addWidget(btnCancelar);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(banco);
  layout->addWidget(acesso);
  layout->addWidget(nota);
  layout->addLayout(botoes);

  // What the window uses now.
  if (const std::optional<Partes> p = PartesServidor(atual.nome)) {
    rbServidor->setChecked(true);
    edtServidor->setText(p->servidor);
    edtPorta->setText(p->porta);
    edtCaminho->setText(p->caminho);
  } else {
    rbArquivo->setChecked(true);
    edtArquivo->setText(atual.nome);
  }

  connect(rbArquivo, &QRadioButton::toggled, this, [this] { Habilita(); });
  connect(btnProcurar, &QPushButton::clicked, this, [this] {
    if (const std::optional<QString> arquivo = escolheArquivo_ ? escolheArquivo_() : std::nullopt)
      edtArquivo->setText(*arquivo);
  });
  connect(btnTestar, &QPushButton::clicked, this, [this] { Testa(); });
  connect(btnOK, &QPushButton::clicked, this, &TConexaoDialog::accept);
  connect(btnCancelar, &QPushButton::clicked, this, &QDialog::reject);
  Habilita();
  resize(520, sizeHint().height());
}

void TConexaoDialog::Habilita() {
  const bool arquivo = rbArquivo->isChecked();
  edtArquivo->setEnabled(arquivo);
  btnProcurar->setEnabled(arquivo);
  for (QLineEdit* e : {edtServidor, edtPorta, edtCaminho}) e->setEnabled(!arquivo);
}

std::optional<QString> TConexaoDialog::Nome(UString& problema) const {
  if (rbArquivo->isChecked()) {
    const QString arquivo = edtArquivo->text().trimmed();
    if (arquivo.isEmpty()) {
      problema = u"Informe o arquivo do banco de dados Norvale (.fb) ou escolha-o em \"Procurar...\".";
      return std::nullopt;
    }
    return arquivo;
  }
  const QString servidor = edtServidor->text().trimmed();
  const QString porta = edtPorta->text().trimmed();
  const QString caminho = edtCaminho->text().trimmed();
  if (servidor.isEmpty()) {
    problema = u"Informe o nome ou o endereço do servidor Firebird.";
    return std::nullopt;
  }
  // The name is one text for Firebird: a "/" or ":" in the host would move its
  // parts (an IPv6 address goes in brackets).
  const bool entreColchetes = servidor.startsWith(u'[') && servidor.endsWith(u']');
  if (servidor.contains(u'/') || servidor.contains(u'\\') || servidor.contains(u' ') ||
      (servidor.contains(u':') && !entreColchetes)) {
    problema = u"O nome do servidor não pode ter espaços, \"/\", \"\\\" nem \":\" (um endereço IPv6 vai entre "
               u"colchetes).";
    return std::nullopt;
  }
  if (!porta.isEmpty()) {
    bool numero = false;
    const int n = porta.toInt(&numero);
    if (!numero || n < 1 || n > 65535 || porta.startsWith(u'+')) {
      problema = u"A porta deve ser um número de 1 a 65535, ou ficar em branco para a porta padrão (3050).";
      return std::nullopt;
    }
  }
  if (caminho.isEmpty()) {
    problema = u"Informe o caminho do banco de dados no servidor.";
    return std::nullopt;
  }
  return NomeServidor(servidor, porta, caminho);
}

bool TConexaoDialog::Valida() {
  UString problema;
  if (!Nome(problema)) {
    servicos_.MessageBox(MsgKind::Warning, problema, MsgButtons::OK);
    return false;
  }
  if (edtUsuario->text().trimmed().isEmpty()) {
    servicos_.MessageBox(MsgKind::Warning, u"Informe o usuário do banco de dados.", MsgButtons::OK);
    return false;
  }
  return true;
}

Conexao TConexaoDialog::Escolhida() const {
  UString problema;
  return {Nome(problema).value_or(QString()), edtUsuario->text().trimmed(), edtSenha->text()};
}

void TConexaoDialog::accept() {
  if (Valida()) QDialog::accept();
}

void TConexaoDialog::Testa() {
  if (!Valida()) return;
  const Conexao c = Escolhida();
  UString falha;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    fb::Database db;
    db.SetDatabaseName(U(c.nome));
    db.SetUserName(U(c.usuario));
    db.SetPassword(U(c.senha));
    db.Open();
    db.Close();
  } catch (const std::exception& e) {
    falha = ExplicaConexao(e, U(c.nome));
    if (falha.empty()) falha = u"erro desconhecido";
  }
  QApplication::restoreOverrideCursor();
  if (!falha.empty()) {
    servicos_.MessageBox(MsgKind::Error, u"Não foi possível conectar ao banco de dados Norvale\rMotivo: " + falha,
                         MsgButtons::OK);
    return;
  }
  servicos_.MessageBox(MsgKind::Information, u"Conexão com o banco de dados Norvale bem-sucedida: " + U(c.nome),
                       MsgButtons::OK);
}
