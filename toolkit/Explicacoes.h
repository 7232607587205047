#pragma once
// The failures of the target database an operator meets, said in Portuguese: what
// happened and what to do, in one sentence, and then the database's own text, kept
// whole for whoever supports the shop. The same words reach the run's box, the
// console and the row report. The failure is recognised by the database's error
// codes, never by its English.
#include <vector>

#include "platform/Error.h"
#include "platform/Text.h"
#include "platform/firebird/Firebird.h"

// What the run knew when the database refused something.
struct Situacao {
  UString tipo;    // the kind being converted ("Clientes"); empty outside a pass
  UString codigo;  // the code of the row being written, as the target got it
  UString coluna;  // the column whose value was too long, and that value, when known
  UString valor;
  std::vector<UString> tabelasFaltando;  // Norvale tables the target lacks, when known
  bool naConfirmacao = false;            // the failure came at the final commit
};

// The explanation, then "\r" + "Mensagem do banco de dados: " + the database's text;
// a failure none of the explanations fits gives the database's text alone.
UString ExplicaFalhaBanco(const EDatabaseError& e, const Situacao& s = {});

// The same for a target that could not be opened: `destino` as the operator gave it.
// Any other error (an empty name) gives its own text.
UString ExplicaConexao(const std::exception& erro, const UString& destino);

// Which of `tabelas` the target lacks (read from its catalogue; an error reading it
// gives none).
std::vector<UString> TabelasFaltando(fb::Database& db, const std::vector<UString>& tabelas);

// For an INSERT text with literal values that the target refused as too long: the
// first column whose value is longer than the column holds, and that value. False
// when the text is not such an insert or no value is found too long.
bool ValorLongoDemais(fb::Database& db, const UString& insert, UString& coluna, UString& valor);
