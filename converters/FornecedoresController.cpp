#include "converters/FornecedoresController.h"

#include <memory>

#include "converters/Fornecedor.h"
#include "converters/Passagem.h"

void TClassPreencheDadosFornecedores::PreencheDadosFornecedores(RunContext& ctx, const Tipo& tipo) {
  Passagem passagem(ctx, tipo);

  auto fornecedor = std::make_unique<TConverteFornece>(ctx);
  auto FConversao = std::make_unique<TConversao>(ctx);

  fornecedor->LimpaTabela();

  passagem.Percorre([&](const SourceQuery& q) {
    fornecedor->SetCodFornec(q.FieldAsText(u"CODIGO"));
    fornecedor->SetNome(q.FieldAsText(u"RAZAOSOC"));
    fornecedor->SetNomeFantasia(q.FieldAsText(u"FANTASIA"));
    fornecedor->SetEndereco(q.FieldAsText(u"ENDERECO"));
    fornecedor->SetBairro(q.FieldAsText(u"BAIRRO"));
    fornecedor->SetEstado(q.FieldAsText(u"ESTADO"));
    fornecedor->SetCep(q.FieldAsText(u"CEP"));
    fornecedor->SetCgcCpf(q.FieldAsText(u"CGC"));
    fornecedor->SetInscEst(q.FieldAsText(u"INSC"));
    fornecedor->SetFone(q.FieldAsText(u"TELEFONE1"));
    fornecedor->SetFax(q.FieldAsText(u"FAX"));
    // The city is looked up (and registered when new) with the source's own city
    // and state, not the record's cut state.
    const UString cidade = TrimCtl(q.FieldAsText(u"CIDADE"));
    const UString estado = TrimCtl(q.FieldAsText(u"ESTADO"));
    if (!cidade.empty() && !estado.empty()) fornecedor->SetCodCidade(FConversao->FCidade(cidade, estado, u""));
    // A CNPJ has 14 digits, a CPF 11; anything else is taken for a person.
    fornecedor->SetPessoa_FJ(fornecedor->CgcCpf().size() == 14 ? u"J" : u"F");

    passagem.Identifica(fornecedor->CodFornec(), q.FieldAsText(u"RAZAOSOC"));
    if (TrimCtl(fornecedor->Nome()).empty()) {
      // Reset, so the next supplier cannot inherit this row's city code.
      fornecedor->LimpaVariavel();
      return Linha::Ignorada(u"nome em branco");
    }
    fornecedor->GravaFornecedor();
    return Linha::Gravada();
  });
}
