#include "toolkit/RunReport.h"

#include <cmath>

void RunReport::Begin(const UString& kind) {
  KindReport k;
  k.kind = kind;
  kinds_.push_back(std::move(k));
}

KindReport& RunReport::cur() {
  if (kinds_.empty()) Begin(u"?");
  return kinds_.back();
}

void RunReport::Skipped(RowNote note) {
  KindReport& k = cur();
  k.skipped += 1;
  if (listener_) listener_(k.kind, Outcome::Skipped, note);
}

void RunReport::Rejected(RowNote note) {
  KindReport& k = cur();
  k.rejected += 1;
  k.rejections.push_back(std::move(note));
  if (listener_) listener_(k.kind, Outcome::Rejected, k.rejections.back());
}

long long RunReport::TotalRejected() const {
  long long n = 0;
  for (const auto& k : kinds_) n += k.rejected;
  return n;
}

long long RunReport::TotalRepeated() const {
  long long n = 0;
  for (const auto& k : kinds_) n += k.repeated;
  return n;
}

void RunReport::Repeated(const UString& kind, long long n) {
  for (auto& k : kinds_)
    if (k.kind == kind) k.repeated += n;
}

void SomaOrigem::Soma(double v) {
  bruto += v;
  if (escala < 0) return;
  // Rounded half away from zero, as the engine stores a double in a scaled column.
  unidades += std::llround(v * std::pow(10.0, escala));
}

UString DescreveRejeicao(const RowNote& n) {
  UString s = u"registro " + IntToU(n.row) + u" (código " + n.code;
  if (!n.derived.empty() && n.derived != n.code) s += u", no Norvale " + n.derived;
  if (!n.name.empty()) s += u", " + n.name;
  // One line per row, in a box as in the summary.
  UString what = n.what;
  for (char16_t& c : what)
    if (c == u'\r' || c == u'\n') c = u' ';
  return s + u"): " + what;
}
