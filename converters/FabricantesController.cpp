#include "converters/FabricantesController.h"

#include <memory>

#include "converters/Fabricante.h"
#include "converters/Passagem.h"

void TClassPreencheDadosFabricantes::PreencheDadosFabricantes(RunContext& ctx, const Tipo& tipo) {
  Passagem passagem(ctx, tipo);

  auto fabricante = std::make_unique<TFabricante>(ctx);
  auto conversao = std::make_unique<TConversao>(ctx);

  conversao->PLimpaTabela(u"CADFABR");

  // No skip rule: every row is written, and a row the target refuses is listed
  // in the run's summary while the pass goes on.
  passagem.Percorre([&](const SourceQuery& q) {
    fabricante->setCodFabric(TConversao::StrZero(LeftU(q.FieldAsText(u"CODIGO"), 5), 5));
    fabricante->setDescricao(q.FieldAsText(u"RAZAOSOC"));

    passagem.Identifica(fabricante->CodFabric(), q.FieldAsText(u"RAZAOSOC"));
    fabricante->GravaFabr();
    return fabricante->Gravou() ? Linha::Gravada() : Linha::Recusada(fabricante->ErroGravacao());
  });
}
