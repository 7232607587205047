// The code page of a table's text: named by a `.cpg` file beside it, declared by the
// language driver byte of its header, or, failing both, guessed from the text itself.
#include <algorithm>
#include <fstream>
#include <sstream>

#include "platform/Error.h"
#include "platform/dbase/Bytes.h"
#include "platform/dbase/DbfTable.h"

namespace dbase {

using bytes::hex;

namespace {

// How many bytes beyond ASCII the code-page guess reads at most: enough to see how
// the table reads as a whole, not only its first names.
constexpr std::uint64_t kEvidenceBytes = 16384;

}  // namespace

CodePage Table::Cp() const {
  if (!cp_) DecideCodePage();
  return *cp_;
}

const std::string& Table::CpSource() const {
  if (!cp_) DecideCodePage();
  return cpSource_;
}

bool Table::CpGuessIsClose() const {
  if (!cp_) DecideCodePage();
  return cpClose_;
}

void Table::DecideCodePage() const {
  if (!cpgPath_.empty()) {
    std::ifstream in(cpgPath_, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    const std::string text = ss.str();
    std::optional<CodePage> cp = CodePageFromCpg(text);
    if (!cp) {
      std::string shown = text.substr(0, 40);
      while (!shown.empty() && static_cast<unsigned char>(shown.back()) <= ' ') shown.pop_back();
      throw ESourceError("O arquivo \"" + cpgPath_ + "\" da " + TableText() + " indica o código de página \"" +
                         shown + "\", que este leitor não conhece (conhece 437, 850, 860, 1252 e UTF-8).");
    }
    cp_ = *cp;
    cpSource_ = "arquivo .cpg";
    return;
  }
  std::optional<CodePage> declared = CodePageFromLanguageDriver(ldid_);
  if (declared && *declared != CodePage::Cp437) {
    cp_ = *declared;
    cpSource_ = "byte de idioma " + hex(ldid_);
    return;
  }
  // Gather the evidence of the character fields, record by record, until enough
  // letters beyond ASCII have been seen.
  CodePageEvidence ev;
  const std::uint8_t* d = dbf_.Data();
  for (std::uint32_t rec = 0; rec < count_ && ev.highBytes < kEvidenceBytes; ++rec) {
    const std::uint64_t off = headerLen_ + static_cast<std::uint64_t>(rec) * recLen_;
    const std::uint64_t avail = std::min<std::uint64_t>(recLen_, dbf_.Size() - off);
    for (const Field& f : fields_) {
      if (f.type != 'C' || (f.flags & 0x04) || f.offset + f.length > avail) continue;
      ev.Add(d + off + f.offset, f.length);
    }
    dbf_.Touch();  // the mapping, whatever record is being visited
  }
  if (declared) {
    cp_ = CheckCp437(ev);
    cpSource_ = *cp_ == CodePage::Cp437 ? "byte de idioma " + hex(ldid_)
                                        : "byte de idioma " + hex(ldid_) + " (cp437) corrigido pelo texto";
    return;
  }
  const CodePageGuess g = GuessCodePageOf(ev);
  cp_ = g.cp;
  cpClose_ = g.close;
  cpSource_ = ldid_ ? "estimado pelo texto (byte de idioma " + hex(ldid_) + " desconhecido)" : "estimado pelo texto";
  if (g.close) cpSource_ += std::string(" por pouco (") + CodePageName(g.runnerUp) + " leria quase tão bem)";
}

}  // namespace dbase
