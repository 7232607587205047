#pragma once
// The per-company figures of one product (target table COMPPROD): stock, stock
// limits and costs, for one company and grade.
#include "toolkit/classConversao.h"

class TConverteCompProd : public TConversao {
 public:
  explicit TConverteCompProd(RunContext& Contexto);
  ~TConverteCompProd() override;

  // Resets the code, company, grade, stock and cost only: the other figures keep
  // their last value.
  void LimpaVariavel();
  // Empties COMPPROD inside the run's transaction: every company when Empresa is
  // the empty text, that company's rows otherwise.
  void LimpaTabela(const UString& Empresa);
  // The insert statement for the values held, and the same values as the
  // (column, value) pairs the record binds to its statement.
  UString MontaSql() const;
  fb::Row Colunas() const;
  // 1 writes the record as a new row (the record is not reset afterwards); no other
  // statement exists, and any other value writes nothing and returns false.
  bool ExecutaSql(int vParam);

  const UString& CodProd() const { return FCodProd; }
  const UString& CodEmpresa() const { return FCodEmpresa; }
  const UString& CodGrade() const { return FCodGrade; }
  double Estoque() const { return FEstoque; }
  double EstMaximo() const { return FEstMaximo; }
  double EstMinimo() const { return FEstMinimo; }
  double DifICMS() const { return FDifICMS; }
  double PrecoCusto() const { return FPrecoCusto; }
  double PrecoMedio() const { return FPrecoMedio; }
  double EstoquDisp() const { return FEstoqueDisp; }
  double PrecoNF() const { return FPrecoNF; }

  // Zero-filled to six in front; never cut, never trimmed.
  void SetCodProd(const UString& v) { FCodProd = StrZero(v, 6); }
  void SetCodEmpresa(const UString& v) { FCodEmpresa = v; }
  void SetCodGrade(const UString& v) { FCodGrade = v; }
  void SetEstoque(double v) { FEstoque = v; }
  void SetEstMaximo(double v) { FEstMaximo = v; }
  void SetEstMinimo(double v) { FEstMinimo = v; }
  void SetDifICMS(double v) { FDifICMS = v; }
  void SetPrecoCusto(double v) { FPrecoCusto = v; }
  void setPrecoMedio(double v) { FPrecoMedio = v; }
  void setEstoqueDisp(double v) { FEstoqueDisp = v; }
  void setPrecoNf(double v) { FPrecoNF = v; }

 private:
  UString FCodProd;
  UString FCodEmpresa;
  UString FCodGrade;
  double FEstoque = 0;
  double FEstMaximo = 0;
  double FEstMinimo = 0;
  double FDifICMS = 0;
  double FPrecoCusto = 0;
  double FPrecoMedio = 0;
  double FEstoqueDisp = 0;
  double FPrecoNF = 0;
};
