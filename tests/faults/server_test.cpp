// The console converting through a real Firebird server, started by the test on a
// port of its own: the rows arrive as in embedded mode, a wrong password writes
// nothing, a server that dies under a run leaves the target as it was, and a table
// another user holds changes on stops the run at once with an explanation.
#include <unistd.h>

#include <cstdio>
#include <map>
#include <set>
#include <sstream>

#include "Faults.h"
#include "platform/firebird/Firebird.h"
#include "tests/support/FirebirdServer.h"
#include "tests/support/LegacyFolder.h"
#include "tests/support/TargetDump.h"

namespace {

const std::string kExamples = std::string(CT_SOURCE_DIR) + "/examples/tolv";

// The kinds whose progress the console has shown, in order ("Clientes", ...).
std::vector<std::string> KindsStarted(const std::string& progress) {
  std::vector<std::string> kinds;
  const std::string head = "Convertendo ", tail = " - Registro 1 de ";
  for (std::size_t at = progress.find(head); at != std::string::npos; at = progress.find(head, at + 1)) {
    const std::size_t end = progress.find(tail, at);
    const std::size_t eol = progress.find('\n', at);
    if (end != std::string::npos && end < eol) kinds.push_back(progress.substr(at + head.size(), end - at - head.size()));
  }
  return kinds;
}

// Every table of a dump with the rows it holds: "== NAME (n)" opens each table.
std::map<std::string, std::set<std::string>> Tables(const std::string& dump) {
  std::map<std::string, std::set<std::string>> tables;
  std::istringstream in(dump);
  std::string line, current;
  while (std::getline(in, line)) {
    if (line.rfind("== ", 0) == 0) {
      current = line.substr(3, line.find(' ', 3) - 3);
      tables[current];
    } else {
      tables[current].insert(line);
    }
  }
  return tables;
}

class ServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!server.Running()) GTEST_SKIP() << server.Why();
  }
  FirebirdServer server;
};

TEST_F(ServerTest, RowsArriveAsInEmbeddedMode) {
  const std::string embedded = FreshDatabase("embutido"), served = FreshDatabase("servidor");
  const CliResult local = RunConsole(ConvertAll(kExamples, embedded));
  const CliResult remote = RunConsole(ConvertAll(kExamples, server.Name(served)));
  ASSERT_TRUE(Committed(local)) << local.out << local.err;
  EXPECT_EQ(remote.status, local.status);
  EXPECT_EQ(remote.out, local.out);  // the same boxes and the same summary
  const std::string fresh = DumpTables(FreshDatabase("vazio"));
  const std::string rows = DumpTables(embedded, Dump::MaskInsertTimes);
  EXPECT_NE(rows, fresh);
  EXPECT_EQ(DumpTables(server.Name(served), Dump::MaskInsertTimes), rows);
}

TEST_F(ServerTest, AWrongPasswordIsRefusedWithTheServersMessageAndWritesNothing) {
  const std::string db = EarlierConversion(kExamples, "senha");
  const std::string before = DumpTables(server.Name(db));
  const CliResult r = RunConsole(ConvertAll(GeneratedLegacyFolder(kFewRows, 'A'), server.Name(db), "errada"));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out.rfind("[Error] Não foi possível conectar ao banco de dados Norvale\nMotivo: O usuário ou a senha",
                        0),
            0u)
      << r.out;
  EXPECT_NE(r.out.find("\nMensagem do banco de dados: Your user name and password are not defined."),
            std::string::npos)
      << r.out;
  EXPECT_EQ(DumpTables(server.Name(db)), before);
}

// The server dies (SIGKILL) while the run writes: the console says so and ends,
// and once the server is back the target holds exactly what it held before.
TEST_F(ServerTest, AServerKilledInTheMiddleOfARunLeavesTheTargetAsItWas) {
  const std::string db = EarlierConversion(GeneratedLegacyFolder(kManyRows, 'A'), "servidor-morto");
  const std::string before = DumpTables(server.Name(db));

  ChildProcess run(ConvertAll(GeneratedLegacyFolder(kManyRows, 'B'), server.Name(db)));
  // Well inside the run: one kind written, the next one going.
  ASSERT_TRUE(run.WaitUntil([&] { return KindsStarted(run.Err()).size() >= 2; }, 120)) << run.Out() << run.Err();
  server.Kill();
  const double killedAt = run.Elapsed();
  ASSERT_TRUE(run.WaitExit(60)) << "the console hung after its server died";
  const double took = run.Elapsed() - killedAt;
  std::printf("[server killed] the console ended %.2f s later, showing:\n%s", took, run.Out().c_str());
  EXPECT_EQ(run.Status(), 1) << run.Out() << run.Err();
  EXPECT_TRUE(Has(run.Out(), "[Error] Ocorreu um erro durante a conversão! Motivo: A conexão com o servidor do banco "
                             "de dados caiu durante a conversão (o servidor parou ou a rede falhou).")) << run.Out();
  EXPECT_TRUE(Has(run.Out(), "(desfeita: nada foi gravado)")) << run.Out();

  ASSERT_TRUE(server.Start()) << server.Why();
  EXPECT_EQ(DumpTables(server.Name(db)), before);
  ChildProcess gfix({Gfix(), "-v", "-full", "-user", "SYSDBA", "-password", "masterkey", server.Name(db)});
  ASSERT_TRUE(gfix.WaitExit(120));
  EXPECT_EQ(gfix.Status(), 0) << gfix.Out() << gfix.Err();
  EXPECT_TRUE(Sound(gfix.Out() + gfix.Err())) << gfix.Out() << gfix.Err();
}

