#include "converters/DocuRecController.h"

#include <memory>

#include "converters/DocuRec.h"
#include "run/RunReport.h"

SourceQuery& TClassPreencheDadosDocuRec::BuscaDocumentosBDOrigem(SourceQuery& qryBusca, const UString& Empresa) {
  qryBusca.SetSQL(u"");
  qryBusca.SetSQL(
      u"Select CodEmp, CodCli, Numero_Doc, Emissao, Vencimento, Valor, Vendedor From CR Where CodEmp = :PCodEmp "
      u"And Pagamento Is Null");
  qryBusca.BindText(u"PCodEmp", Empresa);
  qryBusca.Open();
  return qryBusca;
}

void TClassPreencheDadosDocuRec::PreencheDadosDocuRec(const UString& DbOrigem, fb::Database& DbDestino,
                                                      ProgressBar& Barra, StatusLabel& lblInfo,
                                                      const UString& Empresa) {
  RunReport::Current().Begin(u"Documentos a Receber");

  auto docuRec = std::make_unique<TConverteDocuRec>(DbDestino);
  std::unique_ptr<SourceQuery> qryBusca = NewSourceQuery();
  qryBusca->SetDatabaseName(DbOrigem);

  BuscaDocumentosBDOrigem(*qryBusca, Empresa);
  PercorreDocumentos(*qryBusca, Barra, lblInfo, u"Convertendo Documentos a Receber - Registro ", [&] {
    const SourceQuery& q = *qryBusca;
    docuRec->SetCodCliente(TConversao::StrZero(q.FieldAsText(u"CodCli"), 8));
    docuRec->SetCodVendedor(TConversao::StrZero(q.FieldAsText(u"Vendedor"), 4));
    PreencheDocumento(*docuRec, q);
    docuRec->SetCodOper(u"004");
    docuRec->SetTipoDocto(u"AV");
    docuRec->ExecutaSql();
  });
}
