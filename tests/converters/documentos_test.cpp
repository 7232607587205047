// Receivables and payables, run through the run controller as the window and the
// console run them: real dBase files into real Firebird files.
#include <gtest/gtest.h>

#include <algorithm>
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

using Rows = std::vector<std::string>;

class CaptionLog : public StatusLabel {
 public:
  std::vector<std::string> captions;

 protected:
  void Changed() override { captions.push_back(UToUtf8(Caption())); }
};

const char* const kCRFields =
    "CODEMP C(2); CODCLI N(10,0); NUMERO_DOC C(30); EMISSAO D; VENCIMENTO D; VALOR N(12,2); VENDEDOR N(4,0); "
    "PAGAMENTO D";
const char* const kContPagFields =
    "CODEMP C(2); NUMERO_DOC C(30); CODFOR N(8,0); VALOR N(12,2); EMISSAO D; VENCIMENTO D; HISTORICO C(240); "
    "PAGAMENTO D";

const char* const kDocuRec =
    "SELECT CODEMPRESA, CODCLIENTE, CODVENDEDOR, TIPODOCTO, CODDOCTO, DT_EMISSAO, DT_VENCIMENTO, CODMOEDA, "
    "VALORDOCTO, VALORPAGO, VALORDESC, SITUACAO, CODOPER, NUMORD FROM DOCUREC ORDER BY ID_DOCUREC";
const char* const kMoviRec =
    "SELECT CODEMPRESA, TIPODOCTO, CODDOCTO, CODCLIENTE, TIPOMOV, NUMORD, VALORMOV, VALORDESC, JUROSMULTA, "
    "DT_MOVIMENTO, DT_VENCIMENTO, CODOPER, ESTORNADO FROM MOVIREC ORDER BY ID_MOVIREC";
const char* const kDocuPag =
    "SELECT CODFORNEC, CODDOCTO, TIPODOCTO, CODEMPRESA, CODMOEDA, VALORDOCTO, JUROSMULTA, VALORDESC, VALORPAGO, "
    "DT_EMISSAO, DT_VENCIMENTO, SITUACAO, HISTORICO, CODOPER, DOCTORECEBIDO, NUMORD FROM DOCUPAG ORDER BY ID_DOCUPAG";
const char* const kMoviPag =
    "SELECT CODEMPRESA, TIPODOCTO, CODDOCTO, CODFORNEC, TIPOMOV, NUMORD, DT_MOVIMENTO, DT_VENCIMENTO, VALORMOV, "
    "JUROSMULTA, CODOPER, ESTORNADO FROM MOVIPAG ORDER BY ID_MOVIPAG";

class DocumentosTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dbPath_ = FreshDatabase("documentos");
    ConnectTo(db_, dbPath_);
  }

  // Moves the test's connection to a fresh database of its own.
  void UseFreshDatabase(const std::string& label) {
    if (db_.Connected()) db_.Close();
    dbPath_ = FreshDatabase(label);
    ConnectTo(db_, dbPath_);
  }

  void Write(const char* file, const char* fields, std::vector<std::vector<std::string>> rows) {
    DbfTable t;
    t.path = src_.file(file);
    t.fields = fields;
    t.codepage = "cp850";
    t.rows = std::move(rows);
    WriteDbf(t);
  }

  bool Run(std::vector<const char16_t*> keys, const UString& empresa = u"01") {
    TStringList sel;
    for (const char16_t* k : keys) sel.SetValue(k, u"S");
    ui_.boxes.clear();
    label_.captions.clear();
    TClassesConversaoController c(ui_, engine_, report_);
    return c.FEfetuaConversao(sel, Utf8ToU(src_.path()), db_, db_.DefaultTransaction(), bar_, label_, empresa,
                              false);
  }

  // Every column of every row, "|"-separated, read through a connection of its own so
  // only what was committed shows; a null reads as <null>.
  Rows Committed(const std::string& sql) { return CommittedRows(dbPath_, sql, {}, "<null>"); }

  std::size_t Count(const std::string& table) { return Committed("SELECT 1 FROM " + table).size(); }

  std::string dbPath_;
  fb::Database db_;
  TempDir src_{"documentos-src"};
  ProgressBar bar_;
  CaptionLog label_;
  RecordingServices ui_;
  dbase::Engine engine_;
  RunReport report_;
};

