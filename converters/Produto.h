#pragma once
// One product of the target table PRODUTO: every column the conversion can fill,
// normalised as it is assigned, back at fixed defaults after each row written.
//
// A few setters keep the names the target system's code gave them
// (setFFornec_Ult_Ent1, SetFCodFabric, SetPrecoAnterior, SetBaseicmsReg00, ...).
// Data_Ult_Ent, Data_Ult_Rea, Data_Ult_Alteracao, DescontoMaximo, Fracionado and
// Pr_Ult_Ent1 are written as given, with no rule.
#include <cstdint>

#include "platform/DateTime.h"
#include "toolkit/classConversao.h"

class TConverteProduto : public TConversao {
 public:
  // Also switches the process to the short date format dd/mm/yyyy, with which the
  // date texts of the conversion are read from then on.
  explicit TConverteProduto(RunContext& Contexto);
  ~TConverteProduto() override;

  void LimpaVariavel();
  // Empties PRODUTO inside the run's transaction.
  void LimpaTabela();
  // Writes the record as one new PRODUTO row, then resets it. Failures propagate.
  bool ExecutaSql();
  // The insert of the values held: (column, value) pairs, and the literal text.
  fb::Row Colunas() const;
  // Fills `linha` in place (see fb::RowFiller): the row written keeps its room.
  void PreencheLinha(fb::Row& linha) const;
  UString MontaSql() const;

  // The date the three dates hold when unset; a date equal to it is not written,
  // so the target keeps its own default.
  TDateTime DataVazia() const { return FDataVazia; }

