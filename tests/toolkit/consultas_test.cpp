// Unit and city lookups on fresh Norvale database files.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/support/RecordingServices.h"
#include "tests/support/TestRun.h"
#include "platform/Error.h"
#include "platform/WindowServices.h"
#include "platform/firebird/Firebird.h"
#include "tests/support/TestDatabase.h"
#include "toolkit/classConversao.h"

namespace {

UString U(const char* utf8) { return Utf8ToU(utf8); }
std::string S(const UString& u) { return UToUtf8(u); }

class Consultas : public ::testing::Test {
 protected:
  void SetUp() override {
    tdb.Connect(db);
    conv = std::make_unique<TConversao>(run.ctx);
  }

  void Exec(const std::string& sql) {
    fb::Query q(db);
    q.SetSQL(Utf8ToU(sql));
    q.ExecSQL();
  }

  // The first column V of the first row, or "<none>" when there is no row.
  std::string Value(const std::string& sql) {
    fb::Query q(db);
    q.SetSQL(Utf8ToU(sql));
    q.Open();
    return q.IsEmpty() ? "<none>" : S(q.FieldAsText(u"V"));
  }

  std::string Count(const std::string& table) { return Value("SELECT COUNT(*) AS V FROM " + table); }
  std::string CityName(const std::string& code) {
    return Value("SELECT CIDADE AS V FROM CIDADES WHERE CODCIDADE = '" + code + "'");
  }

  void AddCity(const std::string& code, const std::string& name, const std::string& state) {
    Exec("INSERT INTO CIDADES (CODCIDADE, CIDADE, ESTADO) VALUES ('" + code + "', '" + name + "', '" +
         state + "')");
  }

  // What a separate reader sees once this test's connection is closed (an open
  // transaction is rolled back by the close).
  std::string SeenAfterClose(const std::string& sql) {
    conv.reset();
    db.Close();
    return tdb.Isql(sql);
  }


