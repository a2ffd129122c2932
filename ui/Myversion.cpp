#include "ui/Myversion.h"

#include <QFontMetrics>
#include <QPainter>

#include "model/Version.h"
#include "ui/DialogControls.h"
#include "ui/UiFont.h"

namespace {

// One painted line: its top-left corner in client pixels and its font's pixel height.
struct PaintedLine {
  int left;
  int top;
  int pixelSize;
  bool bold;
};
constexpr PaintedLine kMakerLine{40, 40, 15, false};
constexpr PaintedLine kAddressLine{20, 65, 12, false};
constexpr PaintedLine kTitleLine{60, 15, 16, true};

void PaintLine(QPainter& painter, const PaintedLine& line, const QString& text) {
  QFont font = UiFont();
  font.setPixelSize(line.pixelSize);
  font.setBold(line.bold);
  painter.setFont(font);
  painter.drawText(line.left, line.top + QFontMetrics(font).ascent(), text);
}

}  // namespace

TFormVersion::TFormVersion(QWidget* parent) : QDialog(parent, kFixedDialogFlags) {
  setFont(UiFont());
  setFixedSize(kClientWidth, kClientHeight);
  setWindowTitle(tr("%1について").arg(ProductName()));
}

QString TFormVersion::ProductName() { return QStringLiteral("Zemtra"); }

QString TFormVersion::Version() { return QStringLiteral("v") + QString::fromStdString(ZemtraShortVersion()); }

void TFormVersion::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  // The texts stand on the menu colour, as labels on the dialog's face would.
  painter.setBackgroundMode(Qt::OpaqueMode);
  painter.setBackground(palette().color(QPalette::Button));
  painter.setPen(Qt::black);
  PaintLine(painter, kMakerLine, tr("Zemtra 開発チーム"));
  PaintLine(painter, kAddressLine, tr("https://zemtra.example.org/"));
  PaintLine(painter, kTitleLine, ProductName() + QLatin1Char(' ') + Version());
}

void TFormVersion::mousePressEvent(QMouseEvent* /*event*/) { accept(); }
