// Reference lookups on the target: units of measure and cities. They run on
// QAuxiliar in the run's current transaction and never commit; what they register
// becomes permanent with the run's next commit.
#include <exception>

#include "platform/WindowServices.h"
#include "toolkit/RunContext.h"
#include "toolkit/classConversao.h"

UString TConversao::FUnidade(const UString& VFUNID) {
  const UString unidade = UpperAZ(LeftU(VFUNID, 6));
  try {
    QAuxiliar->Close();
    QAuxiliar->SetSQL(u"Select UNIDADE from UNIDADES Where UNIDADE = :PUNIDADE");
    QAuxiliar->BindText(u"PUNIDADE", unidade);
    QAuxiliar->Open();
    if (QAuxiliar->IsEmpty()) {
      QAuxiliar->Close();
      QAuxiliar->SetSQL(u"Insert Into UNIDADES (UNIDADE) Values(:PUNIDADE)");
      QAuxiliar->BindText(u"PUNIDADE", unidade);
      QAuxiliar->ExecSQL();
    }
  } catch (const std::exception&) {
    // The product keeps its unit code even when the unit could not be registered.
    Contexto().MessageDlg(u"Erro ao converter Unidade.", MsgKind::Warning, MsgButtons::OK);
  }
  return unidade;
}

UString TConversao::FCidade(const UString& Cidade, const UString& Estado,
                            const UString& CodMunicipio) {
  QAuxiliar->Close();
  QAuxiliar->SetSQL(UString());

  QAuxiliar->SetSQL(u" SELECT CODCIDADE FROM CIDADES WHERE CIDADE = " + QuotedStr(UpperAZ(Cidade)) +
                    u" AND ESTADO = " + QuotedStr(UpperAZ(Estado)));
  QAuxiliar->Open();
  if (!QAuxiliar->IsEmpty()) return QAuxiliar->FieldAsText(u"CODCIDADE");

  // The legacy tables abbreviate Belo Horizonte; any state will do.
  if (Cidade == u"BHTE") {
    QAuxiliar->Close();
    QAuxiliar->SetSQL(u" SELECT CODCIDADE FROM CIDADES WHERE CIDADE = 'BELO HORIZONTE' ");
    QAuxiliar->Open();
    if (!QAuxiliar->IsEmpty()) return QAuxiliar->FieldAsText(u"CODCIDADE");
  }

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
  QAuxiliar->BindText(u"CIDADE", UpperAZ(Cidade));
  QAuxiliar->BindText(u"ESTADO", UpperAZ(Estado));
  QAuxiliar->BindText(u"CODMUNICIPIO", TrimCtl(CodMunicipio));
  QAuxiliar->ExecSQL();
  return codigo;
}

UString TConversao::FBuscaCidade(const UString& Cidade, const UString& Estado,
                                 const UString& /*CodMunicipio*/) {
  QAuxiliar->Close();
  QAuxiliar->SetSQL(UString());

  QAuxiliar->SetSQL(u"SELECT CODCIDADE FROM CIDADES WHERE CIDADE = " + QuotedStr(UpperAZ(Cidade)) +
                    u" AND ESTADO = " + QuotedStr(UpperAZ(Estado)));
  QAuxiliar->Open();
  if (QAuxiliar->IsEmpty()) return UString();
  return QAuxiliar->FieldAsText(u"CODCIDADE");
}
