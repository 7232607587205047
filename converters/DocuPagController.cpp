#include "converters/DocuPagController.h"

#include <memory>

#include "converters/DocuPag.h"
#include "converters/Passagem.h"

void TClassPreencheDadosDocuPag::PreencheDadosDocuPag(RunContext& ctx, const Tipo& tipo) {
  Passagem passagem(ctx, tipo);

  auto docuPag = std::make_unique<TConverteDocuPag>(ctx);

  // Nothing is caught: an error ends the pass, and the run's rollback takes back
  // every document written.
  passagem.Percorre([&](const SourceQuery& q) {
    docuPag->SetCodFornec(TConversao::StrZero(q.FieldAsText(u"CodFor"), 6));
    PreencheDocumento(*docuPag, q);
    docuPag->SetHistorico(q.FieldAsText(u"Historico"));
    docuPag->SetDoctoRecebido(u"N");
    docuPag->SetCodOper(u"005");
    docuPag->SetTipoDocto(u"BO");
    docuPag->ExecutaSql();
    return Linha::Gravada();
  });
}
