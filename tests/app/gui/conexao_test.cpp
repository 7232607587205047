// The row of labelled commands: the inspection of the source folder in a dialog,
// and the connection dialog that points the runs at a file or at a Firebird server
// with a user and password of the operator's.
#include <cstdlib>

#include "GuiTest.h"
#include "app/Conexao.h"
#include "app/ExameJanela.h"
#include "platform/firebird/Firebird.h"
#include "tests/support/FirebirdServer.h"
#include "tests/support/TestDatabase.h"

namespace {

const QString kExemplos = QStringLiteral(CT_SOURCE_DIR "/examples/tolv");

class ConexaoTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    form.EscolhePastaOrigem = [] { return std::optional<QString>(kExemplos); };
  }
  void TearDown() override { form.dbNorvale.Close(); }
  // Opens the connection dialog and lets `preenche` fill it before OK.
  void Conecta(std::function<void(TConexaoDialog*)> preenche) {
    WhenModal<TConexaoDialog>([preenche](TConexaoDialog* d) {
      preenche(d);
      QTest::mouseClick(d->btnOK, Qt::LeftButton);
    });
    QTest::mouseClick(form.btnConexao, Qt::LeftButton);
  }
};

// Restores an environment variable when the test ends.
struct Ambiente {
  const char* nome;
  std::optional<std::string> antes;
  explicit Ambiente(const char* n) : nome(n) {
    if (const char* v = std::getenv(n)) antes = v;
  }
  ~Ambiente() {
    if (antes)
      setenv(nome, antes->c_str(), 1);
    else
      unsetenv(nome);
  }
};

}  // namespace

// With no folder chosen, the inspection asks for one, then lists every table the
// converters read, with what the console says of each.
TEST_F(ConexaoTest, TheInspectionAsksForTheFolderAndListsItsTables) {
  QString texto, titulo;
  WhenModal<TExameDialog>([&](TExameDialog* d) {
    titulo = d->windowTitle();
    texto = d->memoExame->toPlainText();
    EXPECT_TRUE(d->memoExame->isReadOnly());
    EXPECT_LE(d->width(), 1024);
    EXPECT_LE(d->height(), 768);
    QTest::mouseClick(d->btnFechar, Qt::LeftButton);
  });
  QTest::mouseClick(form.btnExaminar, Qt::LeftButton);
  EXPECT_EQ(form.edtOrigem->text(), kExemplos);
  EXPECT_EQ(titulo, "Exame da pasta de origem");
  for (const char* tabela : {"CLIENTES (", "FORNEC (", "GRUPO (", "SUBGRUPO (", "PR (", "FABRICA (", "CR (", "ContPag ("})
    EXPECT_TRUE(texto.contains(QString::fromUtf8("\n  ") + tabela)) << tabela << "\n" << texto.toStdString();
  EXPECT_TRUE(texto.contains("registros: ")) << texto.toStdString();
  EXPECT_TRUE(texto.contains("Resultado: toda tabela encontrada foi lida por inteiro.")) << texto.toStdString();
  EXPECT_TRUE(boxes().empty());
  EXPECT_TRUE(form.edtDestino->text().isEmpty());  // no database needed
}

