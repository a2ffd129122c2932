// TFormFFTSetting: the modal dialog that sets the number of samples, the spectrum's
// calculation options, what the graph shows and how, the window function, the line
// colours and automatic saving. It edits a working copy of the caller's records and
// hands them back only on Set; the rules live in FftSettingEdit and AutoSaveChoice,
// the widgets only show and read them.
#pragma once

#include <QDialog>
#include <array>
#include <cstdint>

#include "display/AutoSaveChoice.h"
#include "model/Records.h"
#include "ui/DialogPrompter.h"

class PaintBox;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TFormFFTSetting : public QDialog {
  Q_OBJECT

 public:
  // The line colours in the order of their boxes.
  static constexpr int kColorCount = 4;

  // File and colour choices and the refusal box go through prompter, which must
  // outlive the dialog.
  explicit TFormFFTSetting(DialogPrompter& prompter, QWidget* parent = nullptr);

  // Before each showing: the caller's copy of FftSetting, its SaveSetting and its
  // cancel flag (which the caller sets to 1 first); all must outlive the showing.
  // Set writes the first two and clears the flag; anything else sets the flag and
  // writes nothing. The caller compares the copy with its live record (for instance
  // DataCountSel) and may pass a copy of SaveSetting too, to adopt both only after
  // its own questions.
  void SetSetting(FftSetting& setting, SaveSetting& save, std::uint8_t& cancelled);
  // Loads the working copy into the controls.
  void ShowSetting();

  QLabel* Label8;
  QComboBox* ComboBoxDNum;  // item data: DataCountSel
  QGroupBox* GroupBox4;
  QCheckBox* CheckWaveGraph;
  QCheckBox* CheckSigVolt;
  QCheckBox* CheckDCCut2;
  QGroupBox* GroupBox5;
  QCheckBox* CheckWinFuncAdjust;
  QCheckBox* CheckDCCut;
  QGroupBox* RadioGroup1;
  QButtonGroup* RadioGroup1Items;  // id 0 linear, 1 logarithmic
  QGroupBox* GroupBox1;
  QComboBox* ComboBoxFreqS;  // item data: frequency index 0 … 12
  QComboBox* ComboBoxFreqE;  // item data: frequency index 6 … 14
  QGroupBox* GroupBox2;
  QComboBox* ComboBoxdBS;  // item data: dB index 0 … 16
  QComboBox* ComboBoxdBE;  // item data: dB index 3 … 20
  QCheckBox* CheckBoxAbsodB;
  QGroupBox* RadioGroup2;
  QButtonGroup* RadioGroup2Items;  // id: whichWindowFunc
  QGroupBox* GroupBox3;
  std::array<PaintBox*, kColorCount> PaintBoxes;  // PaintBox1 … PaintBox4
  QGroupBox* GroupBox6;
  QCheckBox* CheckSaveData;
  QPushButton* FileBtn;
  QLineEdit* EditFileName;
  QPushButton* DefaultBtn;
  QPushButton* CancelBtn;
  QPushButton* SetBtn;

 public slots:
  void ComboBoxDNumChange();
  void RadioGroup1Click();
  void RadioGroup2Click();
  void ComboBoxFreqSChange();
  void ComboBoxFreqEChange();
  void ComboBoxdBSChange();
  void ComboBoxdBEChange();
  void CheckBoxAbsodBClick();
  // Opens the colour dialog for box 0 … 3 and takes a confirmed colour.
  void PaintBoxClick(int box);
  void CheckSaveDataClick();
  void FileBtnClick();
  void DefaultBtnClick();
  void CancelBtnClick();
  void SetBtnClick();
  // Every close but Set (the cancel button, Esc, the window's close) is a cancel.
  void reject() override;

 private:
  // A pick from a range list (index: the field's value, kept when nothing is picked)
  // goes through its consistency rule; the controls then show the outcome.
  void TakeRangeChoice(const QComboBox* list, std::int32_t index, void (*rule)(FftSetting&, int));
  void BuildControls();
  void BuildGraphGroups();
  void BuildRangeGroups();
  void BuildColorGroup();
  void BuildSaveGroup();
  void ConnectControls();
  void PaintColorBoxes();
  void ShowAutoSave();

  DialogPrompter& prompter_;
  AutoSaveChoice autoSave_;
  FftSetting working_;                 // the copy the controls edit
  FftSetting* setting_ = nullptr;      // the caller's FftSetting copy
  SaveSetting* save_ = nullptr;        // the caller's SaveSetting
  std::uint8_t* cancelled_ = nullptr;  // the caller's cancel flag
};
