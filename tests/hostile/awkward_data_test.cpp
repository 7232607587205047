// Good files with awkward data, through real runs of the console: quotes,
// semicolons and SQL text in every text column are stored as the rules of each kind
// say and never run; the longest values the legacy columns hold fit the target;
// control characters arrive as they are; and a character the target's WIN1252 cannot
// hold is never written as a "?": the box names it and the row, a customer or a
// manufacturer with it is refused while the run goes on, and any other kind fails
// the run with nothing written.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/firebird/Firebird.h"
#include "tests/support/CliRun.h"
#include "tests/support/DbfFixture.h"
#include "tests/support/TargetDump.h"
#include "tests/support/TestDatabase.h"

namespace {

// A double quote, an apostrophe, semicolons and a statement that would empty the
// cities if it ever ran: 29 characters.
const std::string P = "x\"y'); DELETE FROM CIDADES;--";
// P without its double quote, and that upper-cased and unaccented (";" becomes ".").
const std::string Q = "xy'); DELETE FROM CIDADES;--";
const std::string QNome = "XY'). DELETE FROM CIDADES.--";
// P without its apostrophe (suppliers drop them) and upper-cased, unaccented.
const std::string A = "x\"y); DELETE FROM CIDADES;--";
const std::string ANome = "X\"Y). DELETE FROM CIDADES.--";

// The longest value of an n-character legacy column: letters of cp850, apostrophes
// and semicolons, an apostrophe on every cut at 30.
std::string Longest(std::size_t n) {
  std::string s;
  for (std::size_t i = 0; i < n; ++i) s += (i % 4 == 0 ? "Ç" : i % 4 == 1 ? "'" : i % 4 == 2 ? "ã" : ";");
  return s;
}
// The first n characters of Longest (the same text: the rules cut by characters).
std::string LongestCut(std::size_t n) { return Longest(n); }

std::string WithoutApostrophes(std::string s) {
  std::erase(s, '\'');
  return s;
}

// Tabs, a control code and DEL inside, a tab in front and a blank behind.
const std::string kControl = "\tTab\x01" "ctl\x7F" "del ";

std::string Cut(const std::string& s, std::size_t n) {  // ASCII only
  return s.substr(0, std::min(n, s.size()));
}

const char* kClientes =
    "CODIGO C(8); DATA_ANI D; DATA_CAD D; RAZAOSOC C(60); FANTASIA C(40); FILIACAO C(60); ENDERECO C(50); "
    "BAIRRO C(30); CIDADE C(30); ESTADO C(2); CEP C(10); CGC C(18); INSC C(18); TELEFONE1 C(15); FAX C(15); "
    "CONTATO C(30); CELULAR C(16); OBS1 C(60); REFERE C(60); SPC1 C(40); SPC2 C(40); LOCAL_TRAB C(40)";
const char* kFornec =
    "CODIGO C(6); RAZAOSOC C(50); FANTASIA C(40); ENDERECO C(50); BAIRRO C(30); CIDADE C(30); ESTADO C(2); "
    "CEP C(10); CGC C(18); INSC C(18); TELEFONE1 C(20); FAX C(20)";
const char* kPr =
    "CODITEM C(10); GRUPO C(5); SUBGRUPO C(5); DESCRICAO C(50); UNIDADE C(8); ESTMIN N(10,3); PVENDA N(12,2); "
    "COMISSAO N(6,2); CUSTOATUAL N(12,4); CUSTOMEDIO N(12,4); C_FISCAL C(2); EMPRESA C(2); CODFAB C(5)";
const char* kCr =
    "CODEMP C(2); CODCLI N(8,0); NUMERO_DOC C(12); EMISSAO D; VENCIMENTO D; VALOR N(12,2); VENDEDOR N(4,0); "
    "PAGAMENTO D";
const char* kContPag =
    "CODEMP C(2); NUMERO_DOC C(12); CODFOR N(6,0); VALOR N(12,2); EMISSAO D; VENCIMENTO D; HISTORICO C(60); "
    "PAGAMENTO D";

using Rows = std::vector<std::vector<std::string>>;

class DadosEstranhos : public ::testing::Test {
 protected:
  void Write(const std::string& file, const std::string& fields, Rows rows) {
    DbfTable t;
    t.path = src_.file(file);
    t.fields = fields;
    t.codepage = "cp850";
    t.rows = std::move(rows);
    WriteDbf(t);
  }

