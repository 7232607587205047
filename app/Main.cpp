#include "app/Main.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

#include "app/images/Pictures.h"
#include "platform/Error.h"

// ---------------------------------------------------------------- TForm1

TForm1::TForm1(WindowServices& servicos, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      transacaoNorvale(dbNorvale.DefaultTransaction()),
      servicos_(servicos) {
  dbNorvale.SetUserName(credenciais_.usuario);
  dbNorvale.SetPassword(credenciais_.senha);
  EscolhePastaOrigem = [this] { return AbreDialogoPasta(); };
  EscolheArquivoNorvale = [this] { return AbreDialogoArquivo(); };
  MostraResumo = [](Resumo& resumo) { resumo.exec(); };
  CriaControles();
  LigaEventos();
  FormCreate();
}

TForm1::~TForm1() {
  // The child widgets outlive this part of the window: hiding them as the window goes
  // moves the focus and the mouse, and their handlers must not reach a form that is
  // already half destroyed.
  for (TPanel* p : {pnlAbrirOrigem, pnlAbrirNorvale, pnlConverter, pnlSair}) {
    p->OnEnter = nullptr;
    p->OnExit = nullptr;
    p->OnClick = nullptr;
  }
  for (TImage* i : {imgAbrirOrigem, imgAbrirNorvale, imgConverter, imgSair}) {
    i->OnClick = nullptr;
    i->OnMouseEnter = nullptr;
    i->OnMouseLeave = nullptr;
  }
}

void TForm1::CriaControles() {
  setWindowTitle(QStringLiteral("Conversor de dados - TOLV -"));
  setFixedSize(602, 440);
  setFont(FonteJanela(11, false));
  {
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Button));
    setPalette(pal);
    setAutoFillBackground(true);
  }

  // Header band; wider than the window, as it was drawn, and cut at its right edge.
  Panel2 = new TPanel(this);
  Panel2->setGeometry(0, 0, 841, 77);
  Image1 = new TImage(Panel2);
  Image1->setGeometry(0, 0, 199, 78);
  Image1->SetPicture(pictures::Logo(199, 78));
  Label2 = new QLabel(QStringLiteral("Coversor de Dados"), Panel2);
  Label2->setGeometry(208, 10, 265, 33);
  Label2->setFont(FonteJanela(19, true));
  Label3 = new QLabel(QStringLiteral("- TOLV -"), Panel2);
  Label3->setGeometry(208, 42, 265, 33);
  Label3->setFont(FonteJanela(16, true));
  for (QLabel* l : {Label2, Label3}) {
    l->setTextFormat(Qt::PlainText);
    l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    PintaFundo(l, QPalette::WindowText, Qt::white);
  }
  Image3 = new TImage(Panel2);
  Image3->setGeometry(485, -19, 132, 132);
  Image3->SetPicture(pictures::Emblem(132, 132));

  Label5 = CriaRotulo(this, QStringLiteral("Banco de Dados Origem (*.dbf)"), 56, 96);
  edtOrigem = CriaCaminho(this, 56, 112);
  pnlAbrirOrigem = CriaBotao(512, 103, 35, imgAbrirOrigem, pictures::FolderOpen(33, 33),
                             QStringLiteral("Abrir: escolhe a pasta das tabelas do TOLV (*.dbf)"),
                             QStringLiteral("Abrir pasta de origem"));

  Label6 = CriaRotulo(this, QStringLiteral("Banco de Dados  Norvale (Firebird *.fb)"), 56, 144);
  edtDestino = CriaCaminho(this, 56, 160);
  pnlAbrirNorvale = CriaBotao(512, 151, 35, imgAbrirNorvale, pictures::FolderOpen(33, 33),
                              QStringLiteral("Abrir: escolhe o banco de dados Norvale (*.fb)"),
                              QStringLiteral("Abrir banco Norvale"));

  Label1 = CriaRotulo(this, QStringLiteral("Empresa"), 56, 192);
  cmbEmpresa = new QComboBox(this);
  cmbEmpresa->setGeometry(56, 212, 49, 22);
  cmbEmpresa->setEditable(false);
  cmbEmpresa->addItems({QStringLiteral("01"), QStringLiteral("02")});
  cmbEmpresa->setCurrentIndex(0);
  PintaFundo(cmbEmpresa, QPalette::Button, clCampo);
  PintaFundo(cmbEmpresa, QPalette::Base, clCampo);

  GroupBox1 = new QGroupBox(QStringLiteral(" Converter "), this);
  GroupBox1->setGeometry(56, 239, 489, 90);
  {
    QFont f = GroupBox1->font();
    f.setBold(true);
    GroupBox1->setFont(f);
  }
  // The frame runs through the middle of the title, as the group boxes of the
  // legacy window did, so the check boxes sit well inside it.
  GroupBox1->setStyleSheet(QStringLiteral(
      "QGroupBox#GroupBox1 { border: 1px solid rgb(160,160,160); border-radius: 3px; margin-top: 6px; }"
      "QGroupBox#GroupBox1::title { subcontrol-origin: margin; subcontrol-position: top left; left: 8px;"
      " padding: 0px; }"));
  CriaCaixas();

  lblProgresso = new QtStatusLabel(this);
  {
    QFont f = lblProgresso->font();
    f.setBold(true);
    lblProgresso->setFont(f);
  }
  lblProgresso->move(56, 333);
  lblProgresso->SetCaption(u"Progresso...");
  barra = new QtProgressBar(this);
  barra->setGeometry(56, 352, 394, 19);
  barra->setStyleSheet(QStringLiteral(
      "QProgressBar { border: 1px solid rgb(150,150,150); background: white; text-align: center; }"
      "QProgressBar::chunk { background-color: rgb(182,66,69); }"));
  barra->SetPosition(50);

  lblGeral = new QtLinhaGeral(*barra, *lblProgresso, this);
  lblGeral->setGeometry(56, 374, 394, 18);
  lblGeral->EtapasDaConversao = [this] {
    // The commands are disabled during a run: the ticked kinds are the run's, and
    // its plan knows the rows each will read.
    std::vector<Andamento::Etapa> etapas;
    for (const auto& [tipo, caixa] : caixas_) {
      if (!caixa->isChecked()) continue;
      const PlanoTipo* p = planoEmCurso_ ? planoEmCurso_->DoTipo(*tipo) : nullptr;
      etapas.push_back({tipo->TextoProgresso(), p ? p->lidos : -1});
    }
    return etapas;
  };

  pnlConverter = CriaBotao(456, 335, 43, imgConverter, pictures::Convert(41, 41),
                           QStringLiteral("Converter: grava no banco Norvale os tipos marcados"),
                           QStringLiteral("Converter"));
  pnlSair = CriaBotao(504, 335, 43, imgSair, pictures::Exit(41, 41), QStringLiteral("Sair do conversor"),
                      QStringLiteral("Sair"));
  btnCancelar = new QPushButton(QStringLiteral("Cancelar"), this);
  btnCancelar->setGeometry(456, 381, 91, 21);
  btnCancelar->setToolTip(QStringLiteral("Interrompe a conversão e desfaz tudo o que ela fez"));
  btnCancelar->hide();
  CriaLinhaComandos();

  // Named as in the code, for tests and for anyone inspecting the running window.
  const std::pair<QWidget*, const char*> nomes[] = {
      {Panel2, "Panel2"}, {Image1, "Image1"}, {Label2, "Label2"}, {Label3, "Label3"}, {Image3, "Image3"},
      {Label5, "Label5"}, {edtOrigem, "edtOrigem"}, {pnlAbrirOrigem, "pnlAbrirOrigem"},
      {imgAbrirOrigem, "imgAbrirOrigem"}, {Label6, "Label6"}, {edtDestino, "edtDestino"},
      {pnlAbrirNorvale, "pnlAbrirNorvale"}, {imgAbrirNorvale, "imgAbrirNorvale"}, {Label1, "Label1"},
      {cmbEmpresa, "cmbEmpresa"}, {GroupBox1, "GroupBox1"}, {boxCliente, "boxCliente"},
      {boxFornecedor, "boxFornecedor"}, {boxGrupo, "boxGrupo"}, {boxPagar, "boxPagar"},
      {boxSubGrupo, "boxSubGrupo"}, {boxProduto, "boxProduto"}, {boxReceber, "boxReceber"},
      {boxFabricante, "boxFabricante"}, {lblProgresso, "lblProgresso"}, {barra, "barra"}, {lblGeral, "lblGeral"},
      {pnlConverter, "pnlConverter"}, {imgConverter, "imgConverter"}, {pnlSair, "pnlSair"}, {imgSair, "imgSair"},
      {btnCancelar, "btnCancelar"}, {btnExaminar, "btnExaminar"}, {btnConexao, "btnConexao"}, {btnConferir, "btnConferir"},
      {boxSimular, "boxSimular"}};
  for (const auto& [w, nome] : nomes) w->setObjectName(QString::fromLatin1(nome));
  setObjectName(QStringLiteral("Form1"));

  // Tab order: paths and their pickers, the kinds, the commands, the company, manufacturers.
  QWidget* ordem[] = {edtOrigem,   pnlAbrirOrigem, edtDestino, pnlAbrirNorvale, boxCliente,
                      boxProduto,  boxFornecedor,  boxGrupo,   boxSubGrupo,     boxReceber,
                      boxPagar,    pnlConverter,   pnlSair,    cmbEmpresa,      boxFabricante,
                      boxSimular};
  for (std::size_t i = 1; i < std::size(ordem); ++i) QWidget::setTabOrder(ordem[i - 1], ordem[i]);
  edtOrigem->setFocus();
}

