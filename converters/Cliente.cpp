#include "converters/Cliente.h"

#include <exception>
#include <utility>
#include <vector>

#include "platform/DateTime.h"
#include "platform/Error.h"
#include "platform/Regional.h"

namespace {

// Takes the double quotes out one at a time. After each removal the partly cleaned
// text goes through `porRemocao` (a cut, a mask removal), as the customer records
// always did: a cut there can drop the rest of the text, quotes included, before it
// moves forward. What is left goes through `final`.
template <class PorRemocao, class Final>
UString SemAspas(const UString& valor, PorRemocao porRemocao, Final final) {
  if (valor.find(u'"') == UString::npos) return final(valor);  // the usual case
  UString v = valor;
  for (auto p = v.find(u'"'); p != UString::npos; p = v.find(u'"')) {
    v.erase(p, 1);
    v = porRemocao(v);
  }
  return final(v);
}

UString Nada(const UString& v) { return v; }

UString Pontuada(UString s) {
  for (auto& c : s)
    if (c == u'/') c = u'.';
  return s;
}

// A date column typed as text keeps its mask when nobody filled it in: "  -   -",
// "  /  /", blanks. That is no date, and reads as an empty one.
UString SemMascaraVazia(const UString& v) {
  for (char16_t c : v)
    if (c > u' ' && c != u'/' && c != u'-' && c != u'.') return v;
  return UString();
}

// A date read as a date becomes dd.mm.yyyy (an empty one, today); a text that is
// no date is kept, dotted, rather than lost.
UString DataCadastro(const UString& valor, const FormatSettings& fs) {
  const UString v = SemMascaraVazia(valor);
  UString data = v;
  UString r = Pontuada(TConversao::FValidaData(data, fs));
  if (r.empty() && !v.empty()) r = Pontuada(v);
  return r;
}

// The birth date is optional: an empty one stays empty rather than become today.
UString DataOpcional(const UString& valor, const FormatSettings& fs) {
  const UString v = SemMascaraVazia(valor);
  return v.empty() ? UString() : DataCadastro(v, fs);
}

// What the city columns of CLIENTE hold.
constexpr std::size_t kTamanhoCodCidade = 6;

// The code comes from CIDADES and is zero-filled but never cut: after 99999 the
// codes take six characters, and a cut code names another city (000123 would
// become 00012). A code the column cannot hold stops the run instead.
UString CodigoCidade(const UString& v, const UString& cliente, const char16_t* coluna) {
  const UString codigo =
      SemAspas(v, Nada, [](const UString& s) { return s.empty() ? s : TConversao::StrZero(s, 5); });
  if (codigo.size() > kTamanhoCodCidade)
    throw EConversao(u"O código de cidade " + codigo + u" do cliente " + cliente + u" tem mais de " +
                     IntToU(static_cast<long long>(kTamanhoCodCidade)) + u" caracteres e não cabe em CLIENTE." +
                     coluna + u"; cortado, ligaria o cliente a outra cidade.");
  return codigo;
}

UString TextoEndereco(const UString& v) {
  auto corta = [](const UString& s) { return LeftU(TrimCtl(s), 60); };
  return SemAspas(v, corta, corta);
}

UString TextoBairro(const UString& v) {
  auto corta = [](const UString& s) { return LeftU(s, 30); };
  return SemAspas(v, corta, corta);
}

UString TextoCep(const UString& v) {
  return SemAspas(
      v, [](const UString& s) { return LeftU(TConversao::TiraMascara(s), 10); },
      [](const UString& s) { return LeftU(TConversao::FRemoveCaracter(TConversao::TiraMascara(s)), 8); });
}

UString TextoTelefone(const UString& v) {
  return SemAspas(
      v, [](const UString& s) { return LeftU(TConversao::TiraMascara(TrimCtl(s)), 15); },
      [](const UString& s) { return TConversao::FSoNumero(LeftU(s, 16)); });
}

UString Corte(const UString& v, std::size_t n) {
  auto corta = [n](const UString& s) { return LeftU(s, n); };
  return SemAspas(v, corta, corta);
}

}  // namespace

TConverteCliente::TConverteCliente(RunContext& Contexto) : TConversao(Contexto) { LimpaVariavel(); }

void TConverteCliente::SetCodCliente(const UString& Value) {
  FCodCliente = SemAspas(
      Value, [](const UString& s) { return TiraMascara(StrZero(s, 8)); },
      [](const UString& s) { return TiraMascara(StrZero(LeftU(s, 8), 8)); });
}

