// Ctrl-C and SIGTERM during a console run, and a kill while the report is written:
// the run is rolled back and says so (never "the connection fell"), and an earlier
// report stays whole.
#include "Faults.h"
#include "tests/support/LegacyFolder.h"
#include "tests/support/TargetDump.h"

namespace {

bool StartedSecondKind(const ChildProcess& p) { return Has(p.Err(), "Convertendo Fornecedores"); }

TEST(InterrompidaTest, CtrlCOrSigtermRollsBackSaysSoAndExits130) {
  const std::string origem = GeneratedLegacyFolder(kManyRows, 'B');
  const std::string db = EarlierConversion(GeneratedLegacyFolder(kFewRows, 'A'), "interrompida");
  const std::string before = DumpTables(db);
  for (int sinal : {SIGINT, SIGTERM}) {
    ChildProcess p(ConvertAll(origem, db));
    ASSERT_TRUE(p.WaitUntil([&] { return StartedSecondKind(p); }, 120)) << p.Out() << p.Err();
    p.Signal(sinal);
    ASSERT_TRUE(p.WaitExit(120)) << p.Out() << p.Err();
    EXPECT_EQ(p.Status(), 130) << "signal " << sinal << "\n" << p.Out() << p.Err();
    EXPECT_TRUE(Has(p.Out(), "[Warning] Conversão interrompida pelo usuário; nada foi gravado.")) << p.Out();
    EXPECT_FALSE(Has(p.Out(), "caiu")) << p.Out();
    EXPECT_EQ(DumpTables(db), before) << "signal " << sinal;
  }
}

TEST(InterrompidaTest, AKillWhileTheReportIsWrittenLeavesTheEarlierReportWhole) {
  const std::string origem = GeneratedLegacyFolder(kManyRows, 'B');
  TempDir out("interrompida-relatorio");
  const std::string csv = out.file("relatorio.csv");
  const std::string earlier = std::string("\xEF\xBB\xBFTipo;Registro no arquivo;Código no TOLV;Código no Norvale;"
                                          "Nome ou descrição;Ocorrência;Motivo\r\n") +
                              "Grupos de produtos;2;12;012;;ignorado;descrição em branco\r\n";
  {
    std::FILE* f = std::fopen(csv.c_str(), "wb");
    std::fwrite(earlier.data(), 1, earlier.size(), f);
    std::fclose(f);
  }
  std::vector<std::string> argv = ConvertAll(origem, FreshDatabase("interrompida-relatorio"));
  argv.insert(argv.end() - 1, {"--relatorio", csv});
  ChildProcess p(argv);
  ASSERT_TRUE(p.WaitUntil([&] { return StartedSecondKind(p); }, 120)) << p.Out() << p.Err();
  p.Signal(SIGKILL);
  ASSERT_TRUE(p.WaitExit(60));
  EXPECT_EQ(Slurp(csv), earlier);
}

}  // namespace
