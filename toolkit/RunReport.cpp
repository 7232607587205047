#include "toolkit/RunReport.h"

void RunReport::Begin(const UString& kind) {
  KindReport k;
  k.kind = kind;
  kinds_.push_back(std::move(k));
}

KindReport& RunReport::cur() {
  if (kinds_.empty()) Begin(u"?");
  return kinds_.back();
}

void RunReport::Skipped(long long row, const UString& code, const UString& rule) {
  KindReport& k = cur();
  k.skipped += 1;
  if (listener_) listener_(k.kind, Outcome::Skipped, RowNote{row, code, rule});
}

void RunReport::Rejected(long long row, const UString& code, const UString& why) {
  KindReport& k = cur();
  k.rejected += 1;
  k.rejections.push_back(RowNote{row, code, why});
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

UString DescreveRejeicao(const RowNote& n) { return u"código " + n.code + u": " + n.what; }
