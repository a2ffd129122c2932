#include "app/NoiseAnalysisWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <utility>

#include "analysis/FigureTexts.h"
#include "app/MeasurementSession.h"
#include "display/DensityPicture.h"
#include "display/FigurePictures.h"
#include "display/PngBytes.h"
#include "files/AskedWrite.h"
#include "model/TextCatalogue.h"
#include "model/UnitTables.h"
#include "ui/DialogPrompter.h"
#include "ui/FileNames.h"
#include "ui/Mymessage.h"
#include "ui/NumberFormat.h"
#include "ui/UiFont.h"

namespace {

// The table's columns.
enum Column { kName, kCurrentValue, kCurrentCodes, kReferenceValue, kReferenceCodes, kColumnCount };

constexpr int kBandFieldWidth = 72;
constexpr int kRowPadding = 6;  // a table row: the text's height and this

constexpr const char* kPngFilter = QT_TRANSLATE_NOOP("TFormNoiseAnalysis", "PNG画像 (*.png)");
constexpr const char* kAnyPng = "*.png";
constexpr const char* kPngExtension = ".png";

QString Text(const std::string& text) { return QString::fromStdString(text); }

// The tab title and the save dialog's title of each plot.
struct PlotNames {
  const char* tab;
  const char* saveTitle;
};
constexpr std::array<PlotNames, static_cast<std::size_t>(TFormNoiseAnalysis::Plot::kCount)> kPlotNames{{
    {QT_TRANSLATE_NOOP("TFormNoiseAnalysis", "ノイズ密度(&D)"),
     QT_TRANSLATE_NOOP("TFormNoiseAnalysis", "ノイズ密度のPNG保存")},
    {QT_TRANSLATE_NOOP("TFormNoiseAnalysis", "ヒストグラム(&G)"),
     QT_TRANSLATE_NOOP("TFormNoiseAnalysis", "ヒストグラムのPNG保存")},
    {QT_TRANSLATE_NOOP("TFormNoiseAnalysis", "アラン偏差(&L)"),
     QT_TRANSLATE_NOOP("TFormNoiseAnalysis", "アラン偏差のPNG保存")},
}};

}  // namespace

// ---- PictureView ----------------------------------------------------------------------

PictureView::PictureView(QWidget* parent) : QWidget(parent) {
  setFixedSize(kDensityPictureWidth, kDensityPictureHeight);
  setMouseTracking(true);
}

void PictureView::SetPicture(QImage picture) {
  picture_ = std::move(picture);
  update();
}

void PictureView::SetNote(const QString& note) {
  note_ = note;
  update();
}

void PictureView::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  if (!picture_.isNull()) {
    painter.drawImage(0, 0, picture_);
    return;
  }
  painter.fillRect(rect(), palette().color(QPalette::Window));
  painter.drawText(rect(), Qt::AlignCenter, note_);
}

void PictureView::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  emit MouseMoved(at.x(), at.y());
}

void PictureView::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (event->button() == Qt::LeftButton) emit MousePressed(at.x(), at.y());
}

void PictureView::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (event->button() == Qt::LeftButton) emit MouseReleased(at.x(), at.y());
}

void PictureView::leaveEvent(QEvent* /*event*/) { emit MouseLeft(); }

// ---- TFormNoiseAnalysis ---------------------------------------------------------------

TFormNoiseAnalysis::TFormNoiseAnalysis(const MeasurementSession& session, DialogPrompter& prompter, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session), prompter_(prompter), tabs_(new QTabWidget(this)) {
  setWindowTitle(tr("ノイズ解析"));
  setFont(UiFont());
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  tabs_->addTab(MakeTableTab(), tr("数値(&F)"));
  tabs_->addTab(MakeDensityTab(), tr(kPlotNames[0].tab));
  tabs_->addTab(MakePlotTab(Plot::Histogram), tr(kPlotNames[1].tab));
  tabs_->addTab(MakePlotTab(Plot::Allan), tr(kPlotNames[2].tab));
  FitPictures();

  update_.setSingleShot(true);
  update_.setInterval(0);
  connect(&update_, &QTimer::timeout, this, [this] { Guarded([this] { Refresh(); }); });
  SetBand(choice_.band);
}

