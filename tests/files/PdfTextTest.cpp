// The corrected text maps of a PDF: which code points stand for which drawn characters,
// and the document rewritten with its lengths and cross-reference offsets whole.
#include <gtest/gtest.h>

#include <QFont>
#include <QFontDatabase>
#include <QRegularExpression>
#include <map>

#include "QtTestApp.h"
#include "files/DrawnText.h"
#include "files/PdfToUnicode.h"

namespace {

// A document of the given objects (their text between "obj" and "endobj"), with a
// classic cross-reference table, as Qt writes one.
QByteArray Document(const std::vector<QByteArray>& objects) {
  QByteArray pdf = "%PDF-1.4\n";
  std::vector<qsizetype> offsets;
  for (std::size_t i = 0; i < objects.size(); ++i) {
    offsets.push_back(pdf.size());
    pdf += QByteArray::number(static_cast<int>(i + 1)) + " 0 obj\n" + objects[i] + "\nendobj\n";
  }
  const qsizetype table = pdf.size();
  pdf += "xref\n0 " + QByteArray::number(static_cast<int>(objects.size() + 1)) + "\n0000000000 65535 f \n";
  for (const qsizetype offset : offsets) pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
  pdf += "trailer\n<< /Size " + QByteArray::number(static_cast<int>(objects.size() + 1)) + " >>\nstartxref\n" +
         QByteArray::number(table) + "\n%%EOF\n";
  return pdf;
}

QByteArray StreamObject(const QByteArray& data, const QByteArray& extra = {}) {
  return "<< /Length " + QByteArray::number(data.size()) + extra + " >>\nstream\n" + data + "\nendstream";
}

QByteArray Cmap(const QByteArray& blocks) {
  return "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n1 begincodespacerange\n<0000> <FFFF>\n"
         "endcodespacerange\n" +
         blocks + "endcmap\nend\nend\n";
}

// Object number → the text between "obj" and "endobj", read through the document's
// table, so an offset that is off shows as an object not found.
std::map<int, QByteArray> ObjectsByTable(const QByteArray& pdf) {
  std::map<int, QByteArray> objects;
  const qsizetype start = pdf.lastIndexOf("startxref");
  const qsizetype table = pdf.sliced(start + 10).trimmed().split('\n').front().toLongLong();
  const QList<QByteArray> lines = pdf.sliced(table).split('\n');
  for (int i = 3; i < lines.size() && !lines[i].startsWith("trailer"); ++i) {
    const qsizetype offset = lines[i].left(10).toLongLong();
    const QByteArray head = QByteArray::number(i - 2) + " 0 obj\n";
    if (!pdf.sliced(offset).startsWith(head)) continue;
    const qsizetype end = pdf.indexOf("\nendobj", offset);
    objects[i - 2] = pdf.sliced(offset + head.size(), end - offset - head.size());
  }
  return objects;
}

// A stream object's data, checked against its /Length.
QByteArray StreamData(const QByteArray& object) {
  const auto match = QRegularExpression(R"(/Length (\d+) >>\nstream\n)").match(QString::fromLatin1(object));
  if (!match.hasMatch()) return "no stream";
  const qsizetype from = match.capturedEnd();
  const qsizetype length = match.captured(1).toLongLong();
  if (object.sliced(from + length) != "\nendstream") return "wrong length";
  return object.sliced(from, length);
}

std::optional<std::u32string> Replace(char32_t emitted) {
  if (emitted == U'\u2F70') return U"示";
  if (emitted == U'\uFB01') return U"fi";
  if (emitted == U'\t') return U" ";
  return std::nullopt;
}

TEST(PdfToUnicode, MapsAreRewrittenAndTheDocumentStaysWhole) {
  const QByteArray qtForm = Cmap(
      "2 beginbfrange\n<0000> <0000> <0000>\n<0001> <0004> [<0064> <2F70> <FB01> <0009> ]\nendbfrange\n"
      "1 beginbfchar\n<0005> <D842DFB7>\nendbfchar\n");
  const QByteArray content = "BT /F1 12 Tf <0001> Tj ET";
  const QByteArray image = StreamObject(QByteArray("\x00\xFF stream endstream \x01", sizeof "\x00\xFF stream endstream \x01" - 1));
  const QByteArray pdf = Document({"<< /Type /Catalog >>", "<< /Type /Font /ToUnicode 3 0 R >>", StreamObject(qtForm),
                                   StreamObject(content), image, "<< /Type /Font /ToUnicode 3 0 R >>"});
  const auto corrected = PdfToUnicode(Replace).Corrected(pdf);
  ASSERT_TRUE(corrected);
  const auto objects = ObjectsByTable(*corrected);
  ASSERT_EQ(objects.size(), 6U) << "every offset in the table points at its object";
  EXPECT_EQ(objects.at(1), "<< /Type /Catalog >>");
  EXPECT_EQ(StreamData(objects.at(4)), content) << "later objects move with their table entries";
  EXPECT_EQ(objects.at(5), image);
  const QByteArray map = StreamData(objects.at(3));
  for (const char* entry :
       {"<0000> <0000>", "<0001> <0064>", "<0002> <793A>", "<0003> <00660069>", "<0004> <0020>", "<0005> <D842DFB7>"})
    EXPECT_TRUE(map.contains(entry)) << entry << " in\n" << map.constData();
  EXPECT_TRUE(map.startsWith(qtForm.first(qtForm.indexOf("endcodespacerange")))) << "the header stays";
  EXPECT_TRUE(map.endsWith("endcmap\nend\nend\n"));
  EXPECT_TRUE(corrected->endsWith("%%EOF\n"));
}

TEST(PdfToUnicode, CompressedMapsAndRangesAreReadAndNothingToCorrectKeepsTheBytes) {
  // A range with one start value stands for consecutive code points: the third is ⽰.
  const QByteArray ranged = Cmap("1 beginbfrange\n<0010> <0012> <2F6E>\nendbfrange\n");
  const QByteArray deflated = qCompress(ranged).sliced(4);  // zlib data without Qt's size prefix
  const QByteArray pdf = Document({"<< /ToUnicode 2 0 R >>",
                                   "<< /Length 3 0 R /Filter /FlateDecode >>\nstream\n" + deflated + "\nendstream",
                                   QByteArray::number(deflated.size())});
  const auto corrected = PdfToUnicode(Replace).Corrected(pdf);
  ASSERT_TRUE(corrected);
  const auto objects = ObjectsByTable(*corrected);
  ASSERT_EQ(objects.size(), 3U);
  const QByteArray map = StreamData(objects.at(2));
  EXPECT_TRUE(map.contains("<0010> <2F6E>\n<0011> <2F6F>\n<0012> <793A>")) << objects.at(2).constData();

  const QByteArray plain =
      Document({"<< /ToUnicode 2 0 R >>", StreamObject(Cmap("1 beginbfchar\n<0001> <0041>\nendbfchar\n"))});
  EXPECT_EQ(PdfToUnicode(Replace).Corrected(plain), plain);
}

TEST(PdfToUnicode, DocumentsLaidOutOtherwiseAreRefused) {
  const QByteArray cmap = Cmap("1 beginbfchar\n<0001> <2F70>\nendbfchar\n");
  const QByteArray whole = Document({"<< /ToUnicode 2 0 R >>", StreamObject(cmap)});
  QByteArray updated = whole;
  updated.replace("/Size 3", "/Size 3 /Prev 9");
  QByteArray noTable = whole;
  noTable.replace("startxref", "startxrof");
  QByteArray otherFilter = whole;
  otherFilter.replace(" >>\nstream", " /Filter /LZWDecode >>\nstream");
  QByteArray cutShort = whole;
  cutShort.replace("/Length " + QByteArray::number(cmap.size()), "/Length 99999");
  for (const QByteArray* pdf : {&updated, &noTable, &otherFilter, &cutShort})
    EXPECT_FALSE(PdfToUnicode(Replace).Corrected(*pdf)) << pdf->constData();
  EXPECT_TRUE(PdfToUnicode(Replace).Corrected(whole));
}

TEST(DrawnText, LookAlikeCodePointsStandForTheCharactersDrawn) {
  QFont japanese(QStringLiteral("Noto Sans CJK JP"));
  QFont latin(QStringLiteral("DejaVu Sans"));
  if (!QFontDatabase::families().contains(japanese.family()) || !QFontDatabase::families().contains(latin.family()))
    GTEST_SKIP() << "the page's fonts are not installed";
  DrawnText drawn;
  drawn.Add(QStringLiteral("dB表示：見長"), japanese);
  drawn.Add(QStringLiteral("< profile_flat.DTA >"), latin);
  const struct {
    char32_t emitted;
    std::optional<std::u32string> text;
    const char* why;
  } cases[] = {
      {U'\u2F70', U"示", "Kangxi radical of 示"},
      {U'\u2F92', U"見", "Kangxi radical of 見"},
      {U'\u2ED1', U"長", "a radical without a decomposition"},
      {U'\t', U" ", "the space's glyph"},
      {U'\uFB01', U"fi", "ligature"},
      {U'\uFB02', U"fl", "ligature"},
      {U'示', std::nullopt, "drawn as it is"},
      {U'A', std::nullopt, "an ordinary letter"},
      {U'\u2F00', std::nullopt, "the radical of 一, not drawn"},
  };
  for (const auto& c : cases) EXPECT_EQ(drawn.TextFor(c.emitted), c.text) << c.why;

  DrawnText both;
  both.Add(QStringLiteral("⽰ 示"), japanese);
  EXPECT_EQ(both.TextFor(U'\u2F70'), std::nullopt) << "a radical that was drawn stays";
}

}  // namespace
