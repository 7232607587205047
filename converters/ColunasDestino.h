#pragma once
// The columns each target table gets from a run, as the record classes' statements
// name them: what a target must have for a kind to be written into it. A column
// added to a statement goes here too.
#include <vector>

#include "platform/Text.h"

// The columns written into `tabela` (letter case aside); none for a table no kind writes.
const std::vector<const char16_t*>& ColunasDestino(const UString& tabela);
