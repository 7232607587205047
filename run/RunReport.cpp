#include "run/RunReport.h"

void RunReport::Begin(const UString& kind) {
  KindReport k;
  k.kind = kind;
  kinds_.push_back(std::move(k));
}

KindReport& RunReport::cur() {
  if (kinds_.empty()) Begin(u"?");
  return kinds_.back();
}

long long RunReport::TotalRejected() const {
  long long n = 0;
  for (const auto& k : kinds_) n += k.rejected;
  return n;
}

RunReport& RunReport::Current() {
  static RunReport r;
  return r;
}
