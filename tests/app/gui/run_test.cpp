// Runs started from the window into real Firebird files, from real dBase folders.
#include "GuiTest.h"
#include "platform/firebird/Firebird.h"
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

// The rows of `table` as a separate reader sees them.
long long Count(const TestDatabase& db, const std::string& table) {
  const std::string out = db.Isql("SELECT 'N=' || COUNT(*) FROM " + table + ";");
  const std::size_t at = out.find("N=");
  return at == std::string::npos ? -1 : std::stoll(out.substr(at + 2));
}

const UString kSucesso = u"Conversão concluída com sucesso!";
using Texts = std::vector<UString>;

bool IsPlan(const RecordedBox& b) { return b.text.rfind(u"Plano da conversão", 0) == 0; }

class RunTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    form.EscolhePastaOrigem = [this] { return pasta; };
    form.EscolheArquivoNorvale = [this] { return arquivo; };
    form.boxGrupo->setChecked(true);
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
  // The boxes shown, less the plan each run asks the operator to confirm.
  Texts RunBoxes() {
    Texts texts;
    for (const RecordedBox& b : boxes())
      if (!IsPlan(b)) texts.push_back(b.text);
    return texts;
  }
  // Whether every command a run disables is in the state `on`.
  bool CommandsAre(bool on) {
    for (QWidget* w : std::initializer_list<QWidget*>{
             form.pnlAbrirOrigem, form.pnlAbrirNorvale, form.pnlConverter, form.pnlSair, form.boxCliente,
             form.boxProduto, form.boxFornecedor, form.boxSubGrupo, form.boxGrupo, form.boxFabricante,
             form.boxReceber, form.boxPagar})
      if (w->isEnabled() != on) return false;
    return true;
  }

  std::optional<QString> pasta, arquivo;
};

}  // namespace

// The target is opened first, then the source path is checked, then the run goes;
// whichever step fails, the operator is told and may try again.
TEST_F(RunTest, TargetThenSourceThenTheRunAndEachFailureGivesTheCommandsBack) {
  TempDir source("gui_checks");  // no GRUPO table in it yet
  ChooseTarget(source.file("nao/existe.fb"));
  Convert();
  ASSERT_EQ(boxes().size(), 1u);
  const UString prefix = u"Não foi possível conectar ao banco de dados Norvale\rMotivo: ";
  EXPECT_EQ(boxes()[0].text.substr(0, prefix.size()), prefix);
  EXPECT_GT(boxes()[0].text.size(), prefix.size());  // the database's own reason follows
  EXPECT_FALSE(form.dbNorvale.Connected());

  TestDatabase target("gui_checks");
  ChooseTarget(target.Path());
  Convert();
  ASSERT_EQ(boxes().size(), 2u);
  EXPECT_EQ(boxes()[1].kind, MsgKind::Error);
  EXPECT_EQ(boxes()[1].text, u"Caminho para o banco de dados de origem não pode ficar em branco.");
  EXPECT_FALSE(form.dbNorvale.Connected());  // let go at once
  EXPECT_EQ(services().processCount, 0);
  EXPECT_TRUE(CommandsAre(true));

  ChooseSource(source.path());
  Convert();
  ASSERT_EQ(boxes().size(), 3u);
  const UString failed = u"Ocorreu um erro durante a conversão! Motivo: ";
  EXPECT_EQ(boxes()[2].kind, MsgKind::Error);
  EXPECT_EQ(boxes()[2].text.substr(0, failed.size()), failed);
  EXPECT_TRUE(CommandsAre(true));
  EXPECT_EQ(form.barra->Position(), 0);
  EXPECT_EQ(form.barra->Max(), 0);
  EXPECT_EQ(form.barra->text(), "0%");

  // The operator supplies the table and tries again: the plan, then the run.
  WriteGroups(source, {{"001", "Ferramentas"}});
  Convert();
  ASSERT_EQ(boxes().size(), 5u);
  EXPECT_TRUE(IsPlan(boxes()[3]));
  EXPECT_EQ(boxes()[4].text, kSucesso);
  EXPECT_EQ(Count(target, "GRUPROD"), 1);
}

