#include "converters/Tipos.h"

#include "converters/ClientesController.h"
#include "converters/DocuPagController.h"
#include "converters/DocuRecController.h"
#include "converters/FabricantesController.h"
#include "converters/FornecedoresController.h"
#include "converters/GruposProdutosController.h"
#include "converters/ProdutosController.h"
#include "converters/SubGruposProdutosController.h"

namespace {

const std::vector<const char16_t*> kChaveReceber = {u"CODEMPRESA", u"TIPODOCTO", u"CODDOCTO", u"CODCLIENTE",
                                                    u"DT_VENCIMENTO"};
const std::vector<const char16_t*> kChavePagar = {u"CODEMPRESA", u"TIPODOCTO", u"CODDOCTO", u"CODFORNEC",
                                                  u"DT_VENCIMENTO"};

const std::vector<Tipo> kTipos = {
    {u"CLIENTE", "cliente", u"Cliente", u"Clientes", u"CLIENTES",
     {u"CODIGO", u"DATA_ANI", u"DATA_CAD", u"RAZAOSOC", u"FANTASIA", u"FILIACAO", u"ENDERECO", u"BAIRRO", u"CIDADE",
      u"ESTADO", u"CEP", u"CGC", u"INSC", u"TELEFONE1", u"FAX", u"CONTATO", u"CELULAR", u"OBS1", u"REFERE", u"SPC1",
      u"SPC2", u"LOCAL_TRAB"},
     EstiloConsulta::Qualificada, u" ", u"CODIGO", nullptr, nullptr, {u"CLIENTE"}, {}, true,
     &TClassPreencheDadosClientes::Converte, {{u"CLIENTE", {}}}},
    {u"FORNECEDOR", "fornecedor", u"Fornecedor", u"Fornecedores", u"FORNEC",
     {u"CODIGO", u"RAZAOSOC", u"FANTASIA", u"ENDERECO", u"BAIRRO", u"CIDADE", u"ESTADO", u"CEP", u"CGC", u"INSC",
      u"TELEFONE1", u"FAX"},
     EstiloConsulta::Maiusculas, u" ", u"CODIGO", nullptr, nullptr, {u"FORNECE"}, {u"CIDADES"}, false,
     &TClassPreencheDadosFornecedores::Converte, {{u"FORNECE", {}}}},
    {u"GRUPO", "grupo", u"Grupo", u"Grupos de produtos", u"GRUPO", {u"CODIGO", u"DESCRICAO"},
     EstiloConsulta::Maiusculas, u"", u"CODIGO", nullptr, nullptr, {u"GRUPROD"}, {}, false,
     &TClassPreencheDadosGruposProdutos::Converte, {{u"GRUPROD", {}}}},
    {u"SUBGRUPO", "subgrupo", u"SubGrupo", u"Subgrupos de produtos", u"SUBGRUPO", {u"CODIGO", u"DESCRICAO"},
     EstiloConsulta::Maiusculas, u"", u"CODIGO", nullptr, nullptr, {u"SUBGRUP"}, {}, false,
     &TClassPreencheDadosSubGruposProdutos::Converte, {{u"SUBGRUP", {}}}},
    {u"PRODUTO", "produto", u"Produto", u"Produtos", u"PR",
     {u"CODITEM", u"GRUPO", u"SUBGRUPO", u"DESCRICAO", u"UNIDADE", u"ESTMIN", u"PVENDA", u"COMISSAO", u"CUSTOATUAL",
      u"CUSTOMEDIO", u"C_FISCAL", u"EMPRESA", u"CODFAB"},
     EstiloConsulta::Maiusculas, u" WHERE EMPRESA = \"%EMPRESA%\" ORDER BY CODITEM ASC", u"CODITEM", u"EMPRESA",
     nullptr, {u"PRODUTO", u"COMPPROD", u"PRODUTODETALHE"}, {u"UNIDADES", u"NATRECEITA"}, false,
     &TClassPreencheDadosProdutos::Converte,
     {{u"PRODUTO", {{u"PVENDA", u"PRECO"}, {u"COMISSAO", u"COMISSAO"}, {u"ESTMIN", u"ESTMINIMO"}}},
      {u"COMPPROD", {{u"CUSTOATUAL", u"PRECOCUSTO"}, {u"CUSTOMEDIO", u"PRECOMEDIO"}}},
      {u"PRODUTODETALHE", {}}}},
    {u"RECEBER", "receber", u"Contas a Receber", u"Documentos a Receber", u"CR",
     {u"CodEmp", u"CodCli", u"Numero_Doc", u"Emissao", u"Vencimento", u"Valor", u"Vendedor"}, EstiloConsulta::Mista,
     u" Where CodEmp = :PCodEmp And Pagamento Is Null", u"Numero_Doc", u"CodEmp", u"Pagamento", {},
     {u"DOCUREC", u"MOVIREC"}, false, &TClassPreencheDadosDocuRec::Converte,
     {{u"DOCUREC", {{u"Valor", u"VALORDOCTO"}}, u"ID_DOCUREC", kChaveReceber},
      {u"MOVIREC", {{u"Valor", u"VALORMOV"}}, u"ID_MOVIREC", kChaveReceber}}},
    {u"PAGAR", "pagar", u"Contas a Pagar", u"Documentos a Pagar", u"ContPag",
     {u"CodEmp", u"Numero_Doc", u"CodFor", u"Valor", u"Emissao", u"Vencimento", u"Historico"}, EstiloConsulta::Mista,
     u" Where CodEmp = :PCodEmp And Pagamento Is Null", u"Numero_Doc", u"CodEmp", u"Pagamento", {},
     {u"DOCUPAG", u"MOVIPAG"}, false, &TClassPreencheDadosDocuPag::Converte,
     {{u"DOCUPAG", {{u"Valor", u"VALORDOCTO"}}, u"ID_DOCUPAG", kChavePagar},
      {u"MOVIPAG", {{u"Valor", u"VALORMOV"}}, u"ID_MOVIPAG", kChavePagar}}},
    {u"FABRICANTE", "fabricante", u"Fabricante", u"Fabricantes", u"FABRICA", {u"CODIGO", u"RAZAOSOC"},
     EstiloConsulta::Maiusculas, u"", u"CODIGO", nullptr, nullptr, {u"CADFABR"}, {}, true,
     &TClassPreencheDadosFabricantes::Converte, {{u"CADFABR", {}}}},
};

}  // namespace

