#include "cli/Json.h"

#include <array>
#include <charconv>
#include <cmath>

#include "ui/NumberFormat.h"
#include "ui/TextHelpers.h"

void JsonWriter::BeforeValue() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (!first_.empty()) {
    if (!first_.back()) out_ += ',';
    first_.back() = false;
  }
}

JsonWriter& JsonWriter::BeginObject() {
  BeforeValue();
  out_ += '{';
  first_.push_back(true);
  return *this;
}

JsonWriter& JsonWriter::EndObject() {
  out_ += '}';
  first_.pop_back();
  return *this;
}

JsonWriter& JsonWriter::BeginArray() {
  BeforeValue();
  out_ += '[';
  first_.push_back(true);
  return *this;
}

JsonWriter& JsonWriter::EndArray() {
  out_ += ']';
  first_.pop_back();
  return *this;
}

JsonWriter& JsonWriter::Key(std::string_view key) {
  BeforeValue();
  Quoted(key);
  out_ += ':';
  afterKey_ = true;
  return *this;
}

JsonWriter& JsonWriter::String(std::string_view value) {
  BeforeValue();
  Quoted(value);
  return *this;
}

JsonWriter& JsonWriter::Number(double value) {
  if (!std::isfinite(value)) return Null();
  BeforeValue();
  std::array<char, 32> buf{};
  auto res = std::to_chars(buf.data(), buf.data() + buf.size(), value);
  out_.append(buf.data(), res.ptr);
  return *this;
}

JsonWriter& JsonWriter::Integer(std::int64_t value) {
  BeforeValue();
  out_ += FormatInteger(value);
  return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
  BeforeValue();
  out_ += value ? "true" : "false";
  return *this;
}

JsonWriter& JsonWriter::Null() {
  BeforeValue();
  out_ += "null";
  return *this;
}

namespace {

constexpr const char* kReplacement = "\\ufffd";  // stands for a byte that is not UTF-8

}  // namespace

// Texts are UTF-8, but paths and file values are bytes as given; a byte that starts
// no well-formed sequence becomes U+FFFD so that the output stays valid JSON.
void JsonWriter::Quoted(std::string_view text) {
  constexpr unsigned char kFirstPrintable = 0x20;
  constexpr unsigned char kFirstNonAscii = 0x80;
  out_ += '"';
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (static_cast<unsigned char>(c) >= kFirstNonAscii) {
      const std::size_t length = Utf8SequenceLength(text.substr(i));
      if (length == 0) {
        out_ += kReplacement;
      } else {
        out_.append(text.substr(i, length));
        i += length - 1;
      }
      continue;
    }
    switch (c) {
      case '"':
        out_ += "\\\"";
        break;
      case '\\':
        out_ += "\\\\";
        break;
      case '\n':
        out_ += "\\n";
        break;
      case '\r':
        out_ += "\\r";
        break;
      case '\t':
        out_ += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < kFirstPrintable) {
          constexpr std::array<char, 17> kHex{"0123456789abcdef"};
          const auto u = static_cast<unsigned char>(c);
          out_ += "\\u00";
          out_ += kHex[u >> 4];
          out_ += kHex[u & 0xF];
        } else {
          out_ += c;
        }
    }
  }
  out_ += '"';
}
