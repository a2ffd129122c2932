#include "app/MeasurementSession.h"

#include <stdexcept>
#include <utility>

#include "ui/StatusTexts.h"

MeasurementSession::MeasurementSession(Prompter& prompter, StallGuard::Clock steadyClock, WallClock wallClock,
                                       FileCalls& fileCalls)
    : data_(state_, analyser_, prompter, fileCalls),
      settings_(state_, analyser_, prompter, fileCalls),
      stall_(steadyClock),
      wallClock_(std::move(wallClock)),
      journal_(fileCalls, std::move(steadyClock)) {
  data_.OnMeasurementSaved([this] { journal_.Saved(state_.saveSetting.StartDateTime); });
}

MeasurementSession::StartResult MeasurementSession::Start(TADC& unit, Acquisition acquisition) {
  if (run_ && (run_->Starting() || run_->Running())) {
    throw std::logic_error("MeasurementSession::Start while a measurement is under way");
  }
  run_.emplace(unit, analyser_.Engine(), analyser_.Work());
  StartResult result = run_->Start(state_.editAdSetting, state_.fftSetting.DataCountMax, state_.curData);
  if (result.setup.Ok()) {
    state_.unitInfo = UnitInfoText(result.setup.unitName, result.setup.version, result.setup.description);
  }
  if (result.outcome != StartOutcome::Started) {
    // A later acquisition that cannot start ends the measurement's journal.
    if (acquisition.index > 0) {
      journal_.End(result.outcome == StartOutcome::Stopped ? JournalEnd::Stopped : JournalEnd::Failed);
    }
    EndSeries();
    return result;
  }

  state_.measAdSetting = state_.editAdSetting;
  state_.fMeasuring = true;
  state_.DropData();
  state_.fDataSaved = false;
  const auto now = wallClock_();
  state_.saveSetting.StartDateTime = StartDateTimeText(now);
  stall_.Arm(state_.measAdSetting.spsSel);
  acquisition_ = acquisition;
  journalled_ = 0;
  if (acquisition.index == 0) {
    const JournalHeader header{state_.measAdSetting,
                               state_.fftSetting,
                               state_.saveSetting,
                               std::chrono::duration_cast<std::chrono::seconds>(now.time_since_epoch()).count(),
                               state_.fftSetting.DataCountMax,
                               acquisition.count};
    journal_.Begin(header, now);
  }
  return result;
}

MeasurementSession::PollOutcome MeasurementSession::Poll() {
  if (!run_) return PollOutcome::NotRunning;
  const PollOutcome outcome = run_->Step();
  switch (outcome) {
    case PollOutcome::Progress:
    case PollOutcome::AllIn:
      stall_.RecordsArrived();
      journal_.Append(std::span<const std::int32_t>(state_.curData.adCode + journalled_,
                                                    static_cast<std::size_t>(run_->SampleIndex() - journalled_)));
      journalled_ = run_->SampleIndex();
      break;
    case PollOutcome::Waiting:
      journal_.Tick();
      if (!stall_.Stalled()) break;
      run_->Stop();
      state_.fMeasuring = false;
      journal_.End(JournalEnd::Failed);
      EndSeries();
      return PollOutcome::ReadFailed;
    case PollOutcome::ReadFailed:
      state_.fMeasuring = false;
      journal_.End(JournalEnd::Failed);
      EndSeries();
      break;
    case PollOutcome::NotRunning:
      break;
  }
  return outcome;
}

void MeasurementSession::Stop() {
  if (run_ && (run_->Starting() || run_->Running())) run_->Stop();
  state_.fMeasuring = false;
  journal_.End(JournalEnd::Stopped);  // what was received is kept
  EndSeries();
}

void MeasurementSession::EndSeries() {
  if (!series_.Running()) return;
  if (!state_.fDataValid) series_.Restore(state_);
  series_.End();
}

void MeasurementSession::BeginSeries(const SeriesPlan& plan) {
  state_.RequireIdle();
  series_.Begin(plan);
}

MeasurementSession::FinishOutcome MeasurementSession::Finish() {
  if (!run_) throw std::logic_error("MeasurementSession::Finish without a measurement");
  const FinishOutcome outcome = run_->Finish(state_.fftSetting);
  state_.fMeasuring = false;
  if (outcome == FinishOutcome::LevelError) {
    state_.DropData();
    journal_.End(JournalEnd::Failed);
    EndSeries();
    return outcome;
  }
  if (acquisition_.index + 1 >= acquisition_.count) journal_.End(JournalEnd::Finished);
  state_.fDataValid = true;
  state_.fDataSaved = false;
  state_.codeDeviation = CodeDeviation(state_.curData);
  if (series_.Running()) {
    series_.Add(state_);
    if (!series_.WantsMore()) series_.End();
  }
  return outcome;
}

void MeasurementSession::AdoptAveragedSpectrum(const LineAverage& average) {
  state_.RequireIdle();
  if (!state_.fDataValid) throw std::logic_error("MeasurementSession::AdoptAveragedSpectrum without a measurement");
  average.Result(std::span<float>(state_.curData.spectrum, static_cast<std::size_t>(state_.curData.ad_dnum / 2)));
  state_.curAverage = average.Describe();
}

int MeasurementSession::SampleIndex() const { return run_ ? run_->SampleIndex() : 0; }

int MeasurementSession::SampleCount() const { return run_ ? run_->SampleCount() : 0; }

std::int32_t MeasurementSession::LastCode() const { return run_ ? run_->LastCode() : 0; }