void TConverteCliente::SetNome(const UString& Value) {
  FNome = SemAspas(
      Value, [](const UString& s) { return LeftU(TrimCtl(s), 60); },
      [](const UString& s) { return FRetiraAcento(UpperAZ(LeftU(TrimCtl(s), 60))); });
}

void TConverteCliente::SetContato(const UString& Value) {
  FContato = SemAspas(Value, [](const UString& s) { return TrimCtl(s); },
                      [](const UString& s) { return LeftU(TrimCtl(s), 50); });
}

void TConverteCliente::SetNomeFantasia(const UString& Value) {
  FNomeFantasia = SemAspas(
      Value, [](const UString& s) { return LeftU(s, 50); },
      [](const UString& s) { return FRetiraAcento(UpperAZ(LeftU(TrimCtl(s), 50))); });
}

void TConverteCliente::SetEndereco(const UString& Value) { FEndereco = TextoEndereco(Value); }
void TConverteCliente::SetEnderecoEntr(const UString& Value) { FEnderecoEntr = TextoEndereco(Value); }
void TConverteCliente::SetEnderecoCob(const UString& Value) { FEnderecoCob = TextoEndereco(Value); }

void TConverteCliente::SetBairro(const UString& Value) { FBairro = TextoBairro(Value); }
void TConverteCliente::SetBairroEntr(const UString& Value) { FBairroEntr = TextoBairro(Value); }

void TConverteCliente::SetBairroCob(const UString& Value) {
  FBairroCob = SemAspas(Value, [](const UString& s) { return LeftU(TrimCtl(s), 60); },
                        [](const UString& s) { return LeftU(TrimCtl(s), 30); });
}

void TConverteCliente::SetCodCidade(const UString& Value) {
  FCodCidade = CodigoCidade(Value, FCodCliente, u"CODCIDADE");
}
void TConverteCliente::SetCodCidadeEntr(const UString& Value) {
  FCodCidadeEntr = CodigoCidade(Value, FCodCliente, u"CODCIDADEENT");
}
void TConverteCliente::SetCodCidadeCob(const UString& Value) {
  FCodCidadeCob = CodigoCidade(Value, FCodCliente, u"CODCIDADECOB");
}

void TConverteCliente::SetEstado(const UString& Value) {
  FEstado = SemAspas(Value, [](const UString& s) { return LeftU(s, 2); },
                     [](const UString& s) { return UpperAZ(LeftU(s, 2)); });
}

void TConverteCliente::SetEstadoEntr(const UString& Value) {
  FEstadoEntr = SemAspas(Value, [](const UString& s) { return LeftU(TrimCtl(s), 60); },
                         [](const UString& s) { return UpperAZ(LeftU(TrimCtl(s), 2)); });
}

void TConverteCliente::SetEstadoCob(const UString& Value) {
  FEstadoCob = SemAspas(Value, [](const UString& s) { return LeftU(s, 20); },
                        [](const UString& s) { return UpperAZ(LeftU(s, 2)); });
}

void TConverteCliente::SetCep(const UString& Value) { FCep = TextoCep(Value); }
void TConverteCliente::SetCepEntr(const UString& Value) { FCepEntr = TextoCep(Value); }
void TConverteCliente::SetCepCob(const UString& Value) { FCepCob = TextoCep(Value); }

void TConverteCliente::SetCgcCpf(const UString& Value) {
  FCgcCpf = SemAspas(Value, [](const UString& s) { return LeftU(TiraMascara(s), 18); },
                     [](const UString& s) { return FRemoveCaracter(LeftU(TiraMascara(s), 18)); });
}

void TConverteCliente::SetPessoa_FJ(const UString& Value) { FPessoa_FJ = Value; }

void TConverteCliente::SetFone(const UString& Value) { FFone = TextoTelefone(Value); }
void TConverteCliente::SetFax(const UString& Value) { FFax = TextoTelefone(Value); }

void TConverteCliente::SetPrefixCelular(const UString& Value) {
  FPrefixCelular = SemAspas(Value, [](const UString& s) { return LeftU(TiraMascara(s), 4); },
                            [](const UString& s) { return LeftU(s, 4); });
}