QWidget* TFormNoiseAnalysis::MakeTableTab() {
  auto* tab = new QWidget;
  auto* layout = new QVBoxLayout(tab);
  auto* top = new QHBoxLayout;
  tableNote_ = new QLabel;
  copy_ = new QPushButton(tr("数値をコピー(&C)"));
  connect(copy_, &QPushButton::clicked, this, [this] { Guarded([this] { CopyFigures(); }); });
  top->addWidget(tableNote_, 1);
  top->addWidget(copy_);
  layout->addLayout(top);
  table_ = new QTableWidget(0, kColumnCount);
  table_->setHorizontalHeaderLabels({tr("項目"), tr("測定データ"), tr("コード"), tr("参照データ"), tr("コード")});
  table_->verticalHeader()->hide();
  table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + kRowPadding);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionMode(QAbstractItemView::NoSelection);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  table_->horizontalHeader()->setSectionResizeMode(kName, QHeaderView::ResizeToContents);
  layout->addWidget(table_);
  return tab;
}

QWidget* TFormNoiseAnalysis::MakeDensityTab() {
  auto* tab = new QWidget;
  auto* layout = new QVBoxLayout(tab);
  auto* fields = new QHBoxLayout;
  bandLow_ = new QLineEdit;
  bandHigh_ = new QLineEdit;
  for (QLineEdit* edit : {bandLow_, bandHigh_}) {
    edit->setFixedWidth(kBandFieldWidth);
    connect(edit, &QLineEdit::editingFinished, this, [this] { Guarded([this] { ApplyBandFields(); }); });
  }
  segments_ = new QComboBox;
  connect(segments_, &QComboBox::activated, this, [this] { Guarded([this] { ApplySegmentChoice(); }); });
  auto* bandLabel = new QLabel(tr("帯域(&B)"));
  bandLabel->setBuddy(bandLow_);
  auto* segmentLabel = new QLabel(tr("セグメント長(&S)"));
  segmentLabel->setBuddy(segments_);
  fields->addWidget(bandLabel);
  fields->addWidget(bandLow_);
  fields->addWidget(new QLabel(tr("–")));
  fields->addWidget(bandHigh_);
  fields->addWidget(new QLabel(tr("Hz")));
  fields->addSpacing(kBandFieldWidth / 2);
  fields->addWidget(segmentLabel);
  fields->addWidget(segments_);
  fields->addStretch(1);
  auto* save = new QPushButton(tr("PNG保存(&P)..."));
  saveButtons_[static_cast<std::size_t>(Plot::Density)] = save;
  connect(save, &QPushButton::clicked, this, [this] { Guarded([this] { SavePicture(Plot::Density); }); });
  fields->addWidget(save);
  layout->addLayout(fields);

  auto* view = new PictureView;
  views_[static_cast<std::size_t>(Plot::Density)] = view;
  connect(view, &PictureView::MouseMoved, this, [this](int x, int /*y*/) { DensityMouseMoved(x); });
  connect(view, &PictureView::MousePressed, this, [this](int x, int /*y*/) { DensityMousePressed(x); });
  connect(view, &PictureView::MouseReleased, this,
          [this](int x, int /*y*/) { Guarded([this, x] { DensityMouseReleased(x); }); });
  connect(view, &PictureView::MouseLeft, this, [this] { readout_->clear(); });
  layout->addWidget(Scrolled(view), 1);

  auto* below = new QHBoxLayout;
  bandNoise_ = new QLabel;
  readout_ = new QLabel;
  below->addWidget(bandNoise_, 1);
  below->addWidget(readout_);
  layout->addLayout(below);
  return tab;
}

