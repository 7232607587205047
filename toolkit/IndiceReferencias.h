#pragma once
// The units of measure and the cities of the target as a run sees them, read once,
// at the run's first lookup, and kept up to date with what the run itself registers:
// the lookups answer from here instead of querying the target for every row.
//
// Matching is the target's own for these columns (Norvale's WIN1252 texts, binary
// collation): letter case and accents count, blanks at the end do not, a null
// matches nothing. Among rows that match alike, the first one read decides, as the
// first row of the lookup query did. Nothing else writes these tables during a run;
// rows another user commits meanwhile are not seen.
#include <map>
#include <set>
#include <utility>

#include "platform/Text.h"
#include "platform/firebird/Firebird.h"

class IndiceReferencias {
 public:
  explicit IndiceReferencias(fb::Database& destino) : destino_(destino) {}

  // Whether the target has the unit.
  bool TemUnidade(const UString& unidade);
  void UnidadeRegistrada(const UString& unidade);

  // The code of the first city of that name and state; null when there is none.
  const UString* Cidade(const UString& nome, const UString& estado);
  // The code of the first city of that name, whatever its state; null when none.
  const UString* CidadeEmQualquerEstado(const UString& nome);
  void CidadeRegistrada(const UString& codigo, const UString& nome, const UString& estado);

  // MAX(CODCIDADE) as the target answers it (text order, the shorter text filled
  // with blanks), for the next city's code: false when only the query can tell
  // (a code with a character beyond ASCII, whose order is the character set's);
  // an empty `codigo` when there is no city.
  bool MaiorCodigoCidade(UString& codigo);

  // Whether the connection can send the text at all; when it cannot, the query
  // itself must run, to fail as it does.
  bool Representavel(const UString& texto) const { return destino_.CanHold(texto); }

 private:
  void LeUnidades();
  void LeCidades();
  void ContaCodigo(const UString& codigo);

  fb::Database& destino_;
  bool unidadesLidas_ = false;
  bool cidadesLidas_ = false;
  std::set<UString> unidades_;
  std::map<std::pair<UString, UString>, UString> cidades_;  // (name, state) -> code
  std::map<UString, UString> porNome_;                      // name -> code
  UString maiorCodigo_;
  bool maiorIncerto_ = false;
  bool temCidade_ = false;
};
