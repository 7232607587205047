// Every record class's insert, its values bound to a statement prepared once, must
// leave the tables, and fail on the rows with the errors, that its literal text run
// as it is leaves and fails with. Each record is driven through its setters on two
// fresh databases: one attached with the statement cache off (each row's literal
// text prepared and run as it is), one with its values bound.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "converters/Cliente.h"
#include "converters/CompProd.h"
#include "converters/Fabricante.h"
#include "converters/Fornecedor.h"
#include "converters/Produto.h"
#include "converters/ProdutoDetalhe.h"
#include "platform/Error.h"
#include "tests/support/TargetDump.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestRun.h"

namespace {

template <class R>
struct Lado {
  Lado(bool ligado, const char* nome) : tdb(nome) {
    if (!ligado) setenv("CONVERSOR_TOLV_CACHE", "0", 1);
    tdb.Connect(db);
    unsetenv("CONVERSOR_TOLV_CACHE");
    registro = std::make_unique<R>(run.ctx);
  }
  TestDatabase tdb;
  fb::Database db;
  TestRun run{db};
  std::unique_ptr<R> registro;
};

// What writing one row gave: "ok" or the error's text.
using Grava = std::function<std::string(TConversao&)>;

template <class R>
class Comparacao {
 public:
  explicit Comparacao(Grava grava) : grava_(std::move(grava)) {}

  void Linha(const char* caso, const std::function<void(R&)>& preenche) {
    SCOPED_TRACE(caso);
    preenche(*literal_.registro);
    preenche(*ligado_.registro);
    const std::string a = grava_(*literal_.registro), b = grava_(*ligado_.registro);
    EXPECT_EQ(a, b);
    (a == "ok" ? gravadas : recusadas)++;
  }

  // Every row written went bound, but `comoTexto` of them; a refused one may have
  // run as its text.
  void MesmasTabelas(int comoTexto = 0) {
    EXPECT_LE(ligado_.registro->LinhasLiterais(), static_cast<unsigned>(recusadas + comoTexto));
    for (Lado<R>* l : {&literal_, &ligado_}) {
      l->db.DefaultTransaction().Commit();
      l->registro.reset();
      l->db.Close();
    }
    EXPECT_EQ(DumpTables(literal_.tdb.Path(), Dump::MaskInsertTimes),
              DumpTables(ligado_.tdb.Path(), Dump::MaskInsertTimes));
  }

  int gravadas = 0, recusadas = 0;

 private:
  Grava grava_;
  Lado<R> literal_{false, "ins-literal"}, ligado_{true, "ins-ligada"};
};

template <class F>
Grava Capturando(F escreve) {
  return [escreve](TConversao& r) -> std::string {
    try {
      escreve(r);
      return "ok";
    } catch (const EDatabaseError& e) {
      return std::string("erro: ") + e.what();
    }
  };
}

const UString kForaDoWin1252 = u"中";

}  // namespace

TEST(InsercaoLigada, Clientes) {
  Comparacao<TConverteCliente> c([](TConversao& r) {
    auto& cli = static_cast<TConverteCliente&>(r);
    cli.ExecutaSql(1);
    return cli.ErroGravacao().empty() ? std::string("ok") : "erro: " + UToUtf8(cli.ErroGravacao());
  });
  auto base = [](int n) {
    return [n](TConverteCliente& r) {
      r.SetCodCliente(IntToU(n));
      r.SetNome(u"Cliente " + IntToU(n));
    };
  };
  c.Linha("plain", base(1));
  c.Linha("quotes and accents", [&](TConverteCliente& r) {
    base(2)(r);
    r.SetNomeFantasia(u"D'Ávila \"Irmãos\"; O''Neil");
    r.SetDT_Nascimento(u"25/12/1980");
  });
  c.Linha("fourteen-digit code", [&](TConverteCliente& r) { base(3)(r); r.SetCodCliente(u"12.345.678/0001-90"); });
  c.Linha("a date the engine refuses", [&](TConverteCliente& r) { base(4)(r); r.SetDT_Cadastro(u"31/02/2013"); });
  c.Linha("birth date of year 0", [&](TConverteCliente& r) { base(5)(r); r.SetDT_Nascimento(u"01/01/0000"); });
  c.Linha("a character WIN1252 lacks", [&](TConverteCliente& r) { base(6)(r); r.SetNome(kForaDoWin1252); });
  c.Linha("repeated code", base(1));
  c.Linha("after the failures", base(7));
  c.MesmasTabelas();
  EXPECT_EQ(c.gravadas, 4);
  EXPECT_EQ(c.recusadas, 4);
}

