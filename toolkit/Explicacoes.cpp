#include "toolkit/Explicacoes.h"

#include <map>

#include "platform/firebird/LiteralShape.h"

namespace {

const char16_t* const kBanco = u"\rMensagem do banco de dados: ";

UString Lista(const std::vector<UString>& v) {
  UString s;
  for (std::size_t i = 0; i < v.size(); ++i) s += (i == 0 ? u"" : i + 1 == v.size() ? u" e " : u", ") + v[i];
  return s;
}

UString NoTipo(const Situacao& s) { return s.tipo.empty() ? UString() : u" (" + s.tipo + u")"; }

UString Frase(const EDatabaseError& e, const Situacao& s) {
  if (e.IsLockConflict()) {
    const UString onde = s.tipo.empty() ? u"a conversão" : u"a conversão de " + s.tipo;
    return u"Outro usuário ou programa tem alterações ainda não confirmadas numa tabela que " + onde +
           u" precisa esvaziar ou gravar. Peça que essas alterações sejam gravadas ou desfeitas (ou feche os "
           u"outros programas que usam este banco, como o Norvale) e converta de novo. Esta conversão foi "
           u"desfeita: o banco de destino ficou como estava.";
  }
  if (e.IsConnectionLost()) {
    if (s.naConfirmacao)
      return u"A conexão com o servidor do banco de dados caiu durante a confirmação final da conversão: ela "
             u"pode ter sido gravada ou não. Confira o banco de destino antes de converter de novo.";
    return u"A conexão com o servidor do banco de dados caiu durante a conversão (o servidor parou ou a rede "
           u"falhou). O servidor desfaz o que não foi confirmado: o banco de destino fica como estava antes "
           u"desta conversão. Verifique o servidor e a rede e converta de novo.";
  }
  if (e.IsDuplicateKey()) {
    const UString qual = s.codigo.empty() ? u"Um código" : u"O código " + s.codigo;
    return qual + NoTipo(s) +
           u" já existe no banco Norvale: dois registros do TOLV dão o mesmo código depois de convertidos. "
           u"Corrija o código de um deles no TOLV e converta de novo.";
  }
  if (e.IsTruncation()) {
    UString o;
    if (!s.coluna.empty())
      o = u"O valor \"" + s.valor + u"\" é longo demais para a coluna " + s.coluna;
    else
      o = u"Um valor é longo demais para a sua coluna";
    return o + NoTipo(s) +
           u" do banco Norvale, que é menor do que a conversão espera. Encurte o valor no TOLV ou confira se o "
           u"banco Norvale está na versão certa, e converta de novo.";
  }
  if (e.IsNumericOverflow())
    return u"Um número" + NoTipo(s) + (s.codigo.empty() ? UString() : u", código " + s.codigo) +
           u", é grande demais para a sua coluna no banco Norvale. Corrija o valor no TOLV e converta de novo.";
  if (e.IsUnknownTable() || e.IsUnknownColumn()) {
    UString o = u"O banco de destino não é um banco do Norvale, ou é de uma versão que não tem ";
    if (!s.tabelasFaltando.empty())
      o += (s.tabelasFaltando.size() == 1 ? u"a tabela " : u"as tabelas ") + Lista(s.tabelasFaltando);
    else
      o += e.IsUnknownTable() ? u"uma tabela que a conversão grava" : u"uma coluna que a conversão grava";
    return o + u". Escolha o arquivo .fb do Norvale (ou atualize o Norvale) e converta de novo.";
  }
  return UString();
}

}  // namespace

UString ExplicaFalhaBanco(const EDatabaseError& e, const Situacao& s) {
  const UString frase = Frase(e, s);
  return frase.empty() ? ErrorMessage(e) : frase + kBanco + ErrorMessage(e);
}

