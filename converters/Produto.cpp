// The product record: construction, the write rules of its setters, its defaults
// and the emptying of PRODUTO. The insert statement is in Produto_insercao.cpp.
#include "converters/Produto.h"

#include "platform/Regional.h"

namespace {

UString Primeiros(const UString& v, std::size_t n) { return LeftU(v, n); }

UString AparadoPrimeiros(const UString& v, std::size_t n) { return LeftU(TrimCtl(v), n); }

// Tax situation codes and the main supplier: zero-filled, but an empty value stays
// empty rather than turning into zeros.
UString AparadoZeros(const UString& v, int n) {
  const UString aparado = TrimCtl(v);
  return aparado.empty() ? aparado : TConversao::StrZero(aparado, n);
}

// 1 January 1900 read as the conversion reads its date texts. Should the regional
// date separator not be "/", the text cannot be read; the record must still be
// usable, so the same day is built directly.
TDateTime LeDataVazia(const FormatSettings& fs) {
  TDateTime d;
  if (TryStrToDate(u"01/01/1900", d, fs)) return d;
  return EncodeDate(1900, 1, 1);
}

}  // namespace

TConverteProduto::TConverteProduto(RunContext& Contexto) : TConversao(Contexto) {
  // For the rest of the run, as the legacy program did for its whole process.
  Contexto.Regional().ShortDateFormat = u"dd/mm/yyyy";
  FDataVazia = LeDataVazia(Contexto.Regional());
  LimpaVariavel();
}

TConverteProduto::~TConverteProduto() = default;

void TConverteProduto::SetCodProd(const UString& v) { FCodProd = StrZero(LeftU(TrimCtl(v), 6), 6); }
void TConverteProduto::SetDescricao(const UString& v) { FDescricao = TrimCtl(LeftU(v, 50)); }
void TConverteProduto::SetDescricao2(const UString& v) { FDescricao2 = Primeiros(v, 50); }
void TConverteProduto::SetDescricao3(const UString& v) { FDescricao3 = Primeiros(v, 50); }
void TConverteProduto::SetReferencia(const UString& v) { FReferencia = Primeiros(v, 20); }
void TConverteProduto::SetRefFabricante(const UString& v) { FRefFabricante = AparadoPrimeiros(v, 20); }
void TConverteProduto::SetPrincipalFornecedor(const UString& v) { FPrincipalFornecedor = AparadoZeros(v, 6); }

// A value of blanks only leaves the group empty; otherwise its last three characters,
// taken from the value as given (blanks included), zero-filled.
void TConverteProduto::SetCodGrupo(const UString& v) {
  FCodGrupo = LeftU(TrimCtl(v), 3);
  if (!FCodGrupo.empty()) FCodGrupo = StrZero(RightU(v, 3), 3);
}

void TConverteProduto::SetCodSubGrupo(const UString& v) {
  FCodSubGrupo = v;
  if (!FCodSubGrupo.empty()) FCodSubGrupo = StrZero(RightU(v, 3), 3);
}

void TConverteProduto::SetUnidEntrada(const UString& v) { FUnidEntrada = Primeiros(v, 6); }
void TConverteProduto::SetUnidSaida(const UString& v) { FUnidSaida = Primeiros(v, 6); }
void TConverteProduto::SetCodFamilia(const UString& v) { FCodFamilia = Primeiros(v, 2); }
void TConverteProduto::SetCodTipoProduto(const UString& v) { FCodTipoProduto = Primeiros(v, 2); }
void TConverteProduto::SetDescricaoPreco(const UString& v) { FDescricaoPreco = Primeiros(v, 10); }
void TConverteProduto::SetDescricaoPreco2(const UString& v) { FDescricaoPreco2 = Primeiros(v, 10); }
void TConverteProduto::SetDescricaoPreco3(const UString& v) { FDescricaoPreco3 = Primeiros(v, 10); }
void TConverteProduto::SetDescricaoPreco4(const UString& v) { FDescricaoPreco4 = Primeiros(v, 10); }
void TConverteProduto::SetCodLocal(const UString& v) { FCodLocal = Primeiros(v, 8); }
void TConverteProduto::SetCampoLivre1(const UString& v) { FCampoLivre1 = AparadoPrimeiros(v, 20); }
void TConverteProduto::SetCampoLivre2(const UString& v) { FCampoLivre2 = AparadoPrimeiros(v, 20); }
void TConverteProduto::SetCampoLivre3(const UString& v) { FCampoLivre3 = AparadoPrimeiros(v, 50); }
void TConverteProduto::SetCampoLivre4(const UString& v) { FCampoLivre4 = AparadoPrimeiros(v, 50); }
void TConverteProduto::SetObservacao(const UString& v) { FObservacao = v; }
void TConverteProduto::SetControleSerie(const UString& v) { FControleSerie = v; }
void TConverteProduto::SetAtivado(const UString& v) { FAtivado = Primeiros(v, 1); }
void TConverteProduto::SetTipoProd(const UString& v) { FTipoProd = v; }
void TConverteProduto::SetProdBloqueado(const UString& v) { FProdBloqueado = v; }

