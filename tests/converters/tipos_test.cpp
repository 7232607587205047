// The list of kinds builds each source statement word for word as the legacy
// program wrote it, in the run's fixed order.
#include <gtest/gtest.h>

#include <string>

#include "converters/Tipos.h"

TEST(Tipos, EachSourceStatementAsTheLegacyProgramWroteIt) {
  const std::pair<const char*, std::u16string> esperadas[] = {
      {"cliente",
       u"SELECT CLIENTES.CODIGO, CLIENTES.DATA_ANI, CLIENTES.DATA_CAD, CLIENTES.RAZAOSOC, CLIENTES.FANTASIA, "
       u"CLIENTES.FILIACAO, CLIENTES.ENDERECO, CLIENTES.BAIRRO, CLIENTES.CIDADE, CLIENTES.ESTADO, CLIENTES.CEP, "
       u"CLIENTES.CGC, CLIENTES.INSC, CLIENTES.TELEFONE1, CLIENTES.FAX, CLIENTES.CONTATO, CLIENTES.CELULAR, "
       u"CLIENTES.OBS1, CLIENTES.REFERE, CLIENTES.SPC1, CLIENTES.SPC2, CLIENTES.LOCAL_TRAB FROM CLIENTES "},
      {"fornecedor",
       u"SELECT CODIGO, RAZAOSOC, FANTASIA, ENDERECO, BAIRRO, CIDADE, ESTADO, CEP, CGC, INSC, TELEFONE1, FAX "
       u"FROM FORNEC "},
      {"grupo", u"SELECT CODIGO, DESCRICAO FROM GRUPO"},
      {"subgrupo", u"SELECT CODIGO, DESCRICAO FROM SUBGRUPO"},
      {"produto",
       u"SELECT CODITEM, GRUPO, SUBGRUPO, DESCRICAO, UNIDADE, ESTMIN, PVENDA, COMISSAO, CUSTOATUAL, CUSTOMEDIO, "
       u"C_FISCAL, EMPRESA, CODFAB FROM PR WHERE EMPRESA = \"02\" ORDER BY CODITEM ASC"},
      {"receber",
       u"Select CodEmp, CodCli, Numero_Doc, Emissao, Vencimento, Valor, Vendedor From CR Where CodEmp = :PCodEmp "
       u"And Pagamento Is Null"},
      {"pagar",
       u"Select CodEmp, Numero_Doc, CodFor, Valor, Emissao, Vencimento, Historico From ContPag Where CodEmp = "
       u":PCodEmp And Pagamento Is Null"},
      {"fabricante", u"SELECT CODIGO, RAZAOSOC FROM FABRICA"},
  };
  ASSERT_EQ(Tipos().size(), std::size(esperadas));
  for (std::size_t i = 0; i < Tipos().size(); ++i) {
    const Tipo& t = Tipos()[i];
    EXPECT_STREQ(t.nome, esperadas[i].first);
    EXPECT_EQ(t.Consulta(u"02"), esperadas[i].second) << t.nome;
    EXPECT_EQ(TipoPorNome(t.nome), &t);
    EXPECT_EQ(TipoPorChave(UString(t.chave)), &t);
  }
  EXPECT_EQ(TipoPorNome("todos"), nullptr);
}
