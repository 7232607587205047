#include "app/ConsoleServices.h"

#include <unistd.h>

#include <chrono>
#include <optional>
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
  const std::optional<Andamento::Ritmo> ritmo = andamento_.RitmoAgora(bar_, nowMs);
  if (!ritmo) return "";
  const long long left = ritmo->faltam;
  char buf[64];
  std::snprintf(buf, sizeof buf, " | %.0f reg/s, faltam %lld:%02lld", ritmo->porSegundo, left / 60, left % 60);
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
      andamento_.Acompanha(label_, bar_, 0);
      return;
    }
    long long t = nowMs();
    const bool newConverter = andamento_.Acompanha(label_, bar_, t);
    if (!newConverter && t - lastDrawMs_ < 100 && bar_.Position() != bar_.Max()) return;
    lastDrawMs_ = t;
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
  UString prefix = PrefixoDoRotulo(caption);
  int tenth = bar_.Max() > 0 ? bar_.Percent() / 10 : 0;
  if (prefix != lastPrefix_ || (labelChanged && tenth != lastTenth_)) {
    lastPrefix_ = prefix;
    lastTenth_ = tenth;
    std::fprintf(err_, "%s\n", UToUtf8(caption).c_str());
    std::fflush(err_);
  }
}