void TConverteCliente::SetCelular(const UString& Value) {
  FCelular = SemAspas(Value, [](const UString& s) { return LeftU(TiraMascara(s), 15); },
                      [](const UString& s) { return LeftU(FSoNumero(s), 20); });
}

void TConverteCliente::SetAtivo(const UString& Value) { FAtivo = Value; }

void TConverteCliente::SetObsercacao(const UString& Value) { FObservacao = Corte(Value, 100); }
void TConverteCliente::SetCampoLivre2(const UString& Value) { FCampoLivre2 = Corte(Value, 20); }
void TConverteCliente::SetCampoLivre3(const UString& Value) { FCampoLivre3 = Corte(Value, 60); }
void TConverteCliente::SetCampoLivre4(const UString& Value) { FCampoLivre4 = Corte(Value, 60); }
void TConverteCliente::SetCampoLivre5(const UString& Value) { FCampoLivre5 = Corte(Value, 40); }
void TConverteCliente::SetCampoLivre6(const UString& Value) { FCampoLivre6 = Corte(Value, 40); }

void TConverteCliente::SetDT_Nascimento(const UString& Value) { FDT_Nascimento = DataOpcional(Value, Contexto().Regional()); }
void TConverteCliente::SetDT_Cadastro(const UString& Value) { FDT_Cadastro = DataCadastro(Value, Contexto().Regional()); }

void TConverteCliente::LimpaVariavel() {
  FCodCliente.clear();
  FPessoa_FJ = u"F";
  FAtivo = u"S";
  FCliBloqueado = u"N";
  FMalaDiretaEletr = u"N";
  FProtestarCliente = u"N";
  // Today as the dates of a customer are written, dd.mm.yyyy (what an empty date
  // becomes), formatted again only when the day changes.
  const TDateTime hoje = Date();
  if (hoje != FDiaHoje) {
    FHoje = Pontuada(DateToStr(hoje, Contexto().Regional()));
    FDiaHoje = hoje;
  }
  FDT_Cadastro = FHoje;
  FDT_Ult_Alteracao = FDT_Cadastro;
  for (UString* f : {&FNome, &FNomeFantasia, &FEndereco, &FEnderecoEntr, &FEnderecoCob, &FBairro, &FBairroEntr,
                     &FBairroCob, &FCodCidade, &FCodCidadeEntr, &FCodCidadeCob, &FEstado, &FEstadoEntr, &FEstadoCob,
                     &FCep, &FCepEntr, &FCepCob, &FCgcCpf, &FInscEst, &FFone, &FFax, &FPrefixCelular, &FCelular,
                     &FEmail, &FHomePage, &FRetemISS, &FDT_Nascimento, &FCampoLivre1, &FCampoLivre2, &FCampoLivre3,
                     &FCampoLivre4, &FCampoLivre5, &FCampoLivre6, &FCampoLivre7, &FCampoLivre8, &FCampoLivre9,
                     &FCampoLivre10, &FCodMunicipio, &FObservacao})
    f->clear();
}

void TConverteCliente::LimpaTabela() {
  // No commit here: the run controller's commit makes the whole run permanent, and
  // its rollback gives the old customers back when anything later fails.
  QAuxiliar->Close();
  QAuxiliar->SetSQL(u"Delete from CLIENTE");
  QAuxiliar->ExecSQL();
  QAuxiliar->Close();
}