// One check box for each kind, with the kind's label, where the window has always
// drawn it.
void TForm1::CriaCaixas() {
  struct Lugar {
    const char16_t* chave;
    QCheckBox* TForm1::*caixa;
    bool noGrupo;  // inside the group box, or the window's own
    int left, top;
  };
  static const Lugar lugares[] = {
      {u"CLIENTE", &TForm1::boxCliente, true, 32, 19},       {u"FORNECEDOR", &TForm1::boxFornecedor, true, 135, 19},
      {u"GRUPO", &TForm1::boxGrupo, true, 239, 19},          {u"PAGAR", &TForm1::boxPagar, true, 335, 19},
      {u"SUBGRUPO", &TForm1::boxSubGrupo, true, 32, 42},     {u"PRODUTO", &TForm1::boxProduto, true, 135, 42},
      {u"RECEBER", &TForm1::boxReceber, true, 335, 42},
      // Belongs to the window, drawn over the group's area.
      {u"FABRICANTE", &TForm1::boxFabricante, false, 295, 282},
  };
  for (const Lugar& l : lugares) {
    const Tipo* tipo = TipoPorChave(l.chave);
    QCheckBox* c = CriaCaixa(l.noGrupo ? static_cast<QWidget*>(GroupBox1) : this,
                             QString::fromStdU16String(tipo->rotulo), l.left, l.top);
    this->*l.caixa = c;
    if (!l.noGrupo) {
      QFont f = c->font();
      f.setBold(true);
      c->setFont(f);
      c->adjustSize();
      c->raise();
    }
  }
  for (const Tipo& t : Tipos())
    for (const Lugar& l : lugares)
      if (SameTextAscii(t.chave, l.chave)) caixas_.emplace_back(&t, this->*l.caixa);
}

