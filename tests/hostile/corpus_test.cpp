// Broken legacy folders through the console as an operator runs it, against a
// target that already holds a whole conversion: every damaged table stops the run
// with a box that names it (and the column and record where there is one), the
// program exits 1, and every table of the target is exactly as it was. Damage the
// reader rightly reads through converts exactly as the valid folder did.
//
// The folders are written by make_broken.py beside this file (python3-dbf, then
// broken byte by byte).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/CliRun.h"
#include "tests/support/DbfFixture.h"
#include "tests/support/TargetDump.h"
#include "tests/support/TestDatabase.h"

namespace {

const std::string kScript = "/usr/bin/python3 " CT_SOURCE_DIR "/tests/hostile/make_broken.py";

struct Caso {
  const char* nome;
  const char* tabela;              // as the converters name it
  std::vector<const char*> diz;    // what the box says besides the table
};

bool Has(const std::string& text, const std::string& what) { return text.find(what) != std::string::npos; }

// The lines of one dump missing from the other, both ways: what a run changed.
std::string Changes(const std::string& before, const std::string& after) {
  auto lines = [](const std::string& s) {
    std::multiset<std::string> out;
    std::istringstream in(s);
    for (std::string l; std::getline(in, l);) out.insert(l);
    return out;
  };
  const auto a = lines(before), b = lines(after);
  std::string d;
  for (const auto& l : a)
    if (!b.count(l)) d += "- " + l + "\n";
  for (const auto& l : b)
    if (!a.count(l)) d += "+ " + l + "\n";
  return d;
}

// The moment a row was written, which the target stamps itself, is not the row's data.
std::string WithoutStamps(std::string dump) {
  static const std::regex stamp(R"(\d\d/\d\d/\d{4} \d\d:\d\d:\d\d)");
  return std::regex_replace(dump, stamp, "<momento>");
}

std::string LastLine(const std::string& out) {
  std::string s = out;
  while (!s.empty() && s.back() == '\n') s.pop_back();
  const auto p = s.rfind('\n');
  return p == std::string::npos ? s : s.substr(p + 1);
}

class CorpusQuebrado : public ::testing::Test {
 protected:
  // Writes the folders of the cases and a target holding a run of the valid one.
  void Prepare(const std::vector<Caso>& casos) {
    std::string cmd = kScript + " " + corpus_.path();
    for (const Caso& c : casos) cmd += std::string(" ") + c.nome;
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    db_ = FreshDatabase("corpus");
    const CliResult base = Run(Folder("base"), "todos");
    ASSERT_EQ(base.status, 0) << base.out << base.err;
    before_ = DumpTables(db_);
    ASSERT_TRUE(Has(before_, "== CLIENTE (7)")) << before_;
  }

  std::string Folder(const std::string& caso) const { return corpus_.path() + "/" + caso; }

  CliResult Run(const std::string& folder, const std::string& kinds, const std::string& wrapper = "") {
    // A hang is a failure too: the program gets a minute.
    return RunCliProgram("--origem " + folder + " --destino " + db_ + " " + kinds, out_,
                         env_ + "timeout 60 " + wrapper);
  }

  // The run stops, names the table and what it found, and the target is untouched;
  // the inspection of the folder fails on the same table.
  void ExpectRefused(const Caso& c, const std::string& wrapper = "") {
    SCOPED_TRACE(c.nome);
    const CliResult r = Run(Folder(c.nome), "todos", wrapper);
    EXPECT_EQ(r.status, 1) << r.out << r.err;
    const std::string box = "[Error] Ocorreu um erro durante a conversão! Motivo: ";
    ASSERT_TRUE(Has(r.out, box)) << r.out;
    const std::string motivo = r.out.substr(r.out.find(box) + box.size());
    EXPECT_TRUE(Has(motivo, std::string("\"") + c.tabela + "\"")) << motivo;
    for (const char* d : c.diz) EXPECT_TRUE(Has(motivo, d)) << "\"" << d << "\" not in: " << motivo;
    ExpectTargetAsBefore();

    const CliResult inspecao =
        RunCliProgram("--inspecionar --origem " + Folder(c.nome), out_, env_ + "timeout 60 " + wrapper);
    EXPECT_EQ(inspecao.status, 1) << inspecao.out;
    EXPECT_EQ(LastLine(inspecao.out), std::string("Resultado: não foi possível ler por inteiro: ") + c.tabela + ".")
        << inspecao.out;
  }

