#include "toolkit/IndiceReferencias.h"

#include <algorithm>

namespace {

// The target compares texts as if the shorter were filled with blanks.
UString Chave(const UString& texto) {
  std::size_t fim = texto.size();
  while (fim > 0 && texto[fim - 1] == u' ') --fim;
  return texto.substr(0, fim);
}

// Whether `a` comes after `b` in the target's order of ASCII texts.
bool DepoisDe(const UString& a, const UString& b) {
  for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
    const char16_t x = i < a.size() ? a[i] : u' ', y = i < b.size() ? b[i] : u' ';
    if (x != y) return x > y;
  }
  return false;
}

bool Ascii(const UString& texto) {
  for (char16_t c : texto)
    if (c > 0x7F) return false;
  return true;
}

}  // namespace

void IndiceReferencias::ContaCodigo(const UString& codigo) {
  if (!Ascii(codigo)) maiorIncerto_ = true;
  else if (!temCidade_ || DepoisDe(codigo, maiorCodigo_)) maiorCodigo_ = codigo;
  temCidade_ = true;
}

bool IndiceReferencias::MaiorCodigoCidade(UString& codigo) {
  if (!cidadesLidas_) LeCidades();
  codigo = temCidade_ ? maiorCodigo_ : UString();
  return !maiorIncerto_;
}

bool IndiceReferencias::TemUnidade(const UString& unidade) {
  if (!unidadesLidas_) LeUnidades();
  return unidades_.count(Chave(unidade)) > 0;
}

void IndiceReferencias::UnidadeRegistrada(const UString& unidade) {
  if (unidadesLidas_) unidades_.insert(Chave(unidade));
}

const UString* IndiceReferencias::Cidade(const UString& nome, const UString& estado) {
  if (!cidadesLidas_) LeCidades();
  auto it = cidades_.find({Chave(nome), Chave(estado)});
  return it == cidades_.end() ? nullptr : &it->second;
}

const UString* IndiceReferencias::CidadeEmQualquerEstado(const UString& nome) {
  if (!cidadesLidas_) LeCidades();
  auto it = porNome_.find(Chave(nome));
  return it == porNome_.end() ? nullptr : &it->second;
}

void IndiceReferencias::CidadeRegistrada(const UString& codigo, const UString& nome, const UString& estado) {
  if (!cidadesLidas_) return;
  ContaCodigo(codigo);
  // emplace keeps a city already there: the first one still decides.
  cidades_.emplace(std::make_pair(Chave(nome), Chave(estado)), codigo);
  porNome_.emplace(Chave(nome), codigo);
}

void IndiceReferencias::LeUnidades() {
  fb::Query q(destino_);
  q.SetSQL(u"SELECT UNIDADE FROM UNIDADES");
  q.Open();
  std::set<UString> lidas;
  for (; !q.Eof(); q.Next())
    if (!q.FieldIsNull(u"UNIDADE")) lidas.insert(Chave(q.FieldAsText(u"UNIDADE")));
  unidades_ = std::move(lidas);
  unidadesLidas_ = true;
}

void IndiceReferencias::LeCidades() {
  fb::Query q(destino_);
  q.SetSQL(u"SELECT CODCIDADE, CIDADE, ESTADO FROM CIDADES");
  q.Open();
  std::map<std::pair<UString, UString>, UString> cidades;
  std::map<UString, UString> porNome;
  for (; !q.Eof(); q.Next()) {
    const UString codigo = q.FieldAsText(u"CODCIDADE");
    ContaCodigo(codigo);
    if (q.FieldIsNull(u"CIDADE")) continue;
    const UString nome = Chave(q.FieldAsText(u"CIDADE"));
    porNome.emplace(nome, codigo);
    if (!q.FieldIsNull(u"ESTADO")) cidades.emplace(std::make_pair(nome, Chave(q.FieldAsText(u"ESTADO"))), codigo);
  }
  cidades_ = std::move(cidades);
  porNome_ = std::move(porNome);
  cidadesLidas_ = true;
}
