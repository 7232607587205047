#include "run/ExameOrigem.h"

#include <algorithm>
#include <filesystem>
#include <memory>

#include "converters/Tipos.h"
#include "platform/Error.h"

namespace {

// Every value of the columns a run reads, read as the run would read it, and the
// rows of each company (and the documents still open) counted.
void LeLinhas(const Tipo& tipo, const std::vector<UString>& colunas, const std::string& pasta, SourceEngine& fonte,
              ExameTabela& out) {
  const FormatSettings regional;
  std::unique_ptr<SourceQuery> q = fonte.NewQuery(regional);
  q->SetDatabaseName(Utf8ToU(pasta));
  UString sql = u"SELECT ";
  for (std::size_t i = 0; i < colunas.size(); ++i) sql += (i ? u", " : u"") + colunas[i];
  q->SetSQL(sql + u" FROM " + tipo.tabela);
  q->Open();
  const bool empresa = tipo.colunaEmpresa && out.colunasFaltando.end() == std::find_if(
      out.colunasFaltando.begin(), out.colunasFaltando.end(),
      [&](const UString& c) { return SameTextAscii(c, tipo.colunaEmpresa); });
  for (; !q->Eof(); q->Next()) {
    for (const UString& c : colunas) (void)q->FieldAsText(c);
    if (!empresa) continue;
    const UString cod = q->FieldAsText(tipo.colunaEmpresa);
    ++out.porEmpresa[cod];
    if (out.documentos && q->FieldIsNull(tipo.colunaPagamento)) ++out.abertosPorEmpresa[cod];
  }
}

void Le(const Tipo& tipo, const std::string& pasta, SourceEngine& fonte, ExameTabela& out) {
  try {
    const std::optional<SourceTableInfo> info = fonte.Describe(Utf8ToU(pasta), tipo.tabela);
    if (!info) return;  // not there: a finding, not a failure
    out.encontrada = true;
    out.arquivo = info->file;
    if (!info->error.empty()) {
      out.erro = info->error;
      return;
    }
    out.registros = info->records;
    out.apagados = info->deleted;
    out.codePage = info->codePage;
    out.codePageOrigem = info->codePageSource;
    out.memo = info->memo;
    auto tem = [&](const char16_t* c) {
      for (const UString& x : info->columns)
        if (SameTextAscii(x, c)) return true;
      return false;
    };
    std::vector<UString> lidas;
    for (const char16_t* c : tipo.ColunasLidas())
      (tem(c) ? lidas : out.colunasFaltando).push_back(c);
    if (tipo.colunaEmpresa) out.colunaEmpresa = tipo.colunaEmpresa;
    out.documentos = tipo.colunaPagamento && tem(tipo.colunaPagamento);
    if (!lidas.empty()) LeLinhas(tipo, lidas, pasta, fonte, out);
  } catch (const std::exception& e) {
    out.erro = ErrorMessage(e);  // two files that differ only by case, a broken file
  }
}

}  // namespace

bool ExameOrigem::NenhumaTabela() const {
  for (const ExameTabela& t : tabelas)
    if (t.encontrada) return false;
  return erroPasta.empty();
}

bool ExameOrigem::Ok() const {
  if (!erroPasta.empty() || NenhumaTabela()) return false;
  for (const ExameTabela& t : tabelas)
    if (!t.erro.empty()) return false;
  return true;
}

ExameOrigem ExaminaOrigem(const std::string& pasta, SourceEngine& fonte) {
  ExameOrigem r;
  r.pasta = pasta;
  std::error_code ec;
  if (!pasta.empty() && std::filesystem::exists(pasta, ec) && !std::filesystem::is_directory(pasta, ec)) {
    r.erroPasta = u"\"" + Utf8ToU(pasta) + u"\" é um arquivo, não a pasta das tabelas de origem.";
    return r;
  }
  if (pasta.empty() || !std::filesystem::is_directory(pasta, ec)) {
    r.erroPasta = u"A pasta das tabelas de origem não existe: \"" + Utf8ToU(pasta) + u"\".";
    return r;
  }
  for (const Tipo& tipo : Tipos()) {
    ExameTabela t;
    t.tabela = tipo.tabela;
    t.tipo = Utf8ToU(tipo.nome);
    Le(tipo, pasta, fonte, t);
    r.tabelas.push_back(std::move(t));
  }
  return r;
}
