#pragma once
// What a run did, kind by kind: rows read from the source, written to the target,
// skipped by a rule of the converter, and rejected by the target (with the reason).
// The converters report into the report of their run; the console prints it, and a
// listener (the row report of the console) can follow every row not written as it
// happens, so nothing has to be held for it.
#include <functional>
#include <vector>

#include "platform/Text.h"

// One source row that was not written: where the operator finds it in the legacy
// file and in the target, and the rule that skipped it or why the target refused it.
struct RowNote {
  long long row = 0;  // its record number in the legacy file: 1-based, deleted records counted
  UString code;       // its legacy code, as the file holds it
  UString derived;    // the code the converter made of it ("000106"); empty when none was made
  UString name;       // its name or description, as the file holds it
  UString what;
};

// One figure of a kind's reconciliation: what the source gave for the rows written
// against what the target holds of them, read back before the commit.
struct LinhaConferencia {
  UString figura;   // "linhas em PRODUTO", "soma de PRODUTO.PRECO (PVENDA)"
  UString origem;   // as the operator reads them: "12", "1.234,56"
  UString destino;
  UString arredondamento;  // what the target's rounding took or gave, empty when none
  bool confere = true;
};

struct KindReport {
  UString kind;  // "Grupos de produtos", ...
  UString empresa;  // the company whose rows were read, for the kinds that have one
  long long read = 0;
  long long written = 0;
  long long skipped = 0;
  long long rejected = 0;
  // Documents written that match one the target already held (same company, type,
  // number, customer or supplier, due date and value): a repeated conversion.
  long long repeated = 0;
  std::vector<RowNote> rejections;  // every row the target refused (few, by nature)
  std::vector<LinhaConferencia> conferencia;  // empty when the kind was not reconciled
};

// The running total of one numeric column over the rows written, as the source gave
// it: the plain sum, and the sum of the values rounded as the target column keeps
// them (`escala` decimal places; a floating column keeps them as they are).
struct SomaOrigem {
  UString coluna;   // the legacy column
  int escala = -1;  // decimal places of the target column; -1: floating point
  double bruto = 0;
  long long unidades = 0;  // the rounded values, in units of the last decimal place
  void Soma(double v);
};

class RunReport {
 public:
  enum class Outcome { Skipped, Rejected };
  using Listener = std::function<void(const UString& kind, Outcome, const RowNote&)>;

  void Clear() { kinds_.clear(); }
  // Starts the section of one kind; the calls below count into it.
  void Begin(const UString& kind);
  void Read(long long n = 1) { cur().read += n; }
  void Written(long long n = 1) { cur().written += n; }
  // A row left out by a rule of the converter (a blank name, say); `what` is the rule.
  void Skipped(RowNote note);
  // A row the target refused while the run went on; `what` is why.
  void Rejected(RowNote note);

  const std::vector<KindReport>& Kinds() const { return kinds_; }
  // The section being counted into (begun by Begin).
  KindReport& Atual() { return cur(); }
  long long TotalRejected() const;
  long long TotalRepeated() const;
  // Counts documents of the kind `kind` as repeated.
  void Repeated(const UString& kind, long long n);

  // Follows every skipped and rejected row (nullptr: none).
  void SetListener(Listener l) { listener_ = std::move(l); }

 private:
  KindReport& cur();
  std::vector<KindReport> kinds_;
  Listener listener_;
};

// "registro 5 (código 12, no Norvale 00000012, JOSE DA SILVA): the reason" — how a
// rejected row reads in a box or a summary line.
UString DescreveRejeicao(const RowNote& n);
