// What the graph draws into and places: its two paint boxes and its axis labels. The
// main window's are widgets (PaintBox, WidgetLabel); a picture drawn without a display
// has plain ones (CanvasBox, DrawnLabel) that it paints as the widgets paint themselves.
#pragma once

#include <QFont>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <array>
#include <cstddef>

class GraphBox {
 public:
  virtual ~GraphBox() = default;

  // The image the box shows, always of the box's current size (white when new).
  virtual QImage& Canvas() = 0;
  // Shows the canvas as it now is.
  virtual void Present() = 0;

  virtual QSize Size() const = 0;
  // Position and size in the host's area.
  virtual void SetGeometry(const QRect& geometry) = 0;
  virtual bool Shown() const = 0;
  virtual void SetShown(bool shown) = 0;
};

class GraphLabel {
 public:
  virtual ~GraphLabel() = default;

  virtual QString Text() const = 0;
  // The label becomes as wide as its text, keeping its height.
  virtual void SetText(const QString& text) = 0;
  virtual QFont Font() const = 0;
  // Fixes the label's height; its width follows the text.
  virtual void SetHeight(int pixels) = 0;

  virtual QSize Size() const = 0;
  // The top-left corner in the host's area.
  virtual void Move(int left, int top) = 0;
  virtual void SetShown(bool shown) = 0;
};

// A host's labels, of its own label type, as the graph takes them.
template <typename Label, std::size_t N>
std::array<GraphLabel*, N> GraphLabelsOf(const std::array<Label*, N>& labels) {
  std::array<GraphLabel*, N> seams{};
  for (std::size_t i = 0; i < N; ++i) seams[i] = labels[i];
  return seams;
}
