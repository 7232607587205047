// The main window driven as an operator drives it, with no database behind it.
#include <QDir>
#include <QEnterEvent>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QTranslator>

#include "GuiTest.h"
#include "tests/support/DbfFixture.h"

namespace {

const QColor kAccent(182, 66, 69), kFocus(128, 0, 0);

QString FocusName() {
  QWidget* w = QApplication::focusWidget();
  return w ? w->objectName() : QStringLiteral("<none>");
}

QString TextOf(QWidget* w) {
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
  if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentText();
  if (auto* p = qobject_cast<QProgressBar*>(w)) return p->text();
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
  if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
  return {};
}

void ClickCheck(QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); }

void Press(QWidget* w, Qt::Key key) {
  w->setFocus(Qt::TabFocusReason);
  QTest::keyClick(w, key);
}

void MouseIn(TImage* img) {
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), img->mapToGlobal(QPointF(5, 5)));
  QApplication::sendEvent(img, &enter);
}

}  // namespace

TEST_F(WindowTest, LaidOutAsDrawn) {
  EXPECT_EQ(form.windowTitle(), "Conversor de dados - TOLV -");
  EXPECT_EQ(form.size(), QSize(602, 440));
  EXPECT_EQ(form.minimumSize(), form.maximumSize());
  EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(form.windowFlags() & Qt::WindowMinimizeButtonHint);

  // Bounds (only the position where the control sizes itself to its text) and the
  // text shown at start (not checked where null): the design-time progress texts
  // never show, no path is chosen yet, the first company is.
  struct Item { QWidget* w; QRect bounds; const char* text; };
  const Item layout[] = {
      {form.Panel2, {0, 0, 841, 77}, ""},                 {form.Image3, {485, -19, 132, 132}, ""},
      {form.Label2, {208, 10, 265, 33}, nullptr},         {form.Label3, {208, 42, 265, 33}, "- TOLV -"},
      {form.Label5, {56, 96, 0, 0}, "Banco de Dados Origem (*.dbf)"},
      {form.edtOrigem, {56, 112, 449, 21}, ""},             {form.pnlAbrirOrigem, {512, 103, 35, 35}, ""},
      {form.Label6, {56, 144, 0, 0}, "Banco de Dados  Norvale (Firebird *.fb)"},
      {form.edtDestino, {56, 160, 449, 21}, ""},          {form.pnlAbrirNorvale, {512, 151, 35, 35}, ""},
      {form.Label1, {56, 192, 0, 0}, "Empresa"},          {form.cmbEmpresa, {56, 212, 49, 22}, "01"},
      {form.GroupBox1, {56, 239, 489, 90}, " Converter "}, {form.boxCliente, {32, 19, 0, 0}, "Cliente"},
      {form.boxFornecedor, {135, 19, 0, 0}, "Fornecedor"}, {form.boxGrupo, {239, 19, 0, 0}, "Grupo"},
      {form.boxPagar, {335, 19, 0, 0}, "Contas a Pagar"},  {form.boxSubGrupo, {32, 42, 0, 0}, "SubGrupo"},
      {form.boxProduto, {135, 42, 0, 0}, "Produto"},       {form.boxReceber, {335, 42, 0, 0}, "Contas a Receber"},
      {form.boxFabricante, {295, 282, 0, 0}, "Fabricante"}, {form.barra, {56, 352, 394, 19}, "0%"},
      {form.pnlConverter, {456, 335, 43, 43}, ""},        {form.imgConverter, {0, 0, 41, 41}, ""},
      {form.pnlSair, {504, 335, 43, 43}, ""},           {form.lblProgresso, {56, 333, 0, 0}, ""},
  };
  for (const auto& [w, r, text] : layout) {
    SCOPED_TRACE(w->objectName().toStdString());
    EXPECT_EQ(r.isEmpty() ? QRect(w->pos(), r.size()) : w->geometry(), r);
    if (text) {
      EXPECT_EQ(TextOf(w), QString::fromUtf8(text));
    }
  }
  // Manufacturers belong to the window but sit in the group's second row, above it.
  EXPECT_EQ(form.boxFabricante->parentWidget(), &form);
  EXPECT_EQ(form.childAt(form.boxFabricante->geometry().center()), form.boxFabricante);
  // Bold where drawn bold, and no text the operator reads is cut.
  EXPECT_TRUE(form.boxCliente->font().bold());
  EXPECT_TRUE(form.boxFabricante->font().bold());
  EXPECT_FALSE(form.edtOrigem->font().bold());
  for (QWidget* w : std::initializer_list<QWidget*>{form.Label5, form.Label6, form.boxReceber, form.boxFabricante})
    EXPECT_GE(w->width(), w->sizeHint().width()) << w->objectName().toStdString();

  // The pixels: the header and pnlSair's edge beside its picture in the accent, the
  // fields grey, and somewhere in the header's title white.
  const QImage shot = form.grab().toImage();
  const std::pair<QPoint, QColor> pixels[] = {
      {{300, 5}, kAccent}, {{546, 377}, kAccent}, {{300, 122}, QColor(221, 221, 221)}};
  for (const auto& [at, colour] : pixels)
    EXPECT_EQ(QColor(shot.pixel(at)), colour) << at.x() << "," << at.y();
  bool white = false;
  for (int x = 208; x < 473 && !white; ++x)
    for (int y = 10; y < 43 && !white; ++y) white = QColor(shot.pixel(x, y)) == QColor(Qt::white);
  EXPECT_TRUE(white);

  // Nothing is ticked or asked yet.
  EXPECT_FALSE(form.boxProduto->isChecked());
  EXPECT_FALSE(form.mGerarCodigo);
  EXPECT_TRUE(boxes().empty());
}

