// What the text block drew, face by face, to tell which character a PDF's text map
// should give a glyph that the PDF engine named by another code point of the same
// glyph: a radical that looks like the ideograph drawn (⽰ for 示, ⻑ for 長), a control
// character that shares the space's glyph, or a ligature of two letters drawn.
#pragma once

#include <QRawFont>
#include <QString>
#include <optional>
#include <set>
#include <string>
#include <vector>

class QFont;

class DrawnText {
 public:
  // Records text drawn in font.
  void Add(const QString& text, const QFont& font);

  // The text that stands for a code point a PDF's text map gives a glyph: for a
  // ligature its letters; for a radical or a control character that was not drawn, the
  // one drawn character that a face drew with the same glyph. None for every other
  // code point, and where the glyph is no drawn character's or several ones'.
  std::optional<std::u32string> TextFor(char32_t emitted) const;

 private:
  struct Face {
    QRawFont font;
    std::set<char32_t> characters;
  };
  std::vector<Face> faces;
  std::set<char32_t> all;  // every character drawn
};
