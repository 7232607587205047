#include "converters/Documento.h"

#include <algorithm>

#include "run/RunReport.h"

UString SemAspas(const UString& Value) {
  UString out = Value;
  out.erase(std::remove(out.begin(), out.end(), u'"'), out.end());
  return out;
}

UString TextoData(TDateTime Value) { return FormatDateTime(u"dd/mm/yyyy", Value); }

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
  Documento.SetDt_Emissao(TextoData(qryBusca.FieldAsDateTime(u"Emissao")));
  Documento.SetDt_Vencimento(TextoData(qryBusca.FieldAsDateTime(u"Vencimento")));
  Documento.SetValorDocto(qryBusca.FieldAsDouble(u"Valor"));
  Documento.SetSituacao(u"1");
  Documento.SetCodMoeda(u"01");
}

void PercorreDocumentos(SourceQuery& qryBusca, ProgressBar& Barra, StatusLabel& lblInfo, const UString& Texto,
                        const std::function<void()>& GravaLinha) {
  RunReport& report = RunReport::Current();
  int registro = 1;

  qryBusca.Last();
  Barra.SetMax(qryBusca.RecordCount());
  qryBusca.First();

  while (!qryBusca.Eof()) {
    lblInfo.SetCaption(Texto + IntToU(registro) + u" de " + IntToU(Barra.Max()));
    ProcessMessages();

    report.Read();
    GravaLinha();
    report.Written();

    ++registro;
    qryBusca.Next();
    Barra.StepBy(1);
  }

  lblInfo.SetCaption(u"");
  Barra.SetPosition(0);
  Barra.SetMax(0);
}
