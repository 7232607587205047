#pragma once
// The user and password the target is opened with when the operator names none:
// ISC_USER and ISC_PASSWORD from the environment, as every Firebird tool takes them
// (an empty variable counts as not set), else SYSDBA and the password the Norvale
// installations are set up with. Only read: nothing of it is ever kept on disk.
#include "platform/Text.h"

struct Credenciais {
  UString usuario;
  UString senha;
};

Credenciais CredenciaisPadrao();