TEST_F(WindowTest, TabWalksTheControlsInOrderAndPanelsShowTheFocusColourAlsoUnderTheMouse) {
  form.edtOrigem->setFocus();
  QStringList walk{FocusName()};
  for (int i = 0; i < 16; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    walk << FocusName();
    if (auto* panel = dynamic_cast<TPanel*>(QApplication::focusWidget())) {
      EXPECT_EQ(panel->Color(), kFocus) << walk.back().toStdString();
    }
  }
  const QStringList expected{"edtOrigem",   "pnlAbrirOrigem", "edtDestino",  "pnlAbrirNorvale", "boxCliente",
                             "boxProduto",  "boxFornecedor",  "boxGrupo",    "boxSubGrupo",     "boxReceber",
                             "boxPagar",    "pnlConverter",   "pnlSair",     "cmbEmpresa",      "boxFabricante",
                             "boxSimular",  "edtOrigem"};
  EXPECT_EQ(walk, expected);
  // Focus gone, every panel is back in the accent colour; the mouse over a picture
  // lights its panel until it leaves, unless the command is disabled.
  for (TImage* img : {form.imgAbrirOrigem, form.imgAbrirNorvale, form.imgConverter, form.imgSair}) {
    auto* panel = static_cast<TPanel*>(img->parentWidget());
    SCOPED_TRACE(panel->objectName().toStdString());
    EXPECT_EQ(panel->Color(), kAccent);
    MouseIn(img);
    EXPECT_EQ(panel->Color(), kFocus);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(img, &leave);
    EXPECT_EQ(panel->Color(), kAccent);
  }
  form.HabilitaBotoes(false);
  MouseIn(form.imgConverter);
  EXPECT_EQ(form.pnlConverter->Color(), kAccent);
}

TEST_F(WindowTest, PicturesPanelBordersAndEnterOnAFocusedPanelStartTheirCommand) {
  std::optional<QString> answer;
  int asked = 0;
  form.EscolhePastaOrigem = form.EscolheArquivoNorvale = [&] {
    ++asked;
    return answer;
  };
  struct Step { const char* how; std::function<void()> act; QLineEdit* field; const char* path; };
  const Step steps[] = {
      {"picture", [&] { QTest::mouseClick(form.imgAbrirOrigem, Qt::LeftButton); }, form.edtOrigem, "/origem"},
      {"panel border", [&] { QTest::mouseClick(form.pnlAbrirNorvale, Qt::LeftButton, {}, QPoint(34, 34)); },
       form.edtDestino, "/destino.fb"},
      {"Return", [&] { Press(form.pnlAbrirOrigem, Qt::Key_Return); }, form.edtOrigem, "/dados/tolv"},
      {"keypad Enter", [&] { Press(form.pnlAbrirNorvale, Qt::Key_Enter); }, form.edtDestino, "/dados/norvale.fb"},
  };
  int expectedAsked = 0;
  for (const Step& s : steps) {
    SCOPED_TRACE(s.how);
    answer = QString::fromUtf8(s.path);
    s.act();
    EXPECT_EQ(asked, ++expectedAsked);  // once, not once per control that saw the key
    EXPECT_EQ(s.field->text(), s.path);
  }
  // Cancel leaves the paths alone.
  answer.reset();
  QTest::mouseClick(form.imgAbrirOrigem, Qt::LeftButton);
  QTest::mouseClick(form.imgAbrirNorvale, Qt::LeftButton);
  EXPECT_EQ(form.edtOrigem->text(), "/dados/tolv");
  EXPECT_EQ(form.edtDestino->text(), "/dados/norvale.fb");
  // Enter elsewhere clicks nothing; on Sair it closes the window.
  Press(form.boxCliente, Qt::Key_Return);
  EXPECT_EQ(asked, expectedAsked + 2);
  Press(form.pnlSair, Qt::Key_Return);
  EXPECT_FALSE(form.isVisible());
}

