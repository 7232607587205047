#include "platform/dbase/DbfSql.h"

#include <string>

#include "platform/Error.h"

namespace dbase {

namespace {

enum class Tok { End, Name, Param, Text, Comma, Dot, Equals, Semicolon, Other };

struct Token {
  Tok kind = Tok::End;
  UString text;         // name, parameter name or literal text
  std::size_t pos = 0;  // 1-based
  std::size_t len = 0;  // characters in the statement
};

bool nameStart(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_'; }
bool nameChar(char16_t c) { return nameStart(c) || (c >= u'0' && c <= u'9'); }
bool blank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f' || c == u'\v'; }

class Parser {
 public:
  explicit Parser(std::u16string_view sql) : sql_(sql) { Advance(); }

  Statement Parse() {
    Statement st;
    Keyword(u"SELECT");
    st.columns.push_back(Column());
    while (tok_.kind == Tok::Comma) {
      Advance();
      st.columns.push_back(Column());
    }
    Keyword(u"FROM");
    if (tok_.kind != Tok::Name) Fail("o nome de uma tabela depois de FROM");
    st.table = tok_.text;
    Advance();
    if (IsKeyword(u"WHERE")) {
      Advance();
      st.where.push_back(Cond(st));
      while (IsKeyword(u"AND")) {
        Advance();
        st.where.push_back(Cond(st));
      }
    }
    if (IsKeyword(u"ORDER")) {
      Advance();
      Keyword(u"BY");
      st.orderBy = Column();
      if (IsKeyword(u"ASC")) Advance();
      else if (IsKeyword(u"DESC")) Fail("ASC (a ordem decrescente não é aceita)");
    }
    if (tok_.kind == Tok::Semicolon) Advance();
    if (tok_.kind != Tok::End) {
      if (IsKeyword(u"WHERE") || IsKeyword(u"ORDER")) Fail("o fim do comando (WHERE e ORDER BY vão nesta ordem, uma vez cada)");
      if (tok_.kind == Tok::Comma && st.orderBy) Fail("o fim do comando (ORDER BY aceita uma só coluna)");
      if (IsKeyword(u"OR")) Fail("AND ou o fim do comando (OR não é aceito)");
      Fail("o fim do comando");
    }
    return st;
  }

 private:
  ColumnRef Column() {
    if (tok_.kind == Tok::Other && tok_.text == u"*") Fail("o nome de uma coluna (SELECT * não é aceito)");
    if (tok_.kind != Tok::Name || IsReserved()) Fail("o nome de uma coluna");
    ColumnRef c;
    c.pos = tok_.pos;
    c.name = tok_.text;
    Advance();
    if (tok_.kind == Tok::Dot) {
      Advance();
      if (tok_.kind != Tok::Name) Fail("o nome de uma coluna depois de \"" + UToUtf8(c.name) + ".\"");
      c.table = c.name;
      c.name = tok_.text;
      Advance();
    }
    return c;
  }

  Condition Cond(Statement& st) {
    Condition c;
    c.column = Column();
    if (tok_.kind == Tok::Equals) {
      Advance();
      if (tok_.kind == Tok::Param) {
        c.op = Condition::EqualsParam;
        c.value = tok_.text;
        bool seen = false;
        for (const UString& p : st.params) seen = seen || SameTextAscii(p, c.value);
        if (!seen) st.params.push_back(c.value);
      } else if (tok_.kind == Tok::Text) {
        c.op = Condition::EqualsText;
        c.value = tok_.text;
      } else if (tok_.kind == Tok::Other && tok_.text == u"'") {
        Fail("um parâmetro (:NOME) ou um texto entre aspas duplas (o apóstrofo não é aceito)");
      } else {
        Fail("um parâmetro (:NOME) ou um texto entre aspas duplas depois de \"=\"");
      }
      Advance();
      return c;
    }
    if (IsKeyword(u"IS")) {
      Advance();
      if (IsKeyword(u"NOT")) Fail("NULL (IS NOT NULL não é aceito)");
      Keyword(u"NULL");
      c.op = Condition::IsNull;
      return c;
    }
    Fail("\"=\" ou IS NULL depois da coluna \"" + UToUtf8(c.column.name) + "\"");
  }

  bool IsKeyword(const char16_t* kw) const { return tok_.kind == Tok::Name && SameTextAscii(tok_.text, kw); }
  bool IsReserved() const {
    for (const char16_t* kw : {u"SELECT", u"FROM", u"WHERE", u"AND", u"OR", u"IS", u"NULL", u"NOT", u"ORDER", u"BY",
                               u"ASC", u"DESC"})
      if (IsKeyword(kw)) return true;
    return false;
  }
  void Keyword(const char16_t* kw) {
    if (!IsKeyword(kw)) Fail(UToUtf8(kw));
    Advance();
  }

  [[noreturn]] void Fail(const std::string& expected) const {
    std::string found;
    if (tok_.kind == Tok::End) found = "o fim do comando";
    else found = "\"" + UToUtf8(sql_.substr(tok_.pos - 1, tok_.len)) + "\" (posição " + std::to_string(tok_.pos) + ")";
    throw ESourceError("Comando SQL não entendido: esperado " + expected + ", encontrado " + found + ", em: " +
                       UToUtf8(sql_));
  }

  void Advance() {
    while (i_ < sql_.size() && blank(sql_[i_])) ++i_;
    tok_ = Token();
    tok_.pos = i_ + 1;
    if (i_ >= sql_.size()) {
      tok_.kind = Tok::End;
      return;
    }
    const std::size_t start = i_;
    const char16_t c = sql_[i_];
    if (nameStart(c)) {
      while (i_ < sql_.size() && nameChar(sql_[i_])) ++i_;
      tok_.kind = Tok::Name;
      tok_.text = UString(sql_.substr(start, i_ - start));
    } else if (c == u':') {
      ++i_;
      const std::size_t b = i_;
      while (i_ < sql_.size() && nameChar(sql_[i_])) ++i_;
      if (b == i_ || !nameStart(sql_[b])) {
        tok_.kind = Tok::Other;
        tok_.text = u":";
        tok_.len = 1;
        i_ = start + 1;
        Fail("o nome de um parâmetro depois de \":\"");
      }
      tok_.kind = Tok::Param;
      tok_.text = UString(sql_.substr(b, i_ - b));
    } else if (c == u'"') {
      ++i_;
      UString text;
      for (;;) {
        if (i_ >= sql_.size()) {
          tok_.kind = Tok::Other;
          tok_.len = sql_.size() - start;
          Fail("o fim de um texto entre aspas (\" de fechamento)");
        }
        if (sql_[i_] == u'"') {
          if (i_ + 1 < sql_.size() && sql_[i_ + 1] == u'"') {
            text.push_back(u'"');
            i_ += 2;
            continue;
          }
          ++i_;
          break;
        }
        text.push_back(sql_[i_++]);
      }
      tok_.kind = Tok::Text;
      tok_.text = std::move(text);
    } else {
      ++i_;
      tok_.text = UString(1, c);
      switch (c) {
        case u',': tok_.kind = Tok::Comma; break;
        case u'.': tok_.kind = Tok::Dot; break;
        case u'=': tok_.kind = Tok::Equals; break;
        case u';': tok_.kind = Tok::Semicolon; break;
        default: tok_.kind = Tok::Other; break;
      }
    }
    tok_.len = i_ - start;
  }

  std::u16string_view sql_;
  std::size_t i_ = 0;
  Token tok_;
};

}  // namespace

Statement ParseStatement(std::u16string_view sql) {
  Parser p(sql);
  return p.Parse();
}

}  // namespace dbase
