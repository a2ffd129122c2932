#include "display/OffscreenApplication.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

// The face and text colours of Qt's default widget style, which the pictures show
// around their graphs and in their labels as the window would, also where no widget
// application runs.
constexpr QRgb kStyleFace = 0xEFEFEF;
constexpr QRgb kStyleText = 0x000000;

}  // namespace

OffscreenApplication::OffscreenApplication() {
  QCoreApplication* running = QCoreApplication::instance();
  if (running != nullptr) {
    usable_ = qobject_cast<QGuiApplication*>(running) != nullptr;
    return;
  }
  own_ = std::make_unique<QGuiApplication>(argc_, argv_);
  QPalette palette = QGuiApplication::palette();
  palette.setColor(QPalette::Window, QColor(kStyleFace));
  palette.setColor(QPalette::WindowText, QColor(kStyleText));
  QGuiApplication::setPalette(palette);
  usable_ = true;
}

OffscreenApplication::~OffscreenApplication() = default;
