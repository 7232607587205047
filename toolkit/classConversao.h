#pragma once
// TConversao: base of every record class and a toolkit object of its own. It holds
// the target query (a record's own statements) and the auxiliary query (lookups,
// table emptying) on the target connection, the transaction operations of a run,
// table emptying, zero filling, the normalisers and the reference lookups.
#include <functional>
#include <memory>

#include "platform/Regional.h"
#include "platform/Error.h"
#include "platform/Text.h"
#include "platform/firebird/Firebird.h"
#include "platform/firebird/Insert.h"
#include "toolkit/RunContext.h"

class TConversao {
 public:
  // Create: on the run's target connection, showing its boxes through the run.
  explicit TConversao(RunContext& Contexto);
  virtual ~TConversao();
  TConversao(const TConversao&) = delete;
  TConversao& operator=(const TConversao&) = delete;

  // Transactions of a run.
  void PIniciaTransacao(fb::Transaction& Transacao);    // starts it unless active
  void PConfirmaTransacao(fb::Transaction& Transacao);  // commits it when active
  void PCancelaTransacao(fb::Transaction& Transacao);   // rolls it back when active

  // Deletes every row of the table inside the run's transaction. A failure is shown
  // in an error box naming the table, then passed on so that the run fails.
  void PLimpaTabela(const UString& NomeTabela);

  // Puts "0" in front of Valor until it has Qtd code units; never cuts, never trims.
  static UString StrZero(const UString& Valor, int Qtd);

  // Normalisers of legacy values.
  static UString TiraMascara(const UString& Valor);
  // Dates are written under the given settings (today's date for an empty one).
  static UString FValidaData(UString& Data, const FormatSettings& fs);
  static UString FRemoveCaracter(const UString& Valor);
  static UString FRetiraAcento(const UString& Valor);
  static UString FSoNumero(const UString& MNumero);

  // Reference lookups on the target, through QAuxiliar.
  UString FUnidade(const UString& VFUNID);
  UString FCidade(const UString& Cidade, const UString& Estado, const UString& CodMunicipio);
  UString FBuscaCidade(const UString& Cidade, const UString& Estado, const UString& CodMunicipio);

  std::unique_ptr<fb::Query> QDestino;
  std::unique_ptr<fb::Query> QAuxiliar;
  fb::Database& cnBanco;

  // The run this record belongs to.
  RunContext& Contexto() const { return contexto_; }

  // Why the target refused the row this record wrote, as the operator reads it: the
  // kind being converted, the row's code and, for a value too long, its column and
  // the value, found in `insercao`, the row's literal insert.
  UString Explica(const EDatabaseError& e, const UString& codigo, const UString& insercao) const;

  // Rows of Insere that ran as their literal text (for tests and benchmarks).
  unsigned LinhasLiterais() const { return insercao_ ? insercao_->LiteralRuns() : 0; }

 protected:
  // Writes one row of the record's table: its values bound to a statement the
  // record prepares once, with the same outcome as `literal`, the row's literal
  // text, which runs instead where a bound value would not do what it does.
  void Insere(std::u16string_view Tabela, const fb::Row& Linha, const std::function<UString()>& literal);

 private:
  // FCidade's steps: the next code as the target works it out, and the new city.
  UString ProximoCodigoCidade();
  void InsereCidade(const UString& codigo, const UString& nome, const UString& estado, const UString& CodMunicipio);

  RunContext& contexto_;
  std::unique_ptr<fb::Insert> insercao_;
};