QWidget* TFormNoiseAnalysis::MakePlotTab(Plot plot) {
  const auto index = static_cast<std::size_t>(plot);
  auto* tab = new QWidget;
  auto* layout = new QVBoxLayout(tab);
  auto* top = new QHBoxLayout;
  top->addStretch(1);
  auto* save = new QPushButton(tr("PNG保存(&P)..."));
  saveButtons_[index] = save;
  connect(save, &QPushButton::clicked, this, [this, plot] { Guarded([this, plot] { SavePicture(plot); }); });
  top->addWidget(save);
  layout->addLayout(top);
  views_[index] = new PictureView;
  layout->addWidget(Scrolled(views_[index]), 1);
  return tab;
}

void TFormNoiseAnalysis::Guarded(const std::function<void()>& work) {
  try {
    work();
  } catch (const std::exception& error) {
    prompter_.ShowMessage(error.what(), kProgramCaption, MessageIcon::Error);
  }
}

QScrollArea* TFormNoiseAnalysis::Scrolled(PictureView* view) {
  auto* scroll = new QScrollArea;
  scroll->setWidget(view);
  scroll->setAlignment(Qt::AlignCenter);
  scrolls_.push_back(scroll);
  return scroll;
}

void TFormNoiseAnalysis::FitPictures() {
  // A scroll area asks for less than its picture; for the first size it asks for all
  // of it, within the screen, and may shrink below it later.
  for (QScrollArea* scroll : scrolls_) {
    const int frame = 2 * scroll->frameWidth();
    scroll->setMinimumSize(kDensityPictureWidth + frame, kDensityPictureHeight + frame);
  }
  QSize size = sizeHint();
  for (QScrollArea* scroll : scrolls_) scroll->setMinimumSize(0, 0);
  if (const QScreen* shown = screen()) size = size.boundedTo(shown->availableGeometry().size());
  resize(size);
}

void TFormNoiseAnalysis::MeasurementChanged() {
  stale_ = true;
  if (isVisible()) update_.start();
}

void TFormNoiseAnalysis::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (stale_) update_.start();
}

void TFormNoiseAnalysis::Refresh() {
  update_.stop();
  stale_ = false;
  analysis_ = figures_.AnalyseSession(session_.State(), choice_.segmentLength, session_.AveragedDensity());
  FillSegmentChoices();
  ShowTable();
  ShowDensity();
  ShowHistogram();
  ShowAllan();
}

void TFormNoiseAnalysis::FillSegmentChoices() {
  int longest = 0;
  for (const auto* record : {&analysis_.current, &analysis_.reference}) {
    if (*record) longest = std::max(longest, (*record)->samples);
  }
  const std::vector<int> choices = SegmentChoices(longest);
  if (std::find(choices.begin(), choices.end(), choice_.segmentLength) == choices.end()) choice_.segmentLength = 0;
  const QSignalBlocker blockSegments(segments_);
  segments_->clear();
  for (const int length : choices) {
    segments_->addItem(length == 0 ? tr("全体") : Text(FormatInteger(length)), length);
  }
  segments_->setCurrentIndex(segments_->findData(choice_.segmentLength));
}

