#include "converters/DocuPag.h"

TConverteDocuPag::TConverteDocuPag(RunContext& Contexto) : TConverteDocumento(Contexto) { LimpaVariavel(); }

void TConverteDocuPag::LimpaVariavel() {
  LimpaDocumento();
  FCodFornec.clear();
  FHistorico.clear();
  FDoctoRecebido.clear();
}

bool TConverteDocuPag::ExecutaSql() {
  // Built once: the same text every row keeps its prepared statement.
  static const UString kDocuPag =
      u"Insert Into DocuPag( CodFornec, CodDocto, TipoDocto, CodEmpresa, CodMoeda, ValorDocto, JurosMulta, "
      u"ValorDesc, ValorPago, Dt_Emissao, Dt_Vencimento, Situacao, Historico, CodOper, DoctoRecebido, NumOrd) "
      u"Values( :PCodFornec, :PCodDocto, :PTipoDocto, :PCodEmpresa, :PCodMoeda, :PValorDocto, :PJurosMulta, "
      u":PValorDesc, :PValorPago, :PDt_Emissao, :PDt_Vencimento, :PSituacao, :PHistorico, :PCodOper, "
      u":PDoctoRecebido, :PNumOrd) ";
  QDestino->SetSQL(kDocuPag);
  QDestino->BindText(u"PCodFornec", FCodFornec);
  QDestino->BindText(u"PCodDocto", FCodDocto);
  QDestino->BindText(u"PTipoDocto", FTipoDocto);
  QDestino->BindText(u"PCodEmpresa", FCodEmpresa);
  QDestino->BindText(u"PCodMoeda", FCodMoeda);
  QDestino->BindDouble(u"PValorDocto", FValorDocto);
  QDestino->BindDouble(u"PJurosMulta", FJurosMulta);
  QDestino->BindDouble(u"PValorDesc", FValorDesc);
  QDestino->BindDouble(u"PValorPago", FValorPago);
  QDestino->BindText(u"PDt_Emissao", FDt_Emissao);
  QDestino->BindText(u"PDt_Vencimento", FDt_Vencimento);
  QDestino->BindText(u"PSituacao", FSituacao);
  QDestino->BindText(u"PHistorico", FHistorico);
  QDestino->BindText(u"PCodOper", FCodOper);
  QDestino->BindText(u"PDoctoRecebido", FDoctoRecebido);
  QDestino->BindText(u"PNumOrd", FNumOrd);
  QDestino->ExecSQL();

  // The payable movement has no discount column.
  static const UString kMoviPag =
      u"Insert Into MoviPag( CodEmpresa, TipoDocto, CodDocto, CodFornec, TipoMov, NumOrd, Dt_Movimento, "
      u"Dt_Vencimento, ValorMov, JurosMulta, CodOper, Estornado) Values(:PCodEmpresa, :PTipoDocto, :PCodDocto, "
      u":PCodFornec, :PTipoMov, :PNumOrd, :PDt_Movimento, :PDt_Vencimento, :PValorMov, :PJurosMulta, :PCodOper, "
      u":PEstornado) ";
  QMovimento->SetSQL(kMoviPag);
  QMovimento->BindText(u"PCodEmpresa", FCodEmpresa);
  QMovimento->BindText(u"PTipoDocto", FTipoDocto);
  QMovimento->BindText(u"PCodDocto", FCodDocto);
  QMovimento->BindText(u"PCodFornec", FCodFornec);
  QMovimento->BindText(u"PTipoMov", u"1");
  QMovimento->BindText(u"PNumOrd", FNumOrd);
  QMovimento->BindText(u"PDt_Movimento", FDt_Emissao);
  QMovimento->BindText(u"PDt_Vencimento", FDt_Vencimento);
  QMovimento->BindDouble(u"PValorMov", FValorDocto);
  QMovimento->BindDouble(u"PJurosMulta", FJurosMulta);
  QMovimento->BindText(u"PCodOper", FCodOper);
  QMovimento->BindText(u"PEstornado", u"N");
  QMovimento->ExecSQL();

  LimpaVariavel();
  return true;
}