  // --- reads ---
  TDateTime Data_Ult_Ent() const { return FData_Ult_Ent; }
  TDateTime Data_Ult_Rea() const { return FData_Ult_Rea; }
  TDateTime Data_Ult_Alteracao() const { return FData_Ult_Alt; }
  const UString& CodProd() const { return FCodProd; }
  const UString& Descricao() const { return FDescricao; }
  const UString& Descricao2() const { return FDescricao2; }
  const UString& Descricao3() const { return FDescricao3; }
  const UString& Referencia() const { return FReferencia; }
  const UString& RefFabricante() const { return FRefFabricante; }
  const UString& PrincipalFornecedor() const { return FPrincipalFornecedor; }
  const UString& CodGrupo() const { return FCodGrupo; }
  const UString& CodSubGrupo() const { return FCodSubGrupo; }
  const UString& UnidEntrada() const { return FUnidEntrada; }
  const UString& UnidSaida() const { return FUnidSaida; }
  const UString& CodFamilia() const { return FCodFamilia; }
  const UString& CodTipoProduto() const { return FCodTipoProduto; }
  const UString& DescricaoPreco() const { return FDescricaoPreco; }
  const UString& DescricaoPreco2() const { return FDescricaoPreco2; }
  const UString& DescricaoPreco3() const { return FDescricaoPreco3; }
  const UString& DescricaoPreco4() const { return FDescricaoPreco4; }
  const UString& CodLocal() const { return FCodLocal; }
  const UString& CampoLivre1() const { return FCampoLivre1; }
  const UString& CampoLivre2() const { return FCampoLivre2; }
  const UString& CampoLivre3() const { return FCampoLivre3; }
  const UString& CampoLivre4() const { return FCampoLivre4; }
  const UString& Observacao() const { return FObservacao; }
  const UString& ControleSerie() const { return FControleSerie; }
  const UString& Ativado() const { return FAtivado; }
  const UString& TipoProd() const { return FTipoProd; }
  const UString& ProdBloqueado() const { return FProdBloqueado; }
  const UString& CodClasFis() const { return FCodClasFis; }
  const UString& CodTribut00() const { return FCodTribut00; }
  const UString& Dt_Cadastro() const { return FDt_Cadastro; }
  const UString& Embalagem() const { return FEmbalagem; }
  const UString& Fornec_Ult_Ent1() const { return FFornec_Ult_Ent1; }
  const UString& CodFabric() const { return FCodFabric; }
  const UString& CodVolume() const { return FCodVolume; }
  const UString& TipoEntrega() const { return FTipoEntrega; }
  const UString& Mensagem00() const { return FMensagem00; }
  const UString& Mensagem01() const { return FMensagem01; }
  const UString& CodTribut02() const { return FCodTribut02; }
  const UString& CodTribut03() const { return FCodTribut03; }
  const UString& Mensagem02() const { return FMensagem02; }
  const UString& Mensagem03() const { return FMensagem03; }
  const UString& ControleLote() const { return FControleLote; }
  const UString& CodTributDiversos() const { return FCodTributDiversos; }
  const UString& MensagemDiversos() const { return FMensagemDiversos; }
  const UString& SubsTribSaidaR1() const { return FSubsTribSaidaR1; }
  const UString& SubsTribSaidaR2() const { return FSubsTribSaidaR2; }
  const UString& SubsTribSaidaR3() const { return FSubsTribSaidaR3; }
  const UString& SubsTribSaidaR4() const { return FSubsTribSaidaR4; }
  double Sugestao() const { return FSugestao; }
  double Preco() const { return FPreco; }
  double Preco2() const { return FPreco2; }
  double Preco3() const { return FPreco3; }
  double Preco4() const { return FPreco4; }
  double Preco_Anterior() const { return FPreco_Anterior; }
  double Peso() const { return FPeso; }
  double AliqIcmsReg00() const { return FAliqIcmsReg00; }
  double BaseIcmsReg00() const { return FBaseIcmsReg00; }
  double AliqIcmsPdv() const { return FAliqIcmsPdv; }
  double ValorIpi() const { return FValorIpi; }
  double AliqIcmsReg02() const { return FAliqIcmsReg02; }
  double AliqIcmsDiversos() const { return FAliqIcmsDiversos; }
  double BaseIcmsdiversos() const { return FBaseIcmsdiversos; }
  double PercPerda() const { return FPercPerda; }
  double PercBaseSubsTribSaidaR1() const { return FPercBaseSubsTribSaidaR1; }
  double PercIcmsSubsTribSaidaR1() const { return FPercIcmsSubsTribSaidaR1; }
  double PercBaseSubsTribSaidaR2() const { return FPercBaseSubsTribSaidaR2; }
  double PercIcmsSubsTribSaidaR2() const { return FPercIcmsSubsTribSaidaR2; }
  double PercBaseSubsTribSaidaR3() const { return FPercBaseSubsTribSaidaR3; }
  double PercIcmsSubsTribSaidaR3() const { return FPercIcmsSubsTribSaidaR3; }
  double PercBaseSubsTribSaidaR4() const { return FPercBaseSubsTribSaidaR4; }
  double PercIcmsSubsTribSaidaR4() const { return FPercIcmsSubsTribSaidaR4; }
  double Quant_Ult_Ent1() const { return FQuant_Ult_Ent1; }
  double PrecoPromo() const { return FPrecoPromo; }
  double AliqIpi() const { return FAliqIpi; }
  double AliqIss() const { return FAliqIss; }
  double Lucro() const { return FLucro; }
  double Lucro2() const { return Flucro2; }
  double Lucro3() const { return FLucro3; }
  double EstMinimo() const { return FEstMinimo; }
  double EstMaximo() const { return FEstMaximo; }
  double AliqIcmsReg01() const { return FAliqIcmsReg01; }
  double BaseIcmsReg01() const { return FBaseIcmsReg01; }
  double AliqIcmsReg03() const { return FAliqIcmsReg03; }
  double LucroSubStrib() const { return Flucrosubstrib; }
  double PercBaseSubsTribSaida() const { return FPercBaseSubsTribSaida; }
  double PercIcmsSubsTribSaida() const { return FPercIcmsSubsTribSaida; }
  double Comissao() const { return FComissao; }
  const UString& SubsTrib() const { return FSubsTrib; }
  const UString& SubsTribSaida() const { return FSubsTribSaida; }
  double DescontoMaximo() const { return FDescontoMax; }
  double Lucro4() const { return FLucro4; }
  const UString& Fracionado() const { return FFracionado; }
  double Pr_Ult_Ent1() const { return FPrUltEnt1; }
  double BaseIcmsReg02() const { return FBaseIcmsReg02; }
  double BaseIcmsReg03() const { return FBaseIcmsReg03; }
  const UString& CodTribut01() const { return FCodTribut01; }
  double PercIva() const { return FPercIva; }
  double FatorConversao() const { return FFatorConversao; }
  const UString& CFOPForaUF() const { return FCFOPForaUF; }
  const UString& CFOPDentroUF() const { return FCFOPDentroUF; }
  const UString& MultiplicaDivide() const { return FMultiplicaDifica; }
  std::int32_t Grade() const { return FGRADE; }
  const UString& CodGeneroItem() const { return FCodGeneroItem; }
  std::int32_t DiasEstMinimo() const { return FDiasEstMinimo; }
  std::int32_t DiasEstMaximo() const { return FDiasEstMaximo; }

