#include "run/Plano.h"

#include "converters/ChaveDocumento.h"
#include "platform/Error.h"
#include "run/Verificacao.h"

namespace {

long long Conta(fb::Database& destino, const UString& tabela) {
  fb::Query q(destino);
  q.SetSQL(u"SELECT COUNT(*) AS N FROM " + tabela);
  q.Open();
  return q.FieldAsInteger(u"N");
}

std::unique_ptr<SourceQuery> Consulta(SourceEngine& fonte, const FormatSettings& fs, const UString& origem,
                                      const UString& sql) {
  std::unique_ptr<SourceQuery> q = fonte.NewQuery(fs);
  q->SetDatabaseName(origem);
  q->SetSQL(sql);
  return q;
}

// The rows the kind's own statement reads, and for documents how many of them the
// target already holds.
void LeLinhasDoTipo(PlanoTipo& p, const UString& origem, const UString& empresa, SourceEngine& fonte,
                    fb::Database& destino) {
  const Tipo& t = *p.tipo;
  const FormatSettings& fs = destino.Regional();
  const UString sql = t.Consulta(empresa);
  std::unique_ptr<SourceQuery> q = Consulta(fonte, fs, origem, sql);
  if (sql.find(u":PCodEmp") != UString::npos) q->BindText(u"PCodEmp", empresa);
  q->Open();
  p.lidos = q->RecordCount();
  // A target without documents holds none of these: nothing to look up.
  if (!p.documentos || p.lidos == 0 || p.documentosNoDestino == 0) return;

  fb::Query busca(destino);
  for (q->First(); !q->Eof(); q->Next()) {
    const ChaveDocumento c = ChaveDoDocumento(t, *q, fs);
    // Values are compared to the cent: the column holds two decimals.
    busca.SetSQL(UString(u"SELECT COUNT(*) AS N FROM ") + c.tabela +
                 u" WHERE CODEMPRESA = :E AND TIPODOCTO = :T AND CODDOCTO = :D AND " + c.colunaPessoa +
                 u" = :P AND DT_VENCIMENTO = :V AND VALORDOCTO >= :MIN AND VALORDOCTO <= :MAX");
    try {
      busca.BindText(u"E", c.empresa);
      busca.BindText(u"T", c.tipoDocto);
      busca.BindText(u"D", c.numero);
      busca.BindText(u"P", c.pessoa);
      busca.BindText(u"V", c.vencimento);
      busca.BindDouble(u"MIN", c.valor - 0.0051);
      busca.BindDouble(u"MAX", c.valor + 0.0051);
      busca.Open();
      if (busca.FieldAsInteger(u"N") > 0) ++p.repetidos;
      busca.Close();
    } catch (const EDatabaseError&) {
      // A value the target cannot hold (a character outside its set, a number too
      // long): no document there can be this one. The run refuses it with its row.
    }
  }
}

// The rows of every other company (documents: the open ones), so a company chosen
// by mistake shows.
void ContaOutrasEmpresas(PlanoTipo& p, const UString& origem, const UString& empresa, SourceEngine& fonte,
                         const FormatSettings& fs) {
  const Tipo& t = *p.tipo;
  UString sql = u"SELECT " + UString(t.colunaEmpresa);
  if (t.colunaPagamento) sql += u", " + UString(t.colunaPagamento);
  std::unique_ptr<SourceQuery> q = Consulta(fonte, fs, origem, sql + u" FROM " + t.tabela);
  for (q->Open(); !q->Eof(); q->Next()) {
    if (t.colunaPagamento && !q->FieldIsNull(t.colunaPagamento)) continue;
    const UString cod = q->FieldAsText(t.colunaEmpresa);
    if (cod != empresa) ++p.outrasEmpresas[cod];
  }
}

UString Registros(long long n, const char16_t* um, const char16_t* varios) {
  return IntToU(n) + u" " + (n == 1 ? um : varios);
}

UString LinhaDoTipo(const PlanoTipo& p, const UString& empresa) {
  const Tipo& t = *p.tipo;
  UString s = u"  " + UString(t.relato) + u": lê " +
              (p.documentos ? Registros(p.lidos, u"documento em aberto", u"documentos em aberto")
                            : Registros(p.lidos, u"registro", u"registros"));
  if (t.colunaEmpresa) s += u" da empresa " + empresa;
  s += u" de " + UString(t.tabela);
  if (!p.outrasEmpresas.empty()) {
    s += u" (outras empresas:";
    bool primeira = true;
    for (const auto& [cod, n] : p.outrasEmpresas) {
      s += (primeira ? u" " : u", ") + (cod.empty() ? UString(u"sem empresa") : cod) + u": " + IntToU(n);
      primeira = false;
    }
    s += u")";
  }
  if (!p.apaga.empty()) {
    s += u"; apaga ";
    for (std::size_t i = 0; i < p.apaga.size(); ++i)
      s += (i ? u", " : u"") + IntToU(p.apaga[i].second) + u" de " + p.apaga[i].first;
  }
  if (p.documentos)
    s += u"; o destino já tem " + Registros(p.documentosNoDestino, u"documento", u"documentos") + u", e " +
         IntToU(p.repetidos) + u" dos que chegam já " + (p.repetidos == 1 ? u"está" : u"estão") + u" lá";
  return s + u".";
}

}  // namespace

