#include "cli/Progress.h"

#include <string>
#include <utility>

namespace {
constexpr int kPercent = 100;
constexpr int kTenths = 10;
constexpr int kBarWidth = 30;
// How long the arrivals are watched before their rate is trusted over the nominal one.
constexpr std::chrono::seconds kWatchBeforeEstimate{1};
}  // namespace

Progress::Progress(int total, double samplesPerSecond, bool terminal, std::FILE* out, Clock clock)
    : total_(total),
      samplesPerSecond_(samplesPerSecond),
      terminal_(terminal),
      out_(out),
      clock_(std::move(clock)),
      start_(clock_()) {}

double Progress::SecondsLeft(int done) const {
  const std::chrono::duration<double> watched = clock_() - start_;
  const double rate = watched >= kWatchBeforeEstimate && done > 0 ? done / watched.count() : samplesPerSecond_;
  return rate > 0 ? (total_ - done) / rate : 0.0;
}

void Progress::Update(int done) {
  if (total_ <= 0) return;
  const int percent = static_cast<int>(static_cast<long long>(done) * kPercent / total_);
  const double secondsLeft = SecondsLeft(done);
  if (terminal_) {
    if (percent == lastPercent_) return;
    lastPercent_ = percent;
    const int filled = percent * kBarWidth / kPercent;
    const std::string bar = std::string(static_cast<std::size_t>(filled), '#') +
                            std::string(static_cast<std::size_t>(kBarWidth - filled), '.');
    std::fprintf(out_, "\r[%s] %d/%d samples %3d%%, %.1f s left ", bar.c_str(), done, total_, percent, secondsLeft);
    std::fflush(out_);
    drawn_ = true;
    return;
  }
  const int tenth = percent / kTenths;
  while (lastTenth_ < tenth) {
    ++lastTenth_;
    std::fprintf(out_, "%d%% (%d/%d samples, %.1f s left)\n", lastTenth_ * kTenths, done, total_, secondsLeft);
  }
}

void Progress::Finish() {
  if (terminal_ && drawn_) std::fprintf(out_, "\n");
  drawn_ = false;
}
