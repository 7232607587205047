#include "run/RelatorioPlanilha.h"

#include <xlsxwriter.h>

#include <cstdio>

#include "platform/Error.h"

namespace {

// A line break inside a cell is kept; the rest of the text goes as it is: a text
// cell is never read as a formula.
std::string Texto(const UString& v) { return UToUtf8(v); }

}  // namespace

RelatorioPlanilha::RelatorioPlanilha(const std::string& caminho) : caminho_(caminho) {
  lxw_workbook_options opcoes = {};
  opcoes.constant_memory = LXW_TRUE;  // rows go to a temporary file as they come
  livro_ = workbook_new_opt(caminho.c_str(), &opcoes);
  if (livro_) folha_ = workbook_add_worksheet(livro_, "Registros não gravados");
  if (!livro_ || !folha_)
    throw EConversao("Não foi possível criar o relatório \"" + caminho + "\".");
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

RelatorioPlanilha::~RelatorioPlanilha() {
  // Not closed (a run that threw): nothing half written is left under the name.
  if (livro_) {
    workbook_close(livro_);
    std::remove(caminho_.c_str());
  }
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

void RelatorioPlanilha::Fecha() {
  if (!livro_) return;
  const lxw_error r = workbook_close(livro_);
  livro_ = nullptr;
  if (falhou_ || r != LXW_NO_ERROR)
    throw EConversao("Não foi possível gravar o relatório \"" + caminho_ + "\" por inteiro" +
                     (r != LXW_NO_ERROR ? std::string(": ") + lxw_strerror(r) : std::string()) + ".");
}