UString TConverteCliente::SqlInsere(const std::vector<UString>& valores, const UString& nascimento,
                                    const UString& ultAlteracao, const UString& cadastro, const UString& ativo,
                                    const UString& bloqueado) {
  UString colunas =
      u" Insert Into Cliente ( cliente.codCliente, cliente.nome, cliente.nomefantasia , cliente.endereco, "
      u"cliente.bairro, cliente.codcidade, cliente.estado, cliente.cep, cliente.cgccpf, cliente.inscest, "
      u"cliente.pessoa_fj, cliente.fone, cliente.fax, cliente.prefixcelular, cliente.celular, cliente.campolivre1, "
      u"cliente.campolivre2, cliente.campolivre3, cliente.campolivre4, cliente.campolivre5, cliente.campolivre6, "
      u"cliente.campolivre7, cliente.campolivre8, cliente.campolivre9, cliente.campolivre10, cliente.observacao, "
      u"cliente.RetemISS, cliente.email, cliente.homepage, cliente.enderecocob, cliente.bairrocob, cliente.cepcob, "
      u"cliente.codcidadecob, cliente.estadocob, cliente.enderecoent, cliente.bairroent, cliente.cepent, "
      u"cliente.codcidadeent, cliente.estadoent, cliente.codfornec, Cliente.contato, Cliente.CodSegmento, "
      u"Cliente.CodClasCli, Cliente.CodVendend1, Cliente.CodPrazo, Cliente.LimiteCredito, Cliente.CodPais, "
      u"cliente.nomesocio, ";

  UString texto = u" Values ( ";
  auto quoted = [&texto](const UString& v) { texto += QuotedStr(v) + u", "; };
  for (std::size_t i = 0; i < valores.size(); ++i) {
    if (i == kLimiteCredito)
      texto += valores[i] + u", ";
    else
      quoted(valores[i]);
  }

  if (!nascimento.empty()) {
    colunas += u" cliente.dt_nascimento, ";
    quoted(nascimento);
  }
  colunas += u" Cliente.Data_Ult_Alteracao, ";
  quoted(ultAlteracao);
  colunas += u" cliente.dt_cadastro, ";
  quoted(cadastro);

  // The two constants are double-quoted: a string literal in the target's SQL
  // dialect 1.
  colunas += u" cliente.Ativo, cliente.CliBloqueado, cliente.maladiretaeletr, cliente.protestarcliente) ";
  texto += QuotedStr(ativo) + u"," + QuotedStr(bloqueado) + u"," + u"\"N\", " + u"\"N\") ";
  return colunas + texto;
}

UString TConverteCliente::MontaSqlInsere() const {
  UString limite = FloatToStrU(FLimiteCredito, Contexto().Regional());
  for (auto& c : limite)
    if (c == u',') c = u'.';
  const std::vector<UString> valores = {
      FCodCliente,  FNome,         FNomeFantasia, FEndereco,      FBairro,      FCodCidade,   FEstado,
      FCep,         FCgcCpf,       FInscEst,      FPessoa_FJ,     FFone,        FFax,         FPrefixCelular,
      FCelular,     FCampoLivre1,  FCampoLivre2,  FCampoLivre3,   FCampoLivre4, FCampoLivre5, FCampoLivre6,
      FCampoLivre7, FCampoLivre8,  FCampoLivre9,  FCampoLivre10,  FObservacao,  FRetemISS,    FEmail,
      FHomePage,    FEnderecoCob,  FBairroCob,    FCepCob,        FCodCidadeCob, FEstadoCob,  FEnderecoEntr,
      FBairroEntr,  FCepEntr,      FCodCidadeEntr, FEstadoEntr,   FCodFornec,   FContato,     FCodSegmento,
      FCodClasCli,  FCodVendend1,  FCodPrazo,     limite,         FCodPais,     FNomeSocio};
  return SqlInsere(valores, FDT_Nascimento, FDT_Ult_Alteracao, FDT_Cadastro, FAtivo, FCliBloqueado);
}