  TestDatabase tdb{"consultas"};
  fb::Database db;
  TestRun run{db};
  RecordingServices& rec = run.ui;
  std::unique_ptr<TConversao> conv;
};

TEST_F(Consultas, FUnidadeRegistersAMissingUnitOnceAndFindsItAfterwards) {
  // Six code units, raised only from a to z, not trimmed; the empty code is a unit too.
  const std::pair<const char*, const char*> cases[] = {
      {"un", "UN"}, {"UN", "UN"}, {"Caixa12", "CAIXA1"}, {" kg", " KG"}, {"pç", "Pç"}, {"", ""}};
  for (const auto& [in, out] : cases) {
    SCOPED_TRACE(in);
    EXPECT_EQ(conv->FUnidade(U(in)), U(out));
    EXPECT_EQ(conv->FUnidade(U(in)), U(out));
    EXPECT_EQ(Count("UNIDADES WHERE UNIDADE = '" + std::string(out) + "'"), "1");
  }
  EXPECT_EQ(Count("UNIDADES"), "5");

  // A unit the target already has when a run starts is left as it is.
  Exec("INSERT INTO UNIDADES (UNIDADE, DESCRICAO) VALUES ('PC', 'PECA')");
  TestRun depois{db};
  EXPECT_EQ(TConversao(depois.ctx).FUnidade(u"pc"), u"PC");
  EXPECT_EQ(Value("SELECT DESCRICAO AS V FROM UNIDADES WHERE UNIDADE = 'PC'"), "PECA");
  EXPECT_EQ(Count("UNIDADES"), "6");
  EXPECT_TRUE(rec.boxes.empty());
  EXPECT_TRUE(depois.ui.boxes.empty());

  // Nothing was committed: the units vanish with the transaction.
  EXPECT_NE(SeenAfterClose("SELECT 'N=' || COUNT(*) FROM UNIDADES;").find("N=0"), std::string::npos);
}

TEST_F(Consultas, FUnidadeWarnsOnAFailingStatementAndStillReturnsTheCode) {
  Exec("DROP TABLE UNIDADES");
  Exec("COMMIT");

  EXPECT_EQ(conv->FUnidade(u"cx"), u"CX");
  ASSERT_EQ(rec.boxes.size(), 1u);
  EXPECT_EQ(rec.boxes[0].kind, MsgKind::Warning);
  EXPECT_EQ(rec.boxes[0].text, u"Erro ao converter Unidade.");
  EXPECT_EQ(rec.boxes[0].buttons, MsgButtons::OK);

  EXPECT_EQ(conv->FUnidade(u"Caixa12"), u"CAIXA1");
  EXPECT_EQ(rec.boxes.size(), 2u);

  // The failure does not spoil the auxiliary query for the next lookup.
  EXPECT_EQ(conv->FCidade(u"Contagem", u"MG", u""), u"00001");
}

TEST_F(Consultas, FCidadeAllocatesTheHighestCodePlusOneZeroFilled) {
  EXPECT_EQ(conv->FCidade(u"Contagem", u"mg", u""), u"00001");
  EXPECT_EQ(Value("SELECT CIDADE || '|' || ESTADO || '|' || CODMUNICIPIO || '|' AS V FROM CIDADES "
                  "WHERE CODCIDADE = '00001'"),
            "CONTAGEM|MG||");
  EXPECT_EQ(conv->FCidade(u"Betim", u"MG", u" 3106705 "), u"00002");
  EXPECT_EQ(Value("SELECT CODMUNICIPIO AS V FROM CIDADES WHERE CODCIDADE = '00002'"), "3106705");

  // A code taken meanwhile by a city the run did not register: the target is asked.
  AddCity("00003", "MATEUS LEME", "MG");
  EXPECT_EQ(conv->FCidade(u"Lagoa Santa", u"MG", u""), u"00004");

  // The highest code in the target's own order, text against text: "7" comes after
  // "00042".
  AddCity("00042", "IBIRITE", "MG");
  AddCity("7", "SETE LAGOAS", "MG");
  TestRun segunda{db};
  conv = std::make_unique<TConversao>(segunda.ctx);
  EXPECT_EQ(conv->FCidade(u"Sabara", u"MG", u""), u"00008");

  // A sixth digit is not cut.
  AddCity("99999", "CAETE", "MG");
  TestRun terceira{db};
  conv = std::make_unique<TConversao>(terceira.ctx);
  EXPECT_EQ(conv->FCidade(u"Nova Lima", u"MG", u""), u"100000");
  EXPECT_EQ(CityName("100000"), "NOVA LIMA");
  EXPECT_EQ(Count("CIDADES"), "9");
}

TEST_F(Consultas, NamesAreRaisedOnlyFromAToZAndQuotedAndFBuscaCidadeWritesNothing) {
  AddCity("00007", "SãO PAULO", "SP");
  EXPECT_EQ(conv->FCidade(U("São Paulo"), u"sp", u""), u"00007");
  EXPECT_EQ(conv->FBuscaCidade(U("São Paulo"), u"sp", u""), u"00007");
  EXPECT_EQ(conv->FBuscaCidade(U("São Paulo"), u"RJ", u"3550308"), u"");

  // Written with the capital Ã it is another city, and is created as written.
  EXPECT_EQ(conv->FBuscaCidade(U("SÃO PAULO"), u"SP", u""), u"");
  EXPECT_EQ(conv->FCidade(U("SÃO PAULO"), u"SP", u""), u"00008");
  EXPECT_EQ(CityName("00008"), "SÃO PAULO");

  // An apostrophe in a name goes into the statement as part of the literal.
  EXPECT_EQ(conv->FCidade(U("Pingo-d'Água"), u"MG", u""), u"00009");
  EXPECT_EQ(conv->FCidade(U("Pingo-d'Água"), u"MG", u""), u"00009");
  EXPECT_EQ(conv->FBuscaCidade(U("PINGO-D'Água"), u"mg", u""), u"00009");
  EXPECT_EQ(CityName("00009"), "PINGO-D'ÁGUA");
  EXPECT_EQ(conv->FBuscaCidade(u"X' OR '1'='1", u"SP", u""), u"");
  EXPECT_EQ(conv->FBuscaCidade(u"SãO PAULO", u"SP' OR ESTADO <> '", u""), u"");
  EXPECT_EQ(conv->FBuscaCidade(u"", u"", u""), u"");
  EXPECT_EQ(Count("CIDADES"), "3");  // FBuscaCidade's misses wrote nothing
}

TEST_F(Consultas, BhteStandsForBeloHorizonteInAnyState) {
  // Without Belo Horizonte, BHTE is created under its own name.
  EXPECT_EQ(conv->FCidade(u"BHTE", u"RJ", u""), u"00001");
  EXPECT_EQ(CityName("00001"), "BHTE");

  // A run reads the cities once: the next one sees Belo Horizonte.
  AddCity("00010", "BELO HORIZONTE", "MG");
  TestRun depois{db};
  conv = std::make_unique<TConversao>(depois.ctx);
  EXPECT_EQ(conv->FCidade(u"BHTE", u"SP", u""), u"00010");
  EXPECT_EQ(conv->FCidade(u"BHTE", u"MG", u""), u"00010");
  // A BHTE of the same state is found first.
  EXPECT_EQ(conv->FCidade(u"BHTE", u"RJ", u""), u"00001");

  // Only the exact abbreviation counts.
  EXPECT_EQ(conv->FCidade(u"bhte", u"MG", u""), u"00011");
  EXPECT_EQ(CityName("00011"), "BHTE");
  EXPECT_EQ(conv->FCidade(u" BHTE", u"SP", u""), u"00012");
  // The plain lookup knows nothing of it.
  EXPECT_EQ(conv->FBuscaCidade(u"BHTE", u"SP", u""), u"");
  EXPECT_EQ(Count("CIDADES"), "4");
  conv.reset();
}

TEST_F(Consultas, FailingCityStatementsReachTheCaller) {
  // A highest code that is not a number.
  AddCity("ABC", "VELHA", "MG");
  EXPECT_THROW(conv->FCidade(u"Nova", u"MG", u""), EConversao);
  EXPECT_EQ(conv->FCidade(u"Velha", u"MG", u""), u"ABC");  // found before any code is needed
  EXPECT_EQ(Count("CIDADES"), "1");

  // The table goes while no statement of ours is prepared on it.
  conv.reset();
  Exec("DROP TABLE CIDADES");
  Exec("COMMIT");
  TestRun depois{db};
  conv = std::make_unique<TConversao>(depois.ctx);
  EXPECT_THROW(conv->FCidade(u"Contagem", u"MG", u""), EDatabaseError);
  EXPECT_THROW(conv->FBuscaCidade(u"Contagem", u"MG", u""), EDatabaseError);
  EXPECT_TRUE(rec.boxes.empty());
  EXPECT_TRUE(depois.ui.boxes.empty());
  conv.reset();
}

// The lookups run in the run's transaction: what they insert is found at once,
// also through another TConversao on the connection, and after a commit too; they
// never commit themselves.
TEST_F(Consultas, ACityInsertedInTheRunIsFoundByTheNextCallBeforeAndAfterACommit) {
  EXPECT_EQ(conv->FCidade(u"Nova Lima", u"MG", u""), u"00001");
  EXPECT_EQ(conv->FCidade(u"NOVA LIMA", u"mg", u""), u"00001");
  EXPECT_EQ(conv->FBuscaCidade(u"nova lima", u"MG", u""), u"00001");
  TConversao outro(run.ctx);
  EXPECT_EQ(outro.FCidade(u"Nova Lima", u"MG", u""), u"00001");
  EXPECT_EQ(outro.FCidade(u"Sabara", u"MG", u""), u"00002");
  EXPECT_TRUE(db.DefaultTransaction().InTransaction());
  Exec("COMMIT");
  EXPECT_FALSE(db.DefaultTransaction().InTransaction());
  EXPECT_EQ(conv->FCidade(u"Sabara", u"MG", u""), u"00002");
  EXPECT_EQ(outro.FCidade(u"Contagem", u"MG", u""), u"00003");
  const std::string seen = SeenAfterClose("SELECT 'C=' || CODCIDADE || '=' || CIDADE FROM CIDADES;");
  EXPECT_NE(seen.find("C=00001=NOVA LIMA"), std::string::npos) << seen;
  EXPECT_NE(seen.find("C=00002=SABARA"), std::string::npos) << seen;
  EXPECT_EQ(seen.find("CONTAGEM"), std::string::npos) << seen;
}

}  // namespace

