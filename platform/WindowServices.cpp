#include "platform/WindowServices.h"

#include <cstdio>

UString MsgTitle(MsgKind kind) {
  switch (kind) {
    case MsgKind::Error: return u"Error";
    case MsgKind::Warning: return u"Warning";
    case MsgKind::Information: return u"Information";
    case MsgKind::Confirmation: return u"Confirm";
  }
  return u"";
}

MsgResult QuietServices::MessageBox(MsgKind kind, const UString& text, MsgButtons buttons) {
  std::fprintf(stderr, "[%s] %s\n", UToUtf8(MsgTitle(kind)).c_str(), UToUtf8(text).c_str());
  return buttons == MsgButtons::OK ? MsgResult::OK : MsgResult::Yes;
}

void QuietServices::ShowError(const UString& text) { std::fprintf(stderr, "[Error] %s\n", UToUtf8(text).c_str()); }

void ProgressBar::SetMax(int max) {
  max_ = max < 0 ? 0 : max;
  if (position_ > max_) position_ = max_;
  Changed();
}

void ProgressBar::SetPosition(int position) {
  position_ = position < 0 ? 0 : (position > max_ ? max_ : position);
  Changed();
}

void ProgressBar::StepBy(int delta) {
  long long p = static_cast<long long>(position_) + delta;
  SetPosition(p > max_ ? max_ : (p < 0 ? 0 : static_cast<int>(p)));
}

int ProgressBar::Percent() const {
  if (max_ == 0) return 0;
  return static_cast<int>(static_cast<long long>(position_) * 100 / max_);
}

void StatusLabel::SetCaption(const UString& text) {
  caption_ = text;
  Changed();
}
