#pragma once
// The check before a run: everything a run of the ticked kinds needs that can be
// known before it starts. A folder without one of the legacy tables, a table
// without a column its converter reads, a target that is not a Norvale database:
// each would stop the run halfway, after minutes of work undone; found here, they
// are named all at once and nothing is touched.
#include <vector>

#include "converters/Tipos.h"
#include "platform/SourceQuery.h"
#include "platform/firebird/Firebird.h"

// Every problem found, one sentence each; empty when the run can start. Reads the
// legacy tables' headers and the target's catalogue (in the connection's
// transaction, started when needed; the caller ends it).
std::vector<UString> VerificaAntes(const std::vector<const Tipo*>& tipos, const UString& origem, SourceEngine& fonte,
                                   fb::Database& destino);
