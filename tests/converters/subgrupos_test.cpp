// The product subgroups converter, on real dBase files into real Firebird files.
#include "ConverterRun.h"

namespace {

class SubgruposTest : public ConverterRunTest {
 protected:
  void WriteSubgrupo(std::vector<std::vector<std::string>> rows) {
    Write("SUBGRUPO.DBF", "CODIGO C(6); DESCRICAO C(50)", std::move(rows));
  }
  std::vector<std::string> Subgroups() {
    return Committed("SELECT CODGRUPO, CODSUBGRUPO, DESCRICAO FROM SUBGRUP ORDER BY CODGRUPO, CODSUBGRUPO");
  }
};

// Characters 1-2 of the legacy code are the group, 3-4 the subgroup, each
// zero-filled to three; each run empties the table before writing.
TEST_F(SubgruposTest, TheCodeSplitsIntoGroupAndSubgroup) {
  Seed({u"INSERT INTO SUBGRUP (CODGRUPO, CODSUBGRUPO, DESCRICAO) VALUES ('099', '099', 'Antigo')"});
  struct Case {
    const char* codigo;
    const char* expected;
  };
  for (const Case& c : {Case{"0102", "001|002|D"}, Case{"1205", "012|005|D"}, Case{"12", "012|000|D"},
                        Case{"7", "007|000|D"}, Case{"123", "012|003|D"}, Case{"010299", "001|002|D"},
                        Case{"", "000|000|D"}}) {
    WriteSubgrupo({{c.codigo, "D"}});
    ASSERT_TRUE(Run({"SUBGRUPO"})) << c.codigo << " " << UToUtf8(BoxTexts().back());
    EXPECT_EQ(Subgroups(), std::vector<std::string>{c.expected}) << c.codigo;
  }

  WriteSubgrupo({});
  ASSERT_TRUE(Run({"SUBGRUPO"}));
  EXPECT_TRUE(Subgroups().empty());
  EXPECT_TRUE(captions_.empty());
  EXPECT_EQ(bar_.Max(), 0);
}

// Descriptions are cut, not trimmed; a blank one leaves its row out, but the row
// still counts in the progress and in the report.
TEST_F(SubgruposTest, DescriptionsKeepTheirBlanksAndBlankOnesAreSkipped) {
  WriteSubgrupo({{"0101", " Látex e acrílicas"},
                 {"0102", ""},
                 {"0103", "   "},
                 {"0104", " Descrição com mais de trinta caracteres"},
                 {"0105", "Tubos \"PVC\" d'água"}});
  ASSERT_TRUE(Run({"SUBGRUPO"}));
  EXPECT_EQ(BoxTexts(), std::vector<UString>{Utf8ToU(kSucesso)});
  EXPECT_EQ(Subgroups(), (std::vector<std::string>{"001|001| Látex e acrílicas",
                                                   "001|004| Descrição com mais de trinta ",
                                                   "001|005|Tubos \"PVC\" d'água"}));

  const KindReport& k = Report("Subgrupos de produtos");
  EXPECT_EQ(k.read, 5);
  EXPECT_EQ(k.written, 3);
  EXPECT_EQ(k.skipped, 2);
  EXPECT_EQ(skipped_, (std::vector<std::string>{"2:0102", "3:0103"}));
  ASSERT_EQ(captions_.size(), 5u);
  EXPECT_EQ(captions_[2], "Convertendo Subgrupos de produtos - Registro 3 de 5");
  EXPECT_EQ(captions_[4], "Convertendo Subgrupos de produtos - Registro 5 de 5");
}

}  // namespace
