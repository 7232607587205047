#include "converters/Fornecedor.h"

#include <iterator>
#include <utility>

namespace {

UString SemApostrofo(const UString& Value) {
  UString v;
  v.reserve(Value.size());
  for (char16_t c : Value)
    if (c != u'\'') v.push_back(c);
  return v;
}

}  // namespace

TConverteFornece::TConverteFornece(RunContext& Contexto) : TConversao(Contexto) { LimpaVariavel(); }

void TConverteFornece::SetCodFornec(const UString& Value) {
  FCodFornec = StrZero(LeftU(SemApostrofo(Value), 6), 6);
}

void TConverteFornece::SetNome(const UString& Value) {
  FNome = FRetiraAcento(UpperAZ(LeftU(TrimCtl(SemApostrofo(Value)), 50)));
}

void TConverteFornece::SetNomeFantasia(const UString& Value) {
  FNomeFantasia = FRetiraAcento(UpperAZ(LeftU(TrimCtl(SemApostrofo(Value)), 40)));
}

void TConverteFornece::SetEndereco(const UString& Value) { FEndereco = LeftU(SemApostrofo(Value), 50); }

void TConverteFornece::SetBairro(const UString& Value) { FBairro = LeftU(TrimCtl(SemApostrofo(Value)), 30); }

void TConverteFornece::SetCep(const UString& Value) {
  FCep = LeftU(FRemoveCaracter(TiraMascara(SemApostrofo(Value))), 8);
}

void TConverteFornece::SetCodCidade(const UString& Value) {
  const UString v = SemApostrofo(Value);
  // A city code is zero-filled but never cut: once the city codes pass 99999 a
  // cut code would name another city.
  FCodCidade = v.empty() ? UString() : StrZero(v, 5);
}

void TConverteFornece::SetEstado(const UString& Value) { FEstado = LeftU(SemApostrofo(Value), 2); }

void TConverteFornece::SetCgcCpf(const UString& Value) {
  FCgcCpf = FRemoveCaracter(LeftU(TiraMascara(SemApostrofo(Value)), 14));
}

void TConverteFornece::SetInscEst(const UString& Value) {
  FInscEst = FRemoveCaracter(LeftU(TiraMascara(SemApostrofo(Value)), 15));
}

void TConverteFornece::SetFone(const UString& Value) { FFone = FSoNumero(LeftU(SemApostrofo(Value), 16)); }

void TConverteFornece::SetFax(const UString& Value) { FFax = FSoNumero(LeftU(SemApostrofo(Value), 16)); }

void TConverteFornece::SetCodCliente(const UString& Value) { FCodCliente = SemApostrofo(Value); }
void TConverteFornece::SetCodTipo(const UString& Value) { FCodTipo = SemApostrofo(Value); }
void TConverteFornece::SetContato(const UString& Value) { FContato = SemApostrofo(Value); }
void TConverteFornece::SetNomeCidade(const UString& Value) { FNomeCidade = SemApostrofo(Value); }
void TConverteFornece::SetNumero(const UString& Value) { FNumero = SemApostrofo(Value); }
void TConverteFornece::SetComplemento(const UString& Value) { FComplemento = SemApostrofo(Value); }
void TConverteFornece::SetInscMunicipal(const UString& Value) { FInscMunicipal = SemApostrofo(Value); }
void TConverteFornece::SetPessoa_FJ(const UString& Value) { FPessoa_FJ = SemApostrofo(Value); }
void TConverteFornece::SetCelular(const UString& Value) { FCelular = SemApostrofo(Value); }
void TConverteFornece::SetEmail(const UString& Value) { FEmail = SemApostrofo(Value); }
void TConverteFornece::SetHomePage(const UString& Value) { FHomePage = SemApostrofo(Value); }
void TConverteFornece::SetCampoLivre1(const UString& Value) { FCampoLivre1 = SemApostrofo(Value); }
void TConverteFornece::SetCampoLivre2(const UString& Value) { FCampoLivre2 = SemApostrofo(Value); }
void TConverteFornece::SetObservacao(const UString& Value) { FObservacao = SemApostrofo(Value); }
void TConverteFornece::SetTipoFornece(const UString& Value) { FTipoFornece = SemApostrofo(Value); }