// A command drawn as a picture: what it does is said by its tooltip, over the picture
// and its frame alike, and by its name to a screen reader.
TPanel* TForm1::CriaBotao(int left, int top, int size, TImage*& image, const QPixmap& picture,
                          const QString& hint, const QString& nome) {
  auto* panel = new TPanel(this);
  panel->setGeometry(left, top, size, size);
  panel->setFocusPolicy(Qt::TabFocus);
  panel->setToolTip(hint);
  panel->setAccessibleName(nome);
  panel->setAccessibleDescription(hint);
  image = new TImage(panel);
  image->setGeometry(0, 0, size - 2, size - 2);
  image->SetPicture(picture);
  image->setToolTip(hint);
  image->setAccessibleName(nome);
  return panel;
}

void TForm1::LigaEventos() {
  for (TPanel* p : {pnlAbrirOrigem, pnlAbrirNorvale, pnlConverter, pnlSair}) {
    p->OnEnter = [this](TPanel* s) { Protege([&] { pnlAbrirOrigemEnter(s); }); };
    p->OnExit = [this](TPanel* s) { Protege([&] { pnlAbrirOrigemExit(s); }); };
  }
  for (TImage* i : {imgAbrirOrigem, imgAbrirNorvale, imgConverter, imgSair}) {
    i->OnMouseEnter = [this](TImage* s) { Protege([&] { imgAbrirOrigemMouseEnter(s); }); };
    i->OnMouseLeave = [this](TImage* s) { Protege([&] { imgAbrirOrigemMouseLeave(s); }); };
  }
  auto clique = [this](void (TForm1::*handler)()) {
    return [this, handler](auto*) { Protege([&] { (this->*handler)(); }); };
  };
  pnlAbrirOrigem->OnClick = clique(&TForm1::imgAbrirOrigemClick);
  imgAbrirOrigem->OnClick = clique(&TForm1::imgAbrirOrigemClick);
  pnlAbrirNorvale->OnClick = clique(&TForm1::imgAbrirNorvaleClick);
  imgAbrirNorvale->OnClick = clique(&TForm1::imgAbrirNorvaleClick);
  pnlConverter->OnClick = clique(&TForm1::imgConverterClick);
  imgConverter->OnClick = clique(&TForm1::imgConverterClick);
  pnlSair->OnClick = clique(&TForm1::imgSairClick);
  imgSair->OnClick = clique(&TForm1::imgSairClick);
  QObject::connect(boxProduto, &QCheckBox::toggled, this, [this](bool) { Protege([&] { boxProdutoClick(); }); });
  QObject::connect(btnCancelar, &QPushButton::clicked, this, [this] { Protege([&] { btnCancelarClick(); }); });
  QObject::connect(btnExaminar, &QPushButton::clicked, this, [this] { Protege([&] { btnExaminarClick(); }); });
  QObject::connect(btnConferir, &QPushButton::clicked, this, [this] { Protege([&] { btnConferirClick(); }); });
  QObject::connect(btnConexao, &QPushButton::clicked, this, [this] { Protege([&] { btnConexaoClick(); }); });

  // The window sees every key press before its controls do.
  for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    // Seen once, at the control that has the focus, before it handles the key.
    QWidget* focado = QApplication::focusWidget();
    if (watched == focado && !key->isAutoRepeat()) {
      Protege([&] { FormKeyDown(focado, key->key()); });
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TForm1::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!centrada_) {
    centrada_ = true;
    if (QScreen* tela = screen() ? screen() : QGuiApplication::primaryScreen()) {
      const QRect area = tela->geometry();
      move(area.center() - QPoint(width() / 2, height() / 2));
    }
  }
}

