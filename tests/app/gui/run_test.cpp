// Runs started from the window into real Firebird files, from real dBase folders.
#include <QDir>
#include <regex>

#include "GuiTest.h"
#include "platform/firebird/Firebird.h"
#include "run/ClassesConversaoController.h"
#include "tests/support/DbfFixture.h"
#include "tests/support/TestDatabase.h"

namespace {

void WriteTable(const std::string& path, const std::string& fields, const std::vector<std::vector<std::string>>& rows) {
  DbfTable t;
  t.path = path;
  t.fields = fields;
  t.rows = rows;
  WriteDbf(t);
}

void WriteGroups(const TempDir& dir, const std::vector<std::vector<std::string>>& rows) {
  WriteTable(dir.file("GRUPO.DBF"), "CODIGO C(4); DESCRICAO C(50)", rows);
}

// The last whole number isql printed: the answer to a SELECT COUNT(*).
long long Count(const TestDatabase& db, const std::string& table) {
  const std::string out = db.Isql("SELECT COUNT(*) FROM " + table + ";");
  long long n = -1;
  const std::regex number("(\\d+)");
  for (auto it = std::sregex_iterator(out.begin(), out.end(), number); it != std::sregex_iterator(); ++it)
    n = std::stoll((*it)[1]);
  return n;
}

class RunTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    form.EscolhePastaOrigem = [this] { return pasta; };
    form.EscolheArquivoNorvale = [this] { return arquivo; };
  }
  void TearDown() override { form.dbNorvale.Close(); }

  void ChooseSource(const std::string& path) {
    pasta = QString::fromStdString(path);
    QTest::mouseClick(form.imgAbrirOrigem, Qt::LeftButton);
  }
  void ChooseTarget(const std::string& path) {
    arquivo = QString::fromStdString(path);
    QTest::mouseClick(form.imgAbrirNorvale, Qt::LeftButton);
  }
  void Convert() { QTest::mouseClick(form.imgConverter, Qt::LeftButton); }
  std::vector<QWidget*> Commands() {
    return {form.pnlAbrirOrigem, form.pnlAbrirNorvale, form.pnlConverter, form.pnlSair,
            form.boxCliente,     form.boxProduto,      form.boxFornecedor, form.boxSubGrupo,
            form.boxGrupo,       form.boxFabricante,   form.boxReceber,    form.boxPagar};
  }
  bool AllEnabled() {
    for (QWidget* w : Commands())
      if (!w->isEnabled()) return false;
    return true;
  }
  bool NoneEnabled() {
    for (QWidget* w : Commands())
      if (w->isEnabled()) return false;
    return true;
  }

  std::optional<QString> pasta, arquivo;
};

const UString kSucesso = u"Conversão concluída com sucesso!";

}  // namespace

TEST_F(RunTest, TargetIsConnectedBeforeTheSourcePathIsChecked) {
  TestDatabase target("gui_empty_source");
  ChooseTarget(target.Path());
  Convert();
  ASSERT_EQ(boxes().size(), 1u);
  EXPECT_EQ(boxes()[0].kind, MsgKind::Error);
  EXPECT_EQ(boxes()[0].text, u"Caminho para o banco de dados de origem não pode ficar em branco.");
  EXPECT_TRUE(form.dbNorvale.Connected());
  EXPECT_EQ(services().processCount, 0);
  EXPECT_TRUE(AllEnabled());
}

TEST_F(RunTest, ATargetThatCannotBeOpenedIsReportedAndNothingRuns) {
  TempDir source("gui_bad_target");
  WriteGroups(source, {{"001", "Ferramentas"}});
  ChooseSource(source.path());
  ChooseTarget(source.file("nao/existe.fb"));
  form.boxGrupo->setChecked(true);
  Convert();
  ASSERT_EQ(boxes().size(), 1u);
  const UString prefix = u"Não foi possível conectar ao banco de dados Norvale\rMotivo: ";
  EXPECT_EQ(boxes()[0].text.substr(0, prefix.size()), prefix);
  EXPECT_GT(boxes()[0].text.size(), prefix.size());  // the database's own reason follows
  EXPECT_FALSE(form.dbNorvale.Connected());
  EXPECT_EQ(services().processCount, 0);

  // A good file chosen afterwards is opened.
  TestDatabase target("gui_after_bad_target");
  ChooseTarget(target.Path());
  Convert();
  ASSERT_EQ(boxes().size(), 2u);
  EXPECT_EQ(boxes()[1].text, kSucesso);
}

