#pragma once
// The inspection of a legacy folder as the operator reads it: what each converter
// would find there. The console prints it; the window shows the same text.
#include <string>

struct TextoExame {
  std::string texto;  // lines ending in "\n"
  int status = 0;     // 0 when every table found could be read in full, 1 otherwise
};

TextoExame DescreveExame(const std::string& pasta);

// Prints the inspection of the folder; returns its status.
int ImprimeExame(const std::string& pasta);
