#pragma once
// What a run did, kind by kind: rows read from the source, written to the target,
// skipped by a rule of the converter, and rejected by the target (with the reason).
// The converters report into the report of their run; the console prints it, and a
// listener (the row report of the console) can follow every row not written as it
// happens, so nothing has to be held for it.
#include <functional>
#include <vector>

#include "platform/Text.h"

// One source row that was not written: its position in the source (1-based, the
// progress count), its legacy code, and the rule that skipped it or the target's
// message that refused it.
struct RowNote {
  long long row = 0;
  UString code;
  UString what;
};

struct KindReport {
  UString kind;  // "Grupos de produtos", ...
  long long read = 0;
  long long written = 0;
  long long skipped = 0;
  long long rejected = 0;
  // Documents written that match one the target already held (same company, type,
  // number, customer or supplier, due date and value): a repeated conversion.
  long long repeated = 0;
  std::vector<RowNote> rejections;  // every row the target refused (few, by nature)
};

class RunReport {
 public:
  enum class Outcome { Skipped, Rejected };
  using Listener = std::function<void(const UString& kind, Outcome, const RowNote&)>;

  void Clear() { kinds_.clear(); }
  // Starts the section of one kind; the calls below count into it.
  void Begin(const UString& kind);
  void Read(long long n = 1) { cur().read += n; }
  void Written(long long n = 1) { cur().written += n; }
  // A row left out by a rule of the converter (a blank name, say).
  void Skipped(long long row, const UString& code, const UString& rule);
  // A row the target refused while the run went on.
  void Rejected(long long row, const UString& code, const UString& why);

  const std::vector<KindReport>& Kinds() const { return kinds_; }
  long long TotalRejected() const;
  long long TotalRepeated() const;
  // Counts documents of the kind `kind` as repeated.
  void Repeated(const UString& kind, long long n);

  // Follows every skipped and rejected row (nullptr: none).
  void SetListener(Listener l) { listener_ = std::move(l); }

 private:
  KindReport& cur();
  std::vector<KindReport> kinds_;
  Listener listener_;
};

// "código 123: the reason" — how a rejected row reads in a box or a summary line.
UString DescreveRejeicao(const RowNote& n);
