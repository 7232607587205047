// The main window driven as an operator drives it, with no database behind it.
#include <QDir>
#include <QEnterEvent>
#include <QFileDialog>
#include <QLineEdit>

#include "GuiTest.h"
#include "tests/support/DbfFixture.h"

namespace {

QString FocusName() {
  QWidget* w = QApplication::focusWidget();
  return w ? w->objectName() : QStringLiteral("<none>");
}

void ClickCheck(QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); }

}  // namespace

TEST_F(WindowTest, LaidOutAsDrawn) {
  EXPECT_EQ(form.windowTitle(), "Conversor de dados - TOLV -");
  EXPECT_EQ(form.size(), QSize(602, 404));
  EXPECT_EQ(form.minimumSize(), form.maximumSize());
  EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(form.windowFlags() & Qt::WindowMinimizeButtonHint);

  const std::pair<QWidget*, QRect> bounds[] = {
      {form.Panel2, {0, 0, 841, 77}},           {form.Image3, {485, -19, 132, 132}},
      {form.edtOrigem, {56, 112, 449, 21}},     {form.pnlAbrirOrigem, {512, 103, 35, 35}},
      {form.edtDestino, {56, 160, 449, 21}},    {form.pnlAbrirNorvale, {512, 151, 35, 35}},
      {form.cmbEmpresa, {56, 212, 49, 22}},     {form.GroupBox1, {56, 239, 489, 90}},
      {form.barra, {56, 352, 394, 19}},         {form.pnlConverter, {456, 335, 43, 43}},
      {form.imgConverter, {0, 0, 41, 41}},      {form.pnlSair, {504, 335, 43, 43}},
  };
  for (const auto& [w, r] : bounds) EXPECT_EQ(w->geometry(), r) << w->objectName().toStdString();
  // Manufacturers belong to the window but sit in the group's second row, above it.
  EXPECT_EQ(form.boxFabricante->parentWidget(), &form);
  EXPECT_EQ(form.boxFabricante->pos(), QPoint(295, 282));
  EXPECT_EQ(form.childAt(form.boxFabricante->geometry().center()), form.boxFabricante);
  // Bold where drawn bold, and no text the operator reads is cut.
  EXPECT_TRUE(form.boxCliente->font().bold());
  EXPECT_TRUE(form.boxFabricante->font().bold());
  EXPECT_FALSE(form.edtOrigem->font().bold());
  for (QWidget* w : std::initializer_list<QWidget*>{form.Label5, form.Label6, form.boxReceber, form.boxFabricante})
    EXPECT_GE(w->width(), w->sizeHint().width()) << w->objectName().toStdString();

  // Look at the pixels: the header in the accent, its titles in white, the fields grey.
  const QImage shot = form.grab().toImage();
  EXPECT_EQ(QColor(shot.pixel(300, 5)), QColor(182, 66, 69));
  EXPECT_EQ(QColor(shot.pixel(546, 377)), QColor(182, 66, 69));  // pnlSair's edge, beside its picture
  EXPECT_EQ(QColor(shot.pixel(300, 122)), QColor(221, 221, 221));
  bool white = false;
  for (int x = 208; x < 473 && !white; ++x)
    for (int y = 10; y < 43 && !white; ++y) white = QColor(shot.pixel(x, y)) == QColor(Qt::white);
  EXPECT_TRUE(white);

  // The design-time progress texts never show; nothing is ticked or asked yet.
  EXPECT_EQ(form.lblProgresso->text(), "");
  EXPECT_EQ(form.barra->text(), "0%");
  EXPECT_EQ(form.cmbEmpresa->currentText(), "01");
  EXPECT_FALSE(form.boxProduto->isChecked());
  EXPECT_FALSE(form.mGerarCodigo);
  EXPECT_TRUE(boxes().empty());
}

TEST_F(WindowTest, TabWalksTheControlsInOrderAndPanelsShowTheFocusColour) {
  form.edtOrigem->setFocus();
  QStringList walk{FocusName()};
  for (int i = 0; i < 15; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    walk << FocusName();
    if (auto* panel = dynamic_cast<TPanel*>(QApplication::focusWidget())) {
      EXPECT_EQ(panel->Color(), QColor(128, 0, 0)) << walk.back().toStdString();
    }
  }
  const QStringList expected{"edtOrigem",   "pnlAbrirOrigem", "edtDestino",  "pnlAbrirNorvale", "boxCliente",
                             "boxProduto",  "boxFornecedor",  "boxGrupo",    "boxSubGrupo",     "boxReceber",
                             "boxPagar",    "pnlConverter",   "pnlSair",     "cmbEmpresa",      "boxFabricante",
                             "edtOrigem"};
  EXPECT_EQ(walk, expected);
  // Focus gone: every panel is back in the accent colour.
  for (TPanel* p : {form.pnlAbrirOrigem, form.pnlAbrirNorvale, form.pnlConverter, form.pnlSair})
    EXPECT_EQ(p->Color(), QColor(182, 66, 69));
}

