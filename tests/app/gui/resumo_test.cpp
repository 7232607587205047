// The summary after a run from the window: the rows not written in one scrolling
// list instead of boxes, the trial run that keeps nothing, and the report saved
// from it, which is the console's --relatorio file for the same run.
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>

#include "GuiTest.h"
#include "tests/support/CliRun.h"
#include "tests/support/DbfFixture.h"
#include "tests/support/Files.h"
#include "tests/support/LegacyFolder.h"
#include "tests/support/TargetDump.h"
#include "tests/support/TestDatabase.h"

namespace {

using D = ResultadoConversao::Desfecho;

class ResumoTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    Caminhos(source.path(), target.Path());
    // Each summary is kept, and `olha` sees the dialog itself while it is up.
    form.MostraResumo = [this](Resumo& r) {
      vistos.push_back(r.Resultado());
      if (olha) olha(r);
    };
  }
  void TearDown() override { form.dbNorvale.Close(); }
  void Convert() { QTest::mouseClick(form.imgConverter, Qt::LeftButton); }
  void Write(const std::string& file, const std::string& fields, const std::vector<std::vector<std::string>>& rows) {
    DbfTable t;
    t.path = source.file(file);
    t.fields = fields;
    t.rows = rows;
    WriteDbf(t);
  }

  TempDir source{"gui_resumo"};
  TestDatabase target{"gui_resumo"};
  std::vector<ResultadoConversao> vistos;
  std::function<void(Resumo&)> olha;
};

}  // namespace

// The example folder, every kind: the summary lists its 4 skipped rows; a trial run
// over the converted target leaves it exactly as it was and says nothing was kept;
// the report saved from the summary is byte for byte the console's.
TEST_F(ResumoTest, ExampleFolderThenATrialThatKeepsNothingAndTheSavedReportIsTheConsoles) {
  CopyFolder(std::string(CT_SOURCE_DIR) + "/examples/tolv", source.path());
  services().answers = {MsgResult::No};  // products keep their legacy codes, as the console's do
  for (QCheckBox* c : form.findChildren<QCheckBox*>())
    if (c != form.boxSimular) c->setChecked(true);

  TempDir out("gui_resumo_out");
  const std::string janela = out.file("janela.csv");
  olha = [&](Resumo& r) {
    EXPECT_TRUE(r.btnSalvar->isEnabled());
    r.EscolheArquivoRelatorio = [&] { return QString::fromStdString(janela); };
    QTest::mouseClick(r.btnSalvar, Qt::LeftButton);
  };
  Convert();
  ASSERT_EQ(vistos.size(), 1u);
  EXPECT_EQ(vistos[0].desfecho, D::Gravada);
  std::size_t ignorados = 0;
  for (const LinhaNaoGravada& l : vistos[0].linhas) ignorados += l.desfecho == RunReport::Outcome::Skipped;
  EXPECT_EQ(ignorados, 4u);
  EXPECT_EQ(vistos[0].linhas.size(), 4u);
  EXPECT_EQ(vistos[0].report.Kinds().size(), 8u);

  // The console, same folder, same kinds, into a target of its own.
  const std::string console = out.file("console.csv");
  const CliResult cli = RunCliProgram("--origem " + source.path() + " --destino " + FreshDatabase("gui_resumo_cli") +
                                          " --relatorio " + console + " todos",
                                      out);
  ASSERT_EQ(cli.status, 0) << cli.out << cli.err;
  EXPECT_EQ(Slurp(janela), Slurp(console));
  EXPECT_NE(Slurp(console).find("Conferência com a origem"), std::string::npos);

  // A trial over what the run wrote: the plan is not asked, the summary says nothing
  // was kept, and the target is exactly as it was.
  const std::string before = DumpTables(target.Path());
  const std::size_t boxesBefore = boxes().size();
  olha = nullptr;
  form.boxSimular->setChecked(true);
  Convert();
  ASSERT_EQ(vistos.size(), 2u);
  EXPECT_EQ(vistos[1].desfecho, D::Simulada);
  EXPECT_EQ(vistos[1].linhas.size(), 4u);
  for (std::size_t i = boxesBefore; i < boxes().size(); ++i)
    EXPECT_FALSE(Has(boxes()[i].text, u"Confirma a conversão?"));
  EXPECT_EQ(DumpTables(target.Path()), before);

  // The check after the fact: a clean target reconciles; after a price is changed
  // behind the converter's back it names the difference. Neither writes anything.
  form.boxSimular->setChecked(false);
  QTest::mouseClick(form.btnConferir, Qt::LeftButton);
  ASSERT_EQ(vistos.size(), 3u);
  EXPECT_EQ(vistos[2].desfecho, D::Conferida);
  for (const KindReport& k : vistos[2].report.Kinds())
    for (const LinhaConferencia& l : k.conferencia) EXPECT_TRUE(l.confere) << UToUtf8(l.figura);
  form.dbNorvale.Close();
  target.Isql("UPDATE PRODUTO SET PRECO = PRECO + 1 WHERE CODPROD = (SELECT MIN(CODPROD) FROM PRODUTO);\nCOMMIT;\n");
  const std::string edited = DumpTables(target.Path());
  QString situacao;
  olha = [&](Resumo& r) { situacao = r.lblSituacao->text(); };
  QTest::mouseClick(form.btnConferir, Qt::LeftButton);
  ASSERT_EQ(vistos.size(), 4u);
  EXPECT_TRUE(situacao.contains(QStringLiteral("há diferenças"))) << situacao.toStdString();
  bool naoConfere = false;
  for (const KindReport& k : vistos[3].report.Kinds())
    for (const LinhaConferencia& l : k.conferencia) naoConfere = naoConfere || !l.confere;
  EXPECT_TRUE(naoConfere);
  EXPECT_EQ(DumpTables(target.Path()), edited);
}

