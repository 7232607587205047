#include "converters/Fabricante.h"

#include <exception>

#include "platform/Error.h"
#include "platform/WindowServices.h"

TFabricante::TFabricante(RunContext& Contexto) : TConversao(Contexto) { limpaVariavel(); }

void TFabricante::setCodFabric(const UString& Value) { FCodFabric = StrZero(LeftU(Value, 5), 5); }

void TFabricante::setDescricao(const UString& Value) { FDescricao = LeftU(Value, 30); }

void TFabricante::limpaVariavel() {
  FCodFabric.clear();
  FDescricao.clear();
}

UString TFabricante::montaSQL() const {
  return u"Insert into cadfabr ( cadfabr.codFabric, cadfabr.Descricao) Values (" + QuotedStr(FCodFabric) +
         u",        " + QuotedStr(FDescricao) + u")";
}

fb::Row TFabricante::Colunas() const {
  return {{u"cadfabr.codFabric", fb::Value::Texto(FCodFabric)}, {u"cadfabr.Descricao", fb::Value::Texto(FDescricao)}};
}

bool TFabricante::GravaFabr() {
  FErroGravacao.clear();
  FGravou = false;
  try {
    Insere(u"cadfabr", Colunas(), [this] { return montaSQL(); });
    FGravou = true;
  } catch (const std::exception& e) {
    // A failed statement leaves nothing behind and the transaction active: the
    // operator is told about this row (in a box now, or in the front end's summary
    // after the run) and the next one is written as usual. A broken connection or
    // another user's lock stops the run instead.
    const auto* banco = dynamic_cast<const EDatabaseError*>(&e);
    if (banco && (banco->IsConnectionLost() || banco->IsLockConflict())) throw;
    FErroGravacao = banco ? Explica(*banco, FCodFabric, montaSQL()) : ErrorMessage(e);
    if (!Contexto().LinhasNoResumo())
      Contexto().MessageDlg(u"Ocorreu um erro durante a conversão de Fabricantes. Motivo: " + FErroGravacao,
                            MsgKind::Error, MsgButtons::OK);
  }
  return true;
}
