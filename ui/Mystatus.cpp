#include "ui/Mystatus.h"

#include <QFontMetrics>
#include <utility>

#include "model/TextCatalogue.h"
#include "ui/StatusBar.h"
#include "ui/StatusTexts.h"

TmyStatus::TmyStatus(StatusBar& bar, std::string unitName, int lastPanel)
    : bar_(bar), unitName_(std::move(unitName)), lastPanel_(lastPanel) {}

void TmyStatus::ShowText(const QString& text, int panel) {
  if (panel < 0 || panel > lastPanel_) return;
  bar_.SetPanelText(panel, text);
  bar_.SetPanelWidth(panel, PanelWidthFor(QFontMetrics(bar_.font()).horizontalAdvance(text)));
}

void TmyStatus::ShowNotice(const char* text, int panel) { ShowText(QString::fromStdString(Localized(text)), panel); }

void TmyStatus::ShowUnitInfo(const std::string& name, const std::string& version, const std::string& description) {
  ShowText(QString::fromStdString(UnitInfoText(name, version, description)), kUnitPanel);
}

void TmyStatus::ShowNotFound() { ShowText(QString::fromStdString(NotFoundText(unitName_)), kUnitPanel); }

void TmyStatus::ShowNoResponse() { ShowText(QString::fromStdString(NoResponseText(unitName_)), kUnitPanel); }

void TmyStatus::ShowCommandError() { ShowNotice(status_text::kCommandError, kUnitPanel); }

void TmyStatus::ClearMeasurePanels() {
  ClearMeasureNotice();
  if (kResultPanel <= lastPanel_) bar_.SetPanelText(kResultPanel, QString());
}

void TmyStatus::ShowMeasuring() { ShowNotice(status_text::kMeasuring, kMeasurePanel); }

void TmyStatus::ShowFinished() { ShowNotice(status_text::kFinished, kMeasurePanel); }

void TmyStatus::ShowStopped() { ShowNotice(status_text::kStopped, kMeasurePanel); }

void TmyStatus::ShowDataLoaded() { ShowNotice(status_text::kDataLoaded, kMeasurePanel); }

void TmyStatus::ShowRefLoaded() { ShowNotice(status_text::kRefLoaded, kMeasurePanel); }

void TmyStatus::ShowStarting() { ShowNotice(status_text::kStarting, kResultPanel); }

void TmyStatus::ShowProgress(std::int64_t sampleNumber, std::int64_t code) {
  ShowText(QString::fromStdString(ProgressText(sampleNumber, code)), kResultPanel);
}

void TmyStatus::ShowMeasureError() {
  ClearMeasureNotice();
  ShowNotice(status_text::kMeasureError, kResultPanel);
}

void TmyStatus::ShowLevelError() {
  ClearMeasureNotice();
  ShowNotice(status_text::kLevelError, kResultPanel);
}

void TmyStatus::ClearMeasureNotice() {
  if (kMeasurePanel <= lastPanel_) bar_.SetPanelText(kMeasurePanel, QString());
}
