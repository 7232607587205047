#pragma once
// The console's inspection of a legacy folder: what each converter would find there.
#include <string>

// Prints the inspection of the folder; returns the exit status (0 when every table
// found could be read in full, 1 otherwise).
int ImprimeExame(const std::string& pasta);
