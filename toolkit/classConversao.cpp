// TConversao: construction, the transaction operations of a run, table emptying
// and zero filling. The normalisers live in
// classConversao_normalizadores.cpp, the reference lookups in
// classConversao_consultas.cpp.
#include "toolkit/classConversao.h"

#include "toolkit/Explicacoes.h"

#include <exception>

#include "platform/Error.h"
#include "platform/WindowServices.h"
#include "toolkit/RunContext.h"

TConversao::TConversao(RunContext& Contexto)
    : QDestino(std::make_unique<fb::Query>(Contexto.Destino())),
      QAuxiliar(std::make_unique<fb::Query>(Contexto.Destino())),
      cnBanco(Contexto.Destino()),
      contexto_(Contexto) {}

TConversao::~TConversao() = default;

void TConversao::PIniciaTransacao(fb::Transaction& Transacao) {
  if (!Transacao.InTransaction()) Transacao.StartTransaction();
}

void TConversao::PConfirmaTransacao(fb::Transaction& Transacao) {
  if (Transacao.InTransaction()) Transacao.Commit();
}

void TConversao::PCancelaTransacao(fb::Transaction& Transacao) {
  if (Transacao.InTransaction()) Transacao.Rollback();
}

// Decided for this project: a run is one transaction, so the deletion is not
// followed by a commit statement; it becomes permanent with the run's final commit
// and is undone by the run's rollback.
//
// A deletion that fails (another user holding changes on the table, a table that is
// not there) is shown, naming the table, and then passed on: a converter that went
// on would write its rows next to the old ones and the run would commit a mix of
// both as a success.
void TConversao::PLimpaTabela(const UString& NomeTabela) {
  try {
    fb::Query query(cnBanco);  // released whatever happens
    query.SetSQL(u"DELETE FROM " + NomeTabela);
    query.ExecSQL();
  } catch (const std::exception& e) {
    contexto_.MessageDlg(u"Erro na Exclusão da tabela " + NomeTabela + u"." + u"\r" + ErrorMessage(e) + u"\r" +
                   u"Verifique se a tabela está em Transação.",
               MsgKind::Error, MsgButtons::OK);
    throw;
  }
}

void TConversao::Insere(std::u16string_view Tabela, const fb::Row& Linha, const std::function<UString()>& literal) {
  if (!insercao_) insercao_ = std::make_unique<fb::Insert>(cnBanco, Tabela);
  insercao_->Execute(Linha, literal);
}

UString TConversao::StrZero(const UString& Valor, int Qtd) {
  if (Qtd > 0 && static_cast<std::size_t>(Qtd) > Valor.size())
    return UString(static_cast<std::size_t>(Qtd) - Valor.size(), u'0') + Valor;
  return Valor;
}

UString TConversao::Explica(const EDatabaseError& e, const UString& codigo, const UString& insercao) const {
  Situacao s;
  if (const char16_t* tipo = contexto_.Onde().tipo) s.tipo = tipo;
  s.codigo = codigo;
  if (e.IsTruncation()) ValorLongoDemais(cnBanco, insercao, s.coluna, s.valor);
  return ExplicaFalhaBanco(e, s);
}
