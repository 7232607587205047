// The run controller and the product groups converter, on real dBase files into
// real Firebird files.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/dbase/DbfEngine.h"
#include "tests/support/RecordingServices.h"
#include "platform/StringList.h"
#include "platform/WindowServices.h"
#include "platform/firebird/Firebird.h"
#include "run/ClassesConversaoController.h"
#include "toolkit/RunReport.h"
#include "tests/support/DbfFixture.h"
#include "tests/support/TargetDump.h"
#include "tests/support/TestDatabase.h"

namespace {

// Keeps every change of the progress display, in order.
struct Log {
  std::vector<std::string> events;
};

class LoggingBar : public ProgressBar {
 public:
  explicit LoggingBar(Log& l) : log_(l) {}

 protected:
  void Changed() override {
    log_.events.push_back("bar " + std::to_string(Position()) + "/" + std::to_string(Max()));
  }

 private:
  Log& log_;
};

class LoggingLabel : public StatusLabel {
 public:
  explicit LoggingLabel(Log& l) : log_(l) {}

 protected:
  void Changed() override { log_.events.push_back("label " + UToUtf8(Caption())); }

 private:
  Log& log_;
};

TStringList Selection(std::map<std::string, std::string> values) {
  TStringList l;
  for (const char* k : {"CLIENTE", "FORNECEDOR", "GRUPO", "SUBGRUPO", "PRODUTO", "RECEBER", "PAGAR", "FABRICANTE"}) {
    auto it = values.find(k);
    if (it != values.end()) l.Add(Utf8ToU(std::string(k) + "=" + it->second));
  }
  return l;
}

class ControllerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dbPath_ = FreshDatabase("controller");
    ConnectTo(db_, dbPath_);
  }

  void WriteGrupo(std::vector<std::vector<std::string>> rows, std::vector<int> deleted = {}) {
    DbfTable t;
    t.path = src_.file("GRUPO.DBF");
    t.fields = "CODIGO C(4); DESCRICAO C(50)";
    t.codepage = "cp850";
    t.rows = std::move(rows);
    t.deleted = std::move(deleted);
    WriteDbf(t);
  }

  // Rows of a statement, each as "COL1|COL2|...", through a connection of its own so
  // it sees only what was committed.
  std::vector<std::string> Committed(const std::string& sql, const std::vector<std::string>& cols) {
    return CommittedRows(dbPath_, sql, cols);
  }

  void Exec(const std::u16string& sql) {
    fb::Query q(db_);
    q.SetSQL(sql);
    q.ExecSQL();
  }

  bool Run(const TStringList& sel, const UString& origem) {
    TClassesConversaoController c(ui_, engine_, report_);
    return c.FEfetuaConversao(sel, origem, db_, db_.DefaultTransaction(), bar_, label_, u"01", false);
  }
  bool Run(const TStringList& sel) { return Run(sel, Utf8ToU(src_.path())); }

  std::string dbPath_;
  fb::Database db_;
  TempDir src_{"controller-src"};
  Log log_;
  LoggingBar bar_{log_};
  LoggingLabel label_{log_};
  RecordingServices ui_;
  dbase::Engine engine_;
  RunReport report_;
};

TEST_F(ControllerTest, GroupsArriveNormalisedAndTheRunCommits) {
  WriteGrupo({{"5", "Ferragens"},
              {"12", "  Elétrica e Iluminação   "},
              {"123", "Ação"},
              {"0456", "Descrição com mais de trinta caracteres no total"},
              {"", "Sem código"},
              {"77", "    "},
              {"88", "Apagado"}},
             {6});
  ASSERT_TRUE(Run(Selection({{"GRUPO", "S"}})));
  EXPECT_FALSE(db_.DefaultTransaction().InTransaction());
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].kind, MsgKind::Information);
  EXPECT_EQ(ui_.boxes[0].text, u"Conversão concluída com sucesso!");

  EXPECT_EQ(Committed("SELECT CODGRUPO, DESCRICAO, DIASESTMAXIMO, DIASESTMINIMO FROM GRUPROD ORDER BY CODGRUPO",
                      {"CODGRUPO", "DESCRICAO", "DIASESTMAXIMO", "DIASESTMINIMO"}),
            (std::vector<std::string>{"000|Sem código|0|0", "005|Ferragens|0|0", "012|Elétrica e Iluminação|0|0",
                                      "123|Ação|0|0", "456|Descrição com mais de trinta c|0|0"}));

  const KindReport& k = report_.Kinds().at(0);
  EXPECT_EQ(k.read, 6);
  EXPECT_EQ(k.written, 5);
  EXPECT_EQ(k.skipped, 1);
}

TEST_F(ControllerTest, ProgressCountsEveryRowSkippedOnesIncluded) {
  WriteGrupo({{"1", "Um"}, {"2", ""}, {"3", "Três"}});
  int processed = 0;
  ui_.onProcess = [&] {
    ++processed;
    log_.events.push_back("process");
  };
  ASSERT_TRUE(Run(Selection({{"GRUPO", "S"}})));
  EXPECT_EQ(processed, 3);
  std::vector<std::string> expected = {
      "bar 0/100",  // the run starts at position 0
      "bar 0/3",
      "label Convertendo Grupos de produtos - Registro 1 de 3", "process", "bar 1/3",
      "label Convertendo Grupos de produtos - Registro 2 de 3", "process", "bar 2/3",
      "label Convertendo Grupos de produtos - Registro 3 de 3", "process", "bar 3/3",
      "label ", "bar 0/3", "bar 0/0",
      "bar 0/0",  // the controller's final reset
  };
  EXPECT_EQ(log_.events, expected);
}

