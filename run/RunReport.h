#pragma once
// What a run did, kind by kind: rows read from the source, written to the target,
// skipped by a rule of the converter, and rejected by the target (with the reason).
// The converters report into the report in force; the console prints it.
#include <vector>

#include "platform/Text.h"

struct KindReport {
  UString kind;  // "Grupos de produtos", ...
  long long read = 0;
  long long written = 0;
  long long skipped = 0;
  long long rejected = 0;
  std::vector<UString> rejections;  // one line per rejected row
};

class RunReport {
 public:
  void Clear() { kinds_.clear(); }
  // Starts the section of one kind; the calls below count into it.
  void Begin(const UString& kind);
  void Read(long long n = 1) { cur().read += n; }
  void Written(long long n = 1) { cur().written += n; }
  void Skipped(long long n = 1) { cur().skipped += n; }
  void Rejected(const UString& why) {
    cur().rejected += 1;
    cur().rejections.push_back(why);
  }
  const std::vector<KindReport>& Kinds() const { return kinds_; }
  long long TotalRejected() const;

  // The report of the run going on (one per process).
  static RunReport& Current();

 private:
  KindReport& cur();
  std::vector<KindReport> kinds_;
};
