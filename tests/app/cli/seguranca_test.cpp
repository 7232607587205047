// What the console does so that a run never destroys or doubles data silently: the
// report never written over what it must not, the check before the run, the plan
// printed first, and repeated documents told with their own exit status.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/firebird/Firebird.h"
#include "tests/support/CliRun.h"
#include "tests/support/DbfFixture.h"
#include "tests/support/LegacyFolder.h"
#include "tests/support/TargetDump.h"
#include "tests/support/TestDatabase.h"

namespace {

bool Has(const std::string& text, const std::string& what) { return text.find(what) != std::string::npos; }

void Put(const std::string& path, const std::string& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

void Sql(const std::string& db, const std::vector<const char16_t*>& statements) {
  fb::Database c;
  ConnectTo(c, db);
  fb::Query q(c);
  for (const char16_t* s : statements) {
    q.SetSQL(s);
    q.ExecSQL();
  }
  c.DefaultTransaction().Commit();
  c.Close();
}

class SegurancaCliTest : public ::testing::Test {
 protected:
  void Write(const std::string& file, const std::string& fields, std::vector<std::vector<std::string>> rows) {
    DbfTable t;
    t.path = src_.file(file);
    t.fields = fields;
    t.rows = std::move(rows);
    WriteDbf(t);
  }
  void WriteGrupo(std::vector<std::vector<std::string>> rows) {
    Write("GRUPO.DBF", "CODIGO C(4); DESCRICAO C(40)", std::move(rows));
  }
  CliResult Cli(const std::string& db, const std::string& rest) {
    return RunCliProgram("--origem " + src_.path() + " --destino " + db + " " + rest, tmp_);
  }
  TempDir src_{"seguranca-src"};
  TempDir tmp_{"seguranca-out"};
};

// The report path pointing at the target, at a legacy table, into the source folder
// or at a file of the operator's is refused before anything is opened; an earlier
// report is replaced only by a run that got to its end.
TEST_F(SegurancaCliTest, TheReportNeverOverwritesTheTargetASourceTableOrAnotherFile) {
  const std::string db = FreshDatabase("seguranca-relatorio");
  WriteGrupo({{"5", "Ferragens"}, {"12", ""}});
  const std::string banco = Slurp(db), tabela = Slurp(src_.file("GRUPO.DBF"));
  const std::string notas = tmp_.file("notas.txt");
  Put(notas, "minhas notas");

  for (const std::string& alvo : {db, src_.file("GRUPO.DBF"), src_.file("novo.csv"), notas}) {
    CliResult r = Cli(db, "--simular --relatorio " + alvo + " grupo");
    EXPECT_EQ(r.status, 2) << alvo << "\n" << r.out << r.err;
    EXPECT_TRUE(Has(r.err, "--relatorio: ")) << r.err;
  }
  EXPECT_TRUE(Slurp(db) == banco);  // byte for byte
  EXPECT_TRUE(Slurp(src_.file("GRUPO.DBF")) == tabela);
  EXPECT_EQ(Slurp(notas), "minhas notas");
  EXPECT_FALSE(std::filesystem::exists(src_.file("novo.csv")));

  const std::string csv = tmp_.file("r.csv");
  ASSERT_EQ(Cli(db, "--relatorio " + csv + " grupo").status, 0);
  const std::string earlier = Slurp(csv);
  EXPECT_TRUE(Has(earlier, "Grupos de produtos;2;12;012;;ignorado;")) << earlier;
  WriteGrupo({{"0101", "Primeiro"}, {"1101", "Segundo"}, {"7", ""}});  // a repeated code fails the run
  CliResult failed = Cli(db, "--relatorio " + csv + " grupo");
  EXPECT_EQ(failed.status, 1) << failed.out;
  EXPECT_EQ(Slurp(csv), earlier);
  for (const auto& e : std::filesystem::directory_iterator(tmp_.path()))
    EXPECT_NE(e.path().filename().string().rfind(".r.csv.", 0), 0u) << "temporary left: " << e.path();

  // A spreadsheet of this program's is replaced; any other workbook (here a zip
  // with the same members but another sheet) is the operator's and is refused.
  WriteGrupo({{"5", "Ferragens"}, {"12", ""}});
  const std::string xlsx = tmp_.file("r.xlsx");
  ASSERT_EQ(Cli(db, "--relatorio " + xlsx + " grupo").status, 0);
  EXPECT_EQ(Cli(db, "--simular --relatorio " + xlsx + " grupo").status, 0);
  const std::string copia = "import sys, zipfile\n"
                            "a = zipfile.ZipFile(sys.argv[1]); b = zipfile.ZipFile(sys.argv[2], 'w', zipfile.ZIP_DEFLATED)\n"
                            "for n in a.namelist():\n"
                            "    d = a.read(n)\n"
                            "    b.writestr(n, d.replace(b'Registros', b'Vendas') if n == 'xl/workbook.xml' else d)\n"
                            "b.close()\n";
  Put(tmp_.file("copia.py"), copia);
  ASSERT_EQ(std::system(("/usr/bin/python3 " + tmp_.file("copia.py") + " " + xlsx + " " + tmp_.file("alheia.xlsx")).c_str()), 0);
  const std::string alheia = Slurp(tmp_.file("alheia.xlsx"));
  CliResult r = Cli(db, "--simular --relatorio " + tmp_.file("alheia.xlsx") + " grupo");
  EXPECT_EQ(r.status, 2) << r.err;
  EXPECT_EQ(Slurp(tmp_.file("alheia.xlsx")), alheia);
}

// The shop's own customers and a product table of another company: the plan says,
// before any box of the run, what will be deleted and that the company chosen has
// nothing; the run then goes as the operator asked.
TEST_F(SegurancaCliTest, ThePlanSaysWhatIsDeletedAndWhenTheCompanyHasNothing) {
  const std::string db = FreshDatabase("seguranca-plano");
  Sql(db, {u"INSERT INTO CLIENTE (CODCLIENTE, NOME, PESSOA_FJ, ATIVO, CLIBLOQUEADO) VALUES ('00000001', 'DIGITADO NA LOJA', 'F', 'S', 'N')",
           u"INSERT INTO CLIENTE (CODCLIENTE, NOME, PESSOA_FJ, ATIVO, CLIBLOQUEADO) VALUES ('00000002', 'OUTRO DA LOJA', 'F', 'S', 'N')",
           u"INSERT INTO PRODUTO (CODPROD, TIPOPROD, ATIVO, PRODBLOQUEADO, DESCRICAO) "
           u"VALUES ('000001', 'P', 'S', 'N', 'PARAFUSO')"});
  Write("CLIENTES.DBF",
        "CODIGO C(8); DATA_ANI D; DATA_CAD D; RAZAOSOC C(60); FANTASIA C(40); FILIACAO C(60); ENDERECO C(50); "
        "BAIRRO C(30); CIDADE C(30); ESTADO C(2); CEP C(10); CGC C(18); INSC C(18); TELEFONE1 C(15); FAX C(15); "
        "CONTATO C(30); CELULAR C(16); OBS1 C(60); REFERE C(60); SPC1 C(40); SPC2 C(40); LOCAL_TRAB C(40)",
        {{"9", "", "", "Maria", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", ""}});
  Write("PR.DBF",
        "CODITEM C(10); GRUPO C(5); SUBGRUPO C(5); DESCRICAO C(50); UNIDADE C(8); ESTMIN N(10,3); PVENDA N(12,2); "
        "COMISSAO N(6,2); CUSTOATUAL N(12,4); CUSTOMEDIO N(12,4); C_FISCAL C(2); EMPRESA C(2); CODFAB C(5)",
        {{"A1", "", "", "Loja tres", "UN", "", "", "", "", "", "", "03", ""},
         {"A2", "", "", "Loja tres", "UN", "", "", "", "", "", "", "03", ""}});
  const std::string before = DumpTables(db);

  CliResult r = Cli(db, "--simular cliente produto");
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  const std::string plan = r.out.substr(0, r.out.find("[Information]"));
  EXPECT_TRUE(Has(plan, "Clientes: lê 1 registro de CLIENTES; apaga 2 de CLIENTE.")) << plan;
  EXPECT_TRUE(Has(plan, "Produtos: lê 0 registros da empresa 01 de PR (outras empresas: 03: 2); apaga 1 de PRODUTO"))
      << plan;
  EXPECT_TRUE(Has(plan, "3 registros que o banco de destino já tem serão apagados")) << plan;
  EXPECT_TRUE(Has(plan, "Produtos: nada da empresa 01 em PR, que tem registros de outras empresas")) << plan;
  EXPECT_EQ(DumpTables(db), before);
}

// A folder without a table, a table without a column its converter reads and a
// target that is not Norvale: each named at once, before anything is emptied.
TEST_F(SegurancaCliTest, EveryMissingTableOrColumnIsNamedBeforeAnythingIsTouched) {
  const std::string db = FreshDatabase("seguranca-verifica");
  Sql(db, {u"INSERT INTO GRUPROD (CODGRUPO, DESCRICAO) VALUES ('001', 'ANTIGO')"});
  Write("GRUPO.DBF", "CODIGO C(4); NOME C(40)", {{"5", "Ferragens"}});
  CopyFolder(std::string(CT_SOURCE_DIR) + "/examples/tolv", tmp_.file("exemplo"));
  std::filesystem::copy_file(tmp_.file("exemplo/CLIENTES.DBF"), src_.file("CLIENTES.DBF"));
  const std::string before = DumpTables(db);

  CliResult r = Cli(db, "cliente grupo fabricante");
  EXPECT_EQ(r.status, 1) << r.out << r.err;
  EXPECT_TRUE(Has(r.out, "[Error] Ocorreu um erro durante a conversão! Motivo: a conversão não começou")) << r.out;
  EXPECT_TRUE(Has(r.out, "A tabela GRUPO (Grupos de produtos) não tem a coluna DESCRICAO")) << r.out;
  EXPECT_TRUE(Has(r.out, "A tabela FABRICA (Fabricantes) não está na pasta de origem.")) << r.out;
  EXPECT_FALSE(Has(r.err, "Convertendo")) << r.err;
  EXPECT_EQ(DumpTables(db), before);

  TestDatabase blank = TestDatabase::Blank();
  r = RunCliProgram("--origem " + tmp_.file("exemplo") + " --destino " + blank.Path() + " cliente", tmp_);
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Has(r.out, "O banco de destino não tem a tabela CLIENTE")) << r.out;
}

// Receivables and payables converted twice: the documents are added again, as they
// always are, and the plan, a warning, the summary and exit 3 say how many repeat.
TEST_F(SegurancaCliTest, DocumentsConvertedTwiceAreToldAndExitThree) {
  const std::string db = FreshDatabase("seguranca-docs");
  const std::string examples = std::string(CT_SOURCE_DIR) + "/examples/tolv";
  const std::string args = "--origem " + examples + " --destino " + db + " receber pagar";
  ASSERT_EQ(RunCliProgram(args, tmp_).status, 0);
  CliResult again = RunCliProgram(args, tmp_);
  EXPECT_EQ(again.status, 3) << again.out;
  EXPECT_TRUE(Has(again.out, "Documentos a Receber: lê 4 documentos em aberto da empresa 01 de CR (outras "
                             "empresas: 02: 1); o destino já tem 4 documentos, e 4 dos que chegam já estão lá."))
      << again.out;
  EXPECT_TRUE(Has(again.out, "[Warning] 7 documentos convertidos são iguais a documentos")) << again.out;
  EXPECT_TRUE(Has(again.out, "    repetidos: 3 já estavam no banco de destino")) << again.out;
  EXPECT_EQ(CommittedRows(db, "SELECT COUNT(*) AS N FROM DOCUREC", {"N"}), std::vector<std::string>{"8"});
}

}  // namespace
