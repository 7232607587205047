#pragma once
// The report of every source row that was not written, one line per row, written as
// the run goes. Its columns, in this order (README, "Relatório"):
//   Tipo; Registro no arquivo; Código no TOLV; Código no Norvale; Nome ou descrição;
//   Ocorrência; Motivo
// The file's name decides its form: ".xlsx" a spreadsheet whose codes are text
// cells ("0502" stays "0502" whatever the spreadsheet's settings), anything else a
// CSV file. Either is written beside its place under a name of its own and renamed
// into place when it is closed, so a run that fails or is killed never leaves half a
// report over an earlier one.
#include <memory>
#include <string>
#include <vector>

#include "toolkit/RunReport.h"

class Relatorio {
 public:
  virtual ~Relatorio() = default;
  virtual void Linha(const UString& tipo, RunReport::Outcome o, const RowNote& n) = 0;
  // The reconciliation table of the run, after the rows: in the CSV file a section of
  // its own below them, in the spreadsheet a sheet of its own.
  void Conferencia(const RunReport& r);

  // Writes out, closes and puts the file in its place (replacing an earlier report);
  // throws EConversao when something could not be written.
  virtual void Fecha() = 0;
  // Drops what was written: an earlier report at the place stays as it was.
  virtual void Descarta() = 0;

  // The header's texts, in the columns' order.
  static const std::vector<const char*>& Colunas();
  // The text fields of one line in the columns' order; the record number (the second
  // column) is left for the writer, which keeps it a number.
  static std::vector<UString> Campos(const UString& tipo, RunReport::Outcome o, const RowNote& n);

  // The reconciliation table as the report writes it: its title, header and lines
  // (no line when no kind was reconciled).
  static const char* TituloConferencia() { return "Conferência com a origem"; }
  static const std::vector<const char*>& ColunasConferencia();
  static std::vector<std::vector<UString>> LinhasConferencia(const RunReport& r);

  // The file at `caminho` is a report this program wrote, in the form its name asks for.
  static bool EhRelatorio(const std::string& caminho);

 protected:
  // A table of its own after the rows: its title, header and lines.
  virtual void Secao(const char* titulo, const std::vector<const char*>& colunas,
                     const std::vector<std::vector<UString>>& linhas) = 0;
  // Creates an empty file in the folder of `caminho`, named after it, with the
  // permissions of an ordinary new file; sets `temporario` to its path and returns
  // its descriptor. Throws EConversao with the reason when it cannot.
  static int CriaAoLado(const std::string& caminho, std::string& temporario);
};

// Creates (or replaces) the report at `caminho`, in the form its name asks for;
// throws EConversao with the reason when it cannot be created.
std::unique_ptr<Relatorio> AbreRelatorio(const std::string& caminho);
