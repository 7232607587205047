#include "run/Conferencia.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/Regional.h"

namespace {

// "1.234.567": whole numbers with the Brazilian thousands separator.
UString Milhares(long long n) {
  UString digitos = IntToU(n < 0 ? -n : n), out;
  for (std::size_t i = 0; i < digitos.size(); ++i) {
    if (i && (digitos.size() - i) % 3 == 0) out += u'.';
    out += digitos[i];
  }
  return n < 0 ? u"-" + out : out;
}

// Units of the last decimal place as money is written here: "1.234,56".
UString Decimal(long long unidades, int escala) {
  if (escala <= 0) return Milhares(unidades);
  long long p = 1;
  for (int i = 0; i < escala; ++i) p *= 10;
  const long long inteiro = std::llabs(unidades) / p, fracao = std::llabs(unidades) % p;
  UString f = IntToU(fracao);
  while (static_cast<int>(f.size()) < escala) f = u"0" + f;
  return (unidades < 0 ? u"-" : u"") + Milhares(inteiro) + u"," + f;
}

// A floating sum as money reads: thousands separated, the decimals as they are.
UString Flutuante(double v) {
  const UString texto = FloatToStrU(v, FormatSettings{});
  if (texto.find(u'E') != UString::npos) return texto;
  const std::size_t virgula = std::min(texto.find(u','), texto.size());
  const bool negativo = !texto.empty() && texto[0] == u'-';
  const UString inteiro = texto.substr(negativo ? 1 : 0, virgula - (negativo ? 1 : 0));
  return (negativo ? u"-" : u"") + Milhares(std::stoll(UToUtf8(inteiro))) + texto.substr(virgula);
}

// A sum the engine gives as text ("1234.50", "-3.1", "" for none) in units of the
// scale's last decimal place.
long long Unidades(const UString& texto, int escala) {
  if (texto.empty()) return 0;
  const std::size_t ponto = texto.find(u'.');
  UString inteiro = texto.substr(0, ponto), fracao = ponto == UString::npos ? UString() : texto.substr(ponto + 1);
  while (static_cast<int>(fracao.size()) < escala) fracao += u'0';
  fracao.resize(static_cast<std::size_t>(escala));
  return std::stoll(UToUtf8(inteiro + fracao));
}

// Two sums of a floating column agree when they differ by no more than what adding
// the same values in another order can change.
bool MesmaSoma(double a, double b) { return std::fabs(a - b) <= 1e-9 * std::max(1.0, std::fabs(a)); }

}  // namespace

Conferencia::Conferencia(RunContext& ctx, const Tipo& tipo) : ctx_(ctx), tipo_(tipo) {}

int Conferencia::Escala(const char16_t* tabela, const char16_t* coluna) const {
  fb::Query q(ctx_.Destino());
  q.SetSQL(u"SELECT F.RDB$FIELD_SCALE AS ESCALA, F.RDB$FIELD_TYPE AS TIPO FROM RDB$RELATION_FIELDS R "
           u"JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = R.RDB$FIELD_SOURCE "
           u"WHERE R.RDB$RELATION_NAME = :TABELA AND R.RDB$FIELD_NAME = :COLUNA");
  q.BindText(u"TABELA", UpperAZ(tabela));
  q.BindText(u"COLUNA", UpperAZ(coluna));
  q.Open();
  if (q.IsEmpty()) throw EConferencia(u"A coluna " + UString(tabela) + u"." + coluna + u" não existe no banco de destino.");
  // 10 float, 27 double: no decimal places of their own.
  const std::int64_t tipo = q.FieldAsInteger(u"TIPO");
  if (tipo == 10 || tipo == 27) return -1;
  return static_cast<int>(-q.FieldAsInteger(u"ESCALA"));
}

void Conferencia::Le(Tabela& t, long long& linhas, std::vector<long long>& unidades, std::vector<double>& bruto) const {
  UString sql = u"SELECT COUNT(*) AS LINHAS";
  for (std::size_t i = 0; i < t.colunas.size(); ++i)
    sql += u", SUM(" + UString(t.colunas[i].destino) + u") AS S" + IntToU(static_cast<long long>(i));
  fb::Query q(ctx_.Destino());
  q.SetSQL(sql + u" FROM " + t.nome);
  q.Open();
  linhas = q.FieldAsInteger(u"LINHAS");
  unidades.assign(t.colunas.size(), 0);
  bruto.assign(t.colunas.size(), 0);
  for (std::size_t i = 0; i < t.colunas.size(); ++i) {
    const UString nome = u"S" + IntToU(static_cast<long long>(i));
    if (q.FieldIsNull(nome)) continue;
    if (t.colunas[i].escala < 0)
      bruto[i] = q.FieldAsDouble(nome);
    else
      unidades[i] = Unidades(q.FieldAsText(nome), t.colunas[i].escala);
  }
}

