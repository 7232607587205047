#include "converters/ProdutosController.h"

#include <memory>

#include "converters/CompProd.h"
#include "converters/Produto.h"
#include "converters/Passagem.h"
#include "converters/ProdutoDetalhe.h"
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

// The three rows of one product, filled from the legacy row: the product itself,
// its per-company row and its detail row.
struct RegistrosProduto {
  explicit RegistrosProduto(RunContext& ctx)
      : produto(ctx), compProd(ctx), detalhe(ctx), conversao(ctx) {}

  void Preenche(const SourceQuery& q, const UString& codigo) {
    produto.SetCodProd(codigo);
    produto.SetCodGrupo(CodigoInterno(q.FieldAsText(u"GRUPO")));
    produto.SetCodSubGrupo(CodigoInterno(q.FieldAsText(u"SUBGRUPO")));
    produto.SetDescricao(q.FieldAsText(u"DESCRICAO"));
    produto.SetUnidEntrada(conversao.FUnidade(q.FieldAsText(u"UNIDADE")));
    produto.SetUnidSaida(produto.UnidEntrada());
    produto.SetEstMinimo(q.FieldAsDouble(u"ESTMIN"));
    produto.SetPreco(q.FieldAsDouble(u"PVENDA"));
    produto.SetComissao(q.FieldAsDouble(u"COMISSAO"));
    produto.SetFCodFabric(TConversao::StrZero(q.FieldAsText(u"CODFAB"), 5));

    AplicaTributacao(produto, q);

    produto.SetAtivado(u"S");
    produto.SetCodTipoProduto(u"00");
    produto.SetTipoProd(u"R");

    compProd.SetCodProd(produto.CodProd());
    compProd.SetCodEmpresa(u"00");
    compProd.SetPrecoCusto(Custo(q, u"CUSTOATUAL"));
    compProd.setPrecoMedio(Custo(q, u"CUSTOMEDIO"));

    detalhe.SetCODPROD(produto.CodProd());
    if (produto.CodTribut00() == u"060")
      detalhe.SetCODCSOSN(u"500");
    else if (produto.CodTribut00() == u"000")
      detalhe.SetCODCSOSN(u"101");
  }

  void Grava() {
    produto.ExecutaSql();
    compProd.ExecutaSql(1);
    detalhe.ExecutaSql();
  }

  TConverteProduto produto;
  TConverteCompProd compProd;
  TConverteProdutoDetalhe detalhe;
  TConversao conversao;
};

}  // namespace

void TClassPreencheDadosProdutos::GravaRegistroNaturezaReceita(fb::Database& DbDestino) {
  fb::Query upsert(DbDestino);
  upsert.SetSQL(
      u"UPDATE OR INSERT INTO NATRECEITA (ID, CODRECEITA, DESCRECEITA) VALUES (1, 999,\"OUTRAS RECEITAS\")");
  upsert.ExecSQL();
}

void TClassPreencheDadosProdutos::PreencheDadosProdutos(RunContext& ctx, const Tipo& tipo) {
  Passagem passagem(ctx, tipo);

  auto registros = std::make_unique<RegistrosProduto>(ctx);
  int vContaRegistro = 1;
  UString Verificador;

  registros->produto.LimpaTabela();
  registros->compProd.LimpaTabela(u"");
  registros->detalhe.LimpaTabela();

  GravaRegistroNaturezaReceita(ctx.Destino());

  passagem.Percorre([&](const SourceQuery& q) {
    const UString codigo = ctx.GerarCodigo() ? TConversao::StrZero(IntToU(vContaRegistro), 6)
                                             : RightU(q.FieldAsText(u"CODITEM"), 6);
    ++vContaRegistro;
    registros->Preenche(q, codigo);
    passagem.Identifica(registros->produto.CodProd(), q.FieldAsText(u"DESCRICAO"));

    // The rows come in legacy code order, so two legacy items whose codes end alike
    // and follow each other make one product: the first.
    const UString codProd = registros->produto.CodProd();
    const bool repetido = codProd == Verificador;
    Verificador = codProd;
    if (repetido) return Linha::Ignorada(u"código " + codProd + u" igual ao do registro anterior");
    registros->Grava();
    return Linha::Gravada();
  });
}
