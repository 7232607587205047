// The console front end as a user runs it: the real program, its output and its
// exit status.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "platform/firebird/Firebird.h"
#include "tests/support/CliRun.h"
#include "tests/support/DbfFixture.h"
#include "tests/support/TestDatabase.h"

namespace {

using Result = CliResult;

Result Cli(const std::string& args, const TempDir& tmp) { return RunCliProgram(args, tmp); }

std::string Groups(const std::string& dbPath) {
  fb::Database db;
  ConnectTo(db, dbPath);
  fb::Query q(db);
  q.SetSQL(u"SELECT CODGRUPO, DESCRICAO FROM GRUPROD ORDER BY CODGRUPO");
  q.Open();
  std::string s;
  for (; !q.Eof(); q.Next()) s += UToUtf8(q.FieldAsText(u"CODGRUPO")) + "=" + UToUtf8(q.FieldAsText(u"DESCRICAO")) + ";";
  q.Close();
  db.DefaultTransaction().Commit();
  return s;
}

class CliTest : public ::testing::Test {
 protected:
  void WriteGrupo(std::vector<std::vector<std::string>> rows) {
    DbfTable t;
    t.path = tmp_.file("grupo.dbf");  // found whatever the case on disk
    t.fields = "CODIGO C(4); DESCRICAO C(40)";
    t.rows = std::move(rows);
    WriteDbf(t);
  }
  std::string Args(const std::string& db, const std::string& rest) {
    return "--origem " + tmp_.path() + " --destino " + db + " " + rest;
  }
  TempDir tmp_{"cli"};
};

TEST_F(CliTest, UsageErrorsExitTwoInOneLine) {
  Result help = Cli("--help", tmp_);
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("Uso: conversor-tolv-cli --origem DIR --destino BANCO"), std::string::npos);

  for (const char* bad : {"", "grupo", "--origem x grupo", "--destino y.fb grupo", "--origem x --destino y.fb",
                          "--origem x --destino y.fb mercadoria", "--origem x --destino y.fb --empresa 03 grupo",
                          "--origem x --destino y.fb --verbose grupo", "--origem x --destino y.fb grupo --empresa",
                          "--origem x --destino y.fb --destino z.fb grupo", "--origem x --origem w --destino y.fb grupo",
                          "--origem x --destino y.fb --empresa 01 --empresa 02 grupo"}) {
    Result r = Cli(bad, tmp_);
    EXPECT_EQ(r.status, 2) << bad;
    EXPECT_EQ(r.err.rfind("conversor-tolv-cli: ", 0), 0u) << bad << r.err;
    EXPECT_NE(r.err.find("(use --help para ver o uso)\n"), std::string::npos) << bad << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << bad << r.err;
    EXPECT_EQ(r.out, "") << bad;
  }
}

// What console programs do: --version, --opcao=valor, a file where a folder goes
// named as such; and a folder without any legacy table is no legacy folder.
TEST_F(CliTest, ConsoleConventions) {
  Result v = Cli("--version", tmp_);
  EXPECT_EQ(v.status, 0);
  EXPECT_EQ(v.out.rfind("conversor-tolv-cli ", 0), 0u) << v.out;

  const std::string db = FreshDatabase("cli-igual");
  WriteGrupo({{"5", "Ferragens"}});
  Result r = Cli("--origem=" + tmp_.path() + " --destino=" + db + " --empresa=02 grupo", tmp_);
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_EQ(Groups(db), "005=Ferragens;");

  Result f = Cli("--origem " + tmp_.file("grupo.dbf") + " --destino " + db + " grupo", tmp_);
  EXPECT_EQ(f.status, 2);
  EXPECT_NE(f.err.find("é um arquivo"), std::string::npos) << f.err;

  TempDir vazia("cli-vazia");
  Result i = Cli("--inspecionar --origem " + vazia.path(), tmp_);
  EXPECT_EQ(i.status, 1);
  EXPECT_NE(i.out.find("Resultado: nenhuma tabela do TOLV nesta pasta"), std::string::npos) << i.out;
}

TEST_F(CliTest, ConvertsGroupsAndPrintsTheBoxAndTheSummary) {
  const std::string db = FreshDatabase("cli-ok");
  WriteGrupo({{"5", "Ferragens"}, {"12", "Elétrica"}, {"13", "  "}});
  Result r = Cli(Args(db, "grupo"), tmp_);
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_NE(r.out.find("[Information] Conversão concluída com sucesso!\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Grupos de produtos: lidos 3, gravados 2, ignorados 1, rejeitados 0"), std::string::npos)
      << r.out;
  EXPECT_NE(r.err.find("Convertendo Grupos de produtos - Registro 1 de 3"), std::string::npos) << r.err;
  EXPECT_EQ(Groups(db), "005=Ferragens;012=Elétrica;");
}