// Another connection holds an uncommitted change on a table the run empties: the
// run fails at once (its transaction does not wait), saying who is in the way and
// what to do, and once the other connection rolls back the target is as before.
// Every table a clean run empties is tried, whatever kinds this build converts.
TEST_F(ServerTest, AnotherUsersUncommittedChangeStopsTheRunAtOnce) {
  const std::string earlier = GeneratedLegacyFolder(kFewRows, 'A');
  const std::string clean = EarlierConversion(earlier, "travas-limpa");
  const auto before = Tables(DumpTables(clean));
  ASSERT_TRUE(Committed(RunConsole(ConvertAll(kExamples, server.Name(clean)))));
  const auto after = Tables(DumpTables(server.Name(clean)));
  // A table the run empties: rows it held before are gone after a run.
  std::vector<std::string> emptied;
  for (const auto& [table, rows] : before)
    for (const std::string& row : rows)
      if (!after.at(table).count(row)) {
        emptied.push_back(table);
        break;
      }
  ASSERT_FALSE(emptied.empty());

  for (const std::string& table : emptied) {
    SCOPED_TRACE(table);
    const std::string db = EarlierConversion(earlier, "travas");
    const std::string dumpBefore = DumpTables(db);
    fb::Database other;
    ConnectTo(other, server.Name(db));
    {
      fb::Query first(other);
      first.SetSQL(u"SELECT TRIM(RDB$FIELD_NAME) AS C FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME = '" +
                   Utf8ToU(table) + u"' ORDER BY RDB$FIELD_POSITION ROWS 1");
      first.Open();
      const UString column = first.FieldAsText(u"C");
      first.Close();
      fb::Query change(other);
      change.SetSQL(u"UPDATE " + Utf8ToU(table) + u" SET " + column + u" = " + column + u" ROWS 1");
      change.ExecSQL();  // and left uncommitted
    }
    ChildProcess run(ConvertAll(kExamples, server.Name(db)));
    const bool ended = run.WaitExit(60);
    EXPECT_TRUE(ended) << "the run waited for the other connection";
    if (!ended) run.Signal(SIGKILL), run.WaitExit(10);
    std::printf("[%s locked] the console showed:\n%s", table.c_str(), run.Out().c_str());
    EXPECT_EQ(run.Status(), 1) << run.Out();
    EXPECT_TRUE(Has(run.Out(), "[Error] Ocorreu um erro durante a conversão! Motivo: Outro usuário ou programa tem "
                               "alterações ainda não confirmadas numa tabela que a conversão de "))
        << run.Out();
    EXPECT_TRUE(Has(run.Out(), "update conflicts with concurrent update")) << run.Out();
    other.DefaultTransaction().Rollback();
    other.Close();
    EXPECT_EQ(DumpTables(server.Name(db)), dumpBefore);
  }
}

// Another user's customer with the code of one the run writes, not yet committed:
// no fault of the legacy rows, so the run stops and is rolled back, saying so,
// instead of blaming two legacy records and committing the rest without it.
TEST_F(ServerTest, AnotherUsersCustomerWithTheSameCodeStopsTheRun) {
  const std::string db = FreshDatabase("trava-cliente");
  const std::string dumpBefore = DumpTables(db);
  fb::Database other;
  ConnectTo(other, server.Name(db));
  fb::Query change(other);
  change.SetSQL(u"INSERT INTO CLIENTE (CODCLIENTE, NOME, PESSOA_FJ, ATIVO, CLIBLOQUEADO) "
                u"VALUES ('00000001', 'DIGITADO NA LOJA', 'F', 'S', 'N')");
  change.ExecSQL();  // and left uncommitted
  CliResult run = RunConsole(ConvertAll(kExamples, server.Name(db)), 60);
  EXPECT_EQ(run.status, 1) << run.out;
  EXPECT_TRUE(Has(run.out, "[Error] Ocorreu um erro durante a conversão! Motivo: Outro usuário ou programa gravou no "
                           "banco de destino um cliente com o código 00000001")) << run.out;
  other.DefaultTransaction().Rollback();
  other.Close();
  EXPECT_EQ(DumpTables(server.Name(db)), dumpBefore);
}

}  // namespace