  // --- writes written as given ---
  void SetData_Ult_Ent(TDateTime v) { FData_Ult_Ent = v; }
  void SetData_Ult_Rea(TDateTime v) { FData_Ult_Rea = v; }
  void SetData_Ult_Alteracao(TDateTime v) { FData_Ult_Alt = v; }
  void SetDescontoMaximo(double v) { FDescontoMax = v; }
  void SetFracionado(const UString& v) { FFracionado = v; }
  void SetPr_Ult_Ent1(double v) { FPrUltEnt1 = v; }

  // --- writes through a rule (Produto.cpp) ---
  void SetCodProd(const UString& v);      // trimmed, first 6, zero-filled to 6
  void SetDescricao(const UString& v);    // first 50, then trimmed
  void SetDescricao2(const UString& v);   // first 50
  void SetDescricao3(const UString& v);   // first 50
  void SetReferencia(const UString& v);   // first 20
  void SetRefFabricante(const UString& v);        // trimmed, first 20
  void SetPrincipalFornecedor(const UString& v);  // trimmed, zero-filled to 6 unless empty
  void SetCodGrupo(const UString& v);
  void SetCodSubGrupo(const UString& v);
  void SetUnidEntrada(const UString& v);  // first 6
  void SetUnidSaida(const UString& v);    // first 6
  void SetCodFamilia(const UString& v);   // first 2
  void SetCodTipoProduto(const UString& v);  // first 2
  void SetDescricaoPreco(const UString& v);  // first 10, likewise 2 to 4
  void SetDescricaoPreco2(const UString& v);
  void SetDescricaoPreco3(const UString& v);
  void SetDescricaoPreco4(const UString& v);
  void SetCodLocal(const UString& v);     // first 8
  void SetCampoLivre1(const UString& v);  // trimmed, first 20
  void SetCampoLivre2(const UString& v);  // trimmed, first 20
  void SetCampoLivre3(const UString& v);  // trimmed, first 50
  void SetCampoLivre4(const UString& v);  // trimmed, first 50
  void SetObservacao(const UString& v);
  void SetControleSerie(const UString& v);
  void SetAtivado(const UString& v);      // first 1
  void SetTipoProd(const UString& v);
  void SetProdBloqueado(const UString& v);
  void SetCodClasFis(const UString& v);
  void SetCodTribut00(const UString& v);  // trimmed, zero-filled to 3 unless empty; likewise 01 to 03, Diversos
  void SetDt_Cadastro(const UString& v);
  void SetEmbalagem(const UString& v);    // trimmed, first 15
  void setFFornec_Ult_Ent1(const UString& v);
  void SetFCodFabric(const UString& v);
  void setCodVolume(const UString& v);    // first 3
  void setTipoEntrega(const UString& v);  // first 1
  void SetMensagem00(const UString& v);
  void SetMensagem01(const UString& v);
  void SetCodTribut02(const UString& v);
  void SetCodTribut03(const UString& v);
  void SetMensagem02(const UString& v);
  void SetMensagem03(const UString& v);
  void SetControleLote(const UString& v);
  void SetCodTributDiversos(const UString& v);
  void SetMensagemDiversos(const UString& v);
  void SetSubsTribSaidaR1(const UString& v);
  void SetSubsTribSaidaR2(const UString& v);
  void SetSubsTribSaidaR3(const UString& v);
  void SetSubsTribSaidaR4(const UString& v);
  void SetSugestao(double v) { FSugestao = v; }
  void SetPreco(double v) { FPreco = v; }
  void SetPreco2(double v) { FPreco2 = v; }
  void SetPreco3(double v) { FPreco3 = v; }
  void SetPreco4(double v) { FPreco4 = v; }
  void SetPrecoAnterior(double v) { FPreco_Anterior = v; }
  void SetPeso(double v) { FPeso = v; }
  void SetAliqIcmsReg00(double v) { FAliqIcmsReg00 = v; }
  void SetBaseicmsReg00(double v) { FBaseIcmsReg00 = v; }
  void SetAliqIcmsPdv(double v) { FAliqIcmsPdv = v; }
  void SetValorIpi(double v) { FValorIpi = v; }
  void SetAliqIcmsReg02(double v) { FAliqIcmsReg02 = v; }
  void SetAliqIcmsDiversos(double v) { FAliqIcmsDiversos = v; }
  void SetBaseIcmsdiversos(double v) { FBaseIcmsdiversos = v; }
  void SetPercPerda(double v) { FPercPerda = v; }
  void SetPercBaseSubsTribSaidaR1(double v) { FPercBaseSubsTribSaidaR1 = v; }
  void SetPercIcmsSubsTribSaidaR1(double v) { FPercIcmsSubsTribSaidaR1 = v; }
  void SetPercBaseSubsTribSaidaR2(double v) { FPercBaseSubsTribSaidaR2 = v; }
  void SetPercIcmsSubsTribSaidaR2(double v) { FPercIcmsSubsTribSaidaR2 = v; }
  void SetPercBaseSubsTribSaidaR3(double v) { FPercBaseSubsTribSaidaR3 = v; }
  void SetPercIcmsSubsTribSaidaR3(double v) { FPercIcmsSubsTribSaidaR3 = v; }
  void SetPercBaseSubsTribSaidaR4(double v) { FPercBaseSubsTribSaidaR4 = v; }
  void SetPercIcmsSubsTribSaidaR4(double v) { FPercIcmsSubsTribSaidaR4 = v; }
  void SetQuant_Ult_Ent1(double v) { FQuant_Ult_Ent1 = v; }
  void SetPrecoPromo(double v) { FPrecoPromo = v; }
  void SetAliqIpi(double v) { FAliqIpi = v; }
  void SetAliqIss(double v) { FAliqIss = v; }
  void SetLucro(double v) { FLucro = v; }
  void setLucro2(double v) { Flucro2 = v; }
  void setLucro3(double v) { FLucro3 = v; }
  void SetEstMinimo(double v) { FEstMinimo = v; }
  void SetEstMaximo(double v) { FEstMaximo = v; }
  void SetAliqIcmsReg01(double v) { FAliqIcmsReg01 = v; }
  void SetBaseIcmsReg01(double v) { FBaseIcmsReg01 = v; }
  void SetAliqIcmsReg03(double v) { FAliqIcmsReg03 = v; }
  void SetLucroSubStrib(double v) { Flucrosubstrib = v; }
  void SetPercBaseSubsTribSaida(double v) { FPercBaseSubsTribSaida = v; }
  void SetPercIcmsSubsTribSaida(double v) { FPercIcmsSubsTribSaida = v; }
  void SetComissao(double v) { FComissao = v; }
  void SetSubsTrib(const UString& v);
  void SetSubsTribSaida(const UString& v);
  void setLucro4(double v) { FLucro4 = v; }
  void SetBaseIcmsReg02(double v) { FBaseIcmsReg02 = v; }
  void SetBaseIcmsReg03(double v) { FBaseIcmsReg03 = v; }
  void SetCodTribut01(const UString& v);
  void setPercIva(double v) { FPercIva = v; }
  void SetFatorConversao(double v) { FFatorConversao = v; }
  void SetCFOPForaUF(const UString& v);    // first 4
  void SetCFOPDentroUF(const UString& v);  // first 4
  void setMultiplicaDivide(const UString& v);
  void SetGrade(std::int32_t v) { FGRADE = v; }
  void SetCodGeneroItem(const UString& v);
  void SetDiasEstMinimo(std::int32_t v) { FDiasEstMinimo = v; }
  void SetDiasEstMaximo(std::int32_t v) { FDiasEstMaximo = v; }

