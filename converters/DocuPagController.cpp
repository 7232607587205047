#include "converters/DocuPagController.h"

#include <memory>

#include "converters/DocuPag.h"
#include "run/RunReport.h"

SourceQuery& TClassPreencheDadosDocuPag::BuscaDocumentosBDOrigem(SourceQuery& qryBusca, const UString& Empresa) {
  qryBusca.SetSQL(u"");
  qryBusca.SetSQL(
      u"Select CodEmp, Numero_Doc, CodFor, Valor, Emissao, Vencimento, Historico From ContPag Where CodEmp = "
      u":PCodEmp And Pagamento Is Null");
  qryBusca.BindText(u"PCodEmp", Empresa);
  qryBusca.Open();
  return qryBusca;
}

void TClassPreencheDadosDocuPag::PreencheDadosDocuPag(const UString& DbOrigem, fb::Database& DbDestino,
                                                      ProgressBar& Barra, StatusLabel& lblInfo,
                                                      const UString& Empresa) {
  RunReport::Current().Begin(u"Documentos a Pagar");

  auto docuPag = std::make_unique<TConverteDocuPag>(DbDestino);
  std::unique_ptr<SourceQuery> qryBusca = NewSourceQuery();
  qryBusca->SetDatabaseName(DbOrigem);

  BuscaDocumentosBDOrigem(*qryBusca, Empresa);
  PercorreDocumentos(*qryBusca, Barra, lblInfo, u"Convertendo Documentos a Pagar - Registro ", [&] {
    const SourceQuery& q = *qryBusca;
    docuPag->SetCodFornec(TConversao::StrZero(q.FieldAsText(u"CodFor"), 6));
    PreencheDocumento(*docuPag, q);
    docuPag->SetHistorico(q.FieldAsText(u"Historico"));
    docuPag->SetDoctoRecebido(u"N");
    docuPag->SetCodOper(u"005");
    docuPag->SetTipoDocto(u"BO");
    docuPag->ExecutaSql();
  });
}
