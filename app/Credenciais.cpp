#include "app/Credenciais.h"

#include <cstdlib>

Credenciais CredenciaisPadrao() {
  Credenciais c{u"SYSDBA", u"ferncrest"};
  if (const char* u = std::getenv("ISC_USER"); u && *u) c.usuario = Utf8ToU(u);
  if (const char* s = std::getenv("ISC_PASSWORD"); s && *s) c.senha = Utf8ToU(s);
  return c;
}
