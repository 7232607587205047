#include "run/ClassesConversaoController.h"

#include <initializer_list>
#include <memory>

#include "converters/ClientesController.h"
#include "converters/DocuPagController.h"
#include "converters/DocuRecController.h"
#include "converters/FabricantesController.h"
#include "converters/FornecedoresController.h"
#include "converters/GruposProdutosController.h"
#include "converters/ProdutosController.h"
#include "converters/SubGruposProdutosController.h"
#include "platform/Error.h"
#include "run/RunReport.h"
#include "toolkit/classConversao.h"

namespace {

struct Converter {
  const char16_t* key;
  void (*run)(const UString& BDOrigem, fb::Database& BDNorvale, ProgressBar& Barra, StatusLabel& lblInfo,
              const UString& Empresa, bool GerarCodigo);
};

void PConverteClientes(const UString& BDOrigem, fb::Database& BDNorvale, ProgressBar& Barra, StatusLabel& lblInfo,
                       const UString&, bool) {
  auto conv = std::make_unique<TClassPreencheDadosClientes>();
  conv->PreencheDadosClientes(BDOrigem, BDNorvale, Barra, lblInfo);
}

void PConverteFornecedores(const UString& BDOrigem, fb::Database& BDNorvale, ProgressBar& Barra,
                           StatusLabel& lblInfo, const UString&, bool) {
  auto conv = std::make_unique<TClassPreencheDadosFornecedores>();
  conv->PreencheDadosFornecedores(BDOrigem, BDNorvale, Barra, lblInfo);
}

void PConverteGrupos(const UString& BDOrigem, fb::Database& BDNorvale, ProgressBar& Barra, StatusLabel& lblInfo,
                     const UString&, bool) {
  auto conv = std::make_unique<TClassPreencheDadosGruposProdutos>();
  conv->PreencheDadosGruposProdutos(BDOrigem, BDNorvale, Barra, lblInfo);
}

void PConverteDocuRec(const UString& BDOrigem, fb::Database& BDNorvale, ProgressBar& Barra, StatusLabel& lblInfo,
                      const UString& Empresa, bool) {
  auto conv = std::make_unique<TClassPreencheDadosDocuRec>();
  conv->PreencheDadosDocuRec(BDOrigem, BDNorvale, Barra, lblInfo, Empresa);
}

void PConverteDocuPag(const UString& BDOrigem, fb::Database& BDNorvale, ProgressBar& Barra, StatusLabel& lblInfo,
                      const UString& Empresa, bool) {
  auto conv = std::make_unique<TClassPreencheDadosDocuPag>();
  conv->PreencheDadosDocuPag(BDOrigem, BDNorvale, Barra, lblInfo, Empresa);
}

void PConverteSubGrupos(const UString& BDOrigem, fb::Database& BDNorvale, ProgressBar& Barra, StatusLabel& lblInfo,
                        const UString&, bool) {
  auto conv = std::make_unique<TClassPreencheDadosSubGruposProdutos>();
  conv->PreencheDadosSubGruposProdutos(BDOrigem, BDNorvale, Barra, lblInfo);
}

void PConverteFabricante(const UString& BDOrigem, fb::Database& BDNorvale, ProgressBar& Barra,
                         StatusLabel& lblInfo, const UString&, bool) {
  auto conv = std::make_unique<TClassPreencheDadosFabricantes>();
  conv->PreencheDadosFabricantes(BDOrigem, BDNorvale, Barra, lblInfo);
}

void PConverteProdutos(const UString& BDOrigem, fb::Database& BDNorvale, ProgressBar& Barra, StatusLabel& lblInfo,
                       const UString& Empresa, bool GerarCodigo) {
  auto conv = std::make_unique<TClassPreencheDadosProdutos>();
  conv->PreencheDadosProdutos(BDOrigem, BDNorvale, Barra, lblInfo, Empresa, GerarCodigo);
}

// The run order is fixed, whatever the order of the selection list.
const Converter kConverters[] = {
    {u"CLIENTE", PConverteClientes},
    {u"FORNECEDOR", PConverteFornecedores},
    {u"GRUPO", PConverteGrupos},
    {u"SUBGRUPO", PConverteSubGrupos},
    {u"PRODUTO", PConverteProdutos},
    {u"RECEBER", PConverteDocuRec},
    {u"PAGAR", PConverteDocuPag},
    {u"FABRICANTE", PConverteFabricante},
};

// Rows the target refused while the run went on were not written: the operator is
// told which, after the run's own box, so none is lost without a word.
void AvisaRejeitados() {
  constexpr std::size_t kListados = 20;
  const RunReport& r = RunReport::Current();
  const long long total = r.TotalRejected();
  if (total == 0) return;
  UString texto = u"Registros recusados pelo banco de destino e não gravados: " + IntToU(total) + u"\r";
  std::size_t listados = 0;
  for (const KindReport& k : r.Kinds())
    for (const RowNote& n : k.rejections)
      if (listados < kListados) {
        texto += u"\r" + k.kind + u", " + DescreveRejeicao(n);
        ++listados;
      }
  if (static_cast<long long>(listados) < total) texto += u"\r... e mais " + IntToU(total - listados) + u".";
  MessageDlg(texto, MsgKind::Warning, MsgButtons::OK);
}

bool Contem(const UString& texto, std::initializer_list<const char16_t*> trechos) {
  for (const char16_t* t : trechos)
    if (texto.find(t) != UString::npos) return true;
  return false;
}

// Two failures whose database text, in English and technical, sends an operator
// looking for a fault of the program, when the cause is outside it: another user's
// uncommitted change on a row the run must delete or write (the run does not wait
// for it), and a connection to the server that broke. The cause and the way out go
// in front of the database's own text.
UString ExplicaFalha(const UString& motivo, bool naConfirmacao) {
  const UString banco = u"\rMensagem do banco de dados: " + motivo;
  if (Contem(motivo, {u"update conflicts with concurrent update", u"lock conflict on no wait transaction"})) {
    const std::vector<KindReport>& kinds = RunReport::Current().Kinds();
    const UString onde = kinds.empty() ? u"a conversão" : u"a conversão de " + kinds.back().kind;
    return u"Outro usuário ou programa tem alterações ainda não confirmadas numa tabela que " + onde +
           u" precisa esvaziar ou gravar. Peça que essas alterações sejam gravadas ou desfeitas (ou feche os "
           u"outros programas que usam este banco, como o Norvale) e converta de novo. Esta conversão foi "
           u"desfeita: o banco de destino ficou como estava." +
           banco;
  }
  if (Contem(motivo, {u"Error reading data from the connection", u"Error writing data to the connection",
                      u"Connection lost to database", u"connection shutdown"})) {
    if (naConfirmacao)
      return u"A conexão com o servidor do banco de dados caiu durante a confirmação final da conversão: ela "
             u"pode ter sido gravada ou não. Confira o banco de destino antes de converter de novo." +
             banco;
    return u"A conexão com o servidor do banco de dados caiu durante a conversão (o servidor parou ou a rede "
           u"falhou). O servidor desfaz o que não foi confirmado: o banco de destino fica como estava antes "
           u"desta conversão. Verifique o servidor e a rede e converta de novo." +
           banco;
  }
  return motivo;
}

// Where the run was when the target refused something: every converter shows the
// row it is on ("Convertendo Fornecedores - Registro 3 de 6") before touching it, so
// the progress text names the source row the target's message is about. Errors of
// the legacy tables name their own table, column and record.
UString Onde(const StatusLabel& lblInfo) {
  UString s = lblInfo.Caption();
  if (s.empty()) return UString();
  const UString convertendo = u"Convertendo ";
  if (s.rfind(convertendo, 0) == 0) s.erase(0, convertendo.size());
  const UString registro = u" - Registro ";
  if (const auto p = s.find(registro); p != UString::npos) s.replace(p, registro.size(), u", registro ");
  return u"\r(" + s + u" da origem)";
}

}  // namespace