TEST_F(RunTest, GroupsConvertedFromTheWindowWithTheCommandsDisabledMeanwhile) {
  TempDir source("gui_groups");
  WriteGroups(source, {{"001", "Ferramentas"}, {"002", "Material Elétrico"}, {"003", "Tintas"}});
  TestDatabase target("gui_groups");
  ChooseSource(source.path());
  ChooseTarget(target.Path());
  QTest::mouseClick(form.boxGrupo, Qt::LeftButton, {}, QPoint(6, form.boxGrupo->height() / 2));
  ASSERT_TRUE(form.boxGrupo->isChecked());

  struct Seen {
    bool disabled = true, companyUsable = true, closeRefused = true, secondRunRefused = true;
    std::vector<UString> captions;
    int max = -1;
  } seen;
  services().onProcess = [&] {
    seen.disabled = seen.disabled && NoneEnabled();
    seen.companyUsable = seen.companyUsable && form.cmbEmpresa->isEnabled();
    seen.captions.push_back(form.lblProgresso->Caption());
    EXPECT_EQ(form.lblProgresso->text(), Q(form.lblProgresso->Caption()));
    seen.max = form.barra->Max();
    // Neither a click, nor the handler itself, nor closing the window gets through.
    const std::size_t before = services().boxes.size();
    QTest::mouseClick(form.imgConverter, Qt::LeftButton);
    form.imgConverterClick();
    seen.secondRunRefused = seen.secondRunRefused && services().boxes.size() == before;
    seen.closeRefused = seen.closeRefused && !form.close() && form.isVisible();
  };

  // Started from the keyboard: Tab onto the panel, Enter.
  form.pnlSair->setFocus(Qt::TabFocusReason);
  QTest::keyClick(form.pnlSair, Qt::Key_Backtab);
  ASSERT_EQ(QApplication::focusWidget(), form.pnlConverter);
  EXPECT_EQ(form.pnlConverter->Color(), QColor(128, 0, 0));
  QTest::keyClick(form.pnlConverter, Qt::Key_Return);

  ASSERT_EQ(boxes().size(), 1u) << LastText();
  EXPECT_EQ(boxes()[0].kind, MsgKind::Information);
  EXPECT_EQ(boxes()[0].text, kSucesso);
  EXPECT_EQ(services().processCount, 3);
  EXPECT_TRUE(seen.disabled);
  EXPECT_TRUE(seen.companyUsable);
  EXPECT_TRUE(seen.secondRunRefused);
  EXPECT_TRUE(seen.closeRefused);
  EXPECT_EQ(seen.max, 3);
  ASSERT_EQ(seen.captions.size(), 3u);
  EXPECT_EQ(seen.captions[2], u"Convertendo Grupos de produtos - Registro 3 de 3");

  // After the run: commands back, focus back on the command, display cleared.
  EXPECT_TRUE(AllEnabled());
  EXPECT_EQ(QApplication::focusWidget(), form.pnlConverter);
  EXPECT_EQ(form.lblProgresso->text(), "");
  EXPECT_EQ(form.barra->Position(), 0);
  EXPECT_EQ(form.barra->text(), "0%");
  EXPECT_TRUE(form.isVisible());
  EXPECT_TRUE(form.dbNorvale.Connected());

  // Again into the same file: the open connection is used and the groups replaced.
  services().onProcess = nullptr;
  Convert();
  ASSERT_EQ(boxes().size(), 2u);
  EXPECT_EQ(boxes()[1].text, kSucesso);

  form.dbNorvale.Close();
  EXPECT_EQ(Count(target, "GRUPROD"), 3);
  const std::string rows = target.Isql("SELECT CODGRUPO, DESCRICAO FROM GRUPROD ORDER BY CODGRUPO;");
  EXPECT_NE(rows.find("Material Elétrico"), std::string::npos) << rows;
}

