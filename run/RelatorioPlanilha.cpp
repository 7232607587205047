#include "run/RelatorioPlanilha.h"

#include <xlsxwriter.h>

#include <unistd.h>

#include <cstdio>

#include "platform/Error.h"
#include "run/ZipEntrada.h"

namespace {

// A line break inside a cell is kept; the rest of the text goes as it is: a text
// cell is never read as a formula.
std::string Texto(const UString& v) { return UToUtf8(v); }

const char* const kFolha = "Registros não gravados";

}  // namespace

bool RelatorioPlanilha::EhRelatorio(const std::string& caminho) {
  std::string livro;
  return LeEntradaZip(caminho, "xl/workbook.xml", livro) &&
         livro.find("name=\"" + std::string(kFolha) + "\"") != std::string::npos;
}

RelatorioPlanilha::RelatorioPlanilha(const std::string& caminho) : caminho_(caminho) {
  // The workbook is written at its close into the file made here beside its place,
  // which keeps the permissions it was given.
  close(CriaAoLado(caminho, temporario_));
  lxw_workbook_options opcoes = {};
  opcoes.constant_memory = LXW_TRUE;  // rows go to a temporary file as they come
  livro_ = workbook_new_opt(temporario_.c_str(), &opcoes);
  if (livro_) folha_ = workbook_add_worksheet(livro_, kFolha);
  if (!livro_ || !folha_) {
    Descarta();
    throw EConversao("Não foi possível criar o relatório \"" + caminho + "\".");
  }
  texto_ = workbook_add_format(livro_);
  format_set_num_format(texto_, "@");  // typed over later, a code still stays text
  lxw_format* negrito = workbook_add_format(livro_);
  format_set_bold(negrito);
  const std::vector<const char*>& colunas = Colunas();
  const double larguras[] = {22, 12, 16, 16, 40, 12, 80};
  for (lxw_col_t c = 0; c < colunas.size(); ++c) {
    worksheet_set_column(folha_, c, c, larguras[c], c == 1 ? nullptr : texto_);
    worksheet_write_string(folha_, 0, c, colunas[c], negrito);
  }
  linha_ = 1;
}

RelatorioPlanilha::~RelatorioPlanilha() { Descarta(); }

void RelatorioPlanilha::Descarta() {
  if (livro_) workbook_close(livro_);
  livro_ = nullptr;
  if (!temporario_.empty()) std::remove(temporario_.c_str());
  temporario_.clear();
}

void RelatorioPlanilha::Linha(const UString& tipo, RunReport::Outcome o, const RowNote& n) {
  if (!livro_) return;
  const std::vector<UString> campos = Campos(tipo, o, n);
  for (lxw_col_t c = 0; c < campos.size(); ++c) {
    lxw_error r = c == 1 ? worksheet_write_number(folha_, linha_, c, static_cast<double>(n.row), nullptr)
                         : worksheet_write_string(folha_, linha_, c, Texto(campos[c]).c_str(), texto_);
    if (r != LXW_NO_ERROR) falhou_ = true;
  }
  ++linha_;
}

void RelatorioPlanilha::Secao(const char* titulo, const std::vector<const char*>& colunas,
                              const std::vector<std::vector<UString>>& linhas) {
  if (!livro_) return;
  lxw_worksheet* folha = workbook_add_worksheet(livro_, titulo);
  if (!folha) {
    falhou_ = true;
    return;
  }
  const double larguras[] = {22, 10, 50, 16, 16, 14, 24};
  for (lxw_col_t c = 0; c < colunas.size(); ++c) {
    worksheet_set_column(folha, c, c, c < 7 ? larguras[c] : 16, texto_);
    if (worksheet_write_string(folha, 0, c, colunas[c], nullptr) != LXW_NO_ERROR) falhou_ = true;
  }
  for (lxw_row_t l = 0; l < linhas.size(); ++l)
    for (lxw_col_t c = 0; c < linhas[l].size(); ++c)
      if (worksheet_write_string(folha, l + 1, c, Texto(linhas[l][c]).c_str(), texto_) != LXW_NO_ERROR) falhou_ = true;
}

void RelatorioPlanilha::Fecha() {
  if (!livro_) return;
  const lxw_error r = workbook_close(livro_);
  livro_ = nullptr;
  const bool ok = !falhou_ && r == LXW_NO_ERROR && std::rename(temporario_.c_str(), caminho_.c_str()) == 0;
  if (ok) temporario_.clear();
  if (!ok) {
    Descarta();
    throw EConversao("Não foi possível gravar o relatório \"" + caminho_ + "\" por inteiro" +
                     (r != LXW_NO_ERROR ? std::string(": ") + lxw_strerror(r) : std::string()) + ".");
  }
}