void TForm1::closeEvent(QCloseEvent* event) {
  // A run goes on inside the window's own event processing; closing under it would
  // leave it converting into a window that is gone. Asked to close, the window
  // stops the run (rolled back) and closes when it has ended.
  if (emConversao_) {
    event->ignore();
    if (!cancelar_ && MessageDlg(u"Cancelar a conversão?", MsgKind::Confirmation, MsgButtons::YesNo) == MsgResult::Yes) {
      fecharAoFim_ = true;
      btnCancelarClick();
    }
    return;
  }
  QWidget::closeEvent(event);
}

void TForm1::FormCreate() {
  barra->SetPosition(0);
  lblProgresso->SetCaption(u"");
}

void TForm1::FormKeyDown(QWidget* Sender, int Key) {
  if (Key != Qt::Key_Return && Key != Qt::Key_Enter) return;
  for (TPanel* p : {pnlAbrirOrigem, pnlAbrirNorvale, pnlConverter, pnlSair}) {
    if (Sender == p && p->isEnabled() && p->OnClick) {
      p->OnClick(p);
      return;
    }
  }
}

void TForm1::pnlAbrirOrigemEnter(TPanel* Sender) { Sender->SetColor(clFoco); }

void TForm1::pnlAbrirOrigemExit(TPanel* Sender) { Sender->SetColor(clAccent); }

