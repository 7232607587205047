// Placeholder; the implementation over fbclient lands here.
#include "platform/firebird/Firebird.h"