void TFormNoiseAnalysis::ShowTable() {
  const bool current = analysis_.current.has_value();
  const bool reference = analysis_.reference.has_value();
  const auto recordText = [this](const char* name, const RecordAnalysis& record, const MeasureData& data) {
    return tr(name) + tr(": %1 サンプル, %2 SPS, FSR %3")
                          .arg(record.samples)
                          .arg(SamplesPerSecond(static_cast<int>(data.spsSel)))
                          .arg(Text(VoltText(record.figures.noise.fsrVolts)));
  };
  QStringList notes;
  if (current) {
    QString note = recordText(QT_TRANSLATE_NOOP("TFormNoiseAnalysis", "測定データ"), *analysis_.current,
                              session_.State().curData);
    if (analysis_.current->density && analysis_.current->density->ofSeries) {
      note += tr("（ノイズ密度は %1 回の平均）").arg(session_.Series().Finished());
    }
    notes << note;
  }
  if (reference)
    notes << recordText(QT_TRANSLATE_NOOP("TFormNoiseAnalysis", "参照データ"), *analysis_.reference,
                        session_.State().refData);
  tableNote_->setText(notes.isEmpty() ? tr("測定データも参照データもありません") : notes.join(tr("　／　")));

  const std::vector<FigureRow> rows =
      current || reference ? FigureRows(analysis_, choice_.band) : std::vector<FigureRow>{};
  table_->setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const FigureRow& row = rows[static_cast<std::size_t>(r)];
    const QString name = Text(row.detail.empty() ? Localized(row.name) : Localized(row.name) + " " + row.detail);
    const QString cells[kColumnCount] = {name, Text(row.current.value), Text(row.current.codes),
                                         Text(row.reference.value), Text(row.reference.codes)};
    for (int c = 0; c < kColumnCount; ++c) {
      auto* item = new QTableWidgetItem(cells[c]);
      item->setTextAlignment(c == kName ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
      table_->setItem(r, c, item);
    }
  }
  table_->setColumnHidden(kCurrentValue, !current);
  table_->setColumnHidden(kCurrentCodes, !current);
  table_->setColumnHidden(kReferenceValue, !reference);
  table_->setColumnHidden(kReferenceCodes, !reference);
}

DensityFigure TFormNoiseAnalysis::Figure() const {
  DensityFigure figure;
  if (analysis_.current && analysis_.current->density) {
    figure.current = {analysis_.current->density->density, analysis_.current->density->deltaF};
  }
  if (analysis_.reference && analysis_.reference->density) {
    figure.reference = {analysis_.reference->density->density, analysis_.reference->density->deltaF};
  }
  figure.band = choice_.band;
  figure.currentName = tr("測定データ").toStdString();
  figure.referenceName = tr("参照データ").toStdString();
  return figure;
}

void TFormNoiseAnalysis::ShowDensity() {
  const DensityFigure figure = Figure();
  densityPlot_ = DensityFigurePlot(figure);
  PictureView* view = View(Plot::Density);
  view->SetNote(tr("表示するノイズ密度がありません"));
  view->SetPicture(DensityImage(figure, session_.State().fftSetting));
  ShowBandNoise();
}

void TFormNoiseAnalysis::ShowBandNoise() {
  const FrequencyBand& band = choice_.band;
  QStringList parts;
  const auto record = [&](const char* name, const std::optional<RecordAnalysis>& analysis) {
    if (!analysis || !analysis->density) return;
    if (const auto noise = BandOf(*analysis, band)) {
      parts << tr(name) + " " +
                   tr("%1 RMS, %2 p-p").arg(Text(VoltText(noise->rmsVolts)), Text(VoltText(noise->ppVolts)));
    } else {
      const FrequencyRange& range = analysis->density->range;
      parts << tr(name) + " " +
                   tr("帯域が範囲 %1–%2 の外です").arg(Text(FormatRoundTrip(range.low)), Text(HertzText(range.high)));
    }
  };
  record(QT_TRANSLATE_NOOP("TFormNoiseAnalysis", "測定"), analysis_.current);
  record(QT_TRANSLATE_NOOP("TFormNoiseAnalysis", "参照"), analysis_.reference);
  bandNoise_->setText(parts.isEmpty()
                          ? QString()
                          : tr("帯域ノイズ %1–%2: ").arg(Text(FormatRoundTrip(band.f1)), Text(HertzText(band.f2))) +
                                parts.join(tr("，")));
}

void TFormNoiseAnalysis::ShowHistogram() {
  PictureView* view = View(Plot::Histogram);
  view->SetNote(tr("測定データがありません"));
  view->SetPicture(analysis_.current ? HistogramImage(analysis_.current->figures.histogram, session_.State().fftSetting)
                                     : QImage());
}

void TFormNoiseAnalysis::ShowAllan() {
  PictureView* view = View(Plot::Allan);
  view->SetNote(tr("測定データがありません"));
  view->SetPicture(analysis_.current ? AllanImage(analysis_.current->figures.allan, session_.State().fftSetting)
                                     : QImage());
}

