#pragma once
// The kinds of data a run converts, in the run's fixed order: one entry each, and
// everything else (the run controller's table, the console's kind names, the
// window's check boxes, the inspection of a legacy folder and each source
// statement) is read from here. A new kind is one entry plus its units.
#include <vector>

#include "platform/Text.h"
#include "toolkit/RunContext.h"

struct Tipo;

// A target table a kind writes one row into for each source row written, with the
// numeric columns it carries from the source: what the reconciliation compares.
struct Conferida {
  const char16_t* tabela;
  std::vector<std::pair<const char16_t*, const char16_t*>> somas;  // legacy column, target column
  // Tables added to: the identity column, and the columns (besides the sums) that
  // make two rows the same document, to find the rows of the legacy folder in a
  // target converted earlier.
  const char16_t* id = nullptr;
  std::vector<const char16_t*> chave = {};
};

// How a kind's statement is written: the legacy program wrote some in capitals
// with table-qualified columns, others in mixed case.
enum class EstiloConsulta { Maiusculas, Qualificada, Mista };

struct Tipo {
  const char16_t* chave;    // key of the selection list: CLIENTE, ...
  const char* nome;         // the console's name: cliente, ...
  const char16_t* rotulo;   // the window's check box: Cliente, Contas a Pagar, ...
  const char16_t* relato;   // in the progress text and the report: Clientes, ...
  const char16_t* tabela;   // the legacy table: CLIENTES, ContPag, ...
  std::vector<const char16_t*> colunas;  // what its statement reads, in order
  EstiloConsulta estilo;
  const char16_t* filtro;           // what follows the table in the statement ("" none);
                                    // %EMPRESA% stands for the company code
  const char16_t* colunaCodigo;     // the legacy code a skipped or refused row is named by
  const char16_t* colunaEmpresa;    // the company column, or nullptr
  const char16_t* colunaPagamento;  // the payment date of documents, or nullptr
  std::vector<const char16_t*> esvazia;     // target tables emptied and filled again
  std::vector<const char16_t*> acrescenta;  // target tables added to (and registered in)
  // A row the target refuses is listed and the run goes on (true), or fails the run.
  bool listaRecusadas;
  void (*converte)(RunContext& ctx, const Tipo& tipo);
  // The tables reconciled after the pass: emptied ones must hold exactly the rows
  // written, the others must have grown by them.
  std::vector<Conferida> conferidas;

  // The source statement, as the legacy program wrote it, for the company.
  UString Consulta(const UString& empresa) const;
  // "Convertendo Clientes - Registro "
  UString TextoProgresso() const;
  // Every column of the legacy table the kind needs: those read and those filtered on.
  std::vector<const char16_t*> ColunasLidas() const;
};

// Every kind, in the run's order.
const std::vector<Tipo>& Tipos();
// The kind of that key (letter case aside), or nullptr.
const Tipo* TipoPorChave(const UString& chave);
// The kind of that console name, or nullptr.
const Tipo* TipoPorNome(const std::string& nome);
