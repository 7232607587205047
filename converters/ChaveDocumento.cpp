#include "converters/ChaveDocumento.h"

#include "converters/Documento.h"
#include "toolkit/classConversao.h"

namespace {

bool EhReceber(const Tipo& tipo) { return SameTextAscii(tipo.chave, u"RECEBER"); }

}  // namespace

bool EhDocumento(const Tipo& tipo) { return EhReceber(tipo) || SameTextAscii(tipo.chave, u"PAGAR"); }

const char16_t* TabelaDocumentos(const Tipo& tipo) { return EhReceber(tipo) ? u"DOCUREC" : u"DOCUPAG"; }

// The same values DocuRecController and DocuPagController hand their records.
ChaveDocumento ChaveDoDocumento(const Tipo& tipo, const SourceQuery& q, const FormatSettings& fs) {
  ChaveDocumento c;
  const bool receber = EhReceber(tipo);
  c.tabela = TabelaDocumentos(tipo);
  c.colunaPessoa = receber ? u"CODCLIENTE" : u"CODFORNEC";
  c.empresa = u"00";
  c.tipoDocto = receber ? u"AV" : u"BO";
  c.numero = SemAspas(q.FieldAsText(u"Numero_Doc"));
  c.pessoa = receber ? SemAspas(TConversao::StrZero(q.FieldAsText(u"CodCli"), 8))
                     : SemAspas(TConversao::StrZero(q.FieldAsText(u"CodFor"), 6));
  c.vencimento = TextoData(q.FieldAsDateTime(u"Vencimento"), fs);
  c.valor = q.FieldAsDouble(u"Valor");
  return c;
}
