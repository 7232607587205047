#include "platform/dbase/DbfEngine.h"

#include <cctype>
#include <exception>
#include <filesystem>

#include "platform/dbase/DbfTable.h"

namespace dbase {

namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// A file named like the table (any letter case) is in the folder.
bool ExisteArquivo(const std::string& pasta, const UString& tabela) {
  const std::string nome = Lower(UToUtf8(tabela) + ".dbf");
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(pasta, ec))
    if (Lower(e.path().filename().string()) == nome) return true;
  return false;
}

}  // namespace

std::unique_ptr<SourceQuery> Engine::NewQuery(const FormatSettings& regional) { return NewDbfQuery(*this, regional); }

std::optional<SourceTableInfo> Engine::Describe(const UString& folder, const UString& table) {
  const std::string pasta = UToUtf8(folder);
  if (!ExisteArquivo(pasta, table)) return std::nullopt;
  // Two files that differ only by letter case, an unreadable file: errors.
  const std::string arquivo = FindTableFile(pasta, table);
  SourceTableInfo info;
  info.file = std::filesystem::path(arquivo).filename().string();
  try {
    Table t(arquivo, table);
    info.codePage = CodePageName(t.Cp());
    info.codePageSource = t.CpSource();
    info.memo = t.MemoPath().empty() ? "" : std::filesystem::path(t.MemoPath()).filename().string();
    for (const Field& f : t.Fields())
      if (!f.system) info.columns.push_back(f.name);
    t.AdviseSequential();
    for (std::uint32_t rec = 0; rec < t.RecordCount(); ++rec) {
      ++info.records;
      if (!t.IsLive(rec)) ++info.deleted;
    }
  } catch (const std::exception& e) {
    const std::string file = info.file;
    info = SourceTableInfo();
    info.file = file;
    info.error = Utf8ToU(e.what());
  }
  return info;
}

std::vector<UString> Engine::TakeRemarks() {
  std::vector<UString> r;
  for (auto& x : remarks_) r.push_back(std::move(x.second));
  remarks_.clear();
  return r;
}

void Engine::RemarkCloseGuess(const Table& t) {
  for (const auto& r : remarks_)
    if (r.first == t.Path()) return;
  remarks_.emplace_back(t.Path(), u"A tabela " + t.Name() + u" (" + Utf8ToU(t.Path()) + u") foi lida em " +
                                      Utf8ToU(CodePageName(t.Cp())) + u", código de página " +
                                      Utf8ToU(t.CpSource()) + u": confira os acentos.");
}

}  // namespace dbase