// Open documents of the chosen company only, whatever company the legacy row had,
// arriving as company 00, each with one opening movement; paid ones stay behind.
TEST_F(DocumentosTest, OpenDocumentsOfTheChosenCompanyWithTheirOpeningMovements) {
  Write("CR.DBF", kCRFields,
        {{"01", "123", "NF \"4512\"", "20241120", "20241220", "1234.56", "12", ""},
         {"01", "7", "000130", "", "20250110", "99.9", "", ""},
         {"01", "123456789", "A1", "20241105", "", "10", "3", ""},
         {"01", "5", "000099", "20240901", "20241001", "780", "3", "20241001"},
         {"02", "1", "000500", "20241201", "20250101", "55.5", "1", ""}});
  const std::string longo(200, 'x');
  Write("CONTPAG.DBF", kContPagFields,
        {{"01", "NF 4512", "45", "1250.75", "20241110", "20241210", "Tubos \"urgente\" " + longo, ""},
         {"01", "REC-0031", "1234567", "89.9", "", "", "Manutenção", ""},
         {"02", "NF 9001", "12", "640", "20241201", "20250115", "Loja 2", ""},
         {"02", "NF 9002", "12", "200", "20240701", "20240801", "Paga", "20240801"}});

  struct Case {
    const char16_t* empresa;
    Rows docuRec, moviRec, docuPag, moviPag;
  };
  const Case cases[] = {
      {u"01",
       {"00|00000123|0012|AV|NF 4512|20/11/2024|20/12/2024|01|1234.56|0.00|0.00|1|004|<null>",
        "00|00000007|0000|AV|000130|30/12/1899|10/01/2025|01|99.90|0.00|0.00|1|004|<null>",
        "00|123456789|0003|AV|A1|05/11/2024|30/12/1899|01|10.00|0.00|0.00|1|004|<null>"},
       {"00|AV|NF 4512|00000123|01|<null>|1234.56|0.00|0.00|20/11/2024|20/12/2024|004|N",
        "00|AV|000130|00000007|01|<null>|99.90|0.00|0.00|30/12/1899|10/01/2025|004|N",
        "00|AV|A1|123456789|01|<null>|10.00|0.00|0.00|05/11/2024|30/12/1899|004|N"},
       {"000045|NF 4512|BO|00|01|1250.75|0.00|0.00|0.00|10/11/2024|10/12/2024|1|Tubos urgente " + longo +
            "|005|N|<null>",
        "1234567|REC-0031|BO|00|01|89.90|0.00|0.00|0.00|30/12/1899|30/12/1899|1|Manutenção|005|N|<null>"},
       {"00|BO|NF 4512|000045|1|<null>|10/11/2024|10/12/2024|1250.75|0.00|005|N",
        "00|BO|REC-0031|1234567|1|<null>|30/12/1899|30/12/1899|89.90|0.00|005|N"}},
      {u"02",
       {"00|00000001|0001|AV|000500|01/12/2024|01/01/2025|01|55.50|0.00|0.00|1|004|<null>"},
       {"00|AV|000500|00000001|01|<null>|55.50|0.00|0.00|01/12/2024|01/01/2025|004|N"},
       {"000012|NF 9001|BO|00|01|640.00|0.00|0.00|0.00|01/12/2024|15/01/2025|1|Loja 2|005|N|<null>"},
       {"00|BO|NF 9001|000012|1|<null>|01/12/2024|15/01/2025|640.00|0.00|005|N"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(UToUtf8(c.empresa));
    UseFreshDatabase("documentos");
    ASSERT_TRUE(Run({u"RECEBER", u"PAGAR"}, c.empresa));
    ASSERT_EQ(ui_.boxes.size(), 1u);
    EXPECT_EQ(ui_.boxes[0].text, u"Conversão concluída com sucesso!");
    EXPECT_EQ(Committed(kDocuRec), c.docuRec);
    EXPECT_EQ(Committed(kMoviRec), c.moviRec);
    EXPECT_EQ(Committed(kDocuPag), c.docuPag);
    EXPECT_EQ(Committed(kMoviPag), c.moviPag);

    const auto& kinds = report_.Kinds();
    ASSERT_EQ(kinds.size(), 2u);
    EXPECT_EQ(kinds[0].kind, u"Documentos a Receber");
    EXPECT_EQ(kinds[0].written, static_cast<long long>(c.docuRec.size()));
    EXPECT_EQ(kinds[1].kind, u"Documentos a Pagar");
    EXPECT_EQ(kinds[1].written, static_cast<long long>(c.docuPag.size()));
    const auto& seen = label_.captions;
    for (const std::string& caption :
         {"Convertendo Documentos a Receber - Registro 1 de " + std::to_string(c.docuRec.size()),
          "Convertendo Documentos a Pagar - Registro 1 de " + std::to_string(c.docuPag.size())})
      EXPECT_NE(std::find(seen.begin(), seen.end(), caption), seen.end()) << caption;
    EXPECT_EQ(seen.back(), "");
    EXPECT_EQ(bar_.Max(), 0);
  }
}

// Nothing is emptied: what the target held stays, and the same source converted
// again adds its documents again (the target has no key on the document).
TEST_F(DocumentosTest, ASecondRunAddsTheDocumentsAgain) {
  Write("CR.DBF", kCRFields,
        {{"01", "1", "R1", "20241105", "20241205", "350", "3", ""},
         {"01", "2", "R2", "20241106", "20241206", "10", "3", ""}});
  Write("CONTPAG.DBF", kContPagFields, {{"01", "P1", "42", "1250.75", "20241110", "20241210", "Compra", ""}});

  for (std::size_t run = 1; run <= 2; ++run) {
    SCOPED_TRACE(run);
    ASSERT_TRUE(Run({u"RECEBER", u"PAGAR"}));
    EXPECT_EQ(Count("DOCUREC"), 2 * run);
    EXPECT_EQ(Count("MOVIREC"), 2 * run);
    EXPECT_EQ(Count("DOCUPAG"), 1 * run);
    EXPECT_EQ(Count("MOVIPAG"), 1 * run);
  }
  EXPECT_EQ(Committed("SELECT CODDOCTO, COUNT(*) FROM DOCUREC GROUP BY CODDOCTO ORDER BY CODDOCTO"),
            (Rows{"R1|2", "R2|2"}));
}

// A run is one transaction: a document the target refuses fails the run, and the
// rollback takes back every document and movement written before it in the run,
// and the other kinds' rows too; what the target held before stays.
TEST_F(DocumentosTest, ARefusedDocumentUndoesTheWholeRun) {
  {
    fb::Query q(db_);
    q.SetSQL(u"INSERT INTO DOCUREC (CODEMPRESA, CODCLIENTE, TIPODOCTO, CODDOCTO) VALUES ('00', '1', 'AV', 'ANTIGO')");
    q.ExecSQL();
    q.SetSQL(u"INSERT INTO GRUPROD (CODGRUPO, DESCRICAO) VALUES ('001', 'Antigo')");
    q.ExecSQL();
    db_.DefaultTransaction().Commit();
  }
  Write("GRUPO.DBF", "CODIGO C(4); DESCRICAO C(30)", {{"5", "Ferragens"}});
  Write("CR.DBF", kCRFields, {{"01", "1", "R1", "20241105", "20241205", "350", "3", ""}});
  // The target's document number holds 20 characters.
  Write("CONTPAG.DBF", kContPagFields,
        {{"01", "P1", "42", "10", "20241110", "20241210", "Cabe", ""},
         {"01", "P2-NUMERO-LONGO-DEMAIS", "42", "20", "20241110", "20241210", "Não cabe", ""}});

  EXPECT_FALSE(Run({u"GRUPO", u"RECEBER", u"PAGAR"}));
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].kind, MsgKind::Error);
  EXPECT_EQ(UToUtf8(ui_.boxes[0].text).rfind("Ocorreu um erro durante a conversão! Motivo: ", 0), 0u);

  EXPECT_EQ(Committed("SELECT CODDOCTO FROM DOCUREC"), (Rows{"ANTIGO"}));
  EXPECT_EQ(Count("MOVIREC"), 0u);
  EXPECT_EQ(Count("DOCUPAG"), 0u);
  EXPECT_EQ(Count("MOVIPAG"), 0u);
  EXPECT_EQ(Committed("SELECT CODGRUPO, DESCRICAO FROM GRUPROD"), (Rows{"001|Antigo"}));
  EXPECT_EQ(bar_.Max(), 0);
}

}  // namespace