TEST_F(WindowTest, MouseOverAPictureLightsItsPanel) {
  for (TImage* img : {form.imgAbrirOrigem, form.imgAbrirNorvale, form.imgConverter, form.imgSair}) {
    auto* panel = static_cast<TPanel*>(img->parentWidget());
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), img->mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(img, &enter);
    EXPECT_EQ(panel->Color(), QColor(128, 0, 0));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(img, &leave);
    EXPECT_EQ(panel->Color(), QColor(182, 66, 69));
  }
  // A disabled command keeps its usual colour under the mouse.
  form.HabilitaBotoes(false);
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), form.imgConverter->mapToGlobal(QPointF(5, 5)));
  QApplication::sendEvent(form.imgConverter, &enter);
  EXPECT_EQ(form.pnlConverter->Color(), QColor(182, 66, 69));
}

TEST_F(WindowTest, EnterOnAFocusedPanelClicksIt) {
  int asked = 0;
  form.EscolhePastaOrigem = [&]() -> std::optional<QString> {
    ++asked;
    return QStringLiteral("/dados/tolv");
  };
  form.EscolheArquivoNorvale = [&]() -> std::optional<QString> { return QStringLiteral("/dados/norvale.fb"); };

  form.pnlAbrirOrigem->setFocus(Qt::TabFocusReason);
  QTest::keyClick(form.pnlAbrirOrigem, Qt::Key_Return);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(form.edtOrigem->text(), "/dados/tolv");

  form.pnlAbrirNorvale->setFocus(Qt::TabFocusReason);
  QTest::keyClick(form.pnlAbrirNorvale, Qt::Key_Enter);  // the keypad's Enter too
  EXPECT_EQ(form.edtDestino->text(), "/dados/norvale.fb");

  // Enter elsewhere clicks nothing.
  form.boxCliente->setFocus(Qt::TabFocusReason);
  QTest::keyClick(form.boxCliente, Qt::Key_Return);
  EXPECT_EQ(asked, 1);

  // Sair by keyboard closes the window.
  form.pnlSair->setFocus(Qt::TabFocusReason);
  QTest::keyClick(form.pnlSair, Qt::Key_Return);
  EXPECT_FALSE(form.isVisible());
}

TEST_F(WindowTest, PickersByMouseAndCancel) {
  std::optional<QString> answer = QStringLiteral("/origem");
  form.EscolhePastaOrigem = [&] { return answer; };
  form.EscolheArquivoNorvale = [&] { return answer; };
  QTest::mouseClick(form.imgAbrirOrigem, Qt::LeftButton);
  EXPECT_EQ(form.edtOrigem->text(), "/origem");
  // A click on the panel's own border works as well.
  answer = QStringLiteral("/destino.fb");
  QTest::mouseClick(form.pnlAbrirNorvale, Qt::LeftButton, {}, QPoint(34, 34));
  EXPECT_EQ(form.edtDestino->text(), "/destino.fb");
  // Cancel leaves the paths alone.
  answer.reset();
  QTest::mouseClick(form.imgAbrirOrigem, Qt::LeftButton);
  QTest::mouseClick(form.imgAbrirNorvale, Qt::LeftButton);
  EXPECT_EQ(form.edtOrigem->text(), "/origem");
  EXPECT_EQ(form.edtDestino->text(), "/destino.fb");
}

TEST_F(WindowTest, FolderPickerCreatesATypedFolderOnlyAfterYes) {
  TempDir base("gui_folder_picker");
  const QString missing = QString::fromStdString(base.file("nova/pasta"));
  services().answers = {MsgResult::No, MsgResult::Yes};
  bool stayedOpen = false;
  WhenModal<TPastaDialog>([&](TPastaDialog* d) {
    EXPECT_EQ(d->fileMode(), QFileDialog::Directory);
    auto* name = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    name->setText(missing);
    QTest::keyClick(name, Qt::Key_Return);  // No: the picker stays open and nothing is created
    stayedOpen = d->isVisible() && !QDir(missing).exists();
    QTest::keyClick(name, Qt::Key_Return);  // Yes: created and chosen
  });
  QTest::mouseClick(form.imgAbrirOrigem, Qt::LeftButton);
  EXPECT_TRUE(stayedOpen);
  EXPECT_TRUE(QDir(missing).exists());
  EXPECT_EQ(form.edtOrigem->text(), QDir::toNativeSeparators(missing));
  ASSERT_EQ(boxes().size(), 2u);
  EXPECT_EQ(boxes()[0].kind, MsgKind::Confirmation);
  EXPECT_EQ(boxes()[0].buttons, MsgButtons::YesNo);
  EXPECT_NE(Q(boxes()[0].text).indexOf(QDir::toNativeSeparators(missing)), -1);
}

