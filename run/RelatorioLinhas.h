#pragma once
// The report of every source row that was not written: a CSV file that opens in a
// spreadsheet as a Brazilian user expects (UTF-8 with its byte-order mark, fields
// separated by ';'), one line per row, written as the run goes, so that memory
// stays flat however many rows a rule skips. It is written beside its place under a
// name of its own and renamed into place at the end, so a run that fails or is
// killed never leaves half a report over an earlier one.
#include <cstdio>
#include <string>
#include <vector>

#include "run/Relatorio.h"

class RelatorioLinhas final : public Relatorio {
 public:
  // Creates the file beside `caminho` and writes the header line; throws
  // EConversao with the reason when it cannot be written.
  explicit RelatorioLinhas(const std::string& caminho);
  ~RelatorioLinhas() override;
  RelatorioLinhas(const RelatorioLinhas&) = delete;
  RelatorioLinhas& operator=(const RelatorioLinhas&) = delete;

  void Linha(const UString& tipo, RunReport::Outcome o, const RowNote& n) override;
  // Flushes, closes and puts the file in its place (replacing an earlier report);
  // throws EConversao when something could not be written.
  void Fecha() override;
  void Descarta() override;

  // The file at `caminho` is a CSV report this program wrote (its first line is the header).
  static bool EhRelatorio(const std::string& caminho);

  // One field as the file holds it: quoted when it has ';', '"' or a line break,
  // line breaks folded to blanks, and a leading '=', '+', '@' (or '-' not followed
  // by a digit) disarmed with an apostrophe so a spreadsheet shows legacy text
  // instead of running it as a formula.
  static std::string Campo(const UString& valor);

 protected:
  void Secao(const char* titulo, const std::vector<const char*>& colunas,
             const std::vector<std::vector<UString>>& linhas) override;

 private:
  std::string caminho_;
  std::string temporario_;
  std::FILE* f_ = nullptr;
  bool falhou_ = false;
};
