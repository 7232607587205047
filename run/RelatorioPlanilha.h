#pragma once
// The row report as a real spreadsheet (.xlsx, one sheet): every code a text cell,
// so no spreadsheet turns "0502" into 502 or "12.345" into twelve thousand; the
// record number a number cell. Written by libxlsxwriter when it is closed.
#include <string>
#include <vector>

#include "run/Relatorio.h"

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

class RelatorioPlanilha final : public Relatorio {
 public:
  explicit RelatorioPlanilha(const std::string& caminho);
  ~RelatorioPlanilha() override;
  RelatorioPlanilha(const RelatorioPlanilha&) = delete;
  RelatorioPlanilha& operator=(const RelatorioPlanilha&) = delete;

  void Linha(const UString& tipo, RunReport::Outcome o, const RowNote& n) override;
  void Fecha() override;
  void Descarta() override;

  // The file at `caminho` is a workbook this program wrote: a zip whose workbook
  // names the one sheet a report has.
  static bool EhRelatorio(const std::string& caminho);

 protected:
  void Secao(const char* titulo, const std::vector<const char*>& colunas,
             const std::vector<std::vector<UString>>& linhas) override;

 private:
  std::string caminho_;
  std::string temporario_;
  lxw_workbook* livro_ = nullptr;
  lxw_worksheet* folha_ = nullptr;
  lxw_format* texto_ = nullptr;
  unsigned linha_ = 0;
  bool falhou_ = false;
};
