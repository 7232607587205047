#include "run/ExameOrigem.h"

#include <cctype>
#include <filesystem>
#include <memory>

#include "platform/Error.h"
#include "platform/dbase/DbfTable.h"

namespace {

struct TabelaLida {
  const char16_t* tabela;
  const char16_t* tipo;
  std::vector<const char16_t*> colunas;  // those the converter's statement reads
  const char16_t* empresa;               // the company column, or nullptr
  const char16_t* pagamento;             // the payment date of documents, or nullptr
};

// The tables and columns of the converters' source statements, in the run's order.
const std::vector<TabelaLida>& TabelasLidas() {
  static const std::vector<TabelaLida> t = {
      {u"CLIENTES", u"cliente",
       {u"CODIGO", u"DATA_ANI", u"DATA_CAD", u"RAZAOSOC", u"FANTASIA", u"FILIACAO", u"ENDERECO", u"BAIRRO",
        u"CIDADE", u"ESTADO", u"CEP", u"CGC", u"INSC", u"TELEFONE1", u"FAX", u"CONTATO", u"CELULAR", u"OBS1",
        u"REFERE", u"SPC1", u"SPC2", u"LOCAL_TRAB"},
       nullptr, nullptr},
      {u"FORNEC", u"fornecedor",
       {u"CODIGO", u"RAZAOSOC", u"FANTASIA", u"ENDERECO", u"BAIRRO", u"CIDADE", u"ESTADO", u"CEP", u"CGC", u"INSC",
        u"TELEFONE1", u"FAX"},
       nullptr, nullptr},
      {u"GRUPO", u"grupo", {u"CODIGO", u"DESCRICAO"}, nullptr, nullptr},
      {u"SUBGRUPO", u"subgrupo", {u"CODIGO", u"DESCRICAO"}, nullptr, nullptr},
      {u"PR", u"produto",
       {u"CODITEM", u"GRUPO", u"SUBGRUPO", u"DESCRICAO", u"UNIDADE", u"ESTMIN", u"PVENDA", u"COMISSAO",
        u"CUSTOATUAL", u"CUSTOMEDIO", u"C_FISCAL", u"EMPRESA", u"CODFAB"},
       u"EMPRESA", nullptr},
      {u"CR", u"receber",
       {u"CodEmp", u"CodCli", u"Numero_Doc", u"Emissao", u"Vencimento", u"Valor", u"Vendedor", u"Pagamento"},
       u"CodEmp", u"Pagamento"},
      {u"ContPag", u"pagar",
       {u"CodEmp", u"Numero_Doc", u"CodFor", u"Valor", u"Emissao", u"Vencimento", u"Historico", u"Pagamento"},
       u"CodEmp", u"Pagamento"},
      {u"FABRICA", u"fabricante", {u"CODIGO", u"RAZAOSOC"}, nullptr, nullptr},
  };
  return t;
}

// A file named like the table (any letter case) is in the folder.
bool ExisteArquivo(const std::string& pasta, const char16_t* tabela) {
  std::string nome = UToUtf8(tabela) + ".dbf";
  for (char& c : nome) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(pasta, ec)) {
    std::string n = e.path().filename().string();
    for (char& c : n) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (n == nome) return true;
  }
  return false;
}

void Le(const TabelaLida& def, const std::string& pasta, ExameTabela& out) {
  if (!ExisteArquivo(pasta, def.tabela)) return;  // not there: a finding, not a failure
  std::string arquivo;
  try {
    arquivo = dbase::FindTableFile(pasta, def.tabela);
  } catch (const std::exception& e) {
    out.erro = ErrorMessage(e);  // two files that differ only by case, say
    return;
  }
  out.encontrada = true;
  out.arquivo = std::filesystem::path(arquivo).filename().string();
  try {
    dbase::Table t(arquivo, def.tabela);
    out.codePage = dbase::CodePageName(t.Cp());
    out.codePageOrigem = t.CpSource();
    out.memo = t.MemoPath().empty() ? "" : std::filesystem::path(t.MemoPath()).filename().string();
    for (const char16_t* c : def.colunas)
      if (t.FindField(c) < 0) out.colunasFaltando.push_back(c);
    const int empresa = def.empresa ? t.FindField(def.empresa) : -1;
    const int pagamento = def.pagamento ? t.FindField(def.pagamento) : -1;
    if (def.empresa) out.colunaEmpresa = def.empresa;
    out.documentos = pagamento >= 0;

    const std::vector<dbase::Field>& campos = t.Fields();
    t.AdviseSequential();
    for (std::uint32_t rec = 0; rec < t.RecordCount(); ++rec) {
      ++out.registros;
      if (!t.IsLive(rec)) {
        ++out.apagados;
        continue;
      }
      // Every value of every column, as a run would read it.
      for (const dbase::Field& f : campos)
        if (!f.system) (void)t.AsText(rec, f);
      if (empresa >= 0) {
        const UString cod = t.AsText(rec, campos[static_cast<std::size_t>(empresa)]);
        ++out.porEmpresa[cod];
        if (pagamento >= 0 && t.IsNull(rec, campos[static_cast<std::size_t>(pagamento)]))
          ++out.abertosPorEmpresa[cod];
      }
    }
  } catch (const std::exception& e) {
    out.erro = ErrorMessage(e);
  }
}

}  // namespace

bool ExameOrigem::Ok() const {
  if (!erroPasta.empty()) return false;
  for (const ExameTabela& t : tabelas)
    if (!t.erro.empty()) return false;
  return true;
}

ExameOrigem ExaminaOrigem(const std::string& pasta) {
  ExameOrigem r;
  r.pasta = pasta;
  std::error_code ec;
  if (pasta.empty() || !std::filesystem::is_directory(pasta, ec)) {
    r.erroPasta = u"A pasta das tabelas de origem não existe: \"" + Utf8ToU(pasta) + u"\".";
    return r;
  }
  for (const TabelaLida& def : TabelasLidas()) {
    ExameTabela t;
    t.tabela = def.tabela;
    t.tipo = def.tipo;
    Le(def, pasta, t);
    r.tabelas.push_back(std::move(t));
  }
  return r;
}