TEST_F(RunTest, GroupsConvertedFromTheWindowWithTheCommandsDisabledMeanwhileThenIntoAnotherFile) {
  TempDir source("gui_groups");
  WriteGroups(source, {{"001", "Ferramentas"}, {"002", "Material Elétrico"}, {"003", "Tintas"}});
  TestDatabase first("gui_first"), second("gui_second");
  ChooseSource(source.path());
  ChooseTarget(first.Path());

  // Checked at every step of the run.
  std::vector<UString> captions;
  services().onProcess = [&] {
    EXPECT_TRUE(CommandsAre(false));
    EXPECT_TRUE(form.cmbEmpresa->isEnabled());
    captions.push_back(form.lblProgresso->Caption());
    QCoreApplication::processEvents();  // what the window does at this point
    EXPECT_EQ(form.lblProgresso->text(), Q(form.lblProgresso->Caption()));
    EXPECT_EQ(form.barra->Max(), 3);
    // Neither a click, nor the handler itself, nor closing the window gets through.
    const std::size_t before = services().boxes.size();
    QTest::mouseClick(form.imgConverter, Qt::LeftButton);
    form.imgConverterClick();
    EXPECT_EQ(services().boxes.size(), before);
    services().answers = {MsgResult::No};  // "Cancelar a conversão?"
    EXPECT_FALSE(form.close());
    EXPECT_TRUE(form.isVisible());
  };

  // Started from the keyboard: Tab onto the panel, Enter.
  form.pnlSair->setFocus(Qt::TabFocusReason);
  QTest::keyClick(form.pnlSair, Qt::Key_Backtab);
  ASSERT_EQ(QApplication::focusWidget(), form.pnlConverter);
  QTest::keyClick(form.pnlConverter, Qt::Key_Return);

  const UString cancelar = u"Cancelar a conversão?";  // asked at each close, answered No
  ASSERT_EQ(RunBoxes(), (Texts{cancelar, cancelar, cancelar, kSucesso}));
  EXPECT_EQ(boxes().back().kind, MsgKind::Information);
  EXPECT_EQ(services().processCount, 3);
  ASSERT_EQ(captions.size(), 3u);
  EXPECT_EQ(captions[2], u"Convertendo Grupos de produtos - Registro 3 de 3");

  // After the run: commands back, focus back on the command, display cleared.
  EXPECT_TRUE(CommandsAre(true));
  EXPECT_EQ(QApplication::focusWidget(), form.pnlConverter);
  QCoreApplication::processEvents();
  EXPECT_EQ(form.lblProgresso->text(), "");
  EXPECT_EQ(form.barra->Position(), 0);
  EXPECT_EQ(form.barra->text(), "0%");
  EXPECT_TRUE(form.isVisible());
  EXPECT_FALSE(form.dbNorvale.Connected());

  // Again into the same file: the groups replaced.
  services().onProcess = nullptr;
  Convert();
  // The operator adds a group to the source and converts into another file.
  WriteGroups(source, {{"001", "Ferramentas"}, {"002", "Tintas"}, {"003", "Hidráulica"}, {"004", "Jardim"}});
  ChooseTarget(second.Path());
  Convert();
  EXPECT_EQ(RunBoxes(), (Texts{cancelar, cancelar, cancelar, kSucesso, kSucesso, kSucesso}));
  EXPECT_TRUE(services().errors.empty());
  EXPECT_EQ(form.dbNorvale.DatabaseName(), second.Name());
  EXPECT_TRUE(CommandsAre(true));

  form.dbNorvale.Close();
  EXPECT_EQ(Count(first, "GRUPROD"), 3);  // left as the runs into it wrote it
  EXPECT_EQ(Count(second, "GRUPROD"), 4);
  const std::string rows = first.Isql("SELECT CODGRUPO, DESCRICAO FROM GRUPROD ORDER BY CODGRUPO;");
  EXPECT_NE(rows.find("Material Elétrico"), std::string::npos) << rows;
}

TEST_F(RunTest, OnlyTheTickedKindsAreHandedToTheRun) {
  // Only these two tables exist: any other kind selected would fail the run.
  TempDir source("gui_selection");
  WriteGroups(source, {{"001", "Ferramentas"}, {"002", "Tintas"}});
  WriteTable(source.file("FABRICA.DBF"), "CODIGO C(7); RAZAOSOC C(40)", {{"12", "Tramontina S.A."}});
  TestDatabase target("gui_selection");
  ChooseSource(source.path());
  ChooseTarget(target.Path());
  form.boxFabricante->setChecked(true);
  std::vector<UString> captions;
  services().onProcess = [&] { captions.push_back(form.lblProgresso->Caption()); };
  Convert();
  EXPECT_EQ(RunBoxes(), Texts{kSucesso});
  ASSERT_EQ(captions.size(), 3u);
  EXPECT_EQ(captions[0].substr(0, 20), u"Convertendo Grupos d");
  EXPECT_EQ(captions[2].substr(0, 24), u"Convertendo Fabricantes ");
  form.dbNorvale.Close();
  EXPECT_EQ(Count(target, "GRUPROD"), 2);
  EXPECT_EQ(Count(target, "CADFABR"), 1);
}

// Products go through the window with the company chosen and the code question
// answered: Yes numbers them, No keeps the legacy codes.
TEST_F(RunTest, ProductsOfTheChosenCompanyAsTheCodeQuestionWasAnswered) {
  TempDir source("gui_produtos");
  WriteTable(source.file("PR.DBF"),
             "CODITEM C(10); GRUPO C(5); SUBGRUPO C(5); DESCRICAO C(50); UNIDADE C(8); ESTMIN N(10,3); "
             "PVENDA N(12,2); COMISSAO N(6,2); CUSTOATUAL N(12,4); CUSTOMEDIO N(12,4); C_FISCAL C(2); EMPRESA C(2); "
             "CODFAB C(5)",
             {{"X000123", "00001", "00001", "Loja dois X", "UN", "", "", "", "", "", "", "02", ""},
              {"A1", "00001", "00001", "Loja um", "UN", "", "", "", "", "", "", "01", ""},
              {"B7", "00001", "00001", "Loja dois B", "UN", "", "", "", "", "", "", "02", ""}});
  TestDatabase target("gui_produtos");
  ChooseSource(source.path());
  ChooseTarget(target.Path());
  form.boxGrupo->setChecked(false);
  form.cmbEmpresa->setCurrentText(QStringLiteral("02"));

  const std::pair<MsgResult, std::string> cases[] = {
      {MsgResult::Yes, "000001=Loja dois B;000002=Loja dois X;"},
      {MsgResult::No, "0000B7=Loja dois B;000123=Loja dois X;"}};
  for (const auto& [answer, expected] : cases) {
    services().answers = {answer};
    form.boxProduto->setChecked(true);
    Convert();
    form.boxProduto->setChecked(false);
    EXPECT_EQ(boxes().back().text, kSucesso);
    form.dbNorvale.Close();
    const std::string out =
        target.Isql("SELECT 'R=' || CODPROD || '=' || DESCRICAO || ';' FROM PRODUTO ORDER BY CODPROD;");
    std::string rows;
    for (std::size_t at = out.find("R="); at != std::string::npos; at = out.find("R=", at + 2))
      rows += out.substr(at + 2, out.find(';', at) - at - 1);
    EXPECT_EQ(rows, expected);
  }
}
