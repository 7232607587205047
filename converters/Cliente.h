#pragma once
// One customer of the target table CLIENTE: holds it while it is converted,
// normalises each value as it is set, and writes it as one literal insert.
#include <cstddef>
#include <vector>

#include "platform/DateTime.h"
#include "toolkit/classConversao.h"

class TConverteCliente : public TConversao {
 public:
  explicit TConverteCliente(RunContext& Contexto);

  const UString& CodCliente() const { return FCodCliente; }
  const UString& CodFornec() const { return FCodFornec; }
  const UString& Nome() const { return FNome; }
  const UString& Contato() const { return FContato; }
  const UString& NomeFantasia() const { return FNomeFantasia; }
  const UString& Endereco() const { return FEndereco; }
  const UString& EnderecoEntr() const { return FEnderecoEntr; }
  const UString& EnderecoCob() const { return FEnderecoCob; }
  const UString& Bairro() const { return FBairro; }
  const UString& BairroEntr() const { return FBairroEntr; }
  const UString& BairroCob() const { return FBairroCob; }
  const UString& CodCidade() const { return FCodCidade; }
  const UString& NomeCidade() const { return FNomeCidade; }
  const UString& CodCidadeEntr() const { return FCodCidadeEntr; }
  const UString& NomeCidadeEntr() const { return FNomeCidadeEntr; }
  const UString& CodCidadeCob() const { return FCodCidadeCob; }
  const UString& NomeCidadeCob() const { return FNomeCidadeCob; }
  const UString& Estado() const { return FEstado; }
  const UString& EstadoEntr() const { return FEstadoEntr; }
  const UString& EstadoCob() const { return FEstadoCob; }
  const UString& Cep() const { return FCep; }
  const UString& CepEntr() const { return FCepEntr; }
  const UString& CepCob() const { return FCepCob; }
  const UString& CgcCpf() const { return FCgcCpf; }
  const UString& InscEst() const { return FInscEst; }
  const UString& InscMunicipal() const { return FInscMunicipal; }
  const UString& Pessoa_FJ() const { return FPessoa_FJ; }
  const UString& Fone() const { return FFone; }
  const UString& Fax() const { return FFax; }
  const UString& PrefixCelular() const { return FPrefixCelular; }
  const UString& Celular() const { return FCelular; }
  const UString& Email() const { return FEmail; }
  const UString& HomePage() const { return FHomePage; }
  const UString& Ativo() const { return FAtivo; }
  const UString& NomeMae() const { return FNomeMae; }
  const UString& NomePai() const { return FNomePai; }
  const UString& CliBloqueado() const { return FCliBloqueado; }
  const UString& RetemISS() const { return FRetemISS; }
  const UString& MalaDiretaEletr() const { return FMalaDiretaEletr; }
  const UString& ProtestarCliente() const { return FProtestarCliente; }
  const UString& DT_Nascimento() const { return FDT_Nascimento; }
  const UString& DT_Cadastro() const { return FDT_Cadastro; }
  const UString& Dt_Ult_Venda() const { return FDT_Ult_Venda; }
  const UString& Dt_Ult_Alteracao() const { return FDT_Ult_Alteracao; }
  const UString& DT_ValCad() const { return FDT_Valcad; }
  const UString& Observacao() const { return FObservacao; }
  const UString& CampoLivre1() const { return FCampoLivre1; }
  const UString& CampoLivre2() const { return FCampoLivre2; }
  const UString& CampoLivre3() const { return FCampoLivre3; }
  const UString& CampoLivre4() const { return FCampoLivre4; }
  const UString& CampoLivre5() const { return FCampoLivre5; }
  const UString& CampoLivre6() const { return FCampoLivre6; }
  const UString& CampoLivre7() const { return FCampoLivre7; }
  const UString& CampoLivre8() const { return FCampoLivre8; }
  const UString& CampoLivre9() const { return FCampoLivre9; }
  const UString& CampoLivre10() const { return FCampoLivre10; }
  const UString& CodSegmento() const { return FCodSegmento; }
  const UString& CodClasCli() const { return FCodClasCli; }
  const UString& CodVendend1() const { return FCodVendend1; }
  const UString& CodPais() const { return FCodPais; }
  const UString& CodMunicipio() const { return FCodMunicipio; }
  const UString& NomeSocio() const { return FNomeSocio; }
  const UString& CodPrazo() const { return FCodPrazo; }
  double LimiteCredito() const { return FLimiteCredito; }

  // Every text setter below first takes out the double quotes one at a time; after
  // each removal the partly cleaned text is cut again, so a quote far enough along
  // can drop what follows the cut. Then the value gets its final normalisation.