TEST_F(RunTest, AFailedRunGivesTheCommandsBack) {
  TempDir source("gui_failed");  // no GRUPO table in it
  TestDatabase target("gui_failed");
  ChooseSource(source.path());
  ChooseTarget(target.Path());
  form.boxGrupo->setChecked(true);
  Convert();
  ASSERT_EQ(boxes().size(), 1u);
  const UString prefix = u"Ocorreu um erro durante a conversão! Motivo: ";
  EXPECT_EQ(boxes()[0].kind, MsgKind::Error);
  EXPECT_EQ(boxes()[0].text.substr(0, prefix.size()), prefix);
  EXPECT_TRUE(AllEnabled());
  EXPECT_EQ(form.barra->Position(), 0);
  EXPECT_EQ(form.barra->Max(), 0);
  EXPECT_EQ(form.barra->text(), "0%");

  // The operator supplies the table and tries again.
  WriteGroups(source, {{"001", "Ferramentas"}});
  Convert();
  ASSERT_EQ(boxes().size(), 2u);
  EXPECT_EQ(boxes()[1].text, kSucesso);
  form.dbNorvale.Close();
  EXPECT_EQ(Count(target, "GRUPROD"), 1);
}

TEST_F(RunTest, OnlyTheTickedKindsAreHandedToTheRun) {
  if (!TClassesConversaoController::Disponivel(u"FABRICANTE")) GTEST_SKIP() << "manufacturers not built yet";
  // Only these two tables exist: any other kind selected would fail the run.
  TempDir source("gui_selection");
  WriteGroups(source, {{"001", "Ferramentas"}, {"002", "Tintas"}});
  WriteTable(source.file("FABRICA.DBF"), "CODIGO C(7); RAZAOSOC C(40)", {{"12", "Tramontina S.A."}});
  TestDatabase target("gui_selection");
  ChooseSource(source.path());
  ChooseTarget(target.Path());
  form.boxFabricante->setChecked(true);
  form.boxGrupo->setChecked(true);
  std::vector<UString> captions;
  services().onProcess = [&] { captions.push_back(form.lblProgresso->Caption()); };
  Convert();
  ASSERT_EQ(boxes().size(), 1u);
  EXPECT_EQ(boxes()[0].text, kSucesso);
  ASSERT_EQ(captions.size(), 3u);
  EXPECT_EQ(captions[0].substr(0, 20), u"Convertendo Grupos d");
  EXPECT_EQ(captions[2].substr(0, 24), u"Convertendo Fabricantes ");
  form.dbNorvale.Close();
  EXPECT_EQ(Count(target, "GRUPROD"), 2);
  EXPECT_EQ(Count(target, "CADFABR"), 1);
}

TEST_F(RunTest, ASecondRunGoesIntoAnotherChosenFile) {
  TempDir source("gui_two_files");
  WriteGroups(source, {{"001", "Ferramentas"}, {"002", "Tintas"}});
  TestDatabase first("gui_first");
  TestDatabase second("gui_second");
  ChooseSource(source.path());
  ChooseTarget(first.Path());
  form.boxGrupo->setChecked(true);
  Convert();
  ASSERT_EQ(boxes().size(), 1u);
  EXPECT_EQ(boxes()[0].text, kSucesso);

  // The operator adds a group to the source and converts into another file.
  WriteGroups(source, {{"001", "Ferramentas"}, {"002", "Tintas"}, {"003", "Hidráulica"}});
  ChooseTarget(second.Path());
  Convert();
  ASSERT_EQ(boxes().size(), 2u) << LastText();
  EXPECT_EQ(boxes()[1].text, kSucesso);
  EXPECT_TRUE(services().errors.empty());
  EXPECT_EQ(form.dbNorvale.DatabaseName(), second.Name());
  EXPECT_TRUE(AllEnabled());

  form.dbNorvale.Close();
  EXPECT_EQ(Count(first, "GRUPROD"), 2);   // left as the first run wrote it
  EXPECT_EQ(Count(second, "GRUPROD"), 3);
}
