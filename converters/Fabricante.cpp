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

bool TFabricante::GravaFabr() {
  FErroGravacao.clear();
  FGravou = false;
  try {
    QDestino->SetSQL(montaSQL());
    QDestino->ExecSQL();
    FGravou = true;
  } catch (const std::exception& e) {
    // A failed statement leaves nothing behind and the transaction active: the
    // operator is told about this row and the next one is written as usual.
    const auto* banco = dynamic_cast<const EDatabaseError*>(&e);
    FErroGravacao = banco ? Explica(*banco, FCodFabric) : ErrorMessage(e);
    Contexto().MessageDlg(u"Ocorreu um erro durante a conversão de Fabricantes. Motivo: " + FErroGravacao, MsgKind::Error,
               MsgButtons::OK);
  }
  return true;
}