// Blanks only leave it empty; otherwise the value as given is zero-filled to four.
void TConverteProduto::SetCodClasFis(const UString& v) {
  FCodClasFis = TrimCtl(v);
  if (!FCodClasFis.empty()) FCodClasFis = StrZero(v, 4);
}

void TConverteProduto::SetCodTribut00(const UString& v) { FCodTribut00 = AparadoZeros(v, 3); }
void TConverteProduto::SetDt_Cadastro(const UString& v) { FDt_Cadastro = v; }
void TConverteProduto::SetEmbalagem(const UString& v) { FEmbalagem = AparadoPrimeiros(v, 15); }
void TConverteProduto::setFFornec_Ult_Ent1(const UString& v) { FFornec_Ult_Ent1 = v; }

void TConverteProduto::SetFCodFabric(const UString& v) {
  FCodFabric = TrimCtl(v);
  if (!FCodFabric.empty()) FCodFabric = StrZero(LeftU(FCodFabric, 5), 5);
}

void TConverteProduto::setCodVolume(const UString& v) { FCodVolume = Primeiros(v, 3); }
void TConverteProduto::setTipoEntrega(const UString& v) { FTipoEntrega = Primeiros(v, 1); }
void TConverteProduto::SetMensagem00(const UString& v) { FMensagem00 = v; }
void TConverteProduto::SetMensagem01(const UString& v) { FMensagem01 = v; }
void TConverteProduto::SetCodTribut02(const UString& v) { FCodTribut02 = AparadoZeros(v, 3); }
void TConverteProduto::SetCodTribut03(const UString& v) { FCodTribut03 = AparadoZeros(v, 3); }
void TConverteProduto::SetMensagem02(const UString& v) { FMensagem02 = v; }
void TConverteProduto::SetMensagem03(const UString& v) { FMensagem03 = v; }
void TConverteProduto::SetControleLote(const UString& v) { FControleLote = v; }
void TConverteProduto::SetCodTributDiversos(const UString& v) { FCodTributDiversos = AparadoZeros(v, 3); }
void TConverteProduto::SetMensagemDiversos(const UString& v) { FMensagemDiversos = v; }
void TConverteProduto::SetSubsTribSaidaR1(const UString& v) { FSubsTribSaidaR1 = v; }
void TConverteProduto::SetSubsTribSaidaR2(const UString& v) { FSubsTribSaidaR2 = v; }
void TConverteProduto::SetSubsTribSaidaR3(const UString& v) { FSubsTribSaidaR3 = v; }
void TConverteProduto::SetSubsTribSaidaR4(const UString& v) { FSubsTribSaidaR4 = v; }
void TConverteProduto::SetSubsTrib(const UString& v) { FSubsTrib = v; }
void TConverteProduto::SetSubsTribSaida(const UString& v) { FSubsTribSaida = v; }
void TConverteProduto::SetCodTribut01(const UString& v) { FCodTribut01 = AparadoZeros(v, 3); }
void TConverteProduto::SetCFOPForaUF(const UString& v) { FCFOPForaUF = Primeiros(v, 4); }
void TConverteProduto::SetCFOPDentroUF(const UString& v) { FCFOPDentroUF = Primeiros(v, 4); }
void TConverteProduto::setMultiplicaDivide(const UString& v) { FMultiplicaDifica = v; }
void TConverteProduto::SetCodGeneroItem(const UString& v) { FCodGeneroItem = v; }

// PercPerda, DescontoMaximo, Pr_Ult_Ent1 and MultiplicaDivide are not reset: nothing
// in the conversion writes them, so they keep the zero or empty text of a new record.
void TConverteProduto::LimpaVariavel() {
  FData_Ult_Ent = FDataVazia;
  FData_Ult_Rea = FDataVazia;
  FData_Ult_Alt = FDataVazia;
  FFracionado.clear();
  LimpaTextos();
  LimpaNumeros();
}

