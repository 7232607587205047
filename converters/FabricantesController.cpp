#include "converters/FabricantesController.h"

#include <memory>

#include "converters/Fabricante.h"
#include "run/RunReport.h"
#include "toolkit/classConversao.h"

SourceQuery& TClassPreencheDadosFabricantes::BuscaFabricantesBDOrigem(SourceQuery& qryBusca) {
  qryBusca.SetSQL(u"");
  qryBusca.SetSQL(u"SELECT CODIGO, RAZAOSOC FROM FABRICA");
  qryBusca.Open();
  return qryBusca;
}

void TClassPreencheDadosFabricantes::PreencheDadosFabricantes(const UString& DbOrigem, fb::Database& DbDestino,
                                                              ProgressBar& Barra, StatusLabel& lblInfo) {
  RunReport& report = RunReport::Current();
  report.Begin(u"Fabricantes");

  auto fabricante = std::make_unique<TFabricante>(DbDestino);
  std::unique_ptr<SourceQuery> qryBusca = NewSourceQuery();
  qryBusca->SetDatabaseName(DbOrigem);
  auto conversao = std::make_unique<TConversao>(DbDestino);
  int registro = 1;

  conversao->PLimpaTabela(u"CADFABR");

  BuscaFabricantesBDOrigem(*qryBusca);
  Barra.SetMax(qryBusca->RecordCount());

  while (!qryBusca->Eof()) {
    lblInfo.SetCaption(u"Convertendo Fabricantes - Registro " + IntToU(registro) + u" de " + IntToU(Barra.Max()));
    ProcessMessages();

    const UString codigo = qryBusca->FieldAsText(u"CODIGO");
    fabricante->setCodFabric(TConversao::StrZero(LeftU(codigo, 5), 5));
    fabricante->setDescricao(qryBusca->FieldAsText(u"RAZAOSOC"));
    report.Read();

    // No skip rule: every row is written, and a row the target refuses is counted
    // as rejected so that the run's summary lists it.
    fabricante->GravaFabr();
    if (fabricante->Gravou())
      report.Written();
    else
      report.Rejected(registro, codigo, fabricante->ErroGravacao());

    ++registro;
    qryBusca->Next();
    Barra.StepBy(1);
  }

  lblInfo.SetCaption(u"");
  Barra.SetPosition(0);
  Barra.SetMax(0);
}
