// データ → 途中データの復元: the kept journals of measurements that did not finish,
// one line each (start, samples received of those asked, how it ended). 復元 makes
// the chosen one the current measurement; CSV出力 writes every sample it received,
// also of a journal too short for a data file (which 復元 cannot take).
#pragma once

#include <QDialog>
#include <vector>

#include "app/JournalRecovery.h"

class QLabel;
class QPushButton;
class QTreeWidget;

class TFormRecover : public QDialog {
  Q_OBJECT

 public:
  enum class Choice { None, Recover, WriteCsv };

  explicit TFormRecover(QWidget* parent = nullptr);

  // Lists the journals in this order, the first one chosen; Choice None.
  void SetJournals(const std::vector<KeptJournal>& journals);
  // What the dialog was closed with, and the line chosen (an index into the journals).
  Choice Chosen() const { return chosen_; }
  int ChosenRow() const;

  // "34816 / 65536"
  static QString SamplesText(const JournalContent& journal);
  // How the measurement ended, for the list: "途中で終了" (no program ended it),
  // "中止" (stopped), "エラーで終了" (failed); " (末尾の破損部分を除く)" added for a
  // damaged tail.
  static QString EndText(const JournalContent& journal);

  QTreeWidget* List;
  QLabel* Note;  // why 復元 is not offered for the line chosen
  QPushButton* RecoverBtn;
  QPushButton* CsvBtn;
  QPushButton* CancelBtn;

 private:
  void CloseWith(Choice choice);
  void ShowChoice();

  std::vector<bool> recoverable_;  // per line: a data-file part exists
  Choice chosen_ = Choice::None;
};