// 33 customers the target refuses (a code repeated once zero-filled) and a repeated
// manufacturer code: no box for a row and no tall list of refusals, one scrolling
// list in a summary that fits the screen.
TEST_F(ResumoTest, RefusedRowsGoToOneScrollingListAndNoBoxOfTheirOwn) {
  std::vector<std::vector<std::string>> clientes;
  for (int i = 1; i <= 33; ++i)
    for (const std::string& codigo : {std::to_string(i), "0" + std::to_string(i)}) {
      std::vector<std::string> linha(22, "");
      linha[0] = codigo;
      linha[3] = "Cliente " + codigo;
      clientes.push_back(linha);
    }
  Write("CLIENTES.DBF",
        "CODIGO C(8); DATA_ANI D; DATA_CAD D; RAZAOSOC C(60); FANTASIA C(40); FILIACAO C(60); ENDERECO C(50); "
        "BAIRRO C(30); CIDADE C(30); ESTADO C(2); CEP C(10); CGC C(18); INSC C(18); TELEFONE1 C(15); FAX C(15); "
        "CONTATO C(30); CELULAR C(16); OBS1 C(60); REFERE C(60); SPC1 C(40); SPC2 C(40); LOCAL_TRAB C(40)",
        clientes);
  Write("FABRICA.DBF", "CODIGO C(7); RAZAOSOC C(40)", {{"12", "Tramontina"}, {"0001234", "Repetido"}, {"7", "Vonder"}});
  form.boxCliente->setChecked(true);
  form.boxFabricante->setChecked(true);

  olha = [&](Resumo& r) {
    r.show();
    QCoreApplication::processEvents();
    EXPECT_LE(r.width(), 900);
    EXPECT_LE(r.height(), 650);
    EXPECT_EQ(r.tabLinhas->model()->rowCount(), 34);
    EXPECT_TRUE(r.tabLinhas->verticalScrollBar()->isVisible());
    EXPECT_TRUE(r.lblSituacao->text().contains(QStringLiteral("gravada")));
    r.close();
  };
  Convert();
  ASSERT_EQ(vistos.size(), 1u);
  EXPECT_EQ(vistos[0].desfecho, D::Gravada);
  std::size_t recusados = 0;
  for (const LinhaNaoGravada& l : vistos[0].linhas) recusados += l.desfecho == RunReport::Outcome::Rejected;
  EXPECT_EQ(recusados, 34u);
  EXPECT_EQ(vistos[0].linhas.back().nota.derived, u"00012");
  // The plan, then the run's own box, and nothing else.
  ASSERT_EQ(boxes().size(), 2u) << UToUtf8(boxes().back().text);
  EXPECT_EQ(boxes()[1].text, u"Conversão concluída com sucesso!");
  form.dbNorvale.Close();
  EXPECT_EQ(CommittedRows(target.Path(), "SELECT COUNT(*) FROM CLIENTE"), std::vector<std::string>{"33"});
}
