#include "converters/DocuRecController.h"

#include <memory>

#include "converters/DocuRec.h"
#include "converters/Passagem.h"

void TClassPreencheDadosDocuRec::PreencheDadosDocuRec(RunContext& ctx, const Tipo& tipo) {
  Passagem passagem(ctx, tipo);

  auto docuRec = std::make_unique<TConverteDocuRec>(ctx);

  // Nothing is caught: an error ends the pass, and the run's rollback takes back
  // every document written.
  passagem.Percorre([&](const SourceQuery& q) {
    docuRec->SetCodCliente(TConversao::StrZero(q.FieldAsText(u"CodCli"), 8));
    docuRec->SetCodVendedor(TConversao::StrZero(q.FieldAsText(u"Vendedor"), 4));
    PreencheDocumento(*docuRec, q);
    docuRec->SetCodOper(u"004");
    docuRec->SetTipoDocto(u"AV");
    docuRec->ExecutaSql();
    return Linha::Gravada();
  });
}