void TForm1::imgAbrirOrigemMouseEnter(TImage* Sender) {
  // Qt tells disabled widgets about the mouse too; a command that cannot be used
  // during a run must not light up as if it could.
  auto* panel = dynamic_cast<TPanel*>(Sender->parentWidget());
  if (panel && panel->isEnabled()) pnlAbrirOrigemEnter(panel);
}

void TForm1::imgAbrirOrigemMouseLeave(TImage* Sender) {
  if (auto* panel = dynamic_cast<TPanel*>(Sender->parentWidget())) pnlAbrirOrigemExit(panel);
}

std::optional<QString> TForm1::AbreDialogoPasta() {
  TPastaDialog dialogo(servicos_, this);
  if (dialogo.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList escolhidas = dialogo.selectedFiles();
  if (escolhidas.isEmpty()) return std::nullopt;
  return QDir::toNativeSeparators(escolhidas.first());
}

std::optional<QString> TForm1::AbreDialogoArquivo() {
  QFileDialog dialogo(this);
  dialogo.setWindowTitle(QStringLiteral("Abrir"));
  dialogo.setOption(QFileDialog::DontUseNativeDialog, true);
  dialogo.setAcceptMode(QFileDialog::AcceptOpen);
  // The file need not exist: a new target is created by the operator's tools.
  dialogo.setFileMode(QFileDialog::AnyFile);
  dialogo.setNameFilter(QStringLiteral("Firebird (*.fb)"));
  if (dialogo.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList escolhidos = dialogo.selectedFiles();
  if (escolhidos.isEmpty()) return std::nullopt;
  return QDir::toNativeSeparators(QFileInfo(escolhidos.first()).absoluteFilePath());
}

void TForm1::imgAbrirOrigemClick() {
  if (const std::optional<QString> pasta = EscolhePastaOrigem()) {
    edtOrigem->setText(*pasta);
    edtOrigem->setCursorPosition(0);
  }
}

void TForm1::imgAbrirNorvaleClick() {
  if (const std::optional<QString> arquivo = EscolheArquivoNorvale()) {
    edtDestino->setText(*arquivo);
    edtDestino->setCursorPosition(0);
  }
}

void TForm1::boxProdutoClick() {
  if (boxProduto->isChecked())
    mGerarCodigo = servicos_.MessageBoxExplicada(
                       MsgKind::Confirmation, u"Deseja gerar os códigos dos produtos automaticamente?",
                       u"Sim: o conversor numera os produtos em sequência (000001, 000002, ...), na ordem dos "
                       u"códigos antigos; os códigos do TOLV não são usados e nenhum produto fica de fora.\r"
                       u"Não: cada produto mantém o código do TOLV (os seis últimos caracteres, com zeros à "
                       u"esquerda); itens seguidos que terminam com o mesmo código viram um só produto.",
                       MsgButtons::YesNo) == MsgResult::Yes;
  else
    mGerarCodigo = false;
}

void TForm1::imgSairClick() { close(); }