TEST_F(WindowTest, FileDialogHasTheFirebirdFilterAndTakesAFileThatDoesNotExist) {
  TempDir base("gui_file_picker");
  const QString file = QString::fromStdString(base.file("novo.fb"));
  WhenModal<QFileDialog>([&](QFileDialog* d) {
    EXPECT_EQ(d->nameFilters(), QStringList{"Firebird (*.fb)"});
    auto* name = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    name->setText(file);
    QTest::keyClick(name, Qt::Key_Return);
  });
  QTest::mouseClick(form.imgAbrirNorvale, Qt::LeftButton);
  EXPECT_EQ(form.edtDestino->text(), QDir::toNativeSeparators(file));
  EXPECT_FALSE(QFileInfo::exists(file));
  EXPECT_TRUE(boxes().empty());
}

TEST_F(WindowTest, ProductCodeQuestion) {
  const UString question = u"Deseja gerar os códigos dos produtos automaticamente?";
  services().answers = {MsgResult::Yes};
  ClickCheck(form.boxProduto);
  ASSERT_TRUE(form.boxProduto->isChecked());
  ASSERT_EQ(boxes().size(), 1u);
  EXPECT_EQ(boxes()[0].text, question);
  EXPECT_EQ(boxes()[0].kind, MsgKind::Confirmation);
  EXPECT_EQ(boxes()[0].buttons, MsgButtons::YesNo);
  EXPECT_TRUE(form.mGerarCodigo);

  // Unchecking asks nothing and forgets the answer.
  ClickCheck(form.boxProduto);
  EXPECT_FALSE(form.boxProduto->isChecked());
  EXPECT_EQ(boxes().size(), 1u);
  EXPECT_FALSE(form.mGerarCodigo);

  // Checking again asks again; No is remembered as false.
  services().answers = {MsgResult::No};
  ClickCheck(form.boxProduto);
  EXPECT_EQ(boxes().size(), 2u);
  EXPECT_FALSE(form.mGerarCodigo);

  // By keyboard as well.
  services().answers = {MsgResult::Yes};
  form.boxProduto->setFocus(Qt::TabFocusReason);
  QTest::keyClick(form.boxProduto, Qt::Key_Space);  // unchecked: no question
  QTest::keyClick(form.boxProduto, Qt::Key_Space);  // checked: Yes
  EXPECT_EQ(boxes().size(), 3u);
  EXPECT_TRUE(form.mGerarCodigo);
}

TEST_F(WindowTest, EmptyTargetPathIsRefusedBeforeAnythingElse) {
  // Neither path chosen: only the target's message, nothing connected, nothing disabled.
  QTest::mouseClick(form.imgConverter, Qt::LeftButton);
  ASSERT_EQ(boxes().size(), 1u);
  EXPECT_EQ(boxes()[0].kind, MsgKind::Error);
  EXPECT_EQ(boxes()[0].buttons, MsgButtons::OK);
  EXPECT_EQ(boxes()[0].text,
            u"Não foi possível conectar ao banco de dados Norvale\rMotivo: Caminho do banco de dados em branco");
  EXPECT_FALSE(form.dbNorvale.Connected());
  EXPECT_EQ(services().processCount, 0);

  // The source path alone changes nothing: the target is checked first.
  form.EscolhePastaOrigem = [] { return std::optional<QString>("/origem"); };
  QTest::mouseClick(form.imgAbrirOrigem, Qt::LeftButton);
  form.pnlConverter->setFocus(Qt::TabFocusReason);
  QTest::keyClick(form.pnlConverter, Qt::Key_Return);
  ASSERT_EQ(boxes().size(), 2u);
  EXPECT_EQ(boxes()[1].text, boxes()[0].text);
  EXPECT_TRUE(form.pnlConverter->isEnabled());
}

TEST_F(WindowTest, SelectionListFollowsTheCheckBoxesInItsOwnOrder) {
  ClickCheck(form.boxFabricante);
  ClickCheck(form.boxGrupo);
  ClickCheck(form.boxReceber);
  TStringList params;
  form.CarregaParametros(params);
  const std::vector<UString> expected = {u"CLIENTE=N", u"FORNECEDOR=N", u"GRUPO=S", u"SUBGRUPO=N",
                                         u"PRODUTO=N", u"RECEBER=S",    u"PAGAR=N", u"FABRICANTE=S"};
  EXPECT_EQ(params.Lines(), expected);
}

TEST_F(WindowTest, AnErrorLeavingAHandlerIsShownAndTheWindowGoesOn) {
  form.EscolhePastaOrigem = []() -> std::optional<QString> { throw EConversao(u"Pasta indisponível"); };
  QTest::mouseClick(form.imgAbrirOrigem, Qt::LeftButton);
  ASSERT_EQ(services().errors.size(), 1u);
  EXPECT_EQ(services().errors[0], u"Pasta indisponível");
  EXPECT_TRUE(form.isVisible());
  EXPECT_TRUE(form.pnlAbrirOrigem->isEnabled());
  // The window still answers.
  form.EscolhePastaOrigem = [] { return std::optional<QString>("/depois"); };
  QTest::mouseClick(form.imgAbrirOrigem, Qt::LeftButton);
  EXPECT_EQ(form.edtOrigem->text(), "/depois");
}