  // A target with rows the payload names: a city and a unit that must survive.
  std::string Target() {
    const std::string db = FreshDatabase("estranhos");
    fb::Database c;
    ConnectTo(c, db);
    fb::Query q(c);
    for (const char16_t* sql : {u"INSERT INTO CIDADES (CODCIDADE, CIDADE, ESTADO) VALUES ('00050', 'SENTINELA', 'MG')",
                                u"INSERT INTO UNIDADES (UNIDADE) VALUES ('SENT')"}) {
      q.SetSQL(sql);
      q.ExecSQL();
    }
    c.DefaultTransaction().Commit();
    c.Close();
    return db;
  }

  // Column name -> text of the one row the query returns.
  std::map<std::string, std::string> Row(const std::string& db, const std::u16string& sql) {
    fb::Database c;
    ConnectTo(c, db);
    std::map<std::string, std::string> out;
    {
      fb::Query q(c);
      q.SetSQL(sql);
      q.Open();
      EXPECT_FALSE(q.Eof()) << UToUtf8(sql);
      if (!q.Eof())
        for (const UString& n : q.FieldNames()) out[UToUtf8(n)] = UToUtf8(q.FieldAsText(n));
      q.Next();
      EXPECT_TRUE(q.Eof()) << "more than one row: " << UToUtf8(sql);
    }
    c.DefaultTransaction().Commit();
    c.Close();
    return out;
  }

  CliResult Cli(const std::string& db, const std::string& kinds) {
    return RunCliProgram("--origem " + src_.path() + " --destino " + db + " " + kinds, out_, "timeout 120 ");
  }

  static void ExpectColumns(const std::map<std::string, std::string>& row,
                            const std::map<std::string, std::string>& expected) {
    for (const auto& [column, value] : expected) {
      const auto it = row.find(column);
      ASSERT_NE(it, row.end()) << column;
      EXPECT_EQ(it->second, value) << column;
    }
  }