// Both pickers take a path typed by the operator that does not exist yet; the
// folder one creates it, but only after Yes, and stays open on No.
TEST_F(WindowTest, PickersTakeATypedPathAndTheFolderOneCreatesItOnlyAfterYes) {
  TempDir base("gui_pickers");
  const QString folder = QString::fromStdString(base.file("nova/pasta"));
  const QString file = QString::fromStdString(base.file("novo.fb"));
  auto type = [](QFileDialog* d, const QString& path) {
    auto* name = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    name->setText(path);
    QTest::keyClick(name, Qt::Key_Return);
  };
  services().answers = {MsgResult::No, MsgResult::Yes};
  bool stayedOpen = false;
  WhenModal<TPastaDialog>([&](TPastaDialog* d) {
    EXPECT_EQ(d->fileMode(), QFileDialog::Directory);
    type(d, folder);  // No
    stayedOpen = d->isVisible() && !QDir(folder).exists();
    type(d, folder);  // Yes: created and chosen
  });
  QTest::mouseClick(form.imgAbrirOrigem, Qt::LeftButton);
  EXPECT_TRUE(stayedOpen);
  EXPECT_TRUE(QDir(folder).exists());
  EXPECT_EQ(form.edtOrigem->text(), QDir::toNativeSeparators(folder));
  ASSERT_EQ(boxes().size(), 2u);
  EXPECT_EQ(boxes()[0].kind, MsgKind::Confirmation);
  EXPECT_EQ(boxes()[0].buttons, MsgButtons::YesNo);
  EXPECT_NE(Q(boxes()[0].text).indexOf(QDir::toNativeSeparators(folder)), -1);

  WhenModal<QFileDialog>([&](QFileDialog* d) {
    EXPECT_EQ(d->nameFilters(), QStringList{"Firebird (*.fb)"});
    type(d, file);
  });
  QTest::mouseClick(form.imgAbrirNorvale, Qt::LeftButton);
  EXPECT_EQ(form.edtDestino->text(), QDir::toNativeSeparators(file));
  EXPECT_FALSE(QFileInfo::exists(file));
  EXPECT_EQ(boxes().size(), 2u);  // nothing asked about a file
}

TEST_F(WindowTest, ProductCodeQuestionOnEveryCheckingAndTheAnswerForgottenOnUnchecking) {
  auto click = [&] { ClickCheck(form.boxProduto); };
  auto space = [&] { Press(form.boxProduto, Qt::Key_Space); };
  struct Step { std::function<void()> act; std::optional<MsgResult> answer; bool checked, flag; };
  const Step steps[] = {{click, MsgResult::Yes, true, true}, {click, {}, false, false},
                        {click, MsgResult::No, true, false}, {space, {}, false, false},
                        {space, MsgResult::Yes, true, true}};
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    SCOPED_TRACE(i);
    const Step& s = steps[i];
    const std::size_t before = boxes().size();
    if (s.answer) services().answers = {*s.answer};
    s.act();
    EXPECT_EQ(form.boxProduto->isChecked(), s.checked);
    EXPECT_EQ(form.mGerarCodigo, s.flag);
    ASSERT_EQ(boxes().size(), before + (s.answer ? 1 : 0));
    if (!s.answer) continue;
    EXPECT_EQ(boxes().back().text, u"Deseja gerar os códigos dos produtos automaticamente?");
    EXPECT_EQ(boxes().back().kind, MsgKind::Confirmation);
    EXPECT_EQ(boxes().back().buttons, MsgButtons::YesNo);
  }
}

