#include "converters/Documento.h"

#include <algorithm>


UString SemAspas(const UString& Value) {
  UString out = Value;
  out.erase(std::remove(out.begin(), out.end(), u'"'), out.end());
  return out;
}

UString TextoData(TDateTime Value, const FormatSettings& fs) { return FormatDateTime(u"dd/mm/yyyy", Value, fs); }

void TConverteDocumento::LimpaDocumento() {
  FCodEmpresa.clear();
  FTipoDocto.clear();
  FCodDocto.clear();
  FCodMoeda.clear();
  FValorDocto = 0;
  FValorPago = 0;
  FValorDesc = 0;
  FJurosMulta = 0;
  FDt_Emissao.clear();
  FDt_Vencimento.clear();
  FSituacao.clear();
  FCodOper.clear();
  FNumOrd.clear();
}

void PreencheDocumento(TConverteDocumento& Documento, const SourceQuery& qryBusca) {
  Documento.SetCodEmpresa(u"00");
  Documento.SetCodDocto(qryBusca.FieldAsText(u"Numero_Doc"));
  const FormatSettings& fs = Documento.Contexto().Regional();
  Documento.SetDt_Emissao(TextoData(qryBusca.FieldAsDateTime(u"Emissao"), fs));
  Documento.SetDt_Vencimento(TextoData(qryBusca.FieldAsDateTime(u"Vencimento"), fs));
  Documento.SetValorDocto(qryBusca.FieldAsDouble(u"Valor"));
  Documento.SetSituacao(u"1");
  Documento.SetCodMoeda(u"01");
}
