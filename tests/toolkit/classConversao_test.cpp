// TConversao's base against real embedded Norvale databases.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "tests/support/RecordingServices.h"
#include "tests/support/TestRun.h"
#include "platform/Error.h"
#include "platform/WindowServices.h"
#include "platform/firebird/Firebird.h"
#include "tests/support/TestDatabase.h"
#include "toolkit/classConversao.h"

namespace {

void Exec(fb::Database& db, const UString& sql) {
  fb::Query q(db);
  q.SetSQL(sql);
  q.ExecSQL();
}

long long Count(fb::Database& db, const UString& table) {
  fb::Query q(db);
  q.SetSQL(u"SELECT COUNT(*) AS N FROM " + table);
  q.Open();
  return q.FieldAsInteger(u"N");
}

class Conversao : public ::testing::Test {
 protected:
  void SetUp() override { tdb.Connect(db); }
  TestDatabase tdb{"conversao"};
  fb::Database db;
  TestRun run{db};
  RecordingServices& ui = run.ui;
};

}  // namespace

TEST_F(Conversao, TransactionOperationsOnTheConnectionsTransactionThatBothQueriesShare) {
  TConversao c(run.ctx);
  EXPECT_EQ(&c.cnBanco, &db);
  auto& tr = db.DefaultTransaction();
  // On an inactive transaction confirming and cancelling do nothing and do not fail.
  EXPECT_NO_THROW(c.PConfirmaTransacao(tr));
  EXPECT_NO_THROW(c.PCancelaTransacao(tr));
  EXPECT_FALSE(tr.InTransaction());
  c.PIniciaTransacao(tr);
  EXPECT_TRUE(tr.InTransaction());
  c.QDestino->SetSQL(u"INSERT INTO UNIDADES (UNIDADE) VALUES ('CX')");
  c.QDestino->ExecSQL();
  // Starting an active transaction neither restarts it nor fails.
  EXPECT_NO_THROW(c.PIniciaTransacao(tr));
  c.QAuxiliar->SetSQL(u"SELECT UNIDADE FROM UNIDADES");
  c.QAuxiliar->Open();
  EXPECT_EQ(c.QAuxiliar->FieldAsText(u"UNIDADE"), u"CX");  // the same transaction sees it
  c.QAuxiliar->Close();
  c.PCancelaTransacao(tr);
  EXPECT_FALSE(tr.InTransaction());
  EXPECT_EQ(Count(db, u"UNIDADES"), 0);

  // A COMMIT statement ends it; the next statement starts another.
  c.QDestino->SetSQL(u"INSERT INTO UNIDADES (UNIDADE) VALUES ('KG')");
  c.QDestino->ExecSQL();
  c.QDestino->SetSQL(u"COMMIT");
  c.QDestino->ExecSQL();
  EXPECT_FALSE(tr.InTransaction());
  c.QAuxiliar->SetSQL(u"SELECT COUNT(*) AS N FROM UNIDADES");
  c.QAuxiliar->Open();
  EXPECT_TRUE(tr.InTransaction());
  EXPECT_EQ(c.QAuxiliar->FieldAsInteger(u"N"), 1);
  c.QAuxiliar->Close();

  // Confirming ends it too; a rollback afterwards keeps what was committed.
  Exec(db, u"INSERT INTO UNIDADES (UNIDADE) VALUES ('PC')");
  c.PConfirmaTransacao(tr);
  EXPECT_FALSE(tr.InTransaction());
  Exec(db, u"INSERT INTO UNIDADES (UNIDADE) VALUES ('LT')");
  c.PCancelaTransacao(tr);
  EXPECT_EQ(Count(db, u"UNIDADES"), 2);
  EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(Conversao, LimpaTabelaDeletesInsideTheRunsTransaction) {
  Exec(db, u"INSERT INTO UNIDADES (UNIDADE) VALUES ('UN')");
  Exec(db, u"INSERT INTO UNIDADES (UNIDADE) VALUES ('CX')");
  Exec(db, u"COMMIT");
  TConversao c(run.ctx);
  auto& tr = db.DefaultTransaction();
  c.PIniciaTransacao(tr);
  Exec(db, u"INSERT INTO CIDADES (CODCIDADE, CIDADE, ESTADO) VALUES ('00001', 'BELO HORIZONTE', 'MG')");
  c.PLimpaTabela(u"unidades");  // the name goes in unchanged, not quoted
  EXPECT_TRUE(ui.boxes.empty());
  EXPECT_TRUE(tr.InTransaction());  // no commit
  EXPECT_EQ(Count(db, u"UNIDADES"), 0);
  c.PCancelaTransacao(tr);
  // The rollback undoes the deletion and what was written before it.
  EXPECT_EQ(Count(db, u"UNIDADES"), 2);
  EXPECT_EQ(Count(db, u"CIDADES"), 0);
  c.PLimpaTabela(u"UNIDADES");
  c.PConfirmaTransacao(tr);
  c.PCancelaTransacao(tr);
  EXPECT_EQ(Count(db, u"UNIDADES"), 0);
}

// The box names the table; the failure then reaches the caller, so that no converter
// writes its rows next to old ones it could not delete.
TEST_F(Conversao, LimpaTabelaOfAMissingTableShowsTheBoxAndFails) {
  // The database's own text for the same failure.
  std::string dbText;
  try {
    Exec(db, u"DELETE FROM NAOEXISTE");
  } catch (const EDatabaseError& e) {
    dbText = e.what();
  }
  ASSERT_FALSE(dbText.empty());
  auto& tr = db.DefaultTransaction();
  tr.Rollback();
  Exec(db, u"INSERT INTO UNIDADES (UNIDADE) VALUES ('UN')");
  TConversao c(run.ctx);
  EXPECT_THROW(c.PLimpaTabela(u"NAOEXISTE"), EDatabaseError);
  ASSERT_EQ(ui.boxes.size(), 1u);
  const RecordedBox& box = ui.boxes[0];
  EXPECT_EQ(box.kind, MsgKind::Error);
  EXPECT_EQ(box.buttons, MsgButtons::OK);
  EXPECT_EQ(UToUtf8(box.text),
            "Erro na Exclusão da tabela NAOEXISTE.\r" + dbText + "\rVerifique se a tabela está em Transação.");
  EXPECT_NE(dbText.find("Table unknown"), std::string::npos) << dbText;
  // The failed statement did not end the transaction nor undo earlier writes.
  EXPECT_TRUE(tr.InTransaction());
  EXPECT_EQ(Count(db, u"UNIDADES"), 1);
}

TEST_F(Conversao, LimpaTabelaOnAClosedConnectionShowsTheBoxAndFails) {
  db.Close();
  TConversao c(run.ctx);
  EXPECT_THROW(c.PLimpaTabela(u"UNIDADES"), EDatabaseError);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_NE(ui.boxes[0].text.find(u"not connected"), UString::npos);
}

TEST(StrZero, FillsNeverCutsNeverTrims) {
  // Counted in 16-bit code units: a character outside the BMP counts two.
  const std::tuple<const char16_t*, int, const char16_t*> cases[] = {
      {u"7", 3, u"007"}, {u"1234", 3, u"1234"}, {u"", 2, u"00"}, {u" 7", 3, u"0 7"}, {u"123", 3, u"123"},
      {u"5", 0, u"5"},   {u"5", -4, u"5"},      {u"", 0, u""},   {u"𝄞", 3, u"0𝄞"}, {u"ç", 2, u"0ç"}};
  for (const auto& [valor, qtd, esperado] : cases)
    EXPECT_EQ(TConversao::StrZero(valor, qtd), esperado) << UToUtf8(valor) << " " << qtd;
}
