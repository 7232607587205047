// Reference lookups on the target: units of measure and cities. They answer from
// the run's copy of the two tables (IndiceReferencias), which the units and cities they
// register join; their statements run on QAuxiliar in the run's current
// transaction and never commit, so what they register becomes permanent with the
// run's next commit.
#include <exception>

#include "platform/WindowServices.h"
#include "toolkit/RunContext.h"
#include "toolkit/classConversao.h"

UString TConversao::FUnidade(const UString& VFUNID) {
  const UString unidade = UpperAZ(LeftU(VFUNID, 6));
  try {
    IndiceReferencias& referencias = Contexto().Referencias();
    if (!referencias.TemUnidade(unidade)) {
      QAuxiliar->Close();
      QAuxiliar->SetSQL(u"Insert Into UNIDADES (UNIDADE) Values(:PUNIDADE)");
      QAuxiliar->BindText(u"PUNIDADE", unidade);
      QAuxiliar->ExecSQL();
      referencias.UnidadeRegistrada(unidade);
    }
  } catch (const std::exception&) {
    // The product keeps its unit code even when the unit could not be registered.
    Contexto().MessageDlg(u"Erro ao converter Unidade.", MsgKind::Warning, MsgButtons::OK);
  }
  return unidade;
}

UString TConversao::FCidade(const UString& Cidade, const UString& Estado,
                            const UString& CodMunicipio) {
  const UString nome = UpperAZ(Cidade), estado = UpperAZ(Estado);
  IndiceReferencias& referencias = Contexto().Referencias();
  if (!referencias.Representavel(nome) || !referencias.Representavel(estado)) {
    // The lookup fails on a character the connection cannot send; so must this.
    QAuxiliar->Close();
    QAuxiliar->SetSQL(u" SELECT CODCIDADE FROM CIDADES WHERE CIDADE = " + QuotedStr(nome) + u" AND ESTADO = " +
                      QuotedStr(estado));
    QAuxiliar->Open();
  }
  if (const UString* codigo = referencias.Cidade(nome, estado)) return *codigo;

  // The legacy tables abbreviate Belo Horizonte; any state will do.
  if (Cidade == u"BHTE")
    if (const UString* codigo = referencias.CidadeEmQualquerEstado(u"BELO HORIZONTE")) return *codigo;

  QAuxiliar->Close();
  QAuxiliar->SetSQL(u" SELECT MAX(CODCIDADE) AS CODCIDADE FROM CIDADES ");
  QAuxiliar->Open();
  UString codigo;
  if (QAuxiliar->FieldAsText(u"CODCIDADE").empty())
    codigo = u"00001";
  else
    codigo = StrZero(IntToU(QAuxiliar->FieldAsInteger(u"CODCIDADE") + 1), 5);

  QAuxiliar->Close();
  QAuxiliar->SetSQL(
      u" INSERT INTO CIDADES (CODCIDADE, CIDADE, CODMUNICIPIO, ESTADO) VALUES (:CODCIDADE, :CIDADE, "
      u":CODMUNICIPIO, :ESTADO) ");
  QAuxiliar->BindText(u"CODCIDADE", codigo);
  QAuxiliar->BindText(u"CIDADE", nome);
  QAuxiliar->BindText(u"ESTADO", estado);
  QAuxiliar->BindText(u"CODMUNICIPIO", TrimCtl(CodMunicipio));
  QAuxiliar->ExecSQL();
  referencias.CidadeRegistrada(codigo, nome, estado);
  return codigo;
}

UString TConversao::FBuscaCidade(const UString& Cidade, const UString& Estado,
                                 const UString& /*CodMunicipio*/) {
  const UString nome = UpperAZ(Cidade), estado = UpperAZ(Estado);
  IndiceReferencias& referencias = Contexto().Referencias();
  if (!referencias.Representavel(nome) || !referencias.Representavel(estado)) {
    // The lookup fails on a character the connection cannot send; so must this.
    QAuxiliar->Close();
    QAuxiliar->SetSQL(u"SELECT CODCIDADE FROM CIDADES WHERE CIDADE = " + QuotedStr(nome) + u" AND ESTADO = " +
                      QuotedStr(estado));
    QAuxiliar->Open();
  }
  const UString* codigo = referencias.Cidade(nome, estado);
  return codigo ? *codigo : UString();
}
