#pragma once
// Where the report of rows not written may go. A path typed in a hurry can name the
// target database or a legacy table, and writing a CSV there destroys it; an
// existing file that is not an earlier report may be anything of the operator's.
#include <string>

#include "platform/Text.h"

// Why the report may not be written at `relatorio` for a run from the folder
// `origem` into `destino` (a path or server:path); empty when it may.
UString RecusaRelatorio(const std::string& relatorio, const std::string& origem, const std::string& destino);