void TConverteFornece::LimpaVariavel() {
  const UString vazio;
  SetCodFornec(vazio);
  SetNome(vazio);
  SetNomeFantasia(vazio);
  SetContato(vazio);
  SetEndereco(vazio);
  SetBairro(vazio);
  SetCep(vazio);
  SetCodCidade(vazio);
  SetNomeCidade(vazio);
  SetNumero(vazio);
  SetComplemento(vazio);
  SetEstado(vazio);
  SetInscMunicipal(vazio);
  SetPessoa_FJ(vazio);
  SetCgcCpf(vazio);
  SetInscEst(vazio);
  SetObservacao(vazio);
  SetFone(vazio);
  SetFax(vazio);
  SetCelular(vazio);
  SetEmail(vazio);
  SetHomePage(vazio);
  SetCampoLivre1(vazio);
  SetCampoLivre2(vazio);
  SetTipoFornece(vazio);
  SetCodTipo(vazio);
  SetCodCliente(vazio);
  // Ativo, ContaCx and CTCTbred have no setter: nothing ever fills them.
}

void TConverteFornece::LimpaTabela() {
  // No commit here: the run controller's commit makes the whole run permanent, and
  // its rollback restores the old suppliers when anything later fails.
  QAuxiliar->Close();
  QAuxiliar->SetSQL(u"Delete from FORNECE");
  QAuxiliar->ExecSQL();
  QAuxiliar->Close();
}

UString TConverteFornece::MontaSql() const {
  // Empty fields go in as '' (never NULL): Norvale reads these columns as texts.
  const UString* valores[] = {
      &FCodFornec, &FNome,        &FNomeFantasia, &FContato,    &FEndereco,    &FBairro,   &FCep,
      &FCodCidade, &FNumero,      &FComplemento,  &FEstado,     &FInscMunicipal, &FPessoa_FJ, &FCgcCpf,
      &FInscEst,   &FObservacao,  &FFone,         &FFax,        &FCelular,     &FEmail,    &FHomePage,
      &FCampoLivre1, &FCampoLivre2, &FCodCliente, &FAtivo,      &FTipoFornece, &FCodTipo,  &FContaCx,
      &FCTCTbred};
  UString sql =
      u" Insert Into fornece ( fornece.CodFornec, fornece.Nome, fornece.NomeFantasia, fornece.Contato, "
      u"fornece.Endereco, fornece.Bairro, fornece.Cep, fornece.CodCidade, fornece.Numero, fornece.Complemento, "
      u"fornece.Estado, fornece.InscMunicipal, fornece.Pessoa_FJ, fornece.CgcCpf, fornece.InscEst, "
      u"fornece.observacao, fornece.Fone, fornece.Fax, fornece.Celular, fornece.Email, fornece.HomePage, "
      u"fornece.CampoLivre1, fornece.CampoLivre2, fornece.codcliente, fornece.ativo, fornece.TipoFornece, "
      u"fornece.CodTipo, fornece.contacx, fornece.ctctbred ) Values (";
  bool primeiro = true;
  for (const UString* v : valores) {
    if (!primeiro) sql += u", ";
    sql += QuotedStr(*v);
    primeiro = false;
  }
  sql += u") ";
  return sql;
}

fb::Row TConverteFornece::Colunas() const {
  const std::pair<const char16_t*, const UString*> colunas[] = {
      {u"fornece.CodFornec", &FCodFornec},       {u"fornece.Nome", &FNome},
      {u"fornece.NomeFantasia", &FNomeFantasia}, {u"fornece.Contato", &FContato},
      {u"fornece.Endereco", &FEndereco},         {u"fornece.Bairro", &FBairro},
      {u"fornece.Cep", &FCep},                   {u"fornece.CodCidade", &FCodCidade},
      {u"fornece.Numero", &FNumero},             {u"fornece.Complemento", &FComplemento},
      {u"fornece.Estado", &FEstado},             {u"fornece.InscMunicipal", &FInscMunicipal},
      {u"fornece.Pessoa_FJ", &FPessoa_FJ},       {u"fornece.CgcCpf", &FCgcCpf},
      {u"fornece.InscEst", &FInscEst},           {u"fornece.observacao", &FObservacao},
      {u"fornece.Fone", &FFone},                 {u"fornece.Fax", &FFax},
      {u"fornece.Celular", &FCelular},           {u"fornece.Email", &FEmail},
      {u"fornece.HomePage", &FHomePage},         {u"fornece.CampoLivre1", &FCampoLivre1},
      {u"fornece.CampoLivre2", &FCampoLivre2},   {u"fornece.codcliente", &FCodCliente},
      {u"fornece.ativo", &FAtivo},               {u"fornece.TipoFornece", &FTipoFornece},
      {u"fornece.CodTipo", &FCodTipo},           {u"fornece.contacx", &FContaCx},
      {u"fornece.ctctbred", &FCTCTbred},
  };
  fb::Row linha;
  linha.reserve(std::size(colunas));
  for (const auto& [coluna, valor] : colunas) linha.push_back({coluna, fb::Value::Texto(*valor)});
  return linha;
}

void TConverteFornece::GravaFornecedor() {
  Insere(u"fornece", Colunas(), [this] { return MontaSql(); });
  LimpaVariavel();
}
