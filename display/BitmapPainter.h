// A painter for the graphs' off-screen bitmaps. Qt's raster engine writes the pixels
// of a thin line straight into the image only when the painter holds a clip rectangle;
// without one every pixel of a line goes through the general span blender, which makes
// a waveform of 65535 near full-height segments several times slower. The clip is the
// whole image, so every pixel drawn stays what a plain painter draws, in every mode.
#pragma once

#include <QImage>
#include <QPainter>

class BitmapPainter : public QPainter {
 public:
  explicit BitmapPainter(QImage& bitmap) : QPainter(&bitmap) { setClipRect(bitmap.rect()); }
};