 private:
  // The two halves of LimpaVariavel.
  void LimpaTextos();
  void LimpaNumeros();

  TDateTime FDataVazia = 0;
  fb::Row FLinha;  // the row written, refilled for each product

  TDateTime FData_Ult_Ent = 0;
  TDateTime FData_Ult_Rea = 0;
  TDateTime FData_Ult_Alt = 0;
  UString FCodProd;
  UString FDescricao;
  UString FDescricao2;
  UString FDescricao3;
  UString FReferencia;
  UString FRefFabricante;
  UString FPrincipalFornecedor;
  UString FCodGrupo;
  UString FCodSubGrupo;
  UString FUnidEntrada;
  UString FUnidSaida;
  UString FCodFamilia;
  UString FCodTipoProduto;
  UString FDescricaoPreco;
  UString FDescricaoPreco2;
  UString FDescricaoPreco3;
  UString FDescricaoPreco4;
  UString FCodLocal;
  UString FCampoLivre1;
  UString FCampoLivre2;
  UString FCampoLivre3;
  UString FCampoLivre4;
  UString FObservacao;
  UString FControleSerie;
  UString FAtivado;
  UString FTipoProd;
  UString FProdBloqueado;
  UString FCodClasFis;
  UString FCodTribut00;
  UString FDt_Cadastro;
  UString FEmbalagem;
  UString FFornec_Ult_Ent1;
  UString FCodFabric;
  UString FCodVolume;
  UString FTipoEntrega;
  UString FMensagem00;
  UString FMensagem01;
  UString FCodTribut02;
  UString FCodTribut03;
  UString FMensagem02;
  UString FMensagem03;
  UString FControleLote;
  UString FCodTributDiversos;
  UString FMensagemDiversos;
  UString FSubsTribSaidaR1;
  UString FSubsTribSaidaR2;
  UString FSubsTribSaidaR3;
  UString FSubsTribSaidaR4;
  double FSugestao = 0;
  double FPreco = 0;
  double FPreco2 = 0;
  double FPreco3 = 0;
  double FPreco4 = 0;
  double FPreco_Anterior = 0;
  double FPeso = 0;
  double FAliqIcmsReg00 = 0;
  double FBaseIcmsReg00 = 0;
  double FAliqIcmsPdv = 0;
  double FValorIpi = 0;
  double FAliqIcmsReg02 = 0;
  double FAliqIcmsDiversos = 0;
  double FBaseIcmsdiversos = 0;
  double FPercPerda = 0;
  double FPercBaseSubsTribSaidaR1 = 0;
  double FPercIcmsSubsTribSaidaR1 = 0;
  double FPercBaseSubsTribSaidaR2 = 0;
  double FPercIcmsSubsTribSaidaR2 = 0;
  double FPercBaseSubsTribSaidaR3 = 0;
  double FPercIcmsSubsTribSaidaR3 = 0;
  double FPercBaseSubsTribSaidaR4 = 0;
  double FPercIcmsSubsTribSaidaR4 = 0;
  double FQuant_Ult_Ent1 = 0;
  double FPrecoPromo = 0;
  double FAliqIpi = 0;
  double FAliqIss = 0;
  double FLucro = 0;
  double Flucro2 = 0;
  double FLucro3 = 0;
  double FEstMinimo = 0;
  double FEstMaximo = 0;
  double FAliqIcmsReg01 = 0;
  double FBaseIcmsReg01 = 0;
  double FAliqIcmsReg03 = 0;
  double Flucrosubstrib = 0;
  double FPercBaseSubsTribSaida = 0;
  double FPercIcmsSubsTribSaida = 0;
  double FComissao = 0;
  UString FSubsTrib;
  UString FSubsTribSaida;
  double FDescontoMax = 0;
  double FLucro4 = 0;
  UString FFracionado;
  double FPrUltEnt1 = 0;
  double FBaseIcmsReg02 = 0;
  double FBaseIcmsReg03 = 0;
  UString FCodTribut01;
  double FPercIva = 0;
  double FFatorConversao = 0;
  UString FCFOPForaUF;
  UString FCFOPDentroUF;
  UString FMultiplicaDifica;
  std::int32_t FGRADE = 0;
  UString FCodGeneroItem;
  std::int32_t FDiasEstMinimo = 0;
  std::int32_t FDiasEstMaximo = 0;
};
