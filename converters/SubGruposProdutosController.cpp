#include "converters/SubGruposProdutosController.h"

#include <memory>

#include "converters/Passagem.h"
#include "converters/SubGruposProdutos.h"

void TClassPreencheDadosSubGruposProdutos::PreencheDadosSubGruposProdutos(RunContext& ctx, const Tipo& tipo) {
  Passagem passagem(ctx, tipo);

  auto subGrupo = std::make_unique<TConverteSubGrupo>(ctx);

  subGrupo->LimpaTabela();

  passagem.Percorre([&](const SourceQuery& q) {
    // The legacy code carries the group in its first two characters.
    const UString codigo = q.FieldAsText(u"CODIGO");
    subGrupo->SetCodGrupo(codigo.substr(0, 2));
    subGrupo->SetCodSubGrupo(codigo.size() > 2 ? codigo.substr(2, 2) : UString());
    subGrupo->SetDescricao(q.FieldAsText(u"DESCRICAO"));

    passagem.Identifica(subGrupo->CodGrupo() + u"/" + subGrupo->CodSubGrupo(), q.FieldAsText(u"DESCRICAO"));
    if (TrimCtl(subGrupo->Descricao()).empty()) return Linha::Ignorada(u"descrição em branco");
    subGrupo->GravaSubGrupo();
    return Linha::Gravada();
  });
}
