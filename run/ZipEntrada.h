#pragma once
// Reads one member of a zip file (a workbook is one): enough to tell a report this
// program wrote from any other spreadsheet before it is replaced.
#include <string>

// Puts the member `nome` of the zip at `caminho`, uncompressed, into `conteudo`.
// False when the file is no zip, has no such member, or the member is larger than a
// workbook's index ever is (a megabyte).
bool LeEntradaZip(const std::string& caminho, const std::string& nome, std::string& conteudo);
