// What the window does around a run so that nothing is deleted, doubled or held
// without the operator knowing: the plan to confirm, the repeated documents, the
// Cancel command, nothing ticked, and the target let go after every run.
#include "GuiTest.h"
#include "tests/support/DbfFixture.h"
#include "tests/support/LegacyFolder.h"
#include "tests/support/TargetDump.h"
#include "tests/support/TestDatabase.h"

namespace {

const UString kInterrompida = u"Conversão interrompida pelo usuário; nada foi gravado.";

long long Count(const TestDatabase& db, const std::string& table) {
  const std::string out = db.Isql("SELECT 'N=' || COUNT(*) FROM " + table + ";");
  const std::size_t at = out.find("N=");
  return at == std::string::npos ? -1 : std::stoll(out.substr(at + 2));
}

class SegurancaTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    Caminhos(source.path(), target.Path());
  }
  void TearDown() override { form.dbNorvale.Close(); }
  void Convert() { QTest::mouseClick(form.imgConverter, Qt::LeftButton); }
  void WriteGroups(int rows) {
    DbfTable t;
    t.path = source.file("GRUPO.DBF");
    t.fields = "CODIGO C(4); DESCRICAO C(50)";
    for (int i = 1; i <= rows; ++i) t.rows.push_back({std::to_string(i), "Grupo " + std::to_string(i)});
    WriteDbf(t);
  }
  TempDir source{"gui_seguranca"};
  TestDatabase target{"gui_seguranca"};
};

TEST_F(SegurancaTest, NothingTickedStartsNothing) {
  Convert();
  ASSERT_EQ(BoxTexts(), std::vector<UString>{u"Marque ao menos um tipo de dado para converter."});
  EXPECT_EQ(boxes()[0].kind, MsgKind::Warning);
  EXPECT_FALSE(form.dbNorvale.Connected());
  EXPECT_EQ(services().processCount, 0);
}

// Convert pressed twice over the same receivables and payables: the second plan
// says the documents are there already and Enter answers No; answered Yes, the rows
// are added as always and a warning says how many repeat. After each run the file
// is free for another program at once.
TEST_F(SegurancaTest, DocumentsConvertedTwiceAreToldBeforeAndAfterAndTheFileIsLetGo) {
  CopyFolder(std::string(CT_SOURCE_DIR) + "/examples/tolv", source.path());
  form.boxReceber->setChecked(true);
  form.boxPagar->setChecked(true);

  Convert();
  ASSERT_EQ(boxes().size(), 2u);
  EXPECT_EQ(boxes()[0].buttons, MsgButtons::YesNo);  // nothing deleted, nothing repeated
  EXPECT_EQ(boxes()[1].text, u"Conversão concluída com sucesso!");
  EXPECT_FALSE(form.dbNorvale.Connected());
  EXPECT_EQ(Count(target, "DOCUREC"), 4);  // another program opens the file with the window still up
  EXPECT_EQ(Count(target, "DOCUPAG"), 3);

  services().answers = {MsgResult::No};
  Convert();
  ASSERT_EQ(boxes().size(), 3u);
  EXPECT_EQ(boxes()[2].buttons, MsgButtons::YesNoPadraoNao);
  EXPECT_TRUE(Has(boxes()[2].text, u"7 documentos a converter já estão no banco de destino")) << UToUtf8(boxes()[2].text);
  EXPECT_EQ(Count(target, "DOCUREC"), 4);

  Convert();  // answered Yes
  ASSERT_EQ(boxes().size(), 6u);
  EXPECT_EQ(boxes()[4].text, u"Conversão concluída com sucesso!");
  EXPECT_EQ(boxes()[5].kind, MsgKind::Warning);
  EXPECT_TRUE(Has(boxes()[5].text, u"7 documentos convertidos são iguais")) << UToUtf8(boxes()[5].text);
  EXPECT_EQ(Count(target, "DOCUREC"), 8);
  EXPECT_EQ(Count(target, "DOCUPAG"), 6);
}

// A plan that deletes rows the target holds asks with No as the default; answered
// No, nothing changes. Cancel during the run, or closing the window, rolls all of
// it back and says so; the window then closes as asked.
TEST_F(SegurancaTest, DeletingAsksWithNoAsDefaultAndCancelOrCloseTakesTheRunBack) {
  WriteGroups(3);
  form.boxGrupo->setChecked(true);
  Convert();
  const std::string before = DumpTables(target.Path());

  WriteGroups(5);
  services().answers = {MsgResult::No};
  Convert();
  EXPECT_EQ(boxes().back().buttons, MsgButtons::YesNoPadraoNao);
  EXPECT_TRUE(Has(boxes().back().text, u"apaga 3 de GRUPROD")) << UToUtf8(boxes().back().text);
  EXPECT_EQ(DumpTables(target.Path()), before);

  services().onProcess = [&] {
    if (form.lblProgresso->Caption() != u"Convertendo Grupos de produtos - Registro 2 de 5") return;
    ASSERT_TRUE(form.btnCancelar->isVisible());
    QTest::mouseClick(form.btnCancelar, Qt::LeftButton);
  };
  Convert();
  EXPECT_EQ(BoxTexts().back(), kInterrompida);
  EXPECT_FALSE(form.btnCancelar->isVisible());
  EXPECT_EQ(DumpTables(target.Path()), before);

  services().onProcess = [&] {
    services().onProcess = nullptr;
    services().answers = {MsgResult::Yes};
    EXPECT_FALSE(form.close());
  };
  Convert();
  const std::size_t n = boxes().size();
  EXPECT_EQ(boxes()[n - 2].text, u"Cancelar a conversão?");
  EXPECT_EQ(boxes()[n - 1].text, kInterrompida);
  QCoreApplication::processEvents();
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(DumpTables(target.Path()), before);
}

}  // namespace
