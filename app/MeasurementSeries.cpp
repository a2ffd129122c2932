#include "app/MeasurementSeries.h"

#include <algorithm>
#include <span>
#include <stdexcept>

#include "model/UnitTables.h"

namespace {

constexpr int kShortestSegment = 4;

bool InRange(int count) { return count >= SeriesPlan::kMinCount && count <= SeriesPlan::kMaxCount; }

bool IsPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

// The record's fields and the arrays' first `samples` values into target, whose
// arrays stay its own.
void CopyRecord(const MeasureData& from, MeasureData& target) {
  std::int32_t* codes = target.adCode;
  float* volts = target.volt;
  float* spectrum = target.spectrum;
  target = from;
  target.adCode = codes;
  target.volt = volts;
  target.spectrum = spectrum;
  const auto samples = static_cast<std::size_t>(from.ad_dnum);
  std::copy_n(from.adCode, samples, codes);
  std::copy_n(from.volt, samples, volts);
  std::copy_n(from.spectrum, samples / 2, spectrum);
}

}  // namespace

bool SeriesPlan::Valid() const {
  switch (mode) {
    case Mode::Single:
      return averaging == SpectrumAveraging::None;
    case Mode::Average:
      return (averaging == SpectrumAveraging::Rms || averaging == SpectrumAveraging::PeakHold) && InRange(count);
    case Mode::Continuous:
      return averaging == SpectrumAveraging::None || (averaging == SpectrumAveraging::Exponential && InRange(count));
  }
  return false;
}

MeasurementSeries::MeasurementSeries(TmyFFT& fft) : fft_(fft) { keptBuffers_->Bind(kept_); }

void MeasurementSeries::Begin(const SeriesPlan& plan) {
  if (!plan.Valid()) throw std::invalid_argument("MeasurementSeries: the plan's mode, averaging and count disagree");
  plan_ = plan;
  running_ = true;
  finished_ = 0;
  average_ = MakeLineAverage(plan.averaging, plan.count);
  density_.reset();
  kept_.ad_dnum = 0;
}

bool MeasurementSeries::WantsMore() const {
  switch (plan_.mode) {
    case SeriesPlan::Mode::Single:
      return finished_ == 0;
    case SeriesPlan::Mode::Average:
      return finished_ < plan_.count;
    case SeriesPlan::Mode::Continuous:
      return true;
  }
  return false;
}

SessionAcquisition MeasurementSeries::Next() const {
  if (plan_.mode == SeriesPlan::Mode::Average) return {finished_, plan_.count};
  return {};
}

void MeasurementSeries::Add(SessionState& state) {
  MeasureData& data = state.curData;
  const std::span<float> lines(data.spectrum, static_cast<std::size_t>(data.ad_dnum / 2));
  if (average_) {
    average_->Add(lines);
    average_->Result(lines);
    state.curAverage = average_->Describe();
    if (plan_.mode == SeriesPlan::Mode::Average) state.curAverage.planned = plan_.count;
  }
  if (!density_) {
    const int length = segmentLength_ == 0 ? data.ad_dnum : std::min(segmentLength_, data.ad_dnum);
    density_ = std::make_unique<WelchDensity>(
        fft_, DensityOptionsOf(state.fftSetting, length, SamplesPerSecond(static_cast<int>(data.spsSel))));
  }
  density_->AddRecord(std::span<const float>(data.volt, static_cast<std::size_t>(data.ad_dnum)));
  ++finished_;
  state.curFromSeries = true;
  CopyRecord(data, kept_);
  keptDeviation_ = state.codeDeviation;
  keptStart_ = state.saveSetting.StartDateTime;
  keptAverage_ = state.curAverage;
}

void MeasurementSeries::Restore(SessionState& state) const {
  if (finished_ == 0) return;
  CopyRecord(kept_, state.curData);
  state.codeDeviation = keptDeviation_;
  state.saveSetting.StartDateTime = keptStart_;
  state.curAverage = keptAverage_;
  state.curFromSeries = true;
  state.fDataValid = true;
  state.fDataSaved = false;
}

void MeasurementSeries::SetDensitySegmentLength(int length) {
  if (length != 0 && (length < kShortestSegment || length > kMaxSamples || !IsPowerOfTwo(length))) {
    throw std::invalid_argument("MeasurementSeries: the density's segment length is no power of two from 4 up");
  }
  segmentLength_ = length;
}
