#include "files/FigureFiles.h"

#include "ui/NumberFormat.h"

namespace {

constexpr std::string_view kLineEnd = "\r\n";

void Row(std::string& text, const std::string& a, const std::string& b, const std::string& c) {
  text += a;
  text += ',';
  text += b;
  text += ',';
  text += c;
  text += kLineEnd;
}

}  // namespace

std::string HistogramCsv(const CodeHistogram& histogram) {
  std::string text(kHistogramCsvHeader);
  text += kLineEnd;
  for (std::size_t i = 0; i < histogram.counts.size(); ++i) {
    Row(text, FormatInteger(histogram.CodeOf(i)), FormatInteger(histogram.counts[i]),
        FormatRoundTrip(histogram.gauss[i]));
  }
  return text;
}

std::string AllanCsv(const std::vector<AllanPoint>& points) {
  std::string text(kAllanCsvHeader);
  text += kLineEnd;
  for (const AllanPoint& p : points) {
    Row(text, FormatRoundTrip(p.tauSeconds), FormatRoundTrip(p.adevVolts), FormatInteger(p.terms));
  }
  return text;
}
