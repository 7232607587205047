// What the operator has beyond a plain run, through the console as a user runs it:
// the trial run, the inspection of the legacy folder and the report of every row
// not written; on real dBase files and real Firebird files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/firebird/Firebird.h"
#include "run/RelatorioLinhas.h"
#include "tests/support/CliRun.h"
#include "tests/support/DbfFixture.h"
#include "tests/support/TargetDump.h"
#include "tests/support/TestDatabase.h"

namespace {

bool Has(const std::string& text, const std::string& what) { return text.find(what) != std::string::npos; }

std::string LastLine(const std::string& out) {
  std::string s = out;
  while (!s.empty() && s.back() == '\n') s.pop_back();
  auto p = s.rfind('\n');
  return p == std::string::npos ? s : s.substr(p + 1);
}

class OperadorTest : public ::testing::Test {
 protected:
  void Write(const std::string& file, const std::string& fields, std::vector<std::vector<std::string>> rows,
             const std::string& codepage = "cp850", std::vector<int> deleted = {}) {
    DbfTable t;
    t.path = src_.file(file);
    t.fields = fields;
    t.rows = std::move(rows);
    t.codepage = codepage;
    t.deleted = std::move(deleted);
    WriteDbf(t);
  }
  void WriteGrupo(std::vector<std::vector<std::string>> rows) {
    Write("GRUPO.DBF", "CODIGO C(4); DESCRICAO C(40)", std::move(rows));
  }
  // A target that already holds an earlier conversion.
  std::string Target() {
    const std::string db = FreshDatabase("operador");
    fb::Database c;
    ConnectTo(c, db);
    fb::Query q(c);
    for (const char16_t* sql : {u"INSERT INTO GRUPROD (CODGRUPO, DESCRICAO) VALUES ('001', 'Antigo')",
                                u"INSERT INTO UNIDADES (UNIDADE) VALUES ('CX')",
                                u"INSERT INTO CIDADES (CODCIDADE, CIDADE, ESTADO) VALUES ('00001', 'ARAXA', 'MG')"}) {
      q.SetSQL(sql);
      q.ExecSQL();
    }
    c.DefaultTransaction().Commit();
    c.Close();
    return db;
  }
  CliResult Cli(const std::string& db, const std::string& rest) {
    return RunCliProgram("--origem " + src_.path() + " --destino " + db + " " + rest, tmp_);
  }
  TempDir src_{"operador-src"};
  TempDir tmp_{"operador-out"};
};

// A trial run does the whole run, says what a real run would say, exits as it would,
// and leaves every table of the target as it was.
TEST_F(OperadorTest, ATrialRunChangesNothingAndExitsAsTheRealRunWould) {
  const std::string db = Target();
  const std::string before = DumpTables(db);

  WriteGrupo({{"5", "Ferragens"}, {"12", "Elétrica"}, {"13", ""}});
  CliResult trial = Cli(db, "--simular grupo");
  EXPECT_EQ(trial.status, 0) << trial.out << trial.err;
  EXPECT_TRUE(Has(trial.out, "[Information] Conversão concluída com sucesso!")) << trial.out;
  EXPECT_TRUE(Has(trial.out, "Resumo da simulação")) << trial.out;
  EXPECT_TRUE(Has(trial.out, "Grupos de produtos: lidos 3, a gravar 2, ignorados 1")) << trial.out;
  EXPECT_EQ(LastLine(trial.out), "Simulação: tudo foi desfeito no fim; nada foi gravado no banco de destino.");
  EXPECT_EQ(DumpTables(db), before);

  // The real run then does what the trial run said.
  CliResult real = Cli(db, "grupo");
  EXPECT_EQ(real.status, trial.status) << real.out;
  EXPECT_NE(DumpTables(db), before);

  // A run that would fail: the trial run exits 1 like it, and still nothing changes.
  const std::string after = DumpTables(db);
  WriteGrupo({{"0101", "Primeiro"}, {"1101", "Segundo"}});
  CliResult failing = Cli(db, "--simular grupo");
  EXPECT_EQ(failing.status, 1) << failing.out;
  EXPECT_TRUE(Has(failing.out, "[Error] Ocorreu um erro durante a conversão! Motivo: ")) << failing.out;
  EXPECT_EQ(LastLine(failing.out), "Simulação: tudo foi desfeito no fim; nada foi gravado no banco de destino.");
  EXPECT_EQ(DumpTables(db), after);
  EXPECT_EQ(Cli(db, "grupo").status, 1);
}

TEST_F(OperadorTest, TheInspectionSaysWhatEachConverterWouldFind) {
  // Lower-case file name, a deleted record, cp850 marked in the header.
  Write("grupo.dbf", "CODIGO C(4); DESCRICAO C(40)", {{"1", "Ação"}, {"2", "Apagado"}}, "cp850", {1});
  // A column the supplier statement reads is missing.
  Write("FORNEC.DBF", "CODIGO C(6); RAZAOSOC C(40)", {{"1", "Fornecedor"}});
  Write("PR.DBF", "CODITEM C(10); GRUPO C(5); SUBGRUPO C(5); DESCRICAO C(40); UNIDADE C(6); ESTMIN N(10,2); "
                  "PVENDA N(12,2); COMISSAO N(6,2); CUSTOATUAL N(12,2); CUSTOMEDIO N(12,2); C_FISCAL C(10); "
                  "EMPRESA C(2); CODFAB C(6)",
        {{"1", "", "", "A", "UN", "", "", "", "", "", "", "01", ""},
         {"2", "", "", "B", "UN", "", "", "", "", "", "", "01", ""},
         {"3", "", "", "C", "UN", "", "", "", "", "", "", "02", ""}});

  CliResult r = RunCliProgram("--inspecionar --origem " + src_.path(), tmp_);
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  const std::string& o = r.out;
  EXPECT_TRUE(Has(o, "GRUPO (grupo): grupo.dbf\n    registros: 2 (1 apagados)\n"
                     "    página de código: cp850 (byte de idioma 0x02)")) << o;
  EXPECT_TRUE(Has(o, "CLIENTES (cliente): não encontrada")) << o;
  EXPECT_TRUE(Has(o, "FORNEC (fornecedor): FORNEC.DBF")) << o;
  EXPECT_TRUE(Has(o, "faltam colunas que a conversão lê: FANTASIA, ENDERECO, BAIRRO, CIDADE, ESTADO, CEP, CGC, "
                     "INSC, TELEFONE1, FAX")) << o;
  EXPECT_TRUE(Has(o, "registros por empresa (EMPRESA): 01: 2; 02: 1")) << o;
  EXPECT_EQ(LastLine(o), "Resultado: toda tabela encontrada foi lida por inteiro.");

  // A table cut short by a failed copy cannot be read in full: exit 1, naming it.
  const std::string cut = src_.file("FABRICA.DBF");
  Write("FABRICA.DBF", "CODIGO C(6); RAZAOSOC C(40)", {{"1", "Um"}, {"2", "Dois"}, {"3", "Três"}});
  std::string bytes = Slurp(cut);
  bytes.resize(bytes.size() - 60);
  {
    std::FILE* f = std::fopen(cut.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  r = RunCliProgram("--inspecionar --origem " + src_.path(), tmp_);
  EXPECT_EQ(r.status, 1) << r.out;
  EXPECT_TRUE(Has(r.out, "FABRICA (fabricante): FABRICA.DBF")) << r.out;
  EXPECT_TRUE(Has(r.out, "    ERRO: ")) << r.out;
  EXPECT_EQ(LastLine(r.out), "Resultado: não foi possível ler por inteiro: FABRICA.");

  r = RunCliProgram("--inspecionar --origem " + src_.file("nao-existe"), tmp_);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(RunCliProgram("--inspecionar --origem " + src_.path() + " grupo", tmp_).status, 2);
}

TEST_F(OperadorTest, TheReportListsEveryRowNotWrittenAlsoForATrialRun) {
  const std::string db = FreshDatabase("relatorio");
  WriteGrupo({{"5", "Ferragens"}, {"12", ""}, {"=1+1", "  "}});
  const std::string csv = tmp_.file("relatorio.csv");
  CliResult r = Cli(db, "--simular --relatorio " + csv + " grupo");
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_TRUE(Has(r.out, "Relatório dos registros não gravados: " + csv)) << r.out;
  EXPECT_EQ(Slurp(csv),
            "\xEF\xBB\xBFTipo;Registro no arquivo;Código no TOLV;Código no Norvale;Nome ou descrição;Ocorrência;"
            "Motivo\r\n"
            "Grupos de produtos;2;12;012;;ignorado;descrição em branco\r\n"
            "Grupos de produtos;3;'=1+1;1+1;;ignorado;descrição em branco\r\n"
            "\r\nConferência com a origem\r\n"
            "Tipo;Empresa;Conferido;Origem;Destino;Resultado;Arredondamento do destino\r\n"
            "Grupos de produtos;;linhas em GRUPROD;1;1;confere;\r\n");

  // A report that cannot be written is said before anything runs.
  r = Cli(db, "--relatorio " + src_.file("nao/existe.csv") + " grupo");
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Has(r.out, "Não foi possível criar o relatório")) << r.out;
}

// Every kind: the example folder, into a target that holds an earlier conversion and
// rows of the reference tables (units, cities, revenue natures) the run also writes.
TEST_F(OperadorTest, ATrialRunOfEveryKindLeavesEveryTableAsItWas) {
  const std::string db = Target();
  {
    fb::Database c;
    ConnectTo(c, db);
    fb::Query q(c);
    q.SetSQL(u"INSERT INTO NATRECEITA (ID, CODRECEITA, DESCRECEITA) VALUES (7, 123, 'ANTIGA')");
    q.ExecSQL();
    c.DefaultTransaction().Commit();
  }
  const std::string before = DumpTables(db);
  const std::string examples = std::string(CT_SOURCE_DIR) + "/examples/tolv";
  CliResult trial = RunCliProgram("--origem " + examples + " --destino " + db + " --simular todos", tmp_);
  EXPECT_EQ(trial.status, 0) << trial.out << trial.err;
  EXPECT_TRUE(Has(trial.out, "Fabricantes: lidos 7, a gravar 7")) << trial.out;
  EXPECT_EQ(DumpTables(db), before);

  CliResult real = RunCliProgram("--origem " + examples + " --destino " + db + " todos", tmp_);
  EXPECT_EQ(real.status, trial.status) << real.out;
  const std::string after = DumpTables(db);
  for (const char* table : {"== UNIDADES", "== CIDADES", "== NATRECEITA", "== PRODUTO ", "== DOCUREC"})
    EXPECT_NE(after.substr(after.find(table), 200), before.substr(before.find(table), 200)) << table;
}

// Each row by its record number in the legacy file (deleted records counted, before
// the company filter and the order), the code the converter made of it, and its name.
TEST_F(OperadorTest, TheReportNamesEachRowByItsRecordTheCodeMadeOfItAndItsName) {
  const std::string db = FreshDatabase("relatorio-tipos");
  Write("FORNEC.DBF",
        "CODIGO C(8); RAZAOSOC C(80); FANTASIA C(50); ENDERECO C(60); BAIRRO C(40); CIDADE C(30); ESTADO C(2); "
        "CEP C(10); CGC C(20); INSC C(18); TELEFONE1 C(25); FAX C(25)",
        {{"7", "Tintas", "", "", "", "", "", "", "", "", "", ""}, {"8", "  ", "", "", "", "", "", "", "", "", "", ""}});
  Write("SUBGRUPO.DBF", "CODIGO C(4); DESCRICAO C(50)", {{"0101", "Chaves"}, {"0102", ""}});
  const std::string clientes =
      "CODIGO C(8); DATA_ANI D; DATA_CAD D; RAZAOSOC C(60); FANTASIA C(40); FILIACAO C(60); ENDERECO C(50); "
      "BAIRRO C(30); CIDADE C(30); ESTADO C(2); CEP C(10); CGC C(18); INSC C(18); TELEFONE1 C(15); FAX C(15); "
      "CONTATO C(30); CELULAR C(16); OBS1 C(60); REFERE C(60); SPC1 C(40); SPC2 C(40); LOCAL_TRAB C(40)";
  std::vector<std::string> um(22, ""), dois(22, "");
  um[0] = "7";
  um[3] = "Maria";
  dois[0] = "07";  // the same customer code once zero-filled
  dois[3] = "Maria de novo";
  Write("CLIENTES.DBF", clientes, {um, dois});
  // Company 01, in code order: 0000106 (record 4), then 1000106 (record 5), which
  // makes the same six-character code and is skipped; then 1000200 (record 3).
  auto produto = [](const char* cod, const char* empresa, const char* descricao) {
    return std::vector<std::string>{cod, "", "", descricao, "UN", "", "", "", "", "", "", empresa, ""};
  };
  Write("PR.DBF",
        "CODITEM C(7); GRUPO C(5); SUBGRUPO C(5); DESCRICAO C(40); UNIDADE C(3); ESTMIN N(10,2); PVENDA N(10,2); "
        "COMISSAO N(5,2); CUSTOATUAL N(10,2); CUSTOMEDIO N(10,2); C_FISCAL C(5); EMPRESA C(2); CODFAB C(5)",
        {produto("0000106", "02", "Outra empresa"), produto("2000107", "01", "Apagado"),
         produto("1000200", "01", "Porca"), produto("0000106", "01", "Parafuso"),
         produto("1000106", "01", "Parafuso longo")},
        "cp850", {1});

  const std::string csv = tmp_.file("tipos.csv");
  CliResult r = Cli(db, "--relatorio " + csv + " cliente fornecedor subgrupo produto");
  EXPECT_EQ(r.status, 3) << r.out << r.err;
  const std::string report = Slurp(csv);
  EXPECT_TRUE(Has(report, "\r\nClientes;2;07;00000007;Maria de novo;rejeitado;\"O código 00000007 (Clientes) já existe"))
      << report;
  EXPECT_TRUE(Has(report, "PK_CLIENTE")) << report;  // the target's own reason, after the explanation
  EXPECT_TRUE(Has(report, "\r\nFornecedores;2;8;000008;;ignorado;nome em branco\r\n")) << report;
  EXPECT_TRUE(Has(report, "\r\nSubgrupos de produtos;2;0102;001/002;;ignorado;descrição em branco\r\n")) << report;
  EXPECT_TRUE(Has(report, "\r\nProdutos;5;1000106;000106;Parafuso longo;ignorado;código 000106 igual ao do "
                          "registro anterior\r\n"))
      << report;
  EXPECT_TRUE(Has(r.out, "rejeitado: registro 2 (código 07, no Norvale 00000007, Maria de novo): ")) << r.out;
}

TEST(RelatorioLinhasTest, FieldsAreQuotedAndDisarmedForASpreadsheet) {
  const std::vector<std::pair<UString, std::string>> cases = {
      {u"simples", "simples"},
      {u"a;b", "\"a;b\""},
      {u"diz \"oi\"", "\"diz \"\"oi\"\"\""},
      {u"linha\r\noutra\rmais", "linha outra mais"},
      {u"=SOMA(A1)", "'=SOMA(A1)"},
      {u"+55", "'+55"},
      {u"@x", "'@x"},
      {u"-x", "'-x"},
      {u"-12", "-12"},
      {u"Ação", "Ação"},
      {u"", ""},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(RelatorioLinhas::Campo(in), out) << UToUtf8(in);
}

}  // namespace