  // Zero-filled to 8 before the separators go: 12.345 becomes 0012345.
  void SetCodCliente(const UString& Value);
  // Names: trimmed, cut, upper-cased (a-z) and unaccented.
  void SetNome(const UString& Value);
  void SetContato(const UString& Value);
  void SetNomeFantasia(const UString& Value);
  void SetEndereco(const UString& Value);
  void SetEnderecoEntr(const UString& Value);
  void SetEnderecoCob(const UString& Value);
  void SetBairro(const UString& Value);
  void SetBairroEntr(const UString& Value);
  void SetBairroCob(const UString& Value);
  // City codes: empty stays empty, anything else zero-filled to 5 and never cut; a
  // code longer than the column (6) throws, naming the customer set before it.
  void SetCodCidade(const UString& Value);
  void SetCodCidadeEntr(const UString& Value);
  void SetCodCidadeCob(const UString& Value);
  void SetEstado(const UString& Value);
  void SetEstadoEntr(const UString& Value);
  void SetEstadoCob(const UString& Value);
  // Postal codes and tax ids: digits only (or ISENTO), separators removed.
  void SetCep(const UString& Value);
  void SetCepEntr(const UString& Value);
  void SetCepCob(const UString& Value);
  void SetCgcCpf(const UString& Value);
  void SetPessoa_FJ(const UString& Value);
  // Phones: the digits of the first 16 characters.
  void SetFone(const UString& Value);
  void SetFax(const UString& Value);
  void SetPrefixCelular(const UString& Value);
  void SetCelular(const UString& Value);
  void SetAtivo(const UString& Value);
  // The setter of Observacao keeps the legacy spelling.
  void SetObsercacao(const UString& Value);
  void SetCampoLivre2(const UString& Value);
  void SetCampoLivre3(const UString& Value);
  void SetCampoLivre4(const UString& Value);
  void SetCampoLivre5(const UString& Value);
  void SetCampoLivre6(const UString& Value);
  // Dates become dd.mm.yyyy. An empty birth date stays empty (and is left out of the
  // insert); an empty registration date becomes today. A mask nobody filled in
  // ("  -   -", "  /  /": only blanks and separators) is an empty date. A text that
  // is no date at all is kept as it came, dotted, for the target to judge.
  void SetDT_Nascimento(const UString& Value);
  void SetDT_Cadastro(const UString& Value);

  // Back to the values a new customer starts from. Contato, the city names, the
  // municipal registration, the parents' names, the last-sale and validity dates,
  // CodFornec, CodSegmento, CodClasCli, CodVendend1, CodPais, NomeSocio, CodPrazo
  // and the credit limit are not touched: the mapping sets Contato for every row,
  // and no step of a conversion changes the others.
  void LimpaVariavel();
  // Empties CLIENTE inside the run's transaction.
  void LimpaTabela();
  // The insert of the customer held, as one literal statement text, and as the
  // (column, value) pairs the record binds to its statement.
  UString MontaSqlInsere() const;
  // The same text from the values as they go into it: `valores` are the 48 of the
  // column list in its order, each quoted but the credit limit (kLimiteCredito),
  // written as it stands; an empty birth date leaves its column out.
  static constexpr std::size_t kLimiteCredito = 45;
  static UString SqlInsere(const std::vector<UString>& valores, const UString& nascimento,
                           const UString& ultAlteracao, const UString& cadastro, const UString& ativo,
                           const UString& bloqueado);
  // Fills `linha` in place (see fb::RowFiller).
  void Colunas(fb::Row& linha) const;
  // Whether the run's own transaction sees a customer with `codigo` in CLIENTE.
  bool GravadoNestaConversao(const UString& codigo) const;
  // Acao 1: runs the insert and resets the record. An insert the target refuses
  // does not stop the run: its message is kept in ErroGravacao() and the result is
  // still true; the caller decides how to report it. Any other Acao does nothing
  // and gives false.
  bool ExecutaSql(int Acao);
  // The target's message for the last ExecutaSql, empty when the row was written.
  const UString& ErroGravacao() const { return FErroGravacao; }

 private:
  UString FCodCliente;
  UString FCodFornec;
  UString FNome;
  UString FContato;
  UString FNomeFantasia;
  UString FEndereco;
  UString FEnderecoEntr;
  UString FEnderecoCob;
  UString FBairro;
  UString FBairroEntr;
  UString FBairroCob;
  UString FCodCidade;
  UString FNomeCidade;
  UString FCodCidadeEntr;
  UString FNomeCidadeEntr;
  UString FCodCidadeCob;
  UString FNomeCidadeCob;
  UString FEstado;
  UString FEstadoEntr;
  UString FEstadoCob;
  UString FCep;
  UString FCepEntr;
  UString FCepCob;
  UString FCgcCpf;
  UString FInscEst;
  UString FInscMunicipal;
  UString FPessoa_FJ;
  UString FFone;
  UString FFax;
  UString FPrefixCelular;
  UString FCelular;
  UString FEmail;
  UString FHomePage;
  UString FAtivo;
  UString FNomeMae;
  UString FNomePai;
  UString FCliBloqueado;
  UString FRetemISS;
  UString FMalaDiretaEletr;
  UString FProtestarCliente;
  UString FDT_Nascimento;
  UString FDT_Cadastro;
  UString FDT_Ult_Venda;
  UString FDT_Ult_Alteracao;
  UString FDT_Valcad;
  UString FObservacao;
  UString FCampoLivre1;
  UString FCampoLivre2;
  UString FCampoLivre3;
  UString FCampoLivre4;
  UString FCampoLivre5;
  UString FCampoLivre6;
  UString FCampoLivre7;
  UString FCampoLivre8;
  UString FCampoLivre9;
  UString FCampoLivre10;
  UString FCodSegmento;
  UString FCodClasCli;
  UString FCodVendend1;
  UString FCodPais;
  UString FCodMunicipio;
  UString FNomeSocio;
  UString FCodPrazo;
  double FLimiteCredito = 0;

  UString FErroGravacao;
  fb::Row FLinha;  // the row written, refilled for each customer
  TDateTime FDiaHoje = -1;  // the day FHoje was written for
  UString FHoje;
};
