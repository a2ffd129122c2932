#include "app/SessionState.h"

#include <stdexcept>

SessionState::SessionState() {
  curBuffers_->Bind(curData);
  refBuffers_->Bind(refData);
}

void SessionState::RequireIdle() const {
  if (fMeasuring) throw std::logic_error("a file or settings command while a measurement runs");
}

void SessionState::DropData() {
  fDataValid = false;
  curData.ad_dnum = 0;
  ForgetSeries();
}

void SessionState::ForgetSeries() {
  curAverage = {};
  curFromSeries = false;
}

void SessionState::DropReference() {
  fRefValid = false;
  refData.ad_dnum = 0;
}
