#pragma once
// One manufacturer of the target table CADFABR: holds it and writes it. A row the
// target refuses is reported and the conversion goes on with the next one.
#include "toolkit/classConversao.h"

class TFabricante : public TConversao {
 public:
  explicit TFabricante(RunContext& Contexto);

  const UString& CodFabric() const { return FCodFabric; }
  const UString& Descricao() const { return FDescricao; }

  // The first five characters, zero-filled to five.
  void setCodFabric(const UString& Value);
  // The first 30 characters, blanks kept.
  void setDescricao(const UString& Value);

  void limpaVariavel();
  // The insert of the manufacturer held, its values quoted into the text.
  UString montaSQL() const;
  // The same values as the (column, value) pairs the record binds to its statement.
  fb::Row Colunas() const;
  // Writes the manufacturer held. A row the target refuses is shown in an error box
  // and kept in ErroGravacao; the transaction goes on. Returns true either way; the
  // fields keep their values.
  bool GravaFabr();
  // Whether the last GravaFabr wrote its row, and the target's message when it did not.
  bool Gravou() const { return FGravou; }
  const UString& ErroGravacao() const { return FErroGravacao; }

 private:
  UString FCodFabric;
  UString FDescricao;
  UString FErroGravacao;
  bool FGravou = false;
};