// The question in the window's own box: titled in Portuguese, with Qt's buttons in
// Portuguese as the program loads them, and what each answer does under it. The
// commands drawn as pictures say what they do.
TEST(WindowBoxes, ProductCodeQuestionExplainsBothAnswersAndThePicturesSayWhatTheyDo) {
  QTranslator qt;
  const bool traduzido = qt.load(QLocale(QLocale::Portuguese, QLocale::Brazil), QStringLiteral("qtbase"),
                                 QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  if (traduzido) QApplication::installTranslator(&qt);
  QtWindowServices servicos;
  TForm1 form(servicos);
  form.show();
  QString title, text, info;
  QStringList buttons;
  WhenModal<QMessageBox>([&](QMessageBox* box) {
    title = box->windowTitle();
    text = box->text();
    info = box->informativeText();
    for (QAbstractButton* b : box->buttons()) buttons << b->text().remove(QLatin1Char('&'));
    QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton);
  });
  form.boxProduto->setChecked(true);
  if (traduzido) QApplication::removeTranslator(&qt);
  EXPECT_TRUE(form.mGerarCodigo);
  EXPECT_EQ(title, QString::fromUtf8("Confirmação"));
  EXPECT_EQ(text, QString::fromUtf8("Deseja gerar os códigos dos produtos automaticamente?"));
  EXPECT_TRUE(info.startsWith(QStringLiteral("Sim: o conversor numera os produtos"))) << info.toStdString();
  EXPECT_TRUE(info.contains(QString::fromUtf8("\nNão: cada produto mantém o código do TOLV"))) << info.toStdString();
  if (traduzido) {
    buttons.sort();
    EXPECT_EQ(buttons, QStringList({QString::fromUtf8("Não"), QStringLiteral("Sim")}));
  }

  for (TPanel* p : {form.pnlAbrirOrigem, form.pnlAbrirNorvale, form.pnlConverter, form.pnlSair}) {
    SCOPED_TRACE(p->objectName().toStdString());
    EXPECT_FALSE(p->toolTip().isEmpty());
    EXPECT_EQ(p->findChild<TImage*>()->toolTip(), p->toolTip());
    EXPECT_FALSE(p->accessibleName().isEmpty());
  }
  EXPECT_EQ(form.pnlConverter->toolTip(), "Converter: grava no banco Norvale os tipos marcados");
  EXPECT_EQ(form.pnlSair->toolTip(), "Sair do conversor");
}

TEST_F(WindowTest, EmptyTargetPathIsRefusedBeforeAnythingElse) {
  const UString refused =
      u"Não foi possível conectar ao banco de dados Norvale\rMotivo: Caminho do banco de dados em branco";
  // Neither path chosen: only the target's message, nothing connected, nothing disabled.
  ClickCheck(form.boxGrupo);
  QTest::mouseClick(form.imgConverter, Qt::LeftButton);
  ASSERT_EQ(BoxTexts(), std::vector<UString>{refused});
  EXPECT_EQ(boxes()[0].kind, MsgKind::Error);
  EXPECT_EQ(boxes()[0].buttons, MsgButtons::OK);
  EXPECT_FALSE(form.dbNorvale.Connected());
  EXPECT_EQ(services().processCount, 0);

  // The source path alone changes nothing: the target is checked first.
  form.EscolhePastaOrigem = [] { return std::optional<QString>("/origem"); };
  QTest::mouseClick(form.imgAbrirOrigem, Qt::LeftButton);
  Press(form.pnlConverter, Qt::Key_Return);
  EXPECT_EQ(BoxTexts(), (std::vector<UString>{refused, refused}));
  EXPECT_TRUE(form.pnlConverter->isEnabled());
}

TEST_F(WindowTest, SelectionListFollowsTheCheckBoxesInItsOwnOrder) {
  for (QCheckBox* box : {form.boxFabricante, form.boxGrupo, form.boxReceber}) ClickCheck(box);
  TStringList params;
  form.CarregaParametros(params);
  const std::vector<UString> expected = {u"CLIENTE=N", u"FORNECEDOR=N", u"GRUPO=S", u"SUBGRUPO=N",
                                         u"PRODUTO=N", u"RECEBER=S",    u"PAGAR=N", u"FABRICANTE=S"};
  EXPECT_EQ(params.Lines(), expected);
}

TEST_F(WindowTest, AnErrorLeavingAHandlerIsShownAndTheWindowGoesOn) {
  form.EscolhePastaOrigem = []() -> std::optional<QString> { throw EConversao(u"Pasta indisponível"); };
  QTest::mouseClick(form.imgAbrirOrigem, Qt::LeftButton);
  EXPECT_EQ(services().errors, std::vector<UString>{u"Pasta indisponível"});
  EXPECT_TRUE(form.isVisible());
  EXPECT_TRUE(form.pnlAbrirOrigem->isEnabled());
  form.EscolhePastaOrigem = [] { return std::optional<QString>("/depois"); };
  QTest::mouseClick(form.imgAbrirOrigem, Qt::LeftButton);
  EXPECT_EQ(form.edtOrigem->text(), "/depois");
}