TEST_F(CliTest, AFailedRunExitsOneAndWritesNothing) {
  const std::string db = FreshDatabase("cli-fail");
  WriteGrupo({{"5", "Cinco"}});
  ASSERT_EQ(Cli(Args(db, "grupo"), tmp_).status, 0);
  WriteGrupo({{"0101", "Primeiro"}, {"1101", "Segundo"}});
  Result r = Cli(Args(db, "grupo"), tmp_);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("[Error] Ocorreu um erro durante a conversão! Motivo: "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("desfeita"), std::string::npos) << r.out;
  EXPECT_EQ(Groups(db), "005=Cinco;");
}

// A manufacturer the target refuses does not stop the run: it commits the other rows,
// names the refused one and exits 3.
TEST_F(CliTest, ARefusedRowExitsThreeAndIsNamed) {
  const std::string db = FreshDatabase("cli-rejected");
  DbfTable t;
  t.path = tmp_.file("FABRICA.DBF");
  t.fields = "CODIGO C(7); RAZAOSOC C(40)";
  t.rows = {{"12", "Primeiro"}, {"0001234", "Repetido"}, {"5", "Depois"}};  // 0001234 is 00012 again
  WriteDbf(t);
  Result r = Cli(Args(db, "fabricante"), tmp_);
  EXPECT_EQ(r.status, 3) << r.out << r.err;
  EXPECT_NE(r.out.find("[Error] Ocorreu um erro durante a conversão de Fabricantes. Motivo: "), std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("[Information] Conversão concluída com sucesso!\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Fabricantes: lidos 3, gravados 2, ignorados 0, rejeitados 1\n    rejeitado: registro 2 (código 0001234, no Norvale 00012, Repetido): "),
            std::string::npos)
      << r.out;
}

TEST_F(CliTest, ConvertsTheProductsOfTheChosenCompanyWithGeneratedCodes) {
  const std::string db = FreshDatabase("cli-produtos");
  DbfTable t;
  t.path = tmp_.file("PR.DBF");
  t.fields =
      "CODITEM C(10); GRUPO C(5); SUBGRUPO C(5); DESCRICAO C(50); UNIDADE C(8); ESTMIN N(10,3); PVENDA N(12,2); "
      "COMISSAO N(6,2); CUSTOATUAL N(12,4); CUSTOMEDIO N(12,4); C_FISCAL C(2); EMPRESA C(2); CODFAB C(5)";
  t.rows = {{"B9", "00001", "00001", "Loja dois B", "UN", "0", "1", "0", "", "", "", "02", ""},
            {"A1", "00001", "00001", "Loja um", "UN", "0", "1", "0", "", "", "", "01", ""},
            {"A9", "00001", "00001", "Loja dois A", "UN", "0", "1", "0", "", "", "", "02", ""}};
  WriteDbf(t);
  Result r = Cli(Args(db, "--empresa 02 --gerar-codigos produto"), tmp_);
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_NE(r.out.find("Produtos: lidos 2, gravados 2, ignorados 0, rejeitados 0"), std::string::npos) << r.out;

  fb::Database check;
  ConnectTo(check, db);
  fb::Query q(check);
  q.SetSQL(u"SELECT CODPROD, DESCRICAO FROM PRODUTO ORDER BY CODPROD");
  q.Open();
  std::string s;
  for (; !q.Eof(); q.Next()) s += UToUtf8(q.FieldAsText(u"CODPROD")) + "=" + UToUtf8(q.FieldAsText(u"DESCRICAO")) + ";";
  q.Close();
  check.DefaultTransaction().Commit();
  EXPECT_EQ(s, "000001=Loja dois A;000002=Loja dois B;");
}

// Tables written on the Macintosh carry language byte 0x04. Read as cp850 their
// capitals Ã and Õ are box drawing, which the target cannot hold.
TEST_F(CliTest, AMacintoshTableReadsInMacRoman) {
  const std::string db = FreshDatabase("cli-mac");
  DbfTable t;
  t.path = tmp_.file("GRUPO.DBF");
  t.fields = "CODIGO C(4); DESCRICAO C(40)";
  t.codepage = "mac_roman";
  t.rows = {{"1", "CONCEIÇÃO"}, {"2", "INFORMAÇÕES"}, {"3", "Elétrica e Iluminação"}};
  WriteDbf(t);
  Result r = Cli(Args(db, "grupo"), tmp_);
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_EQ(Groups(db), "001=CONCEIÇÃO;002=INFORMAÇÕES;003=Elétrica e Iluminação;");
}

