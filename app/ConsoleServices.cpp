#include "app/ConsoleServices.h"

#include <unistd.h>

#include <chrono>
#include <string>

namespace {

// Box texts break lines with a carriage return; a terminal needs a line feed.
std::string forConsole(const UString& text) {
  std::string s = UToUtf8(text);
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r') {
      out.push_back('\n');
      if (i + 1 < s.size() && s[i + 1] == '\n') ++i;
    } else {
      out.push_back(s[i]);
    }
  }
  return out;
}

long long nowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// The label without its running number, to tell one converter from the next.
UString labelPrefix(const UString& caption) {
  auto p = caption.find(u"Registro ");
  return p == UString::npos ? caption : caption.substr(0, p);
}

}  // namespace

MsgResult ConsoleServices::MessageBox(MsgKind kind, const UString& text, MsgButtons buttons) {
  if (progress_) progress_->ClearLine();
  std::fprintf(out_, "[%s] %s\n", UToUtf8(MsgTitle(kind)).c_str(), forConsole(text).c_str());
  std::fflush(out_);
  // Nobody answers at a console: a question is answered No, which changes nothing.
  return buttons == MsgButtons::OK ? MsgResult::OK : MsgResult::No;
}

void ConsoleServices::ShowError(const UString& text) {
  if (progress_) progress_->ClearLine();
  std::fprintf(out_, "[Error] %s\n", forConsole(text).c_str());
  std::fflush(out_);
}

std::string ConsoleProgress::RateAndTimeLeft(long long nowMs) const {
  const long long elapsed = nowMs - kindStartMs_;
  const int done = bar_.Position() - kindStartPos_;
  // Too early for a rate worth showing.
  if (elapsed < 1000 || done <= 0) return "";
  const double rate = done * 1000.0 / static_cast<double>(elapsed);
  const long long left = static_cast<long long>((bar_.Max() - bar_.Position()) / rate + 0.5);
  char buf[64];
  std::snprintf(buf, sizeof buf, " | %.0f reg/s, faltam %lld:%02lld", rate, left / 60, left % 60);
  return buf;
}

void ConsoleBar::Changed() { p_.Update(false); }
void ConsoleLabel::Changed() { p_.Update(true); }

ConsoleProgress::ConsoleProgress(std::FILE* err) : err_(err), tty_(isatty(fileno(err)) != 0), bar_(*this), label_(*this) {}

ConsoleProgress::~ConsoleProgress() { Finish(); }

void ConsoleProgress::ClearLine() {
  if (drawn_) {
    std::fputs("\r\x1b[K", err_);
    std::fflush(err_);
    drawn_ = false;
    lastDrawMs_ = 0;
  }
}

void ConsoleProgress::Update(bool labelChanged) {
  const UString& caption = label_.Caption();
  if (tty_) {
    // A converter ended (or none began): nothing to show until the next one starts.
    if (caption.empty()) {
      ClearLine();
      lastPrefix_.clear();
      return;
    }
    long long t = nowMs();
    bool newConverter = labelChanged && labelPrefix(caption) != lastPrefix_;
    if (newConverter) {
      kindStartMs_ = t;
      kindStartPos_ = bar_.Position();
    }
    if (!newConverter && t - lastDrawMs_ < 100 && bar_.Position() != bar_.Max()) return;
    lastDrawMs_ = t;
    lastPrefix_ = labelPrefix(caption);
    const int width = 30;
    int filled = bar_.Percent() * width / 100;
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.append(static_cast<std::size_t>(width - filled), '.');
    std::fprintf(err_, "\r\x1b[K[%s] %3d%% %s%s", bar.c_str(), bar_.Percent(), UToUtf8(caption).c_str(),
                 RateAndTimeLeft(t).c_str());
    std::fflush(err_);
    drawn_ = true;
    return;
  }
  // Not a terminal: one line when a converter starts and at each tenth of its way.
  if (caption.empty()) {
    lastTenth_ = -1;
    lastPrefix_.clear();
    return;
  }
  UString prefix = labelPrefix(caption);
  int tenth = bar_.Max() > 0 ? bar_.Percent() / 10 : 0;
  if (prefix != lastPrefix_ || (labelChanged && tenth != lastTenth_)) {
    lastPrefix_ = prefix;
    lastTenth_ = tenth;
    std::fprintf(err_, "%s\n", UToUtf8(caption).c_str());
    std::fflush(err_);
  }
}
