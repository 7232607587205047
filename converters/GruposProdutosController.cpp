#include "converters/GruposProdutosController.h"

#include <memory>

#include "converters/GrupoProduto.h"
#include "run/RunReport.h"

SourceQuery& TClassPreencheDadosGruposProdutos::BuscaGruposProdutosBDOrigem(SourceQuery& qryBusca) {
  qryBusca.SetSQL(u"");
  qryBusca.SetSQL(u"SELECT CODIGO, DESCRICAO FROM GRUPO");
  qryBusca.Open();
  return qryBusca;
}

void TClassPreencheDadosGruposProdutos::PreencheDadosGruposProdutos(const UString& DbOrigem,
                                                                    fb::Database& DbDestino, ProgressBar& Barra,
                                                                    StatusLabel& lblInfo) {
  RunReport& report = RunReport::Current();
  report.Begin(u"Grupos de produtos");

  auto grupo = std::make_unique<TConverteGruposProd>(DbDestino);
  std::unique_ptr<SourceQuery> qryBusca = NewSourceQuery();
  qryBusca->SetDatabaseName(DbOrigem);
  int registro = 1;

  grupo->LimpaTabela();

  BuscaGruposProdutosBDOrigem(*qryBusca);
  qryBusca->Last();
  Barra.SetMax(qryBusca->RecordCount());
  qryBusca->First();

  while (!qryBusca->Eof()) {
    lblInfo.SetCaption(u"Convertendo Grupos de produtos - Registro " + IntToU(registro) + u" de " +
                       IntToU(Barra.Max()));
    ProcessMessages();

    grupo->SetCodigo(qryBusca->FieldAsText(u"CODIGO"));
    grupo->SetDescricao(qryBusca->FieldAsText(u"DESCRICAO"));
    report.Read();

    if (!TrimCtl(grupo->Descricao()).empty()) {
      grupo->ExecutaSql();
      report.Written();
    } else {
      report.Skipped(registro, qryBusca->FieldAsText(u"CODIGO"), u"descrição em branco");
    }

    ++registro;
    qryBusca->Next();
    Barra.StepBy(1);
  }

  lblInfo.SetCaption(u"");
  Barra.SetPosition(0);
  Barra.SetMax(0);
}