// A table that names no code page and whose text hardly tells (one word read as
// JOÃO in cp850 and JOÇO in cp1252): the summary says so, once.
TEST_F(CliTest, ACloseCodePageGuessIsToldInTheSummary) {
  const std::string db = FreshDatabase("cli-cp");
  DbfTable t;
  t.path = tmp_.file("grupo.dbf");
  t.fields = "CODIGO C(4); DESCRICAO C(40)";
  t.rows = {{"1", "JOÃO"}, {"2", "PEDRO"}};
  t.codepage = "cp850";
  WriteDbf(t);
  {
    std::fstream f(t.path, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(29);
    f.put('\0');  // no language driver, as Clipper left it
  }
  Result r = Cli(Args(db, "grupo"), tmp_);
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  const std::size_t at = r.out.find("  aviso: A tabela GRUPO (");
  ASSERT_NE(at, std::string::npos) << r.out;
  EXPECT_NE(r.out.find("foi lida em cp850", at), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("aviso", at + 8), std::string::npos) << r.out;
  EXPECT_EQ(Groups(db), "001=JOÃO;002=PEDRO;");
}

TEST_F(CliTest, ATargetThatCannotBeOpenedExitsOne) {
  WriteGrupo({{"5", "Cinco"}});
  Result r = Cli(Args(tmp_.file("nao-existe/norvale.fb"), "grupo"), tmp_);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out.rfind("[Error] Não foi possível conectar ao banco de dados Norvale\nMotivo: ", 0), 0u) << r.out;
}

// What a terminal shows of the output: carriage returns go back to the start of the
// line, ESC [ K erases the rest of it, line feeds end it.
std::vector<std::string> Screen(const std::string& raw) {
  std::vector<std::string> lines;
  std::string line;
  std::size_t col = 0;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\n') {
      lines.push_back(line);
      line.clear();
      col = 0;
    } else if (raw[i] == '\r') {
      col = 0;
    } else if (raw.compare(i, 3, "\x1b[K") == 0) {
      line.resize(col);
      i += 2;
    } else {
      if (col < line.size()) line[col] = raw[i];
      else line.push_back(raw[i]);
      ++col;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

// On a terminal the bar is drawn in place; the boxes and the summary must not land on
// the bar's line, and a finished run leaves no bar behind.
TEST_F(CliTest, OnATerminalTheBoxesAreNotWrittenOverTheBar) {
  const std::string db = FreshDatabase("cli-tty");
  const std::string typescript = tmp_.file("tty.txt");
  auto onTerminal = [&](const std::string& args) {
    const std::string cmd = "script -qec '" + std::string(CT_BINARY_DIR) + "/conversor-tolv-cli " + Args(db, args) +
                            "' /dev/null >" + typescript + " 2>&1";
    std::system(cmd.c_str());
    return Screen(Slurp(typescript));
  };
  WriteGrupo({{"5", "Ferragens"}, {"12", "Elétrica"}});
  EXPECT_EQ(onTerminal("grupo"),
            (std::vector<std::string>{"Plano da conversão (empresa 01):",
                                      "  Grupos de produtos: lê 2 registros de GRUPO; apaga 0 de GRUPROD.", "",
                                      "[Information] Conversão concluída com sucesso!", "", "Resumo da conversão",
                                      "  Grupos de produtos: lidos 2, gravados 2, ignorados 0, rejeitados 0", "",
                                      "Conferência com a origem, antes da confirmação",
                                      "  Grupos de produtos: lidos 2, ignorados 0, rejeitados 0, gravados 2",
                                      "    linhas em GRUPROD: origem 2, destino 2: confere"}));
  WriteGrupo({{"0101", "Primeiro"}, {"1101", "Segundo"}});
  std::vector<std::string> failed = onTerminal("grupo");
  // The plan, its blank line, then the box on a line of its own.
  const auto box = std::find(failed.begin(), failed.end(), "") + 1;
  ASSERT_TRUE(box < failed.end());
  EXPECT_EQ(box->rfind("[Error] Ocorreu um erro durante a conversão! Motivo: ", 0), 0u) << *box;
  EXPECT_EQ(failed.back(), "  Grupos de produtos: lidos 2, desfeitos 1, ignorados 0, rejeitados 0");
}

}  // namespace
