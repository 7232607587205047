#include "converters/GruposProdutosController.h"

#include <memory>

#include "converters/GrupoProduto.h"
#include "converters/Passagem.h"

void TClassPreencheDadosGruposProdutos::PreencheDadosGruposProdutos(RunContext& ctx, const Tipo& tipo) {
  Passagem passagem(ctx, tipo);

  auto grupo = std::make_unique<TConverteGruposProd>(ctx);

  grupo->LimpaTabela();

  passagem.Percorre([&](const SourceQuery& q) {
    grupo->SetCodigo(q.FieldAsText(u"CODIGO"));
    grupo->SetDescricao(q.FieldAsText(u"DESCRICAO"));

    passagem.Identifica(grupo->Codigo(), q.FieldAsText(u"DESCRICAO"));
    if (TrimCtl(grupo->Descricao()).empty()) return Linha::Ignorada(u"descrição em branco");
    grupo->ExecutaSql();
    return Linha::Gravada();
  });
}
