#include "app/MeasurementRun.h"

#include <algorithm>
#include <stdexcept>

MeasurementRun::MeasurementRun(TADC& unit, TmyFFT& fft, AnalysisWork& work) : unit_(unit), fft_(fft), work_(work) {}

namespace {

// Holds a flag up for a scope, also when the scope is left by an exception.
class RaisedFlag {
 public:
  explicit RaisedFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~RaisedFlag() { flag_ = false; }
  RaisedFlag(const RaisedFlag&) = delete;
  RaisedFlag& operator=(const RaisedFlag&) = delete;

 private:
  bool& flag_;
};

}  // namespace

MeasurementRun::StartResult MeasurementRun::Start(const AdUnitSetting& setting, int samples, MeasureData& data) {
  if (starting_ || running_) throw std::logic_error("MeasurementRun::Start while a measurement is under way");
  StartResult result;
  if (!IsAnalysableCount(samples)) {
    result.outcome = StartOutcome::InvalidCount;
    return result;
  }
  stopRequested_ = false;
  {
    const RaisedFlag starting(starting_);
    result.setup = RunUnitSetup(unit_, setting);
  }
  if (stopRequested_) {
    result.outcome = StartOutcome::Stopped;
    return result;
  }
  switch (result.setup.failedStep) {
    case SetupStep::None:
      break;
    case SetupStep::OpenUnit:
      result.outcome = StartOutcome::NotFound;
      return result;
    case SetupStep::CheckUnit:
      result.outcome = StartOutcome::NoResponse;
      return result;
    default:
      result.outcome = StartOutcome::SetupFailed;
      return result;
  }
  if (!unit_.StartAcquisition(setting.ch_sel, static_cast<std::uint32_t>(samples))) {
    unit_.StopAcquisition();
    unit_.CloseUnit();
    result.outcome = StartOutcome::StartRefused;
    return result;
  }
  setting_ = setting;
  data_ = &data;
  samples_ = samples;
  sampleIndex_ = 0;
  lastCode_ = 0;
  running_ = true;
  result.outcome = StartOutcome::Started;
  return result;
}

MeasurementRun::StepOutcome MeasurementRun::Step() {
  if (!running_) return StepOutcome::NotRunning;
  if (sampleIndex_ >= samples_) return StepOutcome::AllIn;
  const int wanted = std::min(SamplesPerRead(setting_.spsSel), samples_ - sampleIndex_);
  std::uint32_t delivered = 0;
  if (!unit_.ReadSamples(data_->adCode + sampleIndex_, static_cast<std::uint32_t>(wanted), delivered)) {
    unit_.StopAcquisition();
    running_ = false;
    data_->ad_dnum = 0;
    return StepOutcome::ReadFailed;
  }
  if (delivered == 0) return StepOutcome::Waiting;
  sampleIndex_ += static_cast<int>(delivered);
  lastCode_ = data_->adCode[sampleIndex_ - 1];
  return sampleIndex_ < samples_ ? StepOutcome::Progress : StepOutcome::AllIn;
}

MeasurementRun::FinishOutcome MeasurementRun::Finish(const FftSetting& fftSetting) {
  if (data_ == nullptr || sampleIndex_ < samples_) {
    throw std::logic_error("MeasurementRun::Finish before every sample is in");
  }
  Stop();
  MeasureData& data = *data_;
  data.ad_dnum = samples_;
  data.spsSel = static_cast<std::uint32_t>(setting_.spsSel);
  data.sinc3 = setting_.sinc3;
  if (!CheckSignalLevel(data, setting_)) {
    unit_.StopAcquisition();
    data.ad_dnum = 0;
    return FinishOutcome::LevelError;
  }
  AnalyseSpectrum(fft_, fftSetting, data, work_);
  return FinishOutcome::Analysed;
}

void MeasurementRun::Stop() {
  if (starting_) {
    stopRequested_ = true;
    unit_.CloseUnit();
    return;
  }
  if (!unit_.StopAcquisition()) unit_.CloseUnit();
  running_ = false;
}
