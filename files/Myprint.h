// TmyPrint: one page of the current measurement on a paged device (the window's printer,
// or the command-line tool's PDF writer): the spectrum, above it the waveform when
// fWaveGraph is set, both framed with their axis labels, and the fourteen text lines of
// conditions and peak readout. The graph draws the plots into the work bitmap and
// writes the labels; this class lays out the page, copies, frames and writes the text
// block. One object per print command.
#pragma once

#include <QImage>

#include "files/DrawnText.h"
#include "files/PrintPage.h"
#include "model/Records.h"

class QPagedPaintDevice;
class QPainter;
class TGraph_FFT;

class TmyPrint {
 public:
  // The references must outlive the object; only fWaveGraph is read of the settings.
  TmyPrint(TGraph_FFT& graph, QPagedPaintDevice& printer, const FftSetting& fftSetting);

  // Prints one page. False, with no job begun, when the work bitmap cannot be made or
  // the printer cannot begin (an unwritable file, a printer gone); false as well when
  // the job fails to end. Never throws for these.
  bool Print(const PrintInfo& info);

  // The text block's runs as the last Print drew them.
  const DrawnText& Drawn() const { return drawn; }

 private:
  // Copies the work bitmap into rect (scaled up when it was drawn at a capped
  // resolution) and frames it one pixel outside.
  void CopyAndFrame(QPainter& canvas, const PageRect& rect);
  void WriteTextBlock(QPainter& canvas, const PageLayout& layout, const PrintInfo& info);

  TGraph_FFT& graph;
  QPagedPaintDevice& printer;
  const FftSetting& fftSetting;
  QImage bitmap;  // the work bitmap, alive during Print only
  DrawnText drawn;
};
