// A run from the window while another connection holds uncommitted changes on a
// table the run empties: the window says at once who is in the way and what to do,
// gives its commands back, and the target is as before once the other user gives up.
#include <chrono>

#include "GuiTest.h"
#include "platform/firebird/Firebird.h"
#include "tests/support/DbfFixture.h"
#include "tests/support/TargetDump.h"
#include "tests/support/TestDatabase.h"

namespace {

struct Locked {
  const char* table;       // target table the other connection holds a change on
  const char* file;        // legacy table of the kind that empties it
  const char* fields;
  QCheckBox* TForm1::*box;
  const char16_t* kind;    // as the run names it
};

class LockTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    Caminhos(source.path(), target.Path(), false);
  }
  void TearDown() override { form.dbNorvale.Close(); }
  TempDir source{"gui_lock"};
  TestDatabase target{"gui_lock"};
};

TEST_F(LockTest, ATableAnotherUserHoldsStopsTheRunAtOnceWithTheReason) {
  const Locked cases[] = {
      {"GRUPROD", "GRUPO.DBF", "CODIGO C(4); DESCRICAO C(50)", &TForm1::boxGrupo, u"Grupos de produtos"},
      {"CADFABR", "FABRICA.DBF", "CODIGO C(7); RAZAOSOC C(40)", &TForm1::boxFabricante, u"Fabricantes"},
  };
  {
    fb::Database seed;
    target.Connect(seed);
    fb::Query q(seed);
    for (const char16_t* sql : {u"INSERT INTO GRUPROD (CODGRUPO, DESCRICAO) VALUES ('001', 'Antigo')",
                                u"INSERT INTO CADFABR (CODFABRIC, DESCRICAO) VALUES ('00001', 'Antigo')"}) {
      q.SetSQL(sql);
      q.ExecSQL();
    }
    seed.DefaultTransaction().Commit();
  }
  QTest::mouseClick(form.imgAbrirOrigem, Qt::LeftButton);
  QTest::mouseClick(form.imgAbrirNorvale, Qt::LeftButton);

  for (const Locked& c : cases) {
    SCOPED_TRACE(c.table);
    DbfTable t;
    t.path = source.file(c.file);
    t.fields = c.fields;
    t.rows = {{"2", "Novo"}, {"3", "Outro"}};
    WriteDbf(t);
    form.dbNorvale.Close();
    const std::string before = DumpTables(target.Path());

    // Another user of the same file (embedded: a second connection of this process).
    fb::Database other;
    target.Connect(other);
    fb::Query change(other);
    change.SetSQL(u"UPDATE " + Utf8ToU(c.table) + u" SET DESCRICAO = 'Mexendo'");
    change.ExecSQL();

    for (QCheckBox* b : {form.boxCliente, form.boxFornecedor, form.boxGrupo, form.boxSubGrupo, form.boxProduto,
                         form.boxReceber, form.boxPagar, form.boxFabricante})
      b->setChecked(false);
    (form.*c.box)->setChecked(true);
    services().boxes.clear();
    const auto started = std::chrono::steady_clock::now();
    QTest::mouseClick(form.imgConverter, Qt::LeftButton);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));

    ASSERT_FALSE(boxes().empty());
    const RecordedBox& last = boxes().back();
    EXPECT_EQ(last.kind, MsgKind::Error);
    const UString expected = u"Ocorreu um erro durante a conversão! Motivo: Outro usuário ou programa tem alterações "
                             u"ainda não confirmadas numa tabela que a conversão de " +
                             UString(c.kind) + u" precisa esvaziar ou gravar.";
    EXPECT_EQ(last.text.substr(0, expected.size()), expected) << UToUtf8(last.text);
    EXPECT_NE(last.text.find(u"update conflicts with concurrent update"), UString::npos);
    for (const RecordedBox& b : boxes()) EXPECT_NE(b.text, u"Conversão concluída com sucesso!");
    EXPECT_TRUE(form.pnlConverter->isEnabled());

    other.DefaultTransaction().Rollback();
    other.Close();
    form.dbNorvale.Close();
    EXPECT_EQ(DumpTables(target.Path()), before);
  }
}

}  // namespace