long long Plano::Apagados() const {
  long long n = 0;
  for (const PlanoTipo& p : tipos)
    for (const auto& a : p.apaga) n += a.second;
  return n;
}

long long Plano::Repetidos() const {
  long long n = 0;
  for (const PlanoTipo& p : tipos) n += p.repetidos;
  return n;
}

std::vector<const PlanoTipo*> Plano::SemLinhasDaEmpresa() const {
  std::vector<const PlanoTipo*> r;
  for (const PlanoTipo& p : tipos)
    if (p.lidos == 0 && !p.outrasEmpresas.empty()) r.push_back(&p);
  return r;
}

bool Plano::PedeCuidado() const { return Apagados() > 0 || Repetidos() > 0 || !SemLinhasDaEmpresa().empty(); }

const PlanoTipo* Plano::DoTipo(const Tipo& tipo) const {
  for (const PlanoTipo& p : tipos)
    if (p.tipo == &tipo) return &p;
  return nullptr;
}

std::vector<UString> Plano::Linhas() const {
  std::vector<UString> l;
  l.push_back(u"Plano da conversão (empresa " + empresa + u"):");
  for (const PlanoTipo& p : tipos) l.push_back(LinhaDoTipo(p, empresa));
  if (!PedeCuidado()) return l;
  l.push_back(u"Atenção:");
  if (const long long n = Apagados())
    l.push_back(u"  - " + Registros(n, u"registro", u"registros") +
                u" que o banco de destino já tem serão apagados e substituídos pelos da origem.");
  for (const PlanoTipo* p : SemLinhasDaEmpresa())
    l.push_back(u"  - " + UString(p->tipo->relato) + u": nada da empresa " + empresa + u" em " + p->tipo->tabela +
                u", que tem registros de outras empresas; confira a empresa escolhida.");
  if (const long long n = Repetidos())
    l.push_back(u"  - " + Registros(n, u"documento", u"documentos") +
                u" a converter já " + (n == 1 ? u"está" : u"estão") +
                u" no banco de destino (mesma empresa, tipo, número, cliente ou fornecedor, vencimento e valor): "
                u"convertê-los de novo os duplica.");
  return l;
}

Preparacao PreparaConversao(const std::vector<const Tipo*>& tipos, const UString& origem, const UString& empresa,
                            SourceEngine& fonte, fb::Database& destino) {
  Preparacao r;
  fb::Transaction& tr = destino.DefaultTransaction();
  const bool jaAtiva = tr.InTransaction();
  try {
    r.problemas = VerificaAntes(tipos, origem, fonte, destino);
    if (r.problemas.empty()) {
      r.plano.empresa = empresa;
      for (const Tipo* t : tipos) {
        PlanoTipo p;
        p.tipo = t;
        p.documentos = EhDocumento(*t);
        for (const char16_t* tabela : t->esvazia) p.apaga.emplace_back(tabela, Conta(destino, tabela));
        if (p.documentos) p.documentosNoDestino = Conta(destino, TabelaDocumentos(*t));
        LeLinhasDoTipo(p, origem, empresa, fonte, destino);
        if (t->colunaEmpresa) ContaOutrasEmpresas(p, origem, empresa, fonte, destino.Regional());
        r.plano.tipos.push_back(std::move(p));
      }
    }
  } catch (const std::exception& e) {
    // A table that opens but cannot be read through (a value that does not convert).
    r.problemas.push_back(ErrorMessage(e));
  }
  if (!jaAtiva && tr.InTransaction()) {
    try {
      tr.Rollback();
    } catch (const std::exception&) {
      // Only reads were made: nothing to lose.
    }
  }
  return r;
}

UString TextoProblemas(const std::vector<UString>& problemas) {
  UString s = u"Ocorreu um erro durante a conversão! Motivo: a conversão não começou, nada foi alterado.";
  for (const UString& p : problemas) s += u"\r- " + p;
  return s;
}
