#pragma once
// Reads an insert statement back into its (column, value) pairs, so tests can check
// which value goes to which column whatever the blanks between them.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/Text.h"

namespace insercao {

using Pares = std::vector<std::pair<std::string, std::string>>;

inline std::string Apara(const std::string& s) {
  const auto b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}

// "Insert Into T (c1, c2) Values (v1, v2)": fails the test when the text is not of
// that form (an unbalanced quote, a missing parenthesis, text after the end, more or
// fewer values than columns).
inline Pares Le(const UString& sql) {
  const std::string s = UToUtf8(sql);
  Pares out;
  const auto abre = s.find('(');
  const auto fecha = s.find(')', abre);
  if (abre == std::string::npos || fecha == std::string::npos) {
    ADD_FAILURE() << "no column list: " << s;
    return out;
  }
  std::vector<std::string> colunas;
  std::string atual;
  for (std::size_t i = abre + 1; i < fecha; ++i) {
    if (s[i] == ',') {
      colunas.push_back(Apara(atual));
      atual.clear();
    } else {
      atual.push_back(s[i]);
    }
  }
  colunas.push_back(Apara(atual));

  std::string resto = s.substr(fecha + 1);
  const auto values = resto.find("Values");
  const auto abreV = resto.find('(', values);
  if (values == std::string::npos || abreV == std::string::npos ||
      !Apara(resto.substr(0, values)).empty() || !Apara(resto.substr(values + 6, abreV - values - 6)).empty()) {
    ADD_FAILURE() << "no Values list: " << s;
    return out;
  }
  std::vector<std::string> valores;
  atual.clear();
  bool aspas = false, fechou = false;
  std::size_t i = abreV + 1;
  for (; i < resto.size(); ++i) {
    const char c = resto[i];
    if (c == '\'') aspas = !aspas;
    if (!aspas && (c == ',' || c == ')')) {
      valores.push_back(Apara(atual));
      atual.clear();
      if (c == ')') {
        fechou = true;
        break;
      }
    } else {
      atual.push_back(c);
    }
  }
  if (!fechou || !Apara(resto.substr(i + 1)).empty()) {
    ADD_FAILURE() << "Values list not closed, or text after it: " << s;
    return out;
  }
  if (valores.size() != colunas.size()) {
    ADD_FAILURE() << colunas.size() << " columns, " << valores.size() << " values: " << s;
    return out;
  }
  for (std::size_t k = 0; k < colunas.size(); ++k) {
    if (colunas[k].empty() || valores[k].empty()) ADD_FAILURE() << "empty column or value " << k << ": " << s;
    out.emplace_back(colunas[k], valores[k]);
  }
  return out;
}

inline std::vector<std::string> Colunas(const Pares& p) {
  std::vector<std::string> out;
  for (const auto& [c, v] : p) out.push_back(c);
  return out;
}

inline std::string Valor(const Pares& p, const std::string& coluna) {
  for (const auto& [c, v] : p)
    if (c == coluna) return v;
  return "<absent>";
}

}  // namespace insercao
