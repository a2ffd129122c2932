// Rewrites the text a PDF gives its glyphs: the ToUnicode map of each font. Qt's PDF
// engine names every glyph by the lowest code point the font maps to it, which for a
// glyph the font shares is often not the character drawn (示 comes out as the Kangxi
// radical ⽰, a space as TAB, "fi" as the ligature ﬁ), so the page's text could not be
// searched or copied. The caller says what such a code point stands for; the edited
// streams are written uncompressed with their new lengths, and the cross-reference
// offsets follow.
#pragma once

#include <QByteArray>
#include <functional>
#include <optional>
#include <string>

class PdfToUnicode {
 public:
  // The text that stands for a code point a map gives one glyph, or none to keep it.
  using Correction = std::function<std::optional<std::u32string>(char32_t emitted)>;

  explicit PdfToUnicode(Correction correction);

  // The document with its maps corrected; the same bytes when nothing needs it. None
  // when the document is not laid out as expected (one classic cross-reference table,
  // maps as plain or Flate-compressed streams): the caller keeps it as it is.
  std::optional<QByteArray> Corrected(const QByteArray& pdf) const;

 private:
  // One map's text (the stream's content) corrected; none when nothing changed or it
  // cannot be read.
  std::optional<QByteArray> CorrectedMap(const QByteArray& cmap) const;

  Correction correction;
};