  TempDir src_{"estranhos-src"};
  TempDir out_{"estranhos-out"};
};

// Every text column of every table carries the payload; the run stores each as its
// kind's rules say, and the statement in it never runs.
TEST_F(DadosEstranhos, QuotesSemicolonsAndSqlTextAreStoredAsTheRulesSay) {
  auto p = [](std::size_t n) { return Cut(P, n); };  // the payload as a column of n holds it
  Write("CLIENTES.DBF", kClientes,
        {{"7", "19800101", "20200101", p(60), p(40), p(60), p(50), p(30), p(30), p(2), p(10), p(18), p(18), p(15),
          p(15), p(30), p(16), p(60), p(60), p(40), p(40), p(40)}});
  Write("FORNEC.DBF", kFornec, {{"8", p(50), p(40), p(50), p(30), p(30), p(2), p(10), p(18), p(18), p(20), p(20)}});
  Write("GRUPO.DBF", "CODIGO C(4); DESCRICAO C(50)", {{"1", P}});
  Write("SUBGRUPO.DBF", "CODIGO C(4); DESCRICAO C(50)", {{"0101", P}});
  Write("FABRICA.DBF", "CODIGO C(7); RAZAOSOC C(40)", {{"12", P}});
  Write("PR.DBF", kPr, {{"000101", "00001", "00001", P, p(8), "1", "2.5", "0", "1", "1", "17", "01", p(5)}});
  Write("CR.DBF", kCr, {{"01", "5", p(12), "20240101", "20240201", "10", "3", ""}});
  Write("CONTPAG.DBF", kContPag, {{"01", p(12), "9", "20", "20240101", "20240201", P, ""}});
  const std::string db = Target();

  const CliResult r = Cli(db, "todos");
  ASSERT_EQ(r.status, 0) << r.out << r.err;

  ExpectColumns(Row(db, u"SELECT * FROM CLIENTE"),
                {{"NOME", QNome}, {"NOMEFANTASIA", QNome}, {"CAMPOLIVRE4", Q}, {"ENDERECO", Q}, {"ENDERECOENT", Q},
                 {"ENDERECOCOB", Q}, {"BAIRRO", Q}, {"BAIRROENT", Q}, {"BAIRROCOB", Q}, {"ESTADO", "X"},
                 {"ESTADOENT", "X"}, {"ESTADOCOB", "X"}, {"CEP", ""}, {"CGCCPF", ""}, {"CAMPOLIVRE2", "xy'); DELETE FROM"},
                 {"FONE", ""}, {"FAX", ""}, {"CONTATO", Q}, {"CELULAR", ""}, {"OBSERVACAO", Q + "\r\n" + Q + "\r\n"},
                 {"CAMPOLIVRE3", Q}, {"CAMPOLIVRE5", Q}, {"CAMPOLIVRE6", Q}, {"CODCIDADE", ""}});
  ExpectColumns(Row(db, u"SELECT * FROM FORNECE"),
                {{"NOME", ANome}, {"NOMEFANTASIA", ANome}, {"ENDERECO", A}, {"BAIRRO", A}, {"ESTADO", "x\""},
                 {"CEP", ""}, {"CGCCPF", ""}, {"INSCEST", ""}, {"FONE", ""}, {"FAX", ""}, {"CODCIDADE", "00051"}});
  // The supplier's city is registered with the name and state as the legacy row has them.
  ExpectColumns(Row(db, u"SELECT * FROM CIDADES WHERE CODCIDADE = '00051'"),
                {{"CIDADE", "X\"Y'); DELETE FROM CIDADES;--"}, {"ESTADO", "X\""}});
  ExpectColumns(Row(db, u"SELECT * FROM GRUPROD"), {{"DESCRICAO", P}});
  ExpectColumns(Row(db, u"SELECT * FROM SUBGRUP"), {{"DESCRICAO", P}});
  ExpectColumns(Row(db, u"SELECT * FROM CADFABR"), {{"DESCRICAO", P}});
  ExpectColumns(Row(db, u"SELECT * FROM PRODUTO"),
                {{"DESCRICAO", P}, {"UNIDADEENT", "X\"Y');"}, {"UNIDADESAIDA", "X\"Y');"}, {"CODFABRIC", "x\"y')"}});
  ExpectColumns(Row(db, u"SELECT * FROM UNIDADES WHERE UNIDADE <> 'SENT'"), {{"UNIDADE", "X\"Y');"}});
  ExpectColumns(Row(db, u"SELECT * FROM DOCUREC"), {{"CODDOCTO", "xy'); DELET"}});
  ExpectColumns(Row(db, u"SELECT * FROM MOVIREC"), {{"CODDOCTO", "xy'); DELET"}});
  ExpectColumns(Row(db, u"SELECT * FROM DOCUPAG"), {{"CODDOCTO", "xy'); DELET"}, {"HISTORICO", Q}});
  ExpectColumns(Row(db, u"SELECT * FROM MOVIPAG"), {{"CODDOCTO", "xy'); DELET"}});
  // Nothing of the payload ran.
  ExpectColumns(Row(db, u"SELECT * FROM CIDADES WHERE CODCIDADE = '00050'"), {{"CIDADE", "SENTINELA"}});
  ExpectColumns(Row(db, u"SELECT * FROM UNIDADES WHERE UNIDADE = 'SENT'"), {{"UNIDADE", "SENT"}});
}

// The longest values the legacy columns hold, with an apostrophe where the rules cut
// them, fit the target's columns; control characters inside a text arrive unchanged.
TEST_F(DadosEstranhos, TheLongestValuesAndControlCharactersArriveWhole) {
  auto l = [](std::size_t n) { return Longest(n); };
  Write("CLIENTES.DBF", kClientes,
        {{"7", "", "", l(60), l(40), l(60), l(50), l(30), l(30), "MG", "30130-005", "12.345.678/0001-95", l(18),
          "(31) 3333-4444", "(31) 3333-4445", l(30), "(31) 99999-8888", l(60), l(60), l(40), l(40), l(40)},
         {"8", "", "", kControl, "", "", kControl, "", "", "", "", "", "", "", "", "", "", "", "", "", "", ""}});
  Write("FORNEC.DBF", kFornec,
        {{"8", l(50), l(40), l(50), l(30), "", "MG", "30130-005", "12.345.678/0001-95", "ISENTO", "(31) 3333-4444",
          "(31) 3333-4445"}});
  Write("GRUPO.DBF", "CODIGO C(4); DESCRICAO C(50)", {{"1", l(50)}, {"2", kControl}});
  Write("FABRICA.DBF", "CODIGO C(7); RAZAOSOC C(40)", {{"12", l(40)}, {"13", kControl}});
  Write("CONTPAG.DBF", kContPag, {{"01", "DOC-1", "9", "20", "20240101", "20240201", l(60), ""},
                                  {"01", "DOC-2", "9", "20", "20240101", "20240201", kControl, ""}});
  const std::string db = Target();

  const CliResult r = Cli(db, "cliente fornecedor grupo pagar fabricante");
  ASSERT_EQ(r.status, 0) << r.out << r.err;

  // "Ç'ã;" upper-cased raises nothing; without accents it is "C'A.".
  std::string nome60, fornecedor;
  for (int i = 0; i < 15; ++i) nome60 += "C'A.";
  for (int i = 0; i < 12; ++i) fornecedor += "CA.";  // the 50 characters without their 13 apostrophes
  fornecedor += "C";
  ExpectColumns(Row(db, u"SELECT * FROM CLIENTE WHERE CODCLIENTE = '00000007'"),
                {{"NOME", nome60}, {"ENDERECO", LongestCut(50)}, {"BAIRRO", LongestCut(30)},
                 {"OBSERVACAO", LongestCut(60) + "\r\n" + LongestCut(38)}, {"CEP", "30130005"},
                 {"CGCCPF", "12345678000195"}, {"FONE", "3133334444"}, {"CELULAR", "999998888"}});
  ExpectColumns(Row(db, u"SELECT * FROM CLIENTE WHERE CODCLIENTE = '00000008'"),
                {{"NOME", "TAB\x01" "CTL\x7F" "DEL"}, {"ENDERECO", "Tab\x01" "ctl\x7F" "del"}});
  ExpectColumns(Row(db, u"SELECT * FROM FORNECE"),
                {{"NOME", fornecedor}, {"ENDERECO", WithoutApostrophes(Longest(50))}, {"INSCEST", "ISENTO"}});
  ExpectColumns(Row(db, u"SELECT * FROM GRUPROD WHERE CODGRUPO = '001'"), {{"DESCRICAO", LongestCut(30)}});
  ExpectColumns(Row(db, u"SELECT * FROM GRUPROD WHERE CODGRUPO = '002'"), {{"DESCRICAO", "Tab\x01" "ctl\x7F" "del"}});
  ExpectColumns(Row(db, u"SELECT * FROM CADFABR WHERE CODFABRIC = '00012'"), {{"DESCRICAO", LongestCut(30)}});
  ExpectColumns(Row(db, u"SELECT * FROM CADFABR WHERE CODFABRIC = '00013'"),
                {{"DESCRICAO", "\tTab\x01" "ctl\x7F" "del"}});
  ExpectColumns(Row(db, u"SELECT * FROM DOCUPAG WHERE CODDOCTO = 'DOC-1'"), {{"HISTORICO", LongestCut(60)}});
  ExpectColumns(Row(db, u"SELECT * FROM DOCUPAG WHERE CODDOCTO = 'DOC-2'"),
                {{"HISTORICO", "\tTab\x01" "ctl\x7F" "del"}});
}

// "╔" is a frame of the DOS screens, byte C9 in cp850; WIN1252 has no such
// character. Whatever kind carries it, nothing is written as a "?".
TEST_F(DadosEstranhos, ACharacterTheTargetCannotHoldIsNamedWithItsRow) {
  const std::string box = "╔═ Moldura";
  struct Caso {
    const char* kind;
    std::string file, fields;
    Rows rows;
    int status;               // 3: refused and reported, the run goes on; 1: the run fails
    std::vector<std::string> says;
  };
  const std::vector<Caso> casos = {
      {"cliente", "CLIENTES.DBF", kClientes,
       {{"1", "", "", "Bom", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", ""},
        {"2", "", "", box, "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", ""}},
       3, {"rejeitado: registro 2 (código 2, ", "\"╔\" (U+2554)"}},
      {"fabricante", "FABRICA.DBF", "CODIGO C(7); RAZAOSOC C(40)", {{"1", "Bom"}, {"2", box}}, 3,
       {"rejeitado: registro 2 (código 2, ", "\"╔\" (U+2554)"}},
      {"fornecedor", "FORNEC.DBF", kFornec,
       {{"1", "Bom", "", "", "", "", "", "", "", "", "", ""}, {"2", "Ruim", "", box, "", "", "", "", "", "", "", ""}},
       1, {"\"╔\" (U+2554)", "Fornecedores, registro 2 de 2"}},
      {"grupo", "GRUPO.DBF", "CODIGO C(4); DESCRICAO C(50)", {{"1", "Bom"}, {"2", box}}, 1,
       {"\"╔\" (U+2554)", "Grupos de produtos, registro 2 de 2"}},
      {"subgrupo", "SUBGRUPO.DBF", "CODIGO C(4); DESCRICAO C(50)", {{"0101", "Bom"}, {"0102", box}}, 1,
       {"\"╔\" (U+2554)", "Subgrupos de produtos, registro 2 de 2"}},
      {"produto", "PR.DBF", kPr,
       {{"000001", "00001", "00001", "Bom", "UN", "1", "1", "0", "1", "1", "17", "01", ""},
        {"000002", "00001", "00001", box, "UN", "1", "1", "0", "1", "1", "17", "01", ""}},
       1, {"\"╔\" (U+2554)", "Produtos, registro 2 de 2"}},
      {"receber", "CR.DBF", kCr,
       {{"01", "5", "BOM", "20240101", "20240201", "10", "3", ""},
        {"01", "5", "╔DOC", "20240101", "20240201", "10", "3", ""}},
       1, {"\"╔\" (U+2554)", "Documentos a Receber, registro 2 de 2"}},
      {"pagar", "CONTPAG.DBF", kContPag,
       {{"01", "D1", "9", "20", "20240101", "20240201", "Bom", ""},
        {"01", "D2", "9", "20", "20240101", "20240201", box, ""}},
       1, {"\"╔\" (U+2554)", "Documentos a Pagar, registro 2 de 2"}},
  };
  const std::string db = Target();
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.kind);
    Write(c.file, c.fields, c.rows);
    const std::string before = DumpTables(db);
    const CliResult r = Cli(db, c.kind);
    EXPECT_EQ(r.status, c.status) << r.out << r.err;
    for (const std::string& s : c.says) EXPECT_NE(r.out.find(s), std::string::npos) << s << " not in: " << r.out;
    EXPECT_EQ(r.out.find('?'), std::string::npos) << r.out;
    if (c.status == 1) {
      EXPECT_NE(r.out.find("[Error] Ocorreu um erro durante a conversão! Motivo: "), std::string::npos) << r.out;
      EXPECT_EQ(DumpTables(db), before);
    }
    const std::string after = DumpTables(db);
    EXPECT_EQ(after.find("?"), std::string::npos) << "a \"?\" was written";
  }
}

}  // namespace
