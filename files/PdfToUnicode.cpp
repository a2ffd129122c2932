#include "files/PdfToUnicode.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kXrefOffsetDigits = 10;
constexpr int kXrefEntryBytes = 20;
constexpr int kInUseFlag = 17;         // where an entry says 'n' (in use) or 'f' (free)
constexpr int kEntriesPerBlock = 100;  // the most a CMap block may hold
constexpr int kHexDigitsPerUnit = 4;   // one UTF-16 code unit
constexpr char32_t kFirstSupplementary = 0x10000;
constexpr char16_t kHighSurrogate = 0xD800;
constexpr char16_t kLowSurrogate = 0xDC00;
constexpr int kSurrogateBits = 10;
constexpr char32_t kSurrogateMask = 0x3FF;
constexpr int kInflateSizeHint = 8;  // decompressed size guessed as this many times the stream
constexpr qsizetype kMostInflateHint = qsizetype(1) << 24;
constexpr int kMostDigits = 18;              // of a number that fits 64 bits
constexpr quint64 kMostRangeCodes = 0xFFFF;  // in one bfrange entry

constexpr qsizetype LengthOf(const char* keyword) { return qsizetype(std::char_traits<char>::length(keyword)); }

bool IsSpace(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0'; }

qsizetype SkipSpace(const QByteArray& bytes, qsizetype at) {
  while (at < bytes.size() && IsSpace(bytes[at])) ++at;
  return at;
}

// The unsigned decimal number at `at` (after white space) and where it ends.
std::optional<std::pair<qint64, qsizetype>> NumberAt(const QByteArray& bytes, qsizetype at) {
  at = SkipSpace(bytes, at);
  const qsizetype start = at;
  qint64 value = 0;
  while (at < bytes.size() && std::isdigit(static_cast<unsigned char>(bytes[at])) != 0 && at - start < kMostDigits)
    value = value * 10 + (bytes[at++] - '0');
  if (at == start) return std::nullopt;
  return std::pair{value, at};
}

bool KeywordAt(const QByteArray& bytes, qsizetype at, const char* keyword) {
  return QByteArrayView(bytes).sliced(std::min(at, bytes.size())).startsWith(keyword);
}

// The classic cross-reference table: where each object starts and where its entry is.
struct Xref {
  std::map<qint64, qsizetype> offsets;  // object number → offset
  std::vector<qsizetype> entries;       // where each object's entry stands
  qsizetype startxrefNumber = 0;        // the number after "startxref"
  qsizetype startxrefEnd = 0;
  qsizetype table = 0;
};

std::optional<Xref> ReadXref(const QByteArray& pdf) {
  Xref xref;
  const qsizetype keyword = pdf.lastIndexOf("startxref");
  if (keyword < 0) return std::nullopt;
  const auto start = NumberAt(pdf, keyword + LengthOf("startxref"));
  if (!start || start->first >= pdf.size()) return std::nullopt;
  xref.startxrefNumber = SkipSpace(pdf, keyword + LengthOf("startxref"));
  xref.startxrefEnd = start->second;
  xref.table = start->first;
  if (!KeywordAt(pdf, xref.table, "xref")) return std::nullopt;
  qsizetype at = xref.table + LengthOf("xref");
  while (!KeywordAt(pdf, SkipSpace(pdf, at), "trailer")) {
    const auto first = NumberAt(pdf, at);
    const auto count = first ? NumberAt(pdf, first->second) : std::nullopt;
    if (!count) return std::nullopt;
    at = SkipSpace(pdf, count->second);
    for (qint64 i = 0; i < count->first; ++i, at += kXrefEntryBytes) {
      if (at + kXrefEntryBytes > pdf.size()) return std::nullopt;
      const auto offset = NumberAt(pdf, at);
      if (!offset || offset->second != at + kXrefOffsetDigits) return std::nullopt;
      if (pdf[at + kInUseFlag] != 'n') continue;
      xref.offsets[first->first + i] = offset->first;
      xref.entries.push_back(at);
    }
  }
  // An updated document has more tables; its objects are not all in this one.
  if (at > keyword || pdf.sliced(at, keyword - at).contains("/Prev")) return std::nullopt;
  return xref;
}

// A stream object as it stands in the file.
struct Stream {
  qsizetype start = 0;  // its dictionary's "<<"
  qsizetype end = 0;    // just after "endstream"
  QByteArray data;
  bool flate = false;
};

// The integer object `number`, for a /Length given by reference.
std::optional<qint64> IntegerObject(const QByteArray& pdf, const Xref& xref, qint64 number) {
  const auto found = xref.offsets.find(number);
  if (found == xref.offsets.end()) return std::nullopt;
  const qsizetype obj = pdf.indexOf("obj", found->second);
  if (obj < 0) return std::nullopt;
  const auto value = NumberAt(pdf, obj + LengthOf("obj"));
  return value ? std::optional(value->first) : std::nullopt;
}

// The value after `key` in a dictionary's text, up to the next key or its end.
QByteArray ValueOf(const QByteArray& dict, const char* key) {
  const qsizetype at = dict.indexOf(key);
  if (at < 0) return {};
  const qsizetype from = SkipSpace(dict, at + LengthOf(key));
  qsizetype to = dict.indexOf('/', from + 1);  // a name's own '/' is not the next key's
  if (to < 0) to = dict.size();
  return dict.sliced(from, to - from).trimmed();
}

std::optional<Stream> ReadStream(const QByteArray& pdf, const Xref& xref, qint64 number) {
  const auto found = xref.offsets.find(number);
  if (found == xref.offsets.end()) return std::nullopt;
  const qsizetype obj = pdf.indexOf("obj", found->second);
  if (obj < 0) return std::nullopt;
  Stream stream;
  stream.start = SkipSpace(pdf, obj + LengthOf("obj"));
  if (!KeywordAt(pdf, stream.start, "<<")) return std::nullopt;
  const qsizetype dictEnd = pdf.indexOf(">>", stream.start);
  if (dictEnd < 0) return std::nullopt;
  const QByteArray dict = pdf.sliced(stream.start + LengthOf("<<"), dictEnd - stream.start - LengthOf("<<"));
  if (dict.contains("<<")) return std::nullopt;  // a map's dictionary has no inner one
  const QByteArray filter = ValueOf(dict, "/Filter");
  stream.flate = filter == "/FlateDecode";
  if ((!filter.isEmpty() && !stream.flate) || dict.contains("/DecodeParms")) return std::nullopt;
  const QByteArray lengthText = ValueOf(dict, "/Length");
  const auto length = NumberAt(lengthText, 0);
  if (!length) return std::nullopt;
  qint64 bytes = length->first;
  if (lengthText.endsWith('R')) {
    const auto referenced = IntegerObject(pdf, xref, length->first);
    if (!referenced) return std::nullopt;
    bytes = *referenced;
  }
  qsizetype at = SkipSpace(pdf, dictEnd + LengthOf(">>"));
  if (!KeywordAt(pdf, at, "stream")) return std::nullopt;
  at += LengthOf("stream");
  if (KeywordAt(pdf, at, "\r\n")) {
    at += 2;
  } else if (KeywordAt(pdf, at, "\n")) {
    at += 1;
  } else {
    return std::nullopt;
  }
  if (bytes < 0 || at + bytes > pdf.size()) return std::nullopt;
  stream.data = pdf.sliced(at, bytes);
  const qsizetype end = SkipSpace(pdf, at + bytes);
  if (!KeywordAt(pdf, end, "endstream")) return std::nullopt;
  stream.end = end + LengthOf("endstream");
  return stream;
}

std::optional<QByteArray> Inflate(const QByteArray& data) {
  const auto hint = static_cast<quint32>(std::min(data.size() * kInflateSizeHint, kMostInflateHint));
  QByteArray framed;
  for (int shift = 24; shift >= 0; shift -= 8) framed.append(static_cast<char>((hint >> shift) & 0xFF));
  framed.append(data);
  QByteArray plain = qUncompress(framed);
  if (plain.isEmpty() && !data.isEmpty()) return std::nullopt;
  return plain;
}

// --- the CMap text -----------------------------------------------------------------

struct Token {
  enum Kind { Hex, Word, Open, Close } kind;
  QByteArray text;  // the hex digits, or the word
};

std::optional<std::vector<Token>> Tokens(const QByteArray& body) {
  std::vector<Token> tokens;
  for (qsizetype at = SkipSpace(body, 0); at < body.size(); at = SkipSpace(body, at)) {
    const char c = body[at];
    if (c == '<') {
      const qsizetype close = body.indexOf('>', at);
      if (close < 0) return std::nullopt;
      QByteArray hex;
      for (const char h : body.sliced(at + 1, close - at - 1)) {
        if (std::isxdigit(static_cast<unsigned char>(h)) == 0) {
          if (!IsSpace(h)) return std::nullopt;
          continue;
        }
        hex.append(static_cast<char>(std::toupper(static_cast<unsigned char>(h))));
      }
      tokens.push_back({Token::Hex, hex});
      at = close + 1;
    } else if (c == '[' || c == ']') {
      tokens.push_back({c == '[' ? Token::Open : Token::Close, {}});
      ++at;
    } else {
      const qsizetype from = at;
      while (at < body.size() && !IsSpace(body[at]) && body[at] != '<' && body[at] != '[' && body[at] != ']') ++at;
      tokens.push_back({Token::Word, body.sliced(from, at - from)});
    }
  }
  return tokens;
}

std::optional<std::u32string> TextOfHex(const QByteArray& hex) {
  if (hex.size() % kHexDigitsPerUnit != 0) return std::nullopt;
  std::u32string text;
  for (qsizetype at = 0; at < hex.size(); at += kHexDigitsPerUnit) {
    const auto unit = static_cast<char32_t>(hex.sliced(at, kHexDigitsPerUnit).toUInt(nullptr, 16));
    const bool low = unit >= kLowSurrogate && unit <= kLowSurrogate + kSurrogateMask;
    if (low && !text.empty() && text.back() >= kHighSurrogate && text.back() < kLowSurrogate) {
      text.back() = kFirstSupplementary + ((text.back() - kHighSurrogate) << kSurrogateBits) + (unit - kLowSurrogate);
    } else {
      text.push_back(unit);
    }
  }
  return text;
}

QByteArray HexOfUnit(char32_t unit) {
  return QByteArray::number(unit, 16).toUpper().rightJustified(kHexDigitsPerUnit, '0');
}

QByteArray HexOfText(const std::u32string& text) {
  QByteArray hex;
  for (const char32_t c : text) {
    if (c >= kFirstSupplementary) {
      hex += HexOfUnit(kHighSurrogate + ((c - kFirstSupplementary) >> kSurrogateBits));
      hex += HexOfUnit(kLowSurrogate + ((c - kFirstSupplementary) & kSurrogateMask));
    } else {
      hex += HexOfUnit(c);
    }
  }
  return hex;
}

// The code `offset` after `first`, in as many digits.
QByteArray CodeAfter(const QByteArray& first, quint64 offset) {
  return QByteArray::number(first.toULongLong(nullptr, 16) + offset, 16).toUpper().rightJustified(first.size(), '0');
}

using Mapping = std::vector<std::pair<QByteArray, std::u32string>>;  // code → text, in order

// The entries of a CMap's bfchar and bfrange blocks.
std::optional<Mapping> MappingOf(const std::vector<Token>& tokens) {
  Mapping mapping;
  for (std::size_t i = 0; i < tokens.size();) {
    const Token& token = tokens[i];
    if (token.kind == Token::Word && token.text == "beginbfchar") {
      for (++i; i + 1 < tokens.size() && tokens[i].kind == Token::Hex; i += 2) {
        const auto text = TextOfHex(tokens[i + 1].text);
        if (tokens[i + 1].kind != Token::Hex || !text) return std::nullopt;
        mapping.emplace_back(tokens[i].text, *text);
      }
    } else if (token.kind == Token::Word && token.text == "beginbfrange") {
      for (++i; i + 2 < tokens.size() && tokens[i].kind == Token::Hex;) {
        const QByteArray& low = tokens[i].text;
        const quint64 first = low.toULongLong(nullptr, 16);
        const quint64 last = tokens[i + 1].text.toULongLong(nullptr, 16);
        if (tokens[i + 1].kind != Token::Hex || last < first || last - first > kMostRangeCodes) return std::nullopt;
        i += 2;
        if (tokens[i].kind == Token::Hex) {
          auto text = TextOfHex(tokens[i].text);
          if (!text || text->empty()) return std::nullopt;
          for (quint64 k = 0; k <= last - first; ++k, ++text->back()) mapping.emplace_back(CodeAfter(low, k), *text);
          ++i;
        } else if (tokens[i].kind == Token::Open) {
          ++i;
          for (quint64 k = 0; i < tokens.size() && tokens[i].kind == Token::Hex; ++k, ++i) {
            const auto text = TextOfHex(tokens[i].text);
            if (!text || k > last - first) return std::nullopt;
            mapping.emplace_back(CodeAfter(low, k), *text);
          }
          if (i >= tokens.size() || tokens[i].kind != Token::Close) return std::nullopt;
          ++i;
        } else {
          return std::nullopt;
        }
      }
    } else {
      ++i;
    }
  }
  return mapping;
}

QByteArray BlocksOf(const Mapping& mapping) {
  QByteArray blocks;
  for (std::size_t from = 0; from < mapping.size(); from += kEntriesPerBlock) {
    const std::size_t to = std::min(mapping.size(), from + kEntriesPerBlock);
    blocks += QByteArray::number(static_cast<qulonglong>(to - from)) + " beginbfchar\n";
    for (std::size_t i = from; i < to; ++i)
      blocks += '<' + mapping[i].first + "> <" + HexOfText(mapping[i].second) + ">\n";
    blocks += "endbfchar\n";
  }
  return blocks;
}

// A part of the document replaced by other bytes.
struct Edit {
  qsizetype start = 0;
  qsizetype end = 0;
  QByteArray bytes;
};

QByteArray StreamObjectBody(const QByteArray& data) {
  return "<< /Length " + QByteArray::number(data.size()) + " >>\nstream\n" + data + "\nendstream";
}

}  // namespace