TEST_F(ControllerTest, EmptySourceStillEmptiesTheTargetAndShowsNoProgressText) {
  Exec(u"INSERT INTO GRUPROD (CODGRUPO, DESCRICAO) VALUES ('001', 'Antigo')");
  db_.DefaultTransaction().Commit();
  WriteGrupo({});
  ASSERT_TRUE(Run(Selection({{"GRUPO", "S"}})));
  EXPECT_TRUE(Committed("SELECT CODGRUPO FROM GRUPROD", {"CODGRUPO"}).empty());
  for (const auto& e : log_.events) EXPECT_EQ(e.find("Registro"), std::string::npos) << e;
  EXPECT_EQ(bar_.Max(), 0);
  EXPECT_EQ(bar_.Position(), 0);
}

TEST_F(ControllerTest, OnlyAnExactCapitalSSelects) {
  Exec(u"INSERT INTO GRUPROD (CODGRUPO, DESCRICAO) VALUES ('001', 'Antigo')");
  db_.DefaultTransaction().Commit();
  WriteGrupo({{"9", "Novo"}});
  const std::vector<std::string> untouched = {"001"};

  for (const char* v : {"N", "s", "Sim", " S"}) {
    ui_.boxes.clear();
    EXPECT_TRUE(Run(Selection({{"GRUPO", v}}))) << v;
    EXPECT_EQ(Committed("SELECT CODGRUPO FROM GRUPROD", {"CODGRUPO"}), untouched) << v;
    ASSERT_EQ(ui_.boxes.size(), 1u);
    EXPECT_EQ(ui_.boxes[0].text, u"Conversão concluída com sucesso!");
  }
  // A missing key, and keys in another case.
  TStringList other;
  other.Add(u"OUTRO=S");
  EXPECT_TRUE(Run(other));
  EXPECT_EQ(Committed("SELECT CODGRUPO FROM GRUPROD", {"CODGRUPO"}), untouched);
  TStringList lower;
  lower.Add(u"grupo=S");
  EXPECT_TRUE(Run(lower));
  EXPECT_EQ(Committed("SELECT CODGRUPO FROM GRUPROD", {"CODGRUPO"}), (std::vector<std::string>{"009"}));
}

TEST_F(ControllerTest, AFailingRunLeavesTheTargetExactlyAsItWas) {
  Exec(u"INSERT INTO GRUPROD (CODGRUPO, DESCRICAO) VALUES ('001', 'Antigo')");
  Exec(u"INSERT INTO UNIDADES (UNIDADE) VALUES ('CX')");
  db_.DefaultTransaction().Commit();
  // 0101 and 1101 both become 101: the second insert breaks the key of GRUPROD.
  WriteGrupo({{"0101", "Primeiro"}, {"1101", "Segundo"}, {"5", "Nunca chega"}});

  EXPECT_FALSE(Run(Selection({{"GRUPO", "S"}})));
  EXPECT_FALSE(db_.DefaultTransaction().InTransaction());
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].kind, MsgKind::Error);
  const std::string text = UToUtf8(ui_.boxes[0].text);
  EXPECT_EQ(text.rfind("Ocorreu um erro durante a conversão! Motivo: ", 0), 0u) << text;
  EXPECT_NE(text.find("PK_GRUPROD"), std::string::npos) << text;  // the database's own words
  EXPECT_EQ(bar_.Position(), 0);
  EXPECT_EQ(bar_.Max(), 0);

  EXPECT_EQ(Committed("SELECT CODGRUPO, DESCRICAO FROM GRUPROD", {"CODGRUPO", "DESCRICAO"}),
            (std::vector<std::string>{"001|Antigo"}));
  EXPECT_EQ(Committed("SELECT UNIDADE FROM UNIDADES", {"UNIDADE"}), (std::vector<std::string>{"CX"}));

  // The connection is usable for the next run.
  WriteGrupo({{"7", "Sete"}});
  ui_.boxes.clear();
  EXPECT_TRUE(Run(Selection({{"GRUPO", "S"}})));
  EXPECT_EQ(Committed("SELECT CODGRUPO FROM GRUPROD", {"CODGRUPO"}), (std::vector<std::string>{"007"}));
}

TEST_F(ControllerTest, AMissingSourceFolderFailsTheRunWithItsName) {
  Exec(u"INSERT INTO GRUPROD (CODGRUPO, DESCRICAO) VALUES ('001', 'Antigo')");
  db_.DefaultTransaction().Commit();
  EXPECT_FALSE(Run(Selection({{"GRUPO", "S"}}), u"/nao/existe/tolv"));
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_NE(UToUtf8(ui_.boxes[0].text).find("/nao/existe/tolv"), std::string::npos);
  EXPECT_EQ(Committed("SELECT CODGRUPO FROM GRUPROD", {"CODGRUPO"}), (std::vector<std::string>{"001"}));
}

}  // namespace