  void ExpectTargetAsBefore(bool stamps = true) {
    const std::string after = stamps ? DumpTables(db_) : WithoutStamps(DumpTables(db_));
    const std::string before = stamps ? before_ : WithoutStamps(before_);
    EXPECT_EQ(Changes(before, after), "");
    if (after != before) before_ = DumpTables(db_);  // one fault, one failure
  }

  TempDir corpus_{"corpus"};
  TempDir out_{"corpus-out"};
  std::string db_;
  std::string before_;
  std::string env_;
};

TEST_F(CorpusQuebrado, HeadersThatLieStopTheRun) {
  const std::vector<Caso> casos = {
      {"cabecalho-cortado", "GRUPO", {"20 bytes"}},
      {"descritores-cortados", "GRUPO", {"97 bytes", "45"}},
      {"cabecalho-alem-do-arquivo", "GRUPO", {"65535 bytes"}},
      {"registro-menor-que-os-campos", "FORNEC", {"inconsistente", "295", "288"}},
      {"registro-maior-que-os-campos", "FORNEC", {"6 registros de 298 bytes", "só comporta 5"}},
      {"sem-terminador", "SUBGRUPO", {"inconsistente"}},
      {"sem-campos", "FABRICA", {"não tem campos"}},
      {"campo-de-tamanho-zero", "SUBGRUPO", {"\"DESCRICAO\"", "tamanho 0"}},
      {"data-de-dez-bytes", "CR", {"coluna \"EMISSAO\"", "10 bytes"}},
      {"logico-de-tres-bytes", "CLIENTES", {"\"SPC1\"", "3 bytes"}},
      {"versao-dbase7", "GRUPO", {"dBase 7"}},
      {"tipo-desconhecido", "GRUPO", {"coluna \"DESCRICAO\"", "\"W\""}},
      {"nao-e-tabela", "FORNEC", {"não é uma tabela dBase"}},
      {"arquivo-vazio", "FABRICA", {"0 bytes"}},
  };
  Prepare(casos);
  for (const Caso& c : casos) ExpectRefused(c);
}

TEST_F(CorpusQuebrado, RecordsTheFileDoesNotHoldStopTheRun) {
  const std::vector<Caso> casos = {
      {"contagem-mais-um", "PR", {"11 registros", "só comporta 10"}},
      {"contagem-muito-alem", "PR", {"4294967295 registros"}},
      {"cortado-no-ultimo-registro", "FORNEC", {"registro 6", "coluna \"TELEFONE1\""}},
      {"cortado-no-meio", "ContPag", {"só comporta 2"}},
      {"marca-de-registro-invalida", "GRUPO", {"registro 3", "0x58"}},
      {"fim-de-arquivo-no-meio", "SUBGRUPO", {"registro 4", "0x1A"}},
  };
  Prepare(casos);
  for (const Caso& c : casos) ExpectRefused(c);
}

TEST_F(CorpusQuebrado, GarbageValuesAndBrokenMemosNameColumnAndRecord) {
  const std::vector<Caso> casos = {
      {"numero-com-lixo", "PR", {"coluna \"PVENDA\"", "registro 3", "18X75"}},
      {"data-com-lixo", "CR", {"coluna \"EMISSAO\"", "registro 2", "2024AB05"}},
      {"data-impossivel", "CR", {"coluna \"VENCIMENTO\"", "registro 3", "20240231"}},
      {"logico-com-lixo", "CLIENTES", {"coluna \"SPC1\"", "registro 4", "\"X\""}},
      {"memo-alem-do-arquivo", "CLIENTES", {"coluna \"OBS1\"", "registro 2", "bloco 9999"}},
      {"memo-ausente", "CLIENTES", {"coluna \"OBS1\"", "registro 1", "arquivo de memo"}},
      {"memo-bloco-zero", "CLIENTES", {"coluna \"OBS1\"", "registro 1", "cabeçalho do arquivo de memo"}},
  };
  Prepare(casos);
  for (const Caso& c : casos) ExpectRefused(c);
}

// Whatever sits where the table's file should be, the run says what it is rather
// than that there is nothing, and never waits on it.
TEST_F(CorpusQuebrado, ATableThatIsNoFileOrCannotBeReadStopsTheRun) {
  const std::vector<Caso> casos = {
      {"tabela-e-pasta", "GRUPO", {"é uma pasta"}},
      {"tabela-e-fifo", "GRUPO", {"não é um arquivo comum"}},
      {"link-quebrado", "GRUPO", {"/nao/existe/GRUPO.DBF"}},
  };
  const Caso ilegivel = {"tabela-ilegivel", "GRUPO", {"sem permissão de leitura"}};
  std::vector<Caso> todos = casos;
  todos.push_back(ilegivel);
  Prepare(todos);
  for (const Caso& c : casos) ExpectRefused(c);

  // Root reads a file whatever its permissions. The program then runs without the
  // capabilities that allow it (the embedded engine with a lock folder of its own,
  // since the usual one is open to root only through those capabilities).
  std::string wrapper;
  if (geteuid() == 0) {
    if (std::system("setpriv --bounding-set -dac_override,-dac_read_search true") != 0)
      GTEST_SKIP() << "root cannot give up reading every file here";
    const std::string lock = out_.file("lock");
    ASSERT_EQ(std::system(("mkdir -p " + lock).c_str()), 0);
    env_ = "FIREBIRD_LOCK=" + lock + " ";
    wrapper = "setpriv --bounding-set -dac_override,-dac_read_search,-chown,-fowner ";
  }
  ExpectRefused(ilegivel, wrapper);
}

// Damage that leaves every value where the header says: read exactly as the valid
// table, so running its kind again changes nothing in the target.
TEST_F(CorpusQuebrado, DamageTheReaderReadsThroughConvertsAsTheValidFolder) {
  const std::vector<std::pair<Caso, const char*>> casos = {
      {{"sem-terminador-tolerado", "SUBGRUPO", {}}, "subgrupo"},
      {{"numero-de-quarenta-bytes", "PR", {}}, "produto"},
      {{"lixo-depois-do-fim", "FABRICA", {}}, "fabricante"},
  };
  std::vector<Caso> nomes;
  for (const auto& c : casos) nomes.push_back(c.first);
  Prepare(nomes);
  for (const auto& [c, kind] : casos) {
    SCOPED_TRACE(c.nome);
    const CliResult again = Run(Folder("base"), kind);
    ASSERT_EQ(again.status, 0) << again.out;
    ASSERT_EQ(Changes(WithoutStamps(before_), WithoutStamps(DumpTables(db_))), "")
        << "running " << kind << " again on the valid folder changes the target";
    const CliResult r = Run(Folder(c.nome), kind);
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    ExpectTargetAsBefore(false);
  }
}

// A case the script writes and no test above runs would be damage nobody checks.
TEST(CorpusQuebradoLista, EveryCaseOfTheScriptIsRunAbove) {
  const std::set<std::string> checked = {
      "cabecalho-cortado", "descritores-cortados", "cabecalho-alem-do-arquivo", "registro-menor-que-os-campos",
      "registro-maior-que-os-campos", "sem-terminador", "sem-campos", "campo-de-tamanho-zero", "data-de-dez-bytes",
      "logico-de-tres-bytes", "versao-dbase7", "tipo-desconhecido", "nao-e-tabela", "arquivo-vazio",
      "contagem-mais-um", "contagem-muito-alem", "cortado-no-ultimo-registro", "cortado-no-meio",
      "marca-de-registro-invalida", "fim-de-arquivo-no-meio", "numero-com-lixo", "data-com-lixo", "data-impossivel",
      "logico-com-lixo", "memo-alem-do-arquivo", "memo-ausente", "memo-bloco-zero", "tabela-e-pasta",
      "tabela-e-fifo", "link-quebrado", "tabela-ilegivel", "sem-terminador-tolerado", "numero-de-quarenta-bytes",
      "lixo-depois-do-fim"};
  TempDir tmp("corpus-lista");
  ASSERT_EQ(std::system((kScript + " --lista >" + tmp.file("lista.txt")).c_str()), 0);
  std::istringstream in(Slurp(tmp.file("lista.txt")));
  std::set<std::string> written;
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) written.insert(line);
  EXPECT_EQ(written, checked);
}

}  // namespace
