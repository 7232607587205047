#include "app/ConfirmaConversao.h"

bool ConfirmaPlano(WindowServices& servicos, const Plano& plano) {
  UString texto;
  for (const UString& l : plano.Linhas()) texto += l + u"\r";
  texto += u"\rConfirma a conversão?";
  const MsgButtons botoes = plano.PedeCuidado() ? MsgButtons::YesNoPadraoNao : MsgButtons::YesNo;
  return servicos.MessageBox(MsgKind::Confirmation, texto, botoes) == MsgResult::Yes;
}