const std::vector<UString>& TClassesConversaoController::Chaves() {
  static const std::vector<UString> keys = {u"CLIENTE", u"FORNECEDOR", u"GRUPO",  u"SUBGRUPO",
                                            u"PRODUTO", u"RECEBER",    u"PAGAR",  u"FABRICANTE"};
  return keys;
}

bool TClassesConversaoController::Disponivel(const UString& chave) {
  for (const Converter& c : kConverters)
    if (SameTextAscii(c.key, chave)) return true;
  return false;
}

bool TClassesConversaoController::FEfetuaConversao(const TStringList& MParams, const UString& BDOrigem,
                                                   fb::Database& BDDestino, fb::Transaction& Transacao,
                                                   ProgressBar& Barra, StatusLabel& lblInfo,
                                                   const UString& Empresa, bool GerarCodigo) {
  bool result = false;
  auto conversao = std::make_unique<TConversao>(BDDestino);
  RunReport::Current().Clear();
  Barra.SetPosition(0);
  // Outside the guard: a transaction that cannot start reaches the caller.
  conversao->PIniciaTransacao(Transacao);
  UString motivo;
  bool confirmando = false;
  try {
    for (const Converter& c : kConverters)
      if (MParams.Values(c.key) == u"S") c.run(BDOrigem, BDDestino, Barra, lblInfo, Empresa, GerarCodigo);
    confirmando = !simulacao_;
    if (simulacao_)
      conversao->PCancelaTransacao(Transacao);
    else
      conversao->PConfirmaTransacao(Transacao);
    confirmando = false;
    MessageDlg(u"Conversão concluída com sucesso!", MsgKind::Information, MsgButtons::OK);
    AvisaRejeitados();
    result = true;
    Barra.SetPosition(0);
    return result;
  } catch (const ESourceError& e) {
    motivo = ErrorMessage(e);
  } catch (const std::exception& e) {
    motivo = ExplicaFalha(ErrorMessage(e), confirmando) + Onde(lblInfo);
  } catch (...) {
    motivo = u"erro desconhecido";
  }
  try {
    conversao->PCancelaTransacao(Transacao);
  } catch (const std::exception& e) {
    // The rollback failing too (a lost connection) must not hide the first error.
    motivo += u"\r" + ErrorMessage(e);
  }
  MessageDlg(u"Ocorreu um erro durante a conversão! Motivo: " + motivo, MsgKind::Error, MsgButtons::OK);
  Barra.SetPosition(0);
  Barra.SetMax(0);
  return false;
}