void TFormNoiseAnalysis::SetBand(const FrequencyBand& band) {
  choice_.band = band;
  bandLow_->setText(Text(FormatRoundTrip(band.f1)));
  bandHigh_->setText(Text(FormatRoundTrip(band.f2)));
}

void TFormNoiseAnalysis::ApplyBandFields() {
  const auto band = BandOfTexts(bandLow_->text().trimmed().toStdString(), bandHigh_->text().trimmed().toStdString());
  if (!band) {
    SetBand(choice_.band);
    bandNoise_->setText(tr("帯域は 0 < 下限 < 上限 の数値で入れてください"));
    return;
  }
  if (band->f1 == choice_.band.f1 && band->f2 == choice_.band.f2) return;
  SetBand(*band);
  ShowTable();
  ShowDensity();
}

void TFormNoiseAnalysis::ApplySegmentChoice() {
  const int length = segments_->currentData().toInt();
  if (length == choice_.segmentLength) return;
  choice_.segmentLength = length;
  const SessionState& state = session_.State();
  if (analysis_.current) analysis_.current->density = figures_.CurrentDensity(state, length, session_.AveragedDensity());
  if (analysis_.reference) {
    analysis_.reference->density = figures_.DensityOfRecord(state.refData, state.fftSetting, length);
  }
  ShowTable();
  ShowDensity();
}

void TFormNoiseAnalysis::DensityMouseMoved(int x) {
  const int column = x - DensityPlotBox().left - kDensityFrame;
  if (!densityPlot_ || column < 0 || column >= DensityPlotBox().width - 2 * kDensityFrame) {
    readout_->clear();
    return;
  }
  readout_->setText(Text(DensityReadout(Figure(), densityPlot_->FreqAt(column))));
}

void TFormNoiseAnalysis::DensityMousePressed(int x) { dragFrom_ = x - DensityPlotBox().left - kDensityFrame; }

void TFormNoiseAnalysis::DensityMouseReleased(int x) {
  const std::optional<int> from = std::exchange(dragFrom_, std::nullopt);
  if (!from || !densityPlot_) return;
  const auto& record = analysis_.current && analysis_.current->density ? analysis_.current : analysis_.reference;
  if (!record || !record->density) return;
  const auto band = BandOfDrag(*densityPlot_, *from, x - DensityPlotBox().left - kDensityFrame, record->density->range);
  if (!band) return;
  SetBand(*band);
  ShowTable();
  ShowDensity();
}

std::string TFormNoiseAnalysis::FiguresClipboardText() const { return FiguresText(analysis_, choice_.band); }

void TFormNoiseAnalysis::CopyFigures() { QGuiApplication::clipboard()->setText(Text(FiguresClipboardText())); }

void TFormNoiseAnalysis::SavePicture(Plot plot) {
  const QImage& picture = View(plot)->Picture();
  if (picture.isNull()) return;
  const auto& names = kPlotNames[static_cast<std::size_t>(plot)];
  const std::string chosen =
      prompter_.ChooseSaveFile(tr(names.saveTitle).toStdString(), tr(kPngFilter).toStdString(),
                               PatternBeside(session_.State().saveSetting.DataFileName, kAnyPng));
  activateWindow();
  if (chosen.empty()) return;
  const std::string path = WithExtensionIfNoDot(chosen, kPngExtension);
  const std::optional<std::string> bytes = PngBytes(picture);
  const WriteResult result = WriteAsking(path, prompter_, SystemFileCalls(), [&bytes](AtomicFile& out) {
    if (!bytes) return false;
    out.Append(*bytes);
    return out.Good();
  });
  if (result == WriteResult::Failed) {
    prompter_.ShowMessage(tr("PNGファイルを保存できませんでした：%1").arg(Text(prompter_.PathText(path))).toStdString(),
                          kProgramCaption, MessageIcon::Error);
  }
}