void Conferencia::Iguais(const Tabela& t, long long& linhas, std::vector<long long>& unidades,
                         std::vector<double>& bruto) const {
  UString chave;
  for (const char16_t* c : t.def->chave) chave += (chave.empty() ? u"" : u", ") + UString(c);
  for (const Coluna& c : t.colunas) chave += u", " + UString(c.destino);
  const UString id = t.def->id, ultimo = IntToU(t.ultimoId);
  fb::Query q(ctx_.Destino());
  q.SetSQL(u"SELECT " + chave + u", SUM(CASE WHEN " + id + u" <= " + ultimo + u" THEN 1 ELSE 0 END) AS ANTES, " +
           u"SUM(CASE WHEN " + id + u" > " + ultimo + u" THEN 1 ELSE 0 END) AS NOVAS FROM " + t.nome +
           u" GROUP BY " + chave);
  q.Open();
  linhas = 0;
  unidades.assign(t.colunas.size(), 0);
  bruto.assign(t.colunas.size(), 0);
  for (; !q.Eof(); q.Next()) {
    const long long iguais = std::min(q.FieldAsInteger(u"ANTES"), q.FieldAsInteger(u"NOVAS"));
    if (iguais <= 0) continue;
    linhas += iguais;
    for (std::size_t i = 0; i < t.colunas.size(); ++i) {
      const UString c = t.colunas[i].destino;
      if (q.FieldIsNull(c)) continue;
      if (t.colunas[i].escala < 0) bruto[i] += static_cast<double>(iguais) * q.FieldAsDouble(c);
      else unidades[i] += iguais * Unidades(q.FieldAsText(c), t.colunas[i].escala);
    }
  }
}

void Conferencia::Antes() {
  acrescenta_ = tipo_.esvazia.empty();
  tabelas_.clear();
  ctx_.Somas().clear();
  for (const Conferida& c : tipo_.conferidas) {
    Tabela t{&c, c.tabela, {}, 0, {}, {}, 0};
    for (const auto& [origem, destino] : c.somas) {
      t.colunas.push_back({origem, destino, Escala(c.tabela, destino)});
      ctx_.Somas().push_back(SomaOrigem{origem, t.colunas.back().escala, 0, 0});
    }
    // Emptied tables start from nothing; the others from what they hold now.
    if (ctx_.Conferir() && c.id) {
      fb::Query q(ctx_.Destino());
      q.SetSQL(u"SELECT MAX(" + UString(c.id) + u") AS ULTIMO FROM " + c.tabela);
      q.Open();
      t.ultimoId = q.FieldIsNull(u"ULTIMO") ? 0 : q.FieldAsInteger(u"ULTIMO");
    }
    if (acrescenta_ || ctx_.Conferir()) Le(t, t.linhasAntes, t.unidadesAntes, t.brutoAntes);
    else {
      t.unidadesAntes.assign(t.colunas.size(), 0);
      t.brutoAntes.assign(t.colunas.size(), 0);
    }
    tabelas_.push_back(std::move(t));
  }
}

void Conferencia::Depois() {
  KindReport& k = ctx_.Report().Atual();
  const std::vector<SomaOrigem>& somas = ctx_.Somas();
  std::size_t s = 0;
  const LinhaConferencia* primeira = nullptr;
  for (Tabela& t : tabelas_) {
    long long linhas = 0;
    std::vector<long long> unidades;
    std::vector<double> bruto;
    if (!ctx_.Conferir()) {
      Le(t, linhas, unidades, bruto);
    } else if (t.def->id) {
      Iguais(t, linhas, unidades, bruto);
      t.linhasAntes = 0;
      t.unidadesAntes.assign(unidades.size(), 0);
      t.brutoAntes.assign(bruto.size(), 0);
    } else {
      // The table as the earlier run left it, before this trial emptied it.
      linhas = t.linhasAntes;
      unidades = t.unidadesAntes;
      bruto = t.brutoAntes;
      t.linhasAntes = 0;
      t.unidadesAntes.assign(unidades.size(), 0);
      t.brutoAntes.assign(bruto.size(), 0);
    }
    LinhaConferencia l;
    l.figura = ctx_.Conferir() && t.def->id ? u"documentos de " + UString(t.nome) + u" iguais aos da origem"
               : (acrescenta_ ? u"linhas acrescentadas a " : u"linhas em ") + UString(t.nome);
    l.origem = Milhares(k.written);
    l.destino = Milhares(linhas - t.linhasAntes);
    l.confere = linhas - t.linhasAntes == k.written;
    k.conferencia.push_back(l);
    for (std::size_t i = 0; i < t.colunas.size(); ++i, ++s) {
      const Coluna& c = t.colunas[i];
      const SomaOrigem& o = somas[s];
      LinhaConferencia m;
      m.figura = u"soma de " + UString(t.nome) + u"." + c.destino + u" (" + c.origem + u")";
      if (c.escala < 0) {
        const double destino = bruto[i] - t.brutoAntes[i];
        m.origem = Flutuante(o.bruto);
        m.destino = Flutuante(destino);
        m.confere = MesmaSoma(o.bruto, destino);
      } else {
        const long long destino = unidades[i] - t.unidadesAntes[i];
        m.origem = Decimal(o.unidades, c.escala);
        m.destino = Decimal(destino, c.escala);
        m.confere = o.unidades == destino;
        const double diferenca = o.unidades / std::pow(10.0, c.escala) - o.bruto;
        if (std::fabs(diferenca) >= 0.5e-9) m.arredondamento = Flutuante(diferenca);
      }
      k.conferencia.push_back(m);
    }
  }
  ctx_.Somas().clear();
  for (const LinhaConferencia& l : k.conferencia)
    if (!l.confere) {
      primeira = &l;
      break;
    }
  if (primeira && !ctx_.Conferir())
    throw EConferencia(u"A conferência de " + k.kind + u" não bate: " + primeira->figura + u": origem " +
                       primeira->origem + u", destino " + primeira->destino +
                       u". O banco de destino não guardou o que foi gravado; a conversão foi desfeita.");
}
