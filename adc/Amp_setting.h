// TFormAmpSetting: the modal dialog that sets the converter unit's data rate, gain,
// channel, filter and input buffer. It edits a copy of the caller's AdUnitSetting and
// hands it back only on Set; the rules live in AmpSettingChoice, the widgets only show
// and read them.
#pragma once

#include <QDialog>
#include <cstdint>

#include "adc/AmpSettingChoice.h"
#include "model/Records.h"

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;

class TFormAmpSetting : public QDialog {
  Q_OBJECT

 public:
  explicit TFormAmpSetting(QWidget* parent = nullptr);

  // Before each showing: the setting to edit and the caller's cancel flag (which the
  // caller sets to 1 first). Both must outlive the showing. Shows the setting.
  void SetupDialog(AdUnitSetting& setting, std::uint8_t& cancelled);

  QLabel* Label1;
  QComboBox* ComboBox1;  // data rate, item = data-rate index
  QLabel* Label3;
  QComboBox* ComboBox3;  // gain, item = gain index
  QLabel* Label2;
  QComboBox* ComboBox2;  // channel, item = channel
  QFrame* Panel2;
  QRadioButton* Sinc3_RBtn;
  QRadioButton* Sinc4_RBtn;
  QFrame* Panel3;
  QRadioButton* BUFON_RBtn;
  QRadioButton* BUFOFF_RBtn;
  QPushButton* DefaultBtn;
  QPushButton* CancelBtn;
  QPushButton* SetBtn;

 public slots:
  void DefaultBtnClick();
  void CancelBtnClick();
  void SetBtnClick();
  // Every close but Set (the cancel button, Esc, the window's close) is a cancel.
  void reject() override;

 private:
  void BuildControls();
  void ShowChoice(const AmpSettingChoice& choice);
  AmpSettingChoice ReadChoice() const;

  AdUnitSetting working_;              // the copy the dialog edits
  AdUnitSetting* setting_ = nullptr;   // the caller's setting
  std::uint8_t* cancelled_ = nullptr;  // the caller's cancel flag
};