UString Tipo::Consulta(const UString& empresa) const {
  const bool mista = estilo == EstiloConsulta::Mista;
  UString sql = mista ? u"Select " : u"SELECT ";
  for (std::size_t i = 0; i < colunas.size(); ++i) {
    if (i) sql += u", ";
    if (estilo == EstiloConsulta::Qualificada) sql += UString(tabela) + u".";
    sql += colunas[i];
  }
  sql += (mista ? u" From " : u" FROM ") + UString(tabela);
  UString resto = filtro;
  const UString marca = u"%EMPRESA%";
  if (const auto p = resto.find(marca); p != UString::npos) resto.replace(p, marca.size(), empresa);
  return sql + resto;
}

UString Tipo::TextoProgresso() const { return u"Convertendo " + UString(relato) + u" - Registro "; }

std::vector<const char16_t*> Tipo::ColunasLidas() const {
  std::vector<const char16_t*> c = colunas;
  for (const char16_t* extra : {colunaEmpresa, colunaPagamento}) {
    bool tem = !extra;
    for (const char16_t* x : c) tem = tem || SameTextAscii(x, extra);
    if (!tem) c.push_back(extra);
  }
  return c;
}

const std::vector<Tipo>& Tipos() { return kTipos; }

const Tipo* TipoPorChave(const UString& chave) {
  for (const Tipo& t : kTipos)
    if (SameTextAscii(t.chave, chave)) return &t;
  return nullptr;
}

const Tipo* TipoPorNome(const std::string& nome) {
  for (const Tipo& t : kTipos)
    if (nome == t.nome) return &t;
  return nullptr;
}
