// Reference lookups on the target: units of measure and cities. They answer from
// the run's copy of the two tables (IndiceReferencias), which the units and cities they
// register join; their statements run on QAuxiliar in the run's current
// transaction and never commit, so what they register becomes permanent with the
// run's next commit.
#include <algorithm>
#include <exception>
#include <string>

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

  // The next code is the highest one plus one. The run's copy of the table knows
  // it; should another user have committed a city with that code meanwhile, the
  // insert says so and the target itself is asked, as it always was.
  UString maior, codigo;
  const bool sabido = referencias.MaiorCodigoCidade(maior);
  if (sabido && maior.empty())
    codigo = u"00001";
  else if (sabido && maior.size() <= 6 && std::all_of(maior.begin(), maior.end(), [](char16_t c) {
             return c >= u'0' && c <= u'9';
           }))
    codigo = StrZero(IntToU(std::stoi(UToUtf8(maior)) + 1), 5);
  else
    codigo = ProximoCodigoCidade();
  try {
    InsereCidade(codigo, nome, estado, CodMunicipio);
  } catch (const EDatabaseError& e) {
    if (!sabido || !e.IsDuplicateKey()) throw;
    codigo = ProximoCodigoCidade();
    InsereCidade(codigo, nome, estado, CodMunicipio);
  }
  referencias.CidadeRegistrada(codigo, nome, estado);
  return codigo;
}

UString TConversao::ProximoCodigoCidade() {
  QAuxiliar->Close();
  QAuxiliar->SetSQL(u" SELECT MAX(CODCIDADE) AS CODCIDADE FROM CIDADES ");
  QAuxiliar->Open();
  if (QAuxiliar->FieldAsText(u"CODCIDADE").empty()) return u"00001";
  return StrZero(IntToU(QAuxiliar->FieldAsInteger(u"CODCIDADE") + 1), 5);
}

void TConversao::InsereCidade(const UString& codigo, const UString& nome, const UString& estado,
                              const UString& CodMunicipio) {
  QAuxiliar->Close();
  QAuxiliar->SetSQL(
      u" INSERT INTO CIDADES (CODCIDADE, CIDADE, CODMUNICIPIO, ESTADO) VALUES (:CODCIDADE, :CIDADE, "
      u":CODMUNICIPIO, :ESTADO) ");
  QAuxiliar->BindText(u"CODCIDADE", codigo);
  QAuxiliar->BindText(u"CIDADE", nome);
  QAuxiliar->BindText(u"ESTADO", estado);
  QAuxiliar->BindText(u"CODMUNICIPIO", TrimCtl(CodMunicipio));
  QAuxiliar->ExecSQL();
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