// A server given in the dialog is kept as "host/port:path"; the run attaches with the
// user and password given there: a wrong one is refused, the right one writes.
TEST_F(ConexaoTest, ARunThroughAServerGivenInTheDialogWritesTheRows) {
  FirebirdServer server;
  if (!server.Running()) GTEST_SKIP() << server.Why();
  TestDatabase alvo("gui_servidor");
  QTest::mouseClick(form.imgAbrirOrigem, Qt::LeftButton);
  form.boxGrupo->setChecked(true);

  Conecta([&](TConexaoDialog* d) {
    d->rbServidor->setChecked(true);
    d->edtServidor->setText("localhost");
    d->edtPorta->setText(QString::number(server.Port()));
    d->edtCaminho->setText(QString::fromStdString(alvo.Path()));
    d->edtSenha->setText("errada");
    EXPECT_EQ(d->edtSenha->echoMode(), QLineEdit::Password);
  });
  EXPECT_EQ(form.edtDestino->text().toStdString(), server.Name(alvo.Path()));
  QTest::mouseClick(form.imgConverter, Qt::LeftButton);
  ASSERT_EQ(boxes().size(), 1u);
  EXPECT_EQ(boxes()[0].text.rfind(u"Não foi possível conectar ao banco de dados Norvale\rMotivo: O usuário ou a senha", 0),
            0u);

  // Opened again, the dialog shows the server's parts; only the password changes,
  // and the dialog's own test says the server answers.
  Conecta([&](TConexaoDialog* d) {
    EXPECT_TRUE(d->rbServidor->isChecked());
    EXPECT_EQ(d->edtCaminho->text().toStdString(), alvo.Path());
    d->edtSenha->setText(TestDatabase::kPassword);
    QTest::mouseClick(d->btnTestar, Qt::LeftButton);
    EXPECT_EQ(boxes().back().kind, MsgKind::Information);
  });
  // The row's commands are off while the run goes on, like the others.
  int ligados = 0, vistos = 0;
  recording.onProcess = [&] {
    ++vistos;
    ligados += form.btnExaminar->isEnabled() + form.btnConexao->isEnabled();
  };
  QTest::mouseClick(form.imgConverter, Qt::LeftButton);
  EXPECT_EQ(boxes().back().text, u"Conversão concluída com sucesso!");
  EXPECT_GT(vistos, 0);
  EXPECT_EQ(ligados, 0);
  EXPECT_TRUE(form.btnExaminar->isEnabled() && form.btnConexao->isEnabled());

  fb::Database servido;
  servido.SetDatabaseName(Utf8ToU(server.Name(alvo.Path())));
  servido.SetUserName(u"SYSDBA");
  servido.SetPassword(Utf8ToU(TestDatabase::kPassword));
  servido.Open();
  fb::Query q(servido);
  q.SetSQL(u"SELECT COUNT(*) AS N FROM GRUPROD");
  q.Open();
  EXPECT_GT(q.FieldAsInteger(u"N"), 0);
}

// ISC_USER and ISC_PASSWORD stand for SYSDBA and the built-in password, as in every
// Firebird tool (empty ones count as not set); a file chosen in the dialog becomes
// the target with the user and password shown there.
TEST_F(ConexaoTest, TheDialogStartsFromTheEnvironmentAndTakesAFile) {
  Ambiente usuario("ISC_USER"), senha("ISC_PASSWORD");
  setenv("ISC_USER", "", 1);
  unsetenv("ISC_PASSWORD");
  EXPECT_EQ(CredenciaisPadrao().usuario, u"SYSDBA");
  EXPECT_EQ(CredenciaisPadrao().senha, u"ferncrest");

  setenv("ISC_USER", "OPERADOR", 1);
  setenv("ISC_PASSWORD", "segredo", 1);
  TForm1 outra(recording);
  outra.EscolheArquivoNorvale = [] { return std::optional<QString>("/dados/norvale/LOJA.fb"); };
  WhenModal<TConexaoDialog>([](TConexaoDialog* d) {
    EXPECT_EQ(d->windowTitle(), "Conexão com o banco Norvale");
    EXPECT_EQ(d->edtUsuario->text(), "OPERADOR");
    EXPECT_EQ(d->edtSenha->text(), "segredo");
    EXPECT_TRUE(d->rbArquivo->isChecked());
    QTest::mouseClick(d->btnProcurar, Qt::LeftButton);
    EXPECT_EQ(d->edtArquivo->text(), "/dados/norvale/LOJA.fb");
    QTest::mouseClick(d->btnOK, Qt::LeftButton);
  });
  QTest::mouseClick(outra.btnConexao, Qt::LeftButton);
  EXPECT_EQ(outra.edtDestino->text(), "/dados/norvale/LOJA.fb");
  EXPECT_EQ(outra.CredenciaisNorvale().usuario, u"OPERADOR");
  EXPECT_EQ(outra.CredenciaisNorvale().senha, u"segredo");
  EXPECT_TRUE(boxes().empty());
}
