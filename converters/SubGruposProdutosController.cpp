#include "converters/SubGruposProdutosController.h"

#include <memory>

#include "converters/SubGruposProdutos.h"
#include "run/RunReport.h"

SourceQuery& TClassPreencheDadosSubGruposProdutos::BuscaSubGruposProdutosBDOrigem(SourceQuery& qryBusca) {
  qryBusca.SetSQL(u"");
  qryBusca.SetSQL(u"SELECT CODIGO, DESCRICAO FROM SUBGRUPO");
  qryBusca.Open();
  return qryBusca;
}

void TClassPreencheDadosSubGruposProdutos::PreencheDadosSubGruposProdutos(const UString& DbOrigem,
                                                                          fb::Database& DbDestino,
                                                                          ProgressBar& Barra,
                                                                          StatusLabel& lblInfo) {
  RunReport& report = RunReport::Current();
  report.Begin(u"Subgrupos de produtos");

  auto subGrupo = std::make_unique<TConverteSubGrupo>(DbDestino);
  std::unique_ptr<SourceQuery> qryBusca = NewSourceQuery();
  qryBusca->SetDatabaseName(DbOrigem);
  int registro = 1;

  subGrupo->LimpaTabela();

  BuscaSubGruposProdutosBDOrigem(*qryBusca);
  qryBusca->Last();
  Barra.SetMax(qryBusca->RecordCount());
  qryBusca->First();

  while (!qryBusca->Eof()) {
    lblInfo.SetCaption(u"Convertendo Subgrupos de produtos - Registro " + IntToU(registro) + u" de " +
                       IntToU(Barra.Max()));
    ProcessMessages();

    const UString codigo = qryBusca->FieldAsText(u"CODIGO");
    subGrupo->SetCodGrupo(codigo.substr(0, 2));
    subGrupo->SetCodSubGrupo(codigo.size() > 2 ? codigo.substr(2, 2) : UString());
    subGrupo->SetDescricao(qryBusca->FieldAsText(u"DESCRICAO"));
    report.Read();

    if (!TrimCtl(subGrupo->Descricao()).empty()) {
      subGrupo->GravaSubGrupo();
      report.Written();
    } else {
      report.Skipped(registro, codigo, u"descrição em branco");
    }

    ++registro;
    qryBusca->Next();
    Barra.StepBy(1);
  }

  lblInfo.SetCaption(u"");
  Barra.SetPosition(0);
  Barra.SetMax(0);
}
