#include "converters/ClientesController.h"

#include <memory>

#include "converters/Cliente.h"
#include "run/RunReport.h"
#include "run/SourceQuery.h"

void TClassPreencheDadosClientes::PreencheDadosClientes(const UString& DbOrigem, fb::Database& DbDestino,
                                                        ProgressBar& Barra, StatusLabel& lblInfo) {
  RunReport& report = RunReport::Current();
  report.Begin(u"Clientes");
  ProcessMessages();

  auto cliente = std::make_unique<TConverteCliente>(DbDestino);
  auto FConversao = std::make_unique<TConversao>(DbDestino);
  int registro = 1;

  cliente->LimpaTabela();

  std::unique_ptr<SourceQuery> qryBusca = NewSourceQuery();
  qryBusca->SetDatabaseName(DbOrigem);
  qryBusca->SetSQL(u"");
  qryBusca->SetSQL(
      u"SELECT CLIENTES.CODIGO, CLIENTES.DATA_ANI, CLIENTES.DATA_CAD, CLIENTES.RAZAOSOC, CLIENTES.FANTASIA, "
      u"CLIENTES.FILIACAO, CLIENTES.ENDERECO, CLIENTES.BAIRRO, CLIENTES.CIDADE, CLIENTES.ESTADO, CLIENTES.CEP, "
      u"CLIENTES.CGC, CLIENTES.INSC, CLIENTES.TELEFONE1, CLIENTES.FAX, CLIENTES.CONTATO, CLIENTES.CELULAR, "
      u"CLIENTES.OBS1, CLIENTES.REFERE, CLIENTES.SPC1, CLIENTES.SPC2, CLIENTES.LOCAL_TRAB FROM CLIENTES ");
  qryBusca->Open();
  qryBusca->Last();
  Barra.SetMax(qryBusca->RecordCount());
  qryBusca->First();

  while (!qryBusca->Eof()) {
    lblInfo.SetCaption(u"Convertendo Clientes - Registro " + IntToU(registro) + u" de " + IntToU(Barra.Max()));
    ProcessMessages();
    report.Read();
    auto campo = [&qryBusca](const char16_t* nome) { return qryBusca->FieldAsText(nome); };

    cliente->SetCodCliente(campo(u"CODIGO"));
    cliente->SetDT_Nascimento(campo(u"DATA_ANI"));
    cliente->SetDT_Cadastro(campo(u"DATA_CAD"));
    cliente->SetNome(campo(u"RAZAOSOC"));
    cliente->SetNomeFantasia(campo(u"FANTASIA"));
    cliente->SetCampoLivre4(campo(u"FILIACAO"));
    cliente->SetEndereco(campo(u"ENDERECO"));
    cliente->SetBairro(campo(u"BAIRRO"));
    cliente->SetEstado(campo(u"ESTADO"));
    // Customers only look their city up (suppliers register theirs): by the
    // unaccented name and the state as the record holds it; without both, no code.
    const UString cidade = TrimCtl(campo(u"CIDADE"));
    if (!cidade.empty() && !TrimCtl(campo(u"ESTADO")).empty())
      cliente->SetCodCidade(FConversao->FBuscaCidade(FConversao->FRetiraAcento(cidade), TrimCtl(cliente->Estado()), u""));
    cliente->SetCep(campo(u"CEP"));
    cliente->SetCgcCpf(campo(u"CGC"));
    cliente->SetCampoLivre2(campo(u"INSC"));
    cliente->SetFone(FConversao->FSoNumero(campo(u"TELEFONE1")));
    cliente->SetFax(FConversao->FSoNumero(campo(u"FAX")));
    cliente->SetContato(campo(u"CONTATO"));
    // Ten digits or more carry the area code in front.
    const UString celular = FConversao->FSoNumero(campo(u"CELULAR"));
    if (celular.size() < 10) {
      cliente->SetCelular(celular);
    } else {
      cliente->SetPrefixCelular(LeftU(celular, 2));
      cliente->SetCelular(celular.substr(2, 20));
    }
    cliente->SetObsercacao(campo(u"OBS1") + u"\r\n");
    cliente->SetObsercacao(cliente->Observacao() + campo(u"REFERE") + u"\r\n");
    cliente->SetCampoLivre3(campo(u"SPC1"));
    cliente->SetCampoLivre5(campo(u"SPC2"));
    cliente->SetCampoLivre6(campo(u"LOCAL_TRAB"));
    cliente->SetAtivo(u"S");
    // Delivery and billing repeat the main address, each through its own setter.
    cliente->SetEnderecoEntr(cliente->Endereco());
    cliente->SetBairroEntr(cliente->Bairro());
    cliente->SetCodCidadeEntr(cliente->CodCidade());
    cliente->SetEstadoEntr(cliente->Estado());
    cliente->SetCepEntr(cliente->Cep());
    cliente->SetEnderecoCob(cliente->Endereco());
    cliente->SetBairroCob(cliente->Bairro());
    cliente->SetCodCidadeCob(cliente->CodCidade());
    cliente->SetEstadoCob(cliente->Estado());
    cliente->SetCepCob(cliente->Cep());
    cliente->SetPessoa_FJ(FConversao->FSoNumero(cliente->CgcCpf()).size() == 14 ? u"J" : u"F");

    cliente->ExecutaSql(1);
    if (cliente->ErroGravacao().empty())
      report.Written();
    else
      report.Rejected(registro, campo(u"CODIGO"), cliente->ErroGravacao());

    ++registro;
    qryBusca->Next();
    Barra.StepBy(1);
  }

  lblInfo.SetCaption(u"");
  Barra.SetPosition(0);
  Barra.SetMax(0);
}
