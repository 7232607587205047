#pragma once
// What a run will do, worked out before it starts, so the operator sees it before
// anything is deleted: per kind, the target rows it deletes, the legacy rows it
// reads (for the chosen company, with the other companies' counts), and for
// receivables and payables the documents the target already holds and how many of
// the incoming ones are already there.
#include <map>
#include <vector>

#include "converters/Tipos.h"
#include "platform/SourceQuery.h"
#include "platform/firebird/Firebird.h"

struct PlanoTipo {
  const Tipo* tipo = nullptr;
  std::vector<std::pair<UString, long long>> apaga;  // each emptied table and the rows it holds
  long long lidos = 0;                               // rows its statement reads
  std::map<UString, long long> outrasEmpresas;       // rows (documents: open ones) of other companies
  bool documentos = false;
  long long documentosNoDestino = 0;  // documents the target holds, of any company
  long long repetidos = 0;            // incoming documents alike to one of those
};

struct Plano {
  UString empresa;
  std::vector<PlanoTipo> tipos;

  long long Apagados() const;
  long long Repetidos() const;
  // The kinds that read nothing of the chosen company while their table holds rows
  // of another: most likely the wrong company.
  std::vector<const PlanoTipo*> SemLinhasDaEmpresa() const;
  // Deletes rows, reads nothing of the company where others have rows, or repeats
  // documents: a confirmation of it must not be a reflex.
  bool PedeCuidado() const;
  // The plan as the operator reads it, one line each, warnings last.
  std::vector<UString> Linhas() const;
  const PlanoTipo* DoTipo(const Tipo& tipo) const;
};

// Either what stops the run (problems, one sentence each) or the plan.
struct Preparacao {
  std::vector<UString> problemas;
  Plano plano;
};

// The check before the run, then the plan. Reads the legacy tables and the target
// (in the connection's transaction; one started here is rolled back at the end).
Preparacao PreparaConversao(const std::vector<const Tipo*>& tipos, const UString& origem, const UString& empresa,
                            SourceEngine& fonte, fb::Database& destino);

// "Ocorreu um erro durante a conversão! Motivo: ..." naming every problem.
UString TextoProblemas(const std::vector<UString>& problemas);
