#pragma once
// One supplier of the target table FORNECE: holds it, normalises it, writes it.
// Every setter first removes the apostrophes of its value (they are dropped, not
// doubled: the legacy names carry them as typing noise, D'Avila becomes DAVILA).
#include "toolkit/classConversao.h"

class TConverteFornece : public TConversao {
 public:
  explicit TConverteFornece(RunContext& Contexto);

  const UString& CodFornec() const { return FCodFornec; }
  const UString& CodCliente() const { return FCodCliente; }
  const UString& CodTipo() const { return FCodTipo; }
  const UString& Nome() const { return FNome; }
  const UString& NomeFantasia() const { return FNomeFantasia; }
  const UString& Contato() const { return FContato; }
  const UString& Endereco() const { return FEndereco; }
  const UString& Bairro() const { return FBairro; }
  const UString& Cep() const { return FCep; }
  const UString& CodCidade() const { return FCodCidade; }
  const UString& NomeCidade() const { return FNomeCidade; }
  const UString& Numero() const { return FNumero; }
  const UString& Complemento() const { return FComplemento; }
  const UString& Estado() const { return FEstado; }
  const UString& InscMunicipal() const { return FInscMunicipal; }
  const UString& Pessoa_FJ() const { return FPessoa_FJ; }
  const UString& CgcCpf() const { return FCgcCpf; }
  const UString& InscEst() const { return FInscEst; }
  const UString& Fone() const { return FFone; }
  const UString& Fax() const { return FFax; }
  const UString& Celular() const { return FCelular; }
  const UString& Email() const { return FEmail; }
  const UString& HomePage() const { return FHomePage; }
  const UString& CampoLivre1() const { return FCampoLivre1; }
  const UString& CampoLivre2() const { return FCampoLivre2; }
  const UString& ContaCx() const { return FContaCx; }
  const UString& CTCTbred() const { return FCTCTbred; }
  const UString& Observacao() const { return FObservacao; }
  const UString& Ativo() const { return FAtivo; }
  const UString& TipoFornece() const { return FTipoFornece; }

  // Cut to 6, zero-filled to 6.
  void SetCodFornec(const UString& Value);
  // Trimmed, cut to 50 (40), upper-cased and without accents.
  void SetNome(const UString& Value);
  void SetNomeFantasia(const UString& Value);
  void SetEndereco(const UString& Value);  // cut to 50
  void SetBairro(const UString& Value);    // trimmed, cut to 30
  // Digits only (or ISENTO), cut to 8.
  void SetCep(const UString& Value);
  // Empty stays empty (no city); otherwise zero-filled to 5.
  void SetCodCidade(const UString& Value);
  // Cut to 2; suppliers keep the state as typed, letter case included.
  void SetEstado(const UString& Value);
  // Digits only (or ISENTO), cut to 14 (15).
  void SetCgcCpf(const UString& Value);
  void SetInscEst(const UString& Value);
  // Cut to 16, then digits only.
  void SetFone(const UString& Value);
  void SetFax(const UString& Value);
  // Fields the legacy table has no column for: stored as given.
  void SetCodCliente(const UString& Value);
  void SetCodTipo(const UString& Value);
  void SetContato(const UString& Value);
  void SetNomeCidade(const UString& Value);
  void SetNumero(const UString& Value);
  void SetComplemento(const UString& Value);
  void SetInscMunicipal(const UString& Value);
  void SetPessoa_FJ(const UString& Value);
  void SetCelular(const UString& Value);
  void SetEmail(const UString& Value);
  void SetHomePage(const UString& Value);
  void SetCampoLivre1(const UString& Value);
  void SetCampoLivre2(const UString& Value);
  void SetObservacao(const UString& Value);
  void SetTipoFornece(const UString& Value);

  // Resets the record through its setters: every field empty, the code six zeros.
  void LimpaVariavel();
  // Empties FORNECE inside the run's transaction.
  void LimpaTabela();
  // The insert of the supplier held, every value a text literal ('' when empty),
  // and as the (column, value) pairs the record binds to its statement.
  UString MontaSql() const;
  fb::Row Colunas() const;
  // Writes the supplier held as one row of FORNECE, then resets the record. A row
  // the target refuses is an error for the caller.
  void GravaFornecedor();

 private:
  UString FCodFornec;
  UString FCodCliente;
  UString FCodTipo;
  UString FNome;
  UString FNomeFantasia;
  UString FContato;
  UString FEndereco;
  UString FBairro;
  UString FCep;
  UString FCodCidade;
  UString FNomeCidade;
  UString FNumero;
  UString FComplemento;
  UString FEstado;
  UString FInscMunicipal;
  UString FPessoa_FJ;
  UString FCgcCpf;
  UString FInscEst;
  UString FFone;
  UString FFax;
  UString FCelular;
  UString FEmail;
  UString FHomePage;
  UString FCampoLivre1;
  UString FCampoLivre2;
  UString FContaCx;
  UString FCTCTbred;
  UString FObservacao;
  UString FAtivo;
  UString FTipoFornece;
};
