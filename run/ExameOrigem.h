#pragma once
// Inspection of a legacy folder before a migration: for each table the converters
// read, whether it is there (and under which file name), how many records it holds
// and how many are deleted, its code page and how that was decided, its memo file,
// the columns a converter needs that it lacks, and the rows of each company code.
// Every value a run reads is read here first, so a table that would stop a run
// stops here.
// Nothing but the folder is touched.
#include <map>
#include <string>
#include <vector>

#include "platform/SourceQuery.h"
#include "platform/Text.h"

struct ExameTabela {
  UString tabela;   // as the converters name it: CLIENTES, ContPag, ...
  UString tipo;     // the kinds that read it: "cliente", "receber", ...
  bool encontrada = false;
  std::string arquivo;  // the file found, in its own letter case
  long long registros = 0;
  long long apagados = 0;
  std::string codePage;        // "cp850", ...
  std::string codePageOrigem;  // how it was decided: .cpg file, language byte, guess
  std::string memo;            // the memo file beside it, empty when none
  std::vector<UString> colunasFaltando;
  UString colunaEmpresa;                       // empty for tables without company
  std::map<UString, long long> porEmpresa;     // live rows per company code
  bool documentos = false;                     // has a payment date: receivables, payables
  std::map<UString, long long> abertosPorEmpresa;  // documents not paid, per company
  UString erro;  // why it could not be read in full; empty when it could
};

struct ExameOrigem {
  std::string pasta;
  UString erroPasta;  // the folder itself is missing or unreadable
  std::vector<ExameTabela> tabelas;
  // Every table found could be read in full (a missing table is not a failure: the
  // operator may convert only the kinds that exist), and at least one was found: a
  // folder with none is not the legacy system's.
  bool Ok() const;
  bool NenhumaTabela() const;
};

ExameOrigem ExaminaOrigem(const std::string& pasta, SourceEngine& fonte);
