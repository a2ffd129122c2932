#include "app/RecoverDialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "display/FftSettingRules.h"
#include "ui/DialogControls.h"
#include "ui/FileText.h"
#include "ui/NumberFormat.h"
#include "ui/UiFont.h"

namespace {

constexpr int kListWidth = 460;
constexpr int kListHeight = 200;

}  // namespace

TFormRecover::TFormRecover(QWidget* parent)
    : QDialog(parent, kFixedDialogFlags | Qt::WindowCloseButtonHint),
      List(new QTreeWidget(this)),
      Note(new QLabel(this)),
      RecoverBtn(new QPushButton(tr("復元"), this)),
      CsvBtn(new QPushButton(tr("CSV出力"), this)),
      CancelBtn(new QPushButton(tr("キャンセル"), this)) {
  setFont(UiFont());
  setWindowTitle(tr("途中データの復元"));
  List->setHeaderLabels({tr("計測開始"), tr("サンプル（受信 / 指定）"), tr("終わり方")});
  List->setRootIsDecorated(false);
  List->setSelectionMode(QAbstractItemView::SingleSelection);
  List->setMinimumSize(kListWidth, kListHeight);
  List->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (QPushButton* button : {RecoverBtn, CsvBtn, CancelBtn}) buttons->addWidget(button);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(List);
  layout->addWidget(Note);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  RecoverBtn->setDefault(true);
  connect(RecoverBtn, &QPushButton::clicked, this, [this] { CloseWith(Choice::Recover); });
  connect(CsvBtn, &QPushButton::clicked, this, [this] { CloseWith(Choice::WriteCsv); });
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  connect(List, &QTreeWidget::currentItemChanged, this, &TFormRecover::ShowChoice);
  connect(List, &QTreeWidget::itemDoubleClicked, this, [this] {
    if (RecoverBtn->isEnabled()) CloseWith(Choice::Recover);
  });
}

void TFormRecover::SetJournals(const std::vector<KeptJournal>& journals) {
  chosen_ = Choice::None;
  recoverable_.clear();
  List->clear();
  for (const KeptJournal& journal : journals) {
    List->addTopLevelItem(new QTreeWidgetItem(
        {FileText(journal.content.header.save.StartDateTime), SamplesText(journal.content), EndText(journal.content)}));
    recoverable_.push_back(DataFilePart(journal.content).count > 0);
  }
  List->setCurrentItem(List->topLevelItem(0));
  ShowChoice();
}

int TFormRecover::ChosenRow() const { return List->indexOfTopLevelItem(List->currentItem()); }

QString TFormRecover::SamplesText(const JournalContent& journal) {
  return QString::fromStdString(FormatInteger(static_cast<std::int64_t>(journal.codes.size())) + " / " +
                                FormatInteger(SamplesAsked(journal.header)));
}

QString TFormRecover::EndText(const JournalContent& journal) {
  QString text;
  switch (journal.end) {
    case JournalEnd::Stopped:
      text = tr("中止");
      break;
    case JournalEnd::Failed:
      text = tr("エラーで終了");
      break;
    case JournalEnd::None:
    case JournalEnd::Finished:  // never listed
      text = tr("途中で終了");
      break;
  }
  return journal.damaged ? text + tr("（末尾の破損部分を除く）") : text;
}

void TFormRecover::CloseWith(Choice choice) {
  chosen_ = choice;
  accept();
}

void TFormRecover::ShowChoice() {
  const int row = ChosenRow();
  const bool any = row >= 0;
  const bool recoverable = any && recoverable_[static_cast<std::size_t>(row)];
  RecoverBtn->setEnabled(recoverable);
  CsvBtn->setEnabled(any);
  Note->setText(any && !recoverable
                    ? tr("%1 サンプルに満たないため復元できません（CSV出力はできます）").arg(GetDataCount(0))
                    : QString());
}