void TConverteCliente::Colunas(fb::Row& linha) const {
  UString limite = FloatToStrU(FLimiteCredito, Contexto().Regional());
  for (auto& c : limite)
    if (c == u',') c = u'.';
  const std::pair<const char16_t*, const UString*> textos[] = {
      {u"cliente.codCliente", &FCodCliente},       {u"cliente.nome", &FNome},
      {u"cliente.nomefantasia ", &FNomeFantasia},  {u"cliente.endereco", &FEndereco},
      {u"cliente.bairro", &FBairro},               {u"cliente.codcidade", &FCodCidade},
      {u"cliente.estado", &FEstado},               {u"cliente.cep", &FCep},
      {u"cliente.cgccpf", &FCgcCpf},               {u"cliente.inscest", &FInscEst},
      {u"cliente.pessoa_fj", &FPessoa_FJ},         {u"cliente.fone", &FFone},
      {u"cliente.fax", &FFax},                     {u"cliente.prefixcelular", &FPrefixCelular},
      {u"cliente.celular", &FCelular},             {u"cliente.campolivre1", &FCampoLivre1},
      {u"cliente.campolivre2", &FCampoLivre2},     {u"cliente.campolivre3", &FCampoLivre3},
      {u"cliente.campolivre4", &FCampoLivre4},     {u"cliente.campolivre5", &FCampoLivre5},
      {u"cliente.campolivre6", &FCampoLivre6},     {u"cliente.campolivre7", &FCampoLivre7},
      {u"cliente.campolivre8", &FCampoLivre8},     {u"cliente.campolivre9", &FCampoLivre9},
      {u"cliente.campolivre10", &FCampoLivre10},   {u"cliente.observacao", &FObservacao},
      {u"cliente.RetemISS", &FRetemISS},           {u"cliente.email", &FEmail},
      {u"cliente.homepage", &FHomePage},           {u"cliente.enderecocob", &FEnderecoCob},
      {u"cliente.bairrocob", &FBairroCob},         {u"cliente.cepcob", &FCepCob},
      {u"cliente.codcidadecob", &FCodCidadeCob},   {u"cliente.estadocob", &FEstadoCob},
      {u"cliente.enderecoent", &FEnderecoEntr},    {u"cliente.bairroent", &FBairroEntr},
      {u"cliente.cepent", &FCepEntr},              {u"cliente.codcidadeent", &FCodCidadeEntr},
      {u"cliente.estadoent", &FEstadoEntr},        {u"cliente.codfornec", &FCodFornec},
      {u"Cliente.contato", &FContato},             {u"Cliente.CodSegmento", &FCodSegmento},
      {u"Cliente.CodClasCli", &FCodClasCli},       {u"Cliente.CodVendend1", &FCodVendend1},
      {u"Cliente.CodPrazo", &FCodPrazo},
  };
  fb::RowFiller poe(linha);
  for (const auto& [coluna, valor] : textos) poe.Texto(coluna, *valor);
  poe.Numero(u"Cliente.LimiteCredito", limite);
  poe.Texto(u"Cliente.CodPais", FCodPais);
  poe.Texto(u"cliente.nomesocio", FNomeSocio);
  if (!FDT_Nascimento.empty()) poe.Texto(u"cliente.dt_nascimento", FDT_Nascimento);
  poe.Texto(u"Cliente.Data_Ult_Alteracao", FDT_Ult_Alteracao);
  poe.Texto(u"cliente.dt_cadastro", FDT_Cadastro);
  poe.Texto(u"cliente.Ativo", FAtivo);
  poe.Texto(u"cliente.CliBloqueado", FCliBloqueado);
  poe.Texto(u"cliente.maladiretaeletr", u"N");
  poe.Texto(u"cliente.protestarcliente", u"N");
  poe.Done();
}

// The run emptied CLIENTE in its own transaction, so a code it sees there is one it
// wrote: two legacy customers gave the same code. A code the engine refuses but the
// run cannot see is another user's customer, uncommitted or committed since the run
// began: no fault of the legacy data, and the run must not go on without it.
bool TConverteCliente::GravadoNestaConversao(const UString& codigo) const {
  fb::Query q(cnBanco);
  q.SetSQL(u"SELECT COUNT(*) AS N FROM CLIENTE WHERE CODCLIENTE = :C");
  q.BindText(u"C", codigo);
  q.Open();
  return q.FieldAsInteger(u"N") > 0;
}

bool TConverteCliente::ExecutaSql(int Acao) {
  if (Acao != 1) return false;
  FErroGravacao.clear();
  // A customer the target refuses must not end the run; the message is kept so the
  // caller can report the row instead of losing it.
  try {
    Colunas(FLinha);
    Insere(u"Cliente", FLinha, [this] { return MontaSqlInsere(); });
  } catch (const EDatabaseError& e) {
    // A broken connection or another user's lock is no fault of this row: the run
    // stops and is rolled back instead of refusing every row after it.
    if (e.IsConnectionLost() || e.IsLockConflict()) throw;
    if (e.IsDuplicateKey() && !GravadoNestaConversao(FCodCliente))
      throw EConversao(u"Outro usuário ou programa gravou no banco de destino um cliente com o código " + FCodCliente +
                       u" depois que esta conversão começou, e o cliente do TOLV com esse código não pode ser gravado. "
                       u"Feche os outros programas que usam este banco (como o Norvale) e converta de novo. Esta "
                       u"conversão foi desfeita: o banco de destino ficou como estava.\rMensagem do banco de dados: " +
                       ErrorMessage(e));
    FErroGravacao = Explica(e, FCodCliente, MontaSqlInsere());
  } catch (const std::exception& e) {
    FErroGravacao = ErrorMessage(e);
    if (FErroGravacao.empty()) FErroGravacao = u"recusado pelo banco de destino";
  } catch (...) {
    FErroGravacao = u"recusado pelo banco de destino";
  }
  LimpaVariavel();
  return true;
}
