#include "run/Verificacao.h"

#include <filesystem>
#include <set>

#include "converters/ColunasDestino.h"
#include "platform/Error.h"

namespace {

UString Junta(const std::vector<UString>& nomes) {
  UString s;
  for (std::size_t i = 0; i < nomes.size(); ++i) s += (i ? u", " : u"") + nomes[i];
  return s;
}

UString Maiusculas(UString s) {
  for (char16_t& c : s)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  return s;
}

UString SemBrancos(const UString& s) {
  std::size_t fim = s.size();
  while (fim > 0 && s[fim - 1] == u' ') --fim;
  return s.substr(0, fim);
}

void VerificaOrigem(const Tipo& tipo, const UString& origem, SourceEngine& fonte, std::vector<UString>& problemas) {
  const UString nome = u"A tabela " + UString(tipo.tabela) + u" (" + tipo.relato + u")";
  try {
    const std::optional<SourceTableInfo> info = fonte.Describe(origem, tipo.tabela);
    if (!info) {
      problemas.push_back(nome + u" não está na pasta de origem.");
      return;
    }
    if (!info->error.empty()) {
      problemas.push_back(nome + u" não pode ser lida: " + info->error);
      return;
    }
    std::vector<UString> faltam;
    for (const char16_t* c : tipo.ColunasLidas()) {
      bool tem = false;
      for (const UString& x : info->columns) tem = tem || SameTextAscii(x, c);
      if (!tem) faltam.push_back(c);
    }
    if (!faltam.empty())
      problemas.push_back(nome + u" não tem " + (faltam.size() == 1 ? u"a coluna " : u"as colunas ") + Junta(faltam) +
                          u", que a conversão lê.");
  } catch (const std::exception& e) {
    problemas.push_back(nome + u": " + ErrorMessage(e));
  }
}

// Tables and columns of the target, upper-cased, "TABELA.COLUNA" and "TABELA".
std::set<UString> CatalogoDestino(fb::Database& destino) {
  std::set<UString> nomes;
  fb::Query q(destino);
  q.SetSQL(u"SELECT RDB$RELATION_NAME AS TABELA, RDB$FIELD_NAME AS COLUNA FROM RDB$RELATION_FIELDS");
  for (q.Open(); !q.Eof(); q.Next()) {
    const UString tabela = Maiusculas(SemBrancos(q.FieldAsText(u"TABELA")));
    nomes.insert(tabela);
    nomes.insert(tabela + u"." + Maiusculas(SemBrancos(q.FieldAsText(u"COLUNA"))));
  }
  return nomes;
}

void VerificaDestino(const std::vector<const Tipo*>& tipos, fb::Database& destino, std::vector<UString>& problemas) {
  std::set<UString> catalogo;
  try {
    catalogo = CatalogoDestino(destino);
  } catch (const std::exception& e) {
    problemas.push_back(u"O catálogo do banco de destino não pôde ser lido: " + ErrorMessage(e));
    return;
  }
  std::set<UString> vistas;
  for (const Tipo* t : tipos) {
    std::vector<const char16_t*> tabelas = t->esvazia;
    tabelas.insert(tabelas.end(), t->acrescenta.begin(), t->acrescenta.end());
    for (const char16_t* tabela : tabelas) {
      const UString nome = Maiusculas(tabela);
      if (!vistas.insert(nome).second) continue;
      if (!catalogo.count(nome)) {
        problemas.push_back(u"O banco de destino não tem a tabela " + nome + u", que a conversão de " + t->relato +
                            u" grava: confira se é um banco do Norvale.");
        continue;
      }
      std::vector<UString> faltam;
      for (const char16_t* c : ColunasDestino(nome))
        if (!catalogo.count(nome + u"." + Maiusculas(c))) faltam.push_back(c);
      if (!faltam.empty())
        problemas.push_back(u"A tabela " + nome + u" do banco de destino não tem " +
                            (faltam.size() == 1 ? u"a coluna " : u"as colunas ") + Junta(faltam) +
                            u", que a conversão de " + t->relato + u" grava: confira se é um banco do Norvale.");
    }
  }
}

}  // namespace

std::vector<UString> VerificaAntes(const std::vector<const Tipo*>& tipos, const UString& origem, SourceEngine& fonte,
                                   fb::Database& destino) {
  std::vector<UString> problemas;
  std::error_code ec;
  if (origem.empty() || !std::filesystem::is_directory(UToUtf8(origem), ec))
    problemas.push_back(u"A pasta de origem não existe: \"" + origem + u"\".");
  else
    for (const Tipo* t : tipos) VerificaOrigem(*t, origem, fonte, problemas);
  VerificaDestino(tipos, destino, problemas);
  return problemas;
}