// The run reads the cities once; its answers are those of the lookup query.
TEST_F(Consultas, TheRunsCopyOfTheCitiesAnswersAsTheQuery) {
  AddCity("00001", "SãO PAULO", "SP");
  AddCity("00002", "SANTOS  ", "SP");
  AddCity("00003", "PAU D''ALHO", "PE");
  AddCity("00004", "PAU D''ALHO", "PE");  // the first one read decides
  AddCity("00005", "Campinas", "SP");
  AddCity("00006", std::string(60, 'C'), "RJ");
  Exec("INSERT INTO CIDADES (CODCIDADE, CIDADE) VALUES ('00007', 'SEM ESTADO')");
  const std::pair<UString, UString> buscas[] = {
      {u"São Paulo", u"sp"}, {u"SÃO PAULO", u"SP"}, {u"Santos", u"SP"},    {u"SANTOS ", u"SP "},
      {u" SANTOS", u"SP"},   {u"Pau d'Alho", u"PE"}, {u"campinas", u"SP"}, {u"Campinas", u"SP"},
      {UString(60, u'c'), u"RJ"}, {UString(61, u'C'), u"RJ"}, {u"Sem estado", u""}, {u"", u""},
  };
  for (const auto& [nome, estado] : buscas) {
    SCOPED_TRACE(S(nome) + "/" + S(estado));
    const std::string consulta = Value("SELECT CODCIDADE AS V FROM CIDADES WHERE CIDADE = " +
                                       S(QuotedStr(UpperAZ(nome))) + " AND ESTADO = " + S(QuotedStr(UpperAZ(estado))));
    const UString achada = conv->FBuscaCidade(nome, estado, u"");
    EXPECT_EQ(achada.empty() ? "<none>" : S(achada), consulta);
  }
}
