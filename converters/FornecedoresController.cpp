#include "converters/FornecedoresController.h"

#include <memory>

#include "converters/Fornecedor.h"
#include "run/RunReport.h"
#include "toolkit/classConversao.h"

SourceQuery& TClassPreencheDadosFornecedores::BuscaFornecedoresBDOrigem(SourceQuery& qryBusca) {
  qryBusca.SetSQL(u"");
  qryBusca.SetSQL(
      u"SELECT CODIGO, RAZAOSOC, FANTASIA, ENDERECO, BAIRRO, CIDADE, ESTADO, CEP, CGC, INSC, TELEFONE1, FAX "
      u"FROM FORNEC ");
  qryBusca.Open();
  return qryBusca;
}

void TClassPreencheDadosFornecedores::PreencheDadosFornecedores(const UString& DbOrigem, fb::Database& DbDestino,
                                                                ProgressBar& Barra, StatusLabel& lblInfo) {
  RunReport& report = RunReport::Current();
  report.Begin(u"Fornecedores");

  auto fornecedor = std::make_unique<TConverteFornece>(DbDestino);
  std::unique_ptr<SourceQuery> qryBusca = NewSourceQuery();
  qryBusca->SetDatabaseName(DbOrigem);
  auto FConversao = std::make_unique<TConversao>(DbDestino);
  int registro = 1;

  fornecedor->LimpaTabela();

  BuscaFornecedoresBDOrigem(*qryBusca);
  Barra.SetMax(qryBusca->RecordCount());

  while (!qryBusca->Eof()) {
    lblInfo.SetCaption(u"Convertendo Fornecedores - Registro " + IntToU(registro) + u" de " +
                       IntToU(Barra.Max()));
    ProcessMessages();

    const UString codigo = qryBusca->FieldAsText(u"CODIGO");
    fornecedor->SetCodFornec(codigo);
    fornecedor->SetNome(qryBusca->FieldAsText(u"RAZAOSOC"));
    fornecedor->SetNomeFantasia(qryBusca->FieldAsText(u"FANTASIA"));
    fornecedor->SetEndereco(qryBusca->FieldAsText(u"ENDERECO"));
    fornecedor->SetBairro(qryBusca->FieldAsText(u"BAIRRO"));
    fornecedor->SetEstado(qryBusca->FieldAsText(u"ESTADO"));
    fornecedor->SetCep(qryBusca->FieldAsText(u"CEP"));
    fornecedor->SetCgcCpf(qryBusca->FieldAsText(u"CGC"));
    fornecedor->SetInscEst(qryBusca->FieldAsText(u"INSC"));
    fornecedor->SetFone(qryBusca->FieldAsText(u"TELEFONE1"));
    fornecedor->SetFax(qryBusca->FieldAsText(u"FAX"));
    // The city is looked up (and registered when new) with the source's own city
    // and state, not the record's cut state.
    const UString cidade = TrimCtl(qryBusca->FieldAsText(u"CIDADE"));
    const UString estado = TrimCtl(qryBusca->FieldAsText(u"ESTADO"));
    if (!cidade.empty() && !estado.empty()) fornecedor->SetCodCidade(FConversao->FCidade(cidade, estado, u""));
    // A CNPJ has 14 digits, a CPF 11; anything else is taken for a person.
    fornecedor->SetPessoa_FJ(fornecedor->CgcCpf().size() == 14 ? u"J" : u"F");
    report.Read();

    if (!TrimCtl(fornecedor->Nome()).empty()) {
      fornecedor->GravaFornecedor();
      report.Written();
    } else {
      // Reset, so the next supplier cannot inherit this row's city code.
      fornecedor->LimpaVariavel();
      report.Skipped(registro, codigo, u"nome em branco");
    }

    ++registro;
    qryBusca->Next();
    Barra.StepBy(1);
  }

  lblInfo.SetCaption(u"");
  Barra.SetPosition(0);
  Barra.SetMax(0);
}
