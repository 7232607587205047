#pragma once
// The tax detail of one product (target table PRODUTODETALHE): PIS and COFINS rates
// and situation codes, the CSOSN and a few further attributes.
#include <cstdint>

#include "toolkit/classConversao.h"

class TConverteProdutoDetalhe : public TConversao {
 public:
  // Also switches the process to the short date format dd/mm/yyyy, as the product
  // record does.
  explicit TConverteProdutoDetalhe(RunContext& Contexto);
  ~TConverteProdutoDetalhe() override;

  // Writes the fields directly, not through the setters, so the code goes back to
  // the empty text. The purchase-side PIS and COFINS rates keep their last value.
  void LimpaVariavel();
  // Empties PRODUTODETALHE inside the run's transaction.
  void LimpaTabela();
  // The insert statement for the values held, and the same values as the
  // (column, value) pairs the record binds to its statement.
  UString MontaSql() const;
  fb::Row Colunas() const;
  // Writes the record as a new row, then resets it. Failures propagate.
  bool ExecutaSql();

  const UString& CodProd() const { return FCODPROD; }
  const UString& ControleReceituario() const { return FCONTROLERECEITUARIO; }
  const UString& CodigoAtividade() const { return FCODIGOATIVIDADE; }
  const UString& CodigoListaServico() const { return FCODIGOLISTASERVICO; }
  const UString& EspelhoMercServ() const { return FESPELHOMERCSERV; }
  const UString& ImportadoPortoSeguro() const { return FIMPORTADOPORTOSEGURO; }
  std::int32_t CodPromocao() const { return FCODPROMOCAO; }
  double AliqPis() const { return FALIQPIS; }
  const UString& Pis_CST() const { return FPIS_CST; }
  const UString& PisEnt_CST() const { return FPISENT_CST; }
  std::int32_t Pis_ST() const { return FPIS_ST; }
  std::int32_t PisEnt_ST() const { return FPISENT_ST; }
  double AliqCofins() const { return FALIQCOFINS; }
  const UString& Cofins_CST() const { return FCOFINS_CST; }
  const UString& CofinsEnt_CST() const { return FCOFINSENT_CST; }
  std::int32_t Cofins_ST() const { return FCOFINS_ST; }
  std::int32_t CofinsEnt_ST() const { return FCOFINSENT_ST; }
  const UString& CodCSOSN() const { return FCODCSOSN; }
  double PrecoMaxVenda() const { return FPRECOMAXVENDA; }
  std::int32_t PontoBonus() const { return FPONTOBONUS; }
  double AliqPisEnt() const { return FALIQPISENT; }
  double AliqCofinsEnt() const { return FALIQCOFINSENT; }

  // Zero-filled to six in front; never cut, never trimmed.
  void SetCODPROD(const UString& v) { FCODPROD = StrZero(v, 6); }
  void SetCONTROLERECEITUARIO(const UString& v) { FCONTROLERECEITUARIO = v; }
  void SetCODIGOATIVIDADE(const UString& v) { FCODIGOATIVIDADE = v; }
  void SetCODIGOLISTASERVICO(const UString& v) { FCODIGOLISTASERVICO = v; }
  void SetESPELHOMERCSERV(const UString& v) { FESPELHOMERCSERV = v; }
  void SetIMPORTADOPORTOSEGURO(const UString& v) { FIMPORTADOPORTOSEGURO = v; }
  void SetCODPROMOCAO(std::int32_t v) { FCODPROMOCAO = v; }
  void SetALIQPIS(double v) { FALIQPIS = v; }
  void SetPIS_CST(const UString& v) { FPIS_CST = v; }
  void SetPISENT_CST(const UString& v) { FPISENT_CST = v; }
  void SetPIS_ST(std::int32_t v) { FPIS_ST = v; }
  void SetPISENT_ST(std::int32_t v) { FPISENT_ST = v; }
  void SetALIQCOFINS(double v) { FALIQCOFINS = v; }
  void SetCOFINS_CST(const UString& v) { FCOFINS_CST = v; }
  void SetCOFINSENT_CST(const UString& v) { FCOFINSENT_CST = v; }
  void SetCOFINS_ST(std::int32_t v) { FCOFINS_ST = v; }
  void SetCOFINSENT_ST(std::int32_t v) { FCOFINSENT_ST = v; }
  void SetCODCSOSN(const UString& v) { FCODCSOSN = v; }
  void SetPRECOMAXVENDA(double v) { FPRECOMAXVENDA = v; }
  void SetPONTOBONUS(std::int32_t v) { FPONTOBONUS = v; }
  void SetALIQPISENT(double v) { FALIQPISENT = v; }
  void SetALIQCOFINSENT(double v) { FALIQCOFINSENT = v; }

 private:
  UString FCODPROD;
  UString FCONTROLERECEITUARIO;
  UString FCODIGOATIVIDADE;
  UString FCODIGOLISTASERVICO;
  UString FESPELHOMERCSERV;
  UString FIMPORTADOPORTOSEGURO;
  std::int32_t FCODPROMOCAO = 0;
  double FALIQPIS = 0;
  UString FPIS_CST;
  UString FPISENT_CST;
  std::int32_t FPIS_ST = 0;
  std::int32_t FPISENT_ST = 0;
  double FALIQCOFINS = 0;
  UString FCOFINS_CST;
  UString FCOFINSENT_CST;
  std::int32_t FCOFINS_ST = 0;
  std::int32_t FCOFINSENT_ST = 0;
  UString FCODCSOSN;
  double FPRECOMAXVENDA = 0;
  std::int32_t FPONTOBONUS = 0;
  double FALIQPISENT = 0;
  double FALIQCOFINSENT = 0;
};