// Texts go through their setters, so that a default takes its setter's rule (an
// empty code becomes six zeros).
void TConverteProduto::LimpaTextos() {
  SetCodProd(u"");
  SetDescricao(u"");
  SetDescricao2(u"");
  SetDescricao3(u"");
  SetReferencia(u"");
  SetRefFabricante(u"");
  SetPrincipalFornecedor(u"");
  SetCodGrupo(u"");
  SetCodSubGrupo(u"");
  SetUnidEntrada(u"UN");
  SetUnidSaida(u"UN");
  SetCodFamilia(u"");
  SetCodTipoProduto(u"");
  SetDescricaoPreco(u"");
  SetDescricaoPreco2(u"");
  SetDescricaoPreco3(u"");
  SetDescricaoPreco4(u"");
  SetCodLocal(u"");
  SetCampoLivre1(u"");
  SetCampoLivre2(u"");
  SetCampoLivre3(u"");
  SetCampoLivre4(u"");
  SetObservacao(u"");
  SetControleSerie(u"");
  SetAtivado(u"S");
  SetTipoProd(u"R");
  SetProdBloqueado(u"N");
  SetCodClasFis(u"");
  SetCodTribut00(u"");
  SetDt_Cadastro(u"");
  SetEmbalagem(u"");
  setFFornec_Ult_Ent1(u"");
  SetFCodFabric(u"");
  setCodVolume(u"");
  setTipoEntrega(u"");
  SetMensagem00(u"");
  SetMensagem01(u"");
  SetCodTribut02(u"");
  SetCodTribut03(u"");
  SetMensagem02(u"");
  SetMensagem03(u"");
  SetControleLote(u"");
  SetCodTributDiversos(u"");
  SetMensagemDiversos(u"");
  SetSubsTribSaidaR1(u"");
  SetSubsTribSaidaR2(u"");
  SetSubsTribSaidaR3(u"");
  SetSubsTribSaidaR4(u"");
  SetSubsTrib(u"");
  SetSubsTribSaida(u"");
  SetCodTribut01(u"");
  SetCFOPForaUF(u"");
  SetCFOPDentroUF(u"");
  SetCodGeneroItem(u"");
}

void TConverteProduto::LimpaNumeros() {
  SetSugestao(0);
  SetPreco(0);
  SetPreco2(0);
  SetPreco3(0);
  SetPreco4(0);
  SetPrecoAnterior(0);
  SetPeso(0);
  SetAliqIcmsReg00(0);
  SetBaseicmsReg00(0);
  SetAliqIcmsPdv(0);
  SetValorIpi(0);
  SetAliqIcmsReg02(0);
  SetAliqIcmsDiversos(0);
  SetBaseIcmsdiversos(0);
  SetPercBaseSubsTribSaidaR1(0);
  SetPercIcmsSubsTribSaidaR1(0);
  SetPercBaseSubsTribSaidaR2(0);
  SetPercIcmsSubsTribSaidaR2(0);
  SetPercBaseSubsTribSaidaR3(0);
  SetPercIcmsSubsTribSaidaR3(0);
  SetPercBaseSubsTribSaidaR4(0);
  SetPercIcmsSubsTribSaidaR4(0);
  SetQuant_Ult_Ent1(0);
  SetPrecoPromo(0);
  SetAliqIpi(0);
  SetAliqIss(0);
  SetLucro(0);
  setLucro2(0);
  setLucro3(0);
  SetEstMinimo(0);
  SetEstMaximo(0);
  SetAliqIcmsReg01(0);
  SetBaseIcmsReg01(0);
  SetAliqIcmsReg03(0);
  SetLucroSubStrib(0);
  SetPercBaseSubsTribSaida(0);
  SetPercIcmsSubsTribSaida(0);
  SetComissao(0);
  setLucro4(0);
  SetBaseIcmsReg02(0);
  SetBaseIcmsReg03(0);
  setPercIva(0);
  SetFatorConversao(0);
  SetGrade(0);
  SetDiasEstMinimo(0);
  SetDiasEstMaximo(0);
}

void TConverteProduto::LimpaTabela() {
  // No commit here: the run's final commit makes the emptying permanent together
  // with the new rows, and a failed run gets the old products back.
  QAuxiliar->Close();
  QAuxiliar->SetSQL(u"Delete from PRODUTO");
  QAuxiliar->ExecSQL();
  QAuxiliar->Close();
}
