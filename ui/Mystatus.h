// TmyStatus: the fixed notices of the program in the status bar's three panels.
// Panel 0 tells the state of the connection to the unit, panel 1 the state of the
// measurement or of the last file action, panel 2 the progress, the statistics of a
// finished measurement or an error at its end. Most notices also size their panel to
// the new text, measured in the bar's font.
#pragma once

#include <QString>
#include <cstdint>
#include <string>

class StatusBar;

class TmyStatus {
 public:
  static constexpr int kUnitPanel = 0;
  static constexpr int kMeasurePanel = 1;
  static constexpr int kResultPanel = 2;

  // bar must outlive the reporter; panels above lastPanel are never written.
  TmyStatus(StatusBar& bar, std::string unitName, int lastPanel);

  // The panel's text, and its width by the text's width in the bar's font.
  void ShowText(const QString& text, int panel);

  void ShowUnitInfo(const std::string& name, const std::string& version, const std::string& description);
  void ShowNotFound();
  void ShowNoResponse();
  void ShowCommandError();
  // Panels 1 and 2 emptied, their widths kept.
  void ClearMeasurePanels();
  void ShowMeasuring();
  void ShowFinished();
  void ShowStopped();
  void ShowDataLoaded();
  void ShowRefLoaded();
  void ShowStarting();
  void ShowProgress(std::int64_t sampleNumber, std::int64_t code);
  // A measurement that ended by an error: the text in panel 2, and panel 1 emptied, as
  // it no longer runs.
  void ShowMeasureError();
  void ShowLevelError();
  // Panel 1 emptied (its width kept): whatever it said of a measurement no longer holds.
  void ClearMeasureNotice();

 private:
  // A fixed notice of the catalogue, translated.
  void ShowNotice(const char* text, int panel);

  StatusBar& bar_;
  std::string unitName_;
  int lastPanel_;
};
