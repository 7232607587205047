#pragma once
// What receivables and payables have in common: the document's own fields (company,
// type, number, currency, amounts, dates, situation, operation, order number) with
// their cleaning, and the date text both write.
#include <memory>

#include "platform/DateTime.h"
#include "platform/SourceQuery.h"
#include "toolkit/classConversao.h"

// The value without any double quote, wherever it stood. Every text of a document
// goes through it.
UString SemAspas(const UString& Value);

// The date as the documents write it, "dd/mm/yyyy" with the regional separator; the
// target connection reads it back under the same settings. The zero date (a blank
// legacy date) is 30/12/1899.
UString TextoData(TDateTime Value, const FormatSettings& fs);

class TConverteDocumento : public TConversao {
 public:
  explicit TConverteDocumento(RunContext& Contexto)
      : TConversao(Contexto), QMovimento(std::make_unique<fb::Query>(Contexto.Destino())) {}

  const UString& CodEmpresa() const { return FCodEmpresa; }
  const UString& TipoDocto() const { return FTipoDocto; }
  const UString& CodDocto() const { return FCodDocto; }
  const UString& CodMoeda() const { return FCodMoeda; }
  double ValorDocto() const { return FValorDocto; }
  double ValorPago() const { return FValorPago; }
  double ValorDesc() const { return FValorDesc; }
  double JurosMulta() const { return FJurosMulta; }
  const UString& Dt_Emissao() const { return FDt_Emissao; }
  const UString& Dt_Vencimento() const { return FDt_Vencimento; }
  const UString& Situacao() const { return FSituacao; }
  const UString& CodOper() const { return FCodOper; }
  const UString& NumOrd() const { return FNumOrd; }

  void SetCodEmpresa(const UString& Value) { FCodEmpresa = SemAspas(Value); }
  void SetTipoDocto(const UString& Value) { FTipoDocto = SemAspas(Value); }
  void SetCodDocto(const UString& Value) { FCodDocto = SemAspas(Value); }
  void SetCodMoeda(const UString& Value) { FCodMoeda = SemAspas(Value); }
  void SetValorDocto(double Value) { FValorDocto = Value; }
  void SetDt_Emissao(const UString& Value) { FDt_Emissao = SemAspas(Value); }
  void SetDt_Vencimento(const UString& Value) { FDt_Vencimento = SemAspas(Value); }
  void SetSituacao(const UString& Value) { FSituacao = SemAspas(Value); }
  void SetCodOper(const UString& Value) { FCodOper = SemAspas(Value); }

 protected:
  // The opening movement's insert, beside the document's in QDestino: each query
  // keeps its one text, prepared once for the whole pass.
  std::unique_ptr<fb::Query> QMovimento;

  // Resets the fields above (texts empty, amounts 0).
  void LimpaDocumento();

  UString FCodEmpresa;
  UString FTipoDocto;
  UString FCodDocto;
  UString FCodMoeda;
  double FValorDocto = 0;
  double FValorPago = 0;
  double FValorDesc = 0;
  double FJurosMulta = 0;
  UString FDt_Emissao;
  UString FDt_Vencimento;
  UString FSituacao;
  UString FCodOper;
  // Nothing in the legacy data gives an order number: it stays empty, and the empty
  // text reaches the target's integer column as null.
  UString FNumOrd;
};

// The values every converted document takes alike from its source row: company 00
// (whichever company was converted), the number, both dates, the value, situation 1
// (open) and currency 01.
void PreencheDocumento(TConverteDocumento& Documento, const SourceQuery& qryBusca);
