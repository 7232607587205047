#include "converters/ProdutosController.h"

#include <memory>

#include "converters/CompProd.h"
#include "converters/Produto.h"
#include "converters/ProdutoDetalhe.h"
#include "run/RunReport.h"
#include "toolkit/classConversao.h"

namespace {

// The legacy groups and subgroups carry a leading digit of their own before the
// code: characters 2 to 5.
UString CodigoInterno(const UString& v) { return v.size() > 1 ? v.substr(1, 4) : UString(); }

// A cost column the legacy system left blank is a cost of 0.
double Custo(const SourceQuery& q, const UString& coluna) {
  return q.FieldAsText(coluna).empty() ? 0.0 : q.FieldAsDouble(coluna);
}

// C_FISCAL holds "01" for tax substitution, or the ICMS rate, or nothing (no rate).
// A text that is none of these fails the run with the engine's message.
void AplicaTributacao(TConverteProduto& produto, const SourceQuery& q) {
  const UString fiscal = q.FieldAsText(u"C_FISCAL");
  if (fiscal == u"01") {
    produto.SetSubsTrib(u"S");
    produto.SetCodTribut00(u"060");
    produto.SetAliqIcmsReg00(0);
    produto.SetBaseicmsReg00(0);
    produto.SetAliqIcmsPdv(0);
  } else if (fiscal.empty()) {
    produto.SetSubsTrib(u"N");
    produto.SetCodTribut00(u"000");
    produto.SetAliqIcmsReg00(0);
    produto.SetBaseicmsReg00(100);
    produto.SetAliqIcmsPdv(0);
  } else {
    const double aliquota = q.FieldAsDouble(u"C_FISCAL");
    produto.SetSubsTrib(u"N");
    produto.SetCodTribut00(u"000");
    produto.SetAliqIcmsReg00(aliquota);
    produto.SetBaseicmsReg00(100);
    produto.SetAliqIcmsPdv(aliquota);
  }
}

}  // namespace

SourceQuery& TClassPreencheDadosProdutos::BuscaProdutosBDOrigem(SourceQuery& qryBusca, const UString& Empresa) {
  qryBusca.SetSQL(u"");
  qryBusca.SetSQL(
      u"SELECT CODITEM, GRUPO, SUBGRUPO, DESCRICAO, UNIDADE, ESTMIN, PVENDA, COMISSAO, CUSTOATUAL, CUSTOMEDIO, "
      u"C_FISCAL, EMPRESA, CODFAB FROM PR WHERE EMPRESA = \"" +
      Empresa + u"\" ORDER BY CODITEM ASC");
  qryBusca.Open();
  return qryBusca;
}

void TClassPreencheDadosProdutos::GravaRegistroNaturezaReceita(fb::Database& DbDestino) {
  fb::Query upsert(DbDestino);
  upsert.SetSQL(
      u"UPDATE OR INSERT INTO NATRECEITA (ID, CODRECEITA, DESCRECEITA) VALUES (1, 999,\"OUTRAS RECEITAS\")");
  upsert.ExecSQL();
}

void TClassPreencheDadosProdutos::PreencheDadosProdutos(const UString& DbOrigem, fb::Database& DbDestino,
                                                         ProgressBar& Barra, StatusLabel& lblInfo,
                                                         const UString& Empresa, bool GerarCodigo) {
  RunReport& report = RunReport::Current();
  report.Begin(u"Produtos");

  auto ConverteProdutos = std::make_unique<TConverteProduto>(DbDestino);
  auto ConverteCompProd = std::make_unique<TConverteCompProd>(DbDestino);
  auto ConverteProdutoDetalhe = std::make_unique<TConverteProdutoDetalhe>(DbDestino);
  auto FConversao = std::make_unique<TConversao>(DbDestino);
  std::unique_ptr<SourceQuery> qryBusca = NewSourceQuery();
  qryBusca->SetDatabaseName(DbOrigem);
  int vContaRegistro = 1;
  UString Verificador;

  ConverteProdutos->LimpaTabela();
  ConverteCompProd->LimpaTabela(u"");
  ConverteProdutoDetalhe->LimpaTabela();

  BuscaProdutosBDOrigem(*qryBusca, Empresa);
  Barra.SetMax(qryBusca->RecordCount());

  GravaRegistroNaturezaReceita(DbDestino);

  TConverteProduto& produto = *ConverteProdutos;
  while (!qryBusca->Eof()) {
    lblInfo.SetCaption(u"Convertendo Produtos - Registro " + IntToU(vContaRegistro) + u" de " +
                       IntToU(Barra.Max()));
    ProcessMessages();
    report.Read();

    if (GerarCodigo)
      produto.SetCodProd(TConversao::StrZero(IntToU(vContaRegistro), 6));
    else
      produto.SetCodProd(RightU(qryBusca->FieldAsText(u"CODITEM"), 6));

    produto.SetCodGrupo(CodigoInterno(qryBusca->FieldAsText(u"GRUPO")));
    produto.SetCodSubGrupo(CodigoInterno(qryBusca->FieldAsText(u"SUBGRUPO")));
    produto.SetDescricao(qryBusca->FieldAsText(u"DESCRICAO"));
    produto.SetUnidEntrada(FConversao->FUnidade(qryBusca->FieldAsText(u"UNIDADE")));
    produto.SetUnidSaida(produto.UnidEntrada());
    produto.SetEstMinimo(qryBusca->FieldAsDouble(u"ESTMIN"));
    produto.SetPreco(qryBusca->FieldAsDouble(u"PVENDA"));
    produto.SetComissao(qryBusca->FieldAsDouble(u"COMISSAO"));
    produto.SetFCodFabric(TConversao::StrZero(qryBusca->FieldAsText(u"CODFAB"), 5));

    AplicaTributacao(produto, *qryBusca);

    produto.SetAtivado(u"S");
    produto.SetCodTipoProduto(u"00");
    produto.SetTipoProd(u"R");

    ConverteCompProd->SetCodProd(produto.CodProd());
    ConverteCompProd->SetCodEmpresa(u"00");
    ConverteCompProd->SetPrecoCusto(Custo(*qryBusca, u"CUSTOATUAL"));
    ConverteCompProd->setPrecoMedio(Custo(*qryBusca, u"CUSTOMEDIO"));

    ConverteProdutoDetalhe->SetCODPROD(produto.CodProd());
    if (produto.CodTribut00() == u"060")
      ConverteProdutoDetalhe->SetCODCSOSN(u"500");
    else if (produto.CodTribut00() == u"000")
      ConverteProdutoDetalhe->SetCODCSOSN(u"101");

    // The rows come in legacy code order, so two legacy items whose codes end alike
    // and follow each other make one product: the first.
    const UString codigo = produto.CodProd();
    if (codigo != Verificador) {
      produto.ExecutaSql();
      ConverteCompProd->ExecutaSql(1);
      ConverteProdutoDetalhe->ExecutaSql();
      report.Written();
    } else {
      report.Skipped(vContaRegistro, qryBusca->FieldAsText(u"CODITEM"), u"código igual ao do registro anterior");
    }
    Verificador = codigo;

    ++vContaRegistro;
    qryBusca->Next();
    Barra.StepBy(1);
  }

  lblInfo.SetCaption(u"");
  Barra.SetPosition(0);
  Barra.SetMax(0);
}
