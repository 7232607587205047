#include "converters/ClientesController.h"

#include <memory>

#include "converters/Cliente.h"
#include "converters/Passagem.h"

namespace {

// Customers only look their city up (suppliers register theirs): by the unaccented
// name and the state as the record holds it; without both, no code.
void Cidade(TConverteCliente& cliente, TConversao& FConversao, const UString& cidade, const UString& estado) {
  if (!cidade.empty() && !estado.empty())
    cliente.SetCodCidade(FConversao.FBuscaCidade(FConversao.FRetiraAcento(cidade), TrimCtl(cliente.Estado()), u""));
}

// Ten digits or more carry the area code in front.
void Celular(TConverteCliente& cliente, const UString& celular) {
  if (celular.size() < 10) {
    cliente.SetCelular(celular);
  } else {
    cliente.SetPrefixCelular(LeftU(celular, 2));
    cliente.SetCelular(celular.substr(2, 20));
  }
}

// Delivery and billing repeat the main address, each through its own setter.
void EnderecosIguais(TConverteCliente& cliente) {
  cliente.SetEnderecoEntr(cliente.Endereco());
  cliente.SetBairroEntr(cliente.Bairro());
  cliente.SetCodCidadeEntr(cliente.CodCidade());
  cliente.SetEstadoEntr(cliente.Estado());
  cliente.SetCepEntr(cliente.Cep());
  cliente.SetEnderecoCob(cliente.Endereco());
  cliente.SetBairroCob(cliente.Bairro());
  cliente.SetCodCidadeCob(cliente.CodCidade());
  cliente.SetEstadoCob(cliente.Estado());
  cliente.SetCepCob(cliente.Cep());
}

}  // namespace

void TClassPreencheDadosClientes::PreencheDadosClientes(RunContext& ctx, const Tipo& tipo) {
  Passagem passagem(ctx, tipo);
  ctx.ProcessMessages();

  auto cliente = std::make_unique<TConverteCliente>(ctx);
  auto FConversao = std::make_unique<TConversao>(ctx);

  cliente->LimpaTabela();

  passagem.Percorre([&](const SourceQuery& q) {
    auto campo = [&q](const char16_t* nome) { return q.FieldAsText(nome); };

    cliente->SetCodCliente(campo(u"CODIGO"));
    cliente->SetDT_Nascimento(campo(u"DATA_ANI"));
    cliente->SetDT_Cadastro(campo(u"DATA_CAD"));
    cliente->SetNome(campo(u"RAZAOSOC"));
    cliente->SetNomeFantasia(campo(u"FANTASIA"));
    cliente->SetCampoLivre4(campo(u"FILIACAO"));
    cliente->SetEndereco(campo(u"ENDERECO"));
    cliente->SetBairro(campo(u"BAIRRO"));
    cliente->SetEstado(campo(u"ESTADO"));
    Cidade(*cliente, *FConversao, TrimCtl(campo(u"CIDADE")), TrimCtl(campo(u"ESTADO")));
    cliente->SetCep(campo(u"CEP"));
    cliente->SetCgcCpf(campo(u"CGC"));
    cliente->SetCampoLivre2(campo(u"INSC"));
    cliente->SetFone(FConversao->FSoNumero(campo(u"TELEFONE1")));
    cliente->SetFax(FConversao->FSoNumero(campo(u"FAX")));
    cliente->SetContato(campo(u"CONTATO"));
    Celular(*cliente, FConversao->FSoNumero(campo(u"CELULAR")));
    cliente->SetObsercacao(campo(u"OBS1") + u"\r\n");
    cliente->SetObsercacao(cliente->Observacao() + campo(u"REFERE") + u"\r\n");
    cliente->SetCampoLivre3(campo(u"SPC1"));
    cliente->SetCampoLivre5(campo(u"SPC2"));
    cliente->SetCampoLivre6(campo(u"LOCAL_TRAB"));
    cliente->SetAtivo(u"S");
    EnderecosIguais(*cliente);
    cliente->SetPessoa_FJ(FConversao->FSoNumero(cliente->CgcCpf()).size() == 14 ? u"J" : u"F");

    passagem.Identifica(cliente->CodCliente(), campo(u"RAZAOSOC"));
    cliente->ExecutaSql(1);
    return cliente->ErroGravacao().empty() ? Linha::Gravada() : Linha::Recusada(cliente->ErroGravacao());
  });
}