TEST(InsercaoLigada, FornecedoresEFabricantes) {
  Comparacao<TConverteFornece> f(Capturando([](TConversao& r) { static_cast<TConverteFornece&>(r).GravaFornecedor(); }));
  auto fornecedor = [](const char16_t* codigo, const UString& nome) {
    return [=](TConverteFornece& r) {
      r.SetCodFornec(codigo);
      r.SetNome(nome);
      r.SetCgcCpf(u"12.345.678/0001-90");
      r.SetEstado(u"MG");
    };
  };
  f.Linha("plain", fornecedor(u"1", u"Fornecedor Um"));
  f.Linha("apostrophes", fornecedor(u"2", u"D'Ávila"));
  f.Linha("a character WIN1252 lacks", fornecedor(u"3", kForaDoWin1252));
  f.Linha("repeated code", fornecedor(u"1", u"Outro"));
  f.MesmasTabelas();
  EXPECT_EQ(f.gravadas, 2);
  EXPECT_EQ(f.recusadas, 2);

  Comparacao<TFabricante> m([](TConversao& r) {
    auto& fab = static_cast<TFabricante&>(r);
    fab.GravaFabr();
    return fab.Gravou() ? std::string("ok") : "erro: " + UToUtf8(fab.ErroGravacao());
  });
  auto fabricante = [](const char16_t* codigo, const UString& nome) {
    return [=](TFabricante& r) {
      r.setCodFabric(codigo);
      r.setDescricao(nome);
    };
  };
  m.Linha("plain", fabricante(u"1", u"ACME"));
  m.Linha("quote", fabricante(u"2", u"O'Brien"));
  m.Linha("a character WIN1252 lacks", fabricante(u"3", kForaDoWin1252));
  m.Linha("repeated code", fabricante(u"1", u"De novo"));
  m.MesmasTabelas();
  EXPECT_EQ(m.gravadas, 2);
  EXPECT_EQ(m.recusadas, 2);
}

TEST(InsercaoLigada, ProdutoECompanheiros) {
  const double enorme = 1.7976931348623157e308;  // 15 digits round it beyond any double
  Comparacao<TConverteProduto> p(Capturando([](TConversao& r) { static_cast<TConverteProduto&>(r).ExecutaSql(); }));
  auto produto = [](const char16_t* codigo) {
    return [=](TConverteProduto& r) {
      r.LimpaVariavel();  // a refused row is not reset
      r.SetCodProd(codigo);
      r.SetDescricao(u"Parafuso d'água");
      r.SetPreco(12.5);
    };
  };
  p.Linha("plain", produto(u"1"));
  p.Linha("every date", [&](TConverteProduto& r) {
    produto(u"2")(r);
    r.SetDt_Cadastro(u"21.05.2013");
    r.SetData_Ult_Ent(EncodeDate(2020, 2, 29));
    r.SetData_Ult_Rea(EncodeDate(1, 1, 1));
    r.SetData_Ult_Alteracao(EncodeDate(9999, 12, 31));
  });
  p.Linha("registration date the engine refuses", [&](TConverteProduto& r) {
    produto(u"3")(r);
    r.SetDt_Cadastro(u"31.02.2013");
  });
  p.Linha("a price out of range", [&](TConverteProduto& r) { produto(u"4")(r); r.SetPreco(enorme); });
  p.Linha("a price too small to keep", [&](TConverteProduto& r) { produto(u"5")(r); r.SetPreco(4.9e-324); });
  p.Linha("no number at all", [&](TConverteProduto& r) {
    produto(u"6")(r);
    r.SetPreco(std::numeric_limits<double>::quiet_NaN());
  });
  p.Linha("negative and tiny", [&](TConverteProduto& r) { produto(u"7")(r); r.SetPreco(-1.5e-7); });
  p.Linha("repeated code", produto(u"1"));
  p.MesmasTabelas();
  EXPECT_EQ(p.gravadas, 3);
  EXPECT_EQ(p.recusadas, 5);

  Comparacao<TConverteCompProd> c(Capturando([](TConversao& r) { static_cast<TConverteCompProd&>(r).ExecutaSql(1); }));
  // The record is not reset after a row: each sets what it needs.
  auto comp = [](const char16_t* codigo, const char16_t* empresa, double custo) {
    return [=](TConverteCompProd& r) {
      r.SetCodProd(codigo);
      r.SetCodEmpresa(empresa);
      r.SetPrecoCusto(custo);
    };
  };
  c.Linha("plain", comp(u"1", u"00", 0.1));
  c.Linha("out of range", comp(u"2", u"00", -enorme));
  c.Linha("company longer than its column", comp(u"3", u"000", 1));
  c.Linha("repeated", comp(u"1", u"00", 2));
  c.Linha("after the failures", comp(u"4", u"00", 3));
  c.MesmasTabelas();
  EXPECT_EQ(c.gravadas, 2);
  EXPECT_EQ(c.recusadas, 3);

  Comparacao<TConverteProdutoDetalhe> d(
      Capturando([](TConversao& r) { static_cast<TConverteProdutoDetalhe&>(r).ExecutaSql(); }));
  d.Linha("plain", [](TConverteProdutoDetalhe& r) { r.SetCODPROD(u"1"); r.SetCODCSOSN(u"101"); });
  d.Linha("extreme integers", [](TConverteProdutoDetalhe& r) {
    r.SetCODPROD(u"2");
    r.SetCODPROMOCAO(std::numeric_limits<std::int32_t>::min());
    r.SetPRECOMAXVENDA(1e-300);
  });
  d.Linha("out of range", [&](TConverteProdutoDetalhe& r) { r.SetCODPROD(u"3"); r.SetPRECOMAXVENDA(enorme); });
  d.Linha("CSOSN longer than its column", [](TConverteProdutoDetalhe& r) {
    r.SetCODPROD(u"4");
    r.SetCODCSOSN(u"12345");
  });
  // Dialect 1 reads -2147483648 as a double, which an integer column takes only
  // from the text: that row runs as it.
  d.MesmasTabelas(1);
  EXPECT_EQ(d.gravadas, 2);
  EXPECT_EQ(d.recusadas, 2);
}
