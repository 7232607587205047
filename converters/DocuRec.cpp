#include "converters/DocuRec.h"

TConverteDocuRec::TConverteDocuRec(RunContext& Contexto) : TConverteDocumento(Contexto) { LimpaVariavel(); }

void TConverteDocuRec::LimpaVariavel() {
  LimpaDocumento();
  FCodCliente.clear();
}

bool TConverteDocuRec::ExecutaSql() {
  // Built once: the same text every row keeps its prepared statement.
  static const UString kDocuRec =
      u"Insert Into DocuRec( CodEmpresa, CodCliente, CodVendedor, TipoDocto, CodDocto, Dt_Emissao, "
      u"Dt_Vencimento, CodMoeda, ValorDocto, ValorPago, ValorDesc, Situacao, CodOper, NumOrd) Values( "
      u":PCodEmpresa, :PCodCliente, :PCodVendedor, :PTipoDocto, :PCodDocto, :PDt_Emissao, :PDt_Vencimento, "
      u":PCodMoeda, :PValorDocto, :PValorPago, :PValorDesc, :PSituacao, :PCodOper, :PNumOrd) ";
  QDestino->SetSQL(kDocuRec);
  QDestino->BindText(u"PCodEmpresa", FCodEmpresa);
  QDestino->BindText(u"PCodCliente", FCodCliente);
  QDestino->BindText(u"PCodVendedor", FCodVendedor);
  QDestino->BindText(u"PTipoDocto", FTipoDocto);
  QDestino->BindText(u"PCodDocto", FCodDocto);
  QDestino->BindText(u"PDt_Emissao", FDt_Emissao);
  QDestino->BindText(u"PDt_Vencimento", FDt_Vencimento);
  QDestino->BindText(u"PCodMoeda", FCodMoeda);
  QDestino->BindDouble(u"PValorDocto", FValorDocto);
  QDestino->BindDouble(u"PValorPago", FValorPago);
  QDestino->BindDouble(u"PValorDesc", FValorDesc);
  QDestino->BindText(u"PSituacao", FSituacao);
  QDestino->BindText(u"PCodOper", FCodOper);
  QDestino->BindText(u"PNumOrd", FNumOrd);
  QDestino->ExecSQL();

  static const UString kMoviRec =
      u"Insert Into MoviRec( CodEmpresa, TipoDocto, CodDocto, CodCliente, TipoMov, NumOrd, ValorMov, ValorDesc, "
      u"JurosMulta, Dt_Movimento, Dt_Vencimento, CodOper, Estornado) Values( :PCodEmpresa, :PTipoDocto, "
      u":PCodDocto, :PCodCliente, :PTipoMov, :PNumOrd, :PValorMov, :PValorDesc, :PJurosMulta, :PDt_Movimento, "
      u":PDt_Vencimento, :PCodOper, :PEstornado) ";
  QMovimento->SetSQL(kMoviRec);
  QMovimento->BindText(u"PCodEmpresa", FCodEmpresa);
  QMovimento->BindText(u"PTipoDocto", FTipoDocto);
  QMovimento->BindText(u"PCodDocto", FCodDocto);
  QMovimento->BindText(u"PCodCliente", FCodCliente);
  QMovimento->BindText(u"PTipoMov", u"01");
  QMovimento->BindText(u"PNumOrd", FNumOrd);
  QMovimento->BindDouble(u"PValorMov", FValorDocto);
  QMovimento->BindDouble(u"PValorDesc", FValorDesc);
  QMovimento->BindDouble(u"PJurosMulta", FJurosMulta);
  QMovimento->BindText(u"PDt_Movimento", FDt_Emissao);
  QMovimento->BindText(u"PDt_Vencimento", FDt_Vencimento);
  QMovimento->BindText(u"PCodOper", FCodOper);
  QMovimento->BindText(u"PEstornado", u"N");
  QMovimento->ExecSQL();

  LimpaVariavel();
  return true;
}
