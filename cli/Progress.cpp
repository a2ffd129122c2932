#include "cli/Progress.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "cli/Console.h"
#include "ui/NumberFormat.h"

namespace {
constexpr int kPercent = 100;
constexpr int kTenths = 10;
constexpr const char* kPrefix = "zemtra-cli: ";
// The width assumed when the terminal tells none.
constexpr int kDefaultColumns = 80;
// A bar narrower than this says nothing; it is left out.
constexpr int kMinBarWidth = 10;
constexpr int kBarBrackets = 2;
// The number of columns a text takes: every byte but UTF-8 continuation bytes (the
// line holds only ASCII and narrow characters).
int Width(const std::string& text) {
  constexpr unsigned char kContinuationMask = 0xC0;
  constexpr unsigned char kContinuation = 0x80;
  return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & kContinuationMask) != kContinuation;
  }));
}
}  // namespace

int TerminalColumns(int fd) {
  if (const int reported = ReportedColumns(fd); reported > 0) return reported;
  const char* columns = std::getenv("COLUMNS");
  const auto parsed = columns != nullptr ? ParseInt32(columns) : std::nullopt;
  return parsed && *parsed > 0 ? *parsed : 0;
}

Progress::Progress(int total, double samplesPerSecond, bool terminal, std::FILE* out, Clock clock, Columns columns)
    : total_(total),
      estimate_(total, samplesPerSecond, std::move(clock)),
      terminal_(terminal),
      out_(out),
      columns_(columns ? std::move(columns) : Columns([out] { return TerminalColumns(fileno(out)); })) {}

// The line never takes the last column: a terminal that wraps there would start a
// new line at every redraw. What does not fit goes, least useful first: the bar,
// then the sample counts, then the end of the line.
std::string Progress::BarLine(int done, int percent, const std::string& left, int columns) const {
  const int room = columns - 1;
  const std::string counts = " " + FormatInteger(done) + "/" + FormatInteger(total_) + " samples";
  const std::string percentText = " " + FormatInteger(percent) + "%, " + left + " left";
  const int barWidth = room - Width(kPrefix) - kBarBrackets - Width(counts) - Width(percentText);
  if (barWidth >= kMinBarWidth) {
    const int filled = percent * barWidth / kPercent;
    return kPrefix + ("[" + std::string(static_cast<std::size_t>(filled), '#') +
                      std::string(static_cast<std::size_t>(barWidth - filled), '.') + "]") +
           counts + percentText;
  }
  std::string line = kPrefix + counts.substr(1) + percentText;
  if (Width(line) > room) line = kPrefix + percentText.substr(1);
  if (Width(line) > room) line.resize(static_cast<std::size_t>(std::max(0, room)));
  return line;
}

void Progress::Update(int done) {
  if (total_ <= 0) return;
  const int percent = estimate_.PercentDone(done);
  const std::string left = ClockText(estimate_.SecondsLeft(done));
  if (terminal_) {
    const int reported = columns_();
    const int columns = reported > 0 ? reported : kDefaultColumns;
    if (percent == lastPercent_ && columns == lastColumns_) return;
    lastPercent_ = percent;
    lastColumns_ = columns;
    // "\x1b[K" clears what a longer earlier line left behind.
    std::fprintf(out_, "\r%s\x1b[K", BarLine(done, percent, left, columns).c_str());
    std::fflush(out_);
    drawn_ = true;
    return;
  }
  const int tenth = percent / kTenths;
  while (lastTenth_ < tenth) {
    ++lastTenth_;
    std::fprintf(out_, "%s%d%% (%d/%d samples, %s left)\n", kPrefix, lastTenth_ * kTenths, done, total_,
                 left.c_str());
  }
}

void Progress::Finish() {
  if (terminal_ && drawn_) std::fprintf(out_, "\n");
  drawn_ = false;
}