UString ExplicaConexao(const std::exception& erro, const UString& destino) {
  const auto* banco = dynamic_cast<const EDatabaseError*>(&erro);
  if (!banco) return ErrorMessage(erro);
  const EDatabaseError& e = *banco;
  UString frase;
  const UString arquivo = u"\"" + destino + u"\"";
  if (e.IsNotADatabase())
    frase = u"O arquivo " + arquivo +
            u" não é um banco de dados Firebird (está vazio ou é outro tipo de arquivo). Escolha o arquivo .fb do "
            u"Norvale; se ele foi danificado, restaure a cópia de segurança (gbak).";
  else if (e.IsFileInUse())
    frase = u"O banco " + arquivo +
            u" está aberto por outro programa (um servidor Firebird ou o Norvale). Feche esse programa, ou "
            u"indique o banco pelo servidor (servidor:caminho), e tente de novo.";
  else if (e.IsLoginFailed())
    frase = u"O usuário ou a senha do banco de dados não conferem. Informe o usuário e a senha do servidor "
            u"Firebird (os mesmos do Norvale) e tente de novo.";
  else if (e.IsServerUnreachable())
    frase = u"O servidor do banco de dados não responde em " + arquivo +
            u". Confira o nome e a porta do servidor, se o Firebird está rodando nele e se a rede chega até "
            u"ele, e tente de novo.";
  else
    return ExplicaFalhaBanco(e);
  return frase + kBanco + ErrorMessage(e);
}

std::vector<UString> TabelasFaltando(fb::Database& db, const std::vector<UString>& tabelas) {
  std::vector<UString> faltam;
  try {
    fb::Query q(db);
    for (const UString& t : tabelas) {
      q.SetSQL(u"SELECT COUNT(*) AS N FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = :T");
      q.BindText(u"T", UpperAZ(t));
      q.Open();
      if (q.FieldAsInteger(u"N") == 0) faltam.push_back(UpperAZ(t));
      q.Close();
    }
  } catch (const std::exception&) {
    return {};  // the catalogue could not be read: nothing to add to the database's own text
  }
  return faltam;
}

bool ValorLongoDemais(fb::Database& db, const UString& insert, UString& coluna, UString& valor) {
  // INSERT INTO table (columns) VALUES (...): the columns, without their table.
  const UString cima = UpperAZ(insert);
  const std::size_t into = cima.find(u"INTO");
  const std::size_t abre = cima.find(u'(', into == UString::npos ? 0 : into);
  const std::size_t fecha = cima.find(u')', abre == UString::npos ? 0 : abre);
  if (into == UString::npos || abre == UString::npos || fecha == UString::npos) return false;
  const UString tabela = TrimCtl(cima.substr(into + 4, abre - into - 4));
  std::vector<UString> colunas;
  for (std::size_t i = abre + 1; i <= fecha;) {
    std::size_t fim = cima.find_first_of(u",)", i);
    UString c = TrimCtl(cima.substr(i, fim - i));
    if (const std::size_t ponto = c.rfind(u'.'); ponto != UString::npos) c = c.substr(ponto + 1);
    colunas.push_back(c);
    i = fim + 1;
  }
  fb::Shape forma;
  if (!fb::ShapeOf(insert, 1, forma)) return false;
  std::vector<const fb::Literal*> valores;
  for (const fb::Literal& l : forma.literals)
    if (l.use == fb::Literal::Assigned) valores.push_back(&l);
  if (valores.size() != colunas.size()) return false;

  std::map<UString, long long> tamanhos;
  try {
    fb::Query q(db);
    q.SetSQL(u"SELECT TRIM(RF.RDB$FIELD_NAME) AS COLUNA, F.RDB$CHARACTER_LENGTH AS TAMANHO "
             u"FROM RDB$RELATION_FIELDS RF JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE "
             u"WHERE RF.RDB$RELATION_NAME = :T AND F.RDB$CHARACTER_LENGTH IS NOT NULL");
    q.BindText(u"T", tabela);
    for (q.Open(); !q.Eof(); q.Next()) tamanhos[q.FieldAsText(u"COLUNA")] = q.FieldAsInteger(u"TAMANHO");
    q.Close();
  } catch (const std::exception&) {
    return false;
  }
  for (std::size_t i = 0; i < colunas.size(); ++i) {
    const auto t = tamanhos.find(colunas[i]);
    if (valores[i]->kind != fb::Literal::Text || t == tamanhos.end()) continue;
    if (static_cast<long long>(valores[i]->text.size()) > t->second) {
      coluna = colunas[i];
      valor = valores[i]->text;
      return true;
    }
  }
  return false;
}