PdfToUnicode::PdfToUnicode(Correction correction) : correction(std::move(correction)) {}

std::optional<QByteArray> PdfToUnicode::CorrectedMap(const QByteArray& cmap) const {
  const qsizetype bodyStart = cmap.indexOf("endcodespacerange");
  const qsizetype bodyEnd = cmap.lastIndexOf("endcmap");
  if (bodyStart < 0 || bodyEnd < bodyStart) return std::nullopt;
  const qsizetype from = bodyStart + LengthOf("endcodespacerange");
  const auto tokens = Tokens(cmap.sliced(from, bodyEnd - from));
  auto mapping = tokens ? MappingOf(*tokens) : std::nullopt;
  if (!mapping) return std::nullopt;
  bool changed = false;
  for (auto& [code, text] : *mapping) {
    if (text.size() != 1) continue;
    if (auto replacement = correction(text.front()); replacement && *replacement != text) {
      text = std::move(*replacement);
      changed = true;
    }
  }
  if (!changed) return std::nullopt;
  return cmap.first(from) + '\n' + BlocksOf(*mapping) + cmap.sliced(bodyEnd);
}

std::optional<QByteArray> PdfToUnicode::Corrected(const QByteArray& pdf) const {
  const auto xref = ReadXref(pdf);
  if (!xref) return std::nullopt;
  std::vector<qint64> maps;
  for (qsizetype at = pdf.indexOf("/ToUnicode"); at >= 0; at = pdf.indexOf("/ToUnicode", at + 1)) {
    const auto number = NumberAt(pdf, at + LengthOf("/ToUnicode"));
    if (number && std::find(maps.begin(), maps.end(), number->first) == maps.end()) maps.push_back(number->first);
  }
  std::vector<Edit> edits;
  for (const qint64 number : maps) {
    const auto stream = ReadStream(pdf, *xref, number);
    if (!stream) return std::nullopt;
    const auto cmap = stream->flate ? Inflate(stream->data) : std::optional(stream->data);
    if (!cmap) return std::nullopt;
    if (const auto corrected = CorrectedMap(*cmap))
      edits.push_back({stream->start, stream->end, StreamObjectBody(*corrected)});
  }
  if (edits.empty()) return pdf;
  std::sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) { return a.start < b.start; });
  if (edits.back().end > xref->table) return std::nullopt;  // a map after the table
  // Where a byte of the old document stands in the new one.
  const auto moved = [&](qsizetype old) {
    qsizetype now = old;
    for (const Edit& edit : edits) {
      if (edit.start < old) now += edit.bytes.size() - (edit.end - edit.start);
    }
    return now;
  };
  QByteArray out;
  qsizetype copied = 0;
  for (const Edit& edit : edits) {
    out += pdf.sliced(copied, edit.start - copied) + edit.bytes;
    copied = edit.end;
  }
  out += pdf.sliced(copied, xref->startxrefNumber - copied);
  out += QByteArray::number(moved(xref->table)) + pdf.sliced(xref->startxrefEnd);
  // The table keeps its width: only its ten-digit offsets change.
  const qsizetype shift = moved(xref->table) - xref->table;
  for (const qsizetype entry : xref->entries) {
    const qsizetype at = entry + shift;
    const qsizetype offset = out.sliced(at, kXrefOffsetDigits).toLongLong();
    out.replace(at, kXrefOffsetDigits, QByteArray::number(moved(offset)).rightJustified(kXrefOffsetDigits, '0'));
  }
  return out;
}
