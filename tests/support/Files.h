#pragma once
// Small file helpers shared by the test support.
#include <string>

// The whole file; empty when it cannot be read.
std::string Slurp(const std::string& path);

// A short hex digest (FNV-1a, 64 bits) of `data`: names cached files after what
// made them, so a change to the recipe makes a new one.
std::string Fingerprint(const std::string& data);
