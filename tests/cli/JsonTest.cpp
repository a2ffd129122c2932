#include <gtest/gtest.h>

#include <limits>

#include "cli/Json.h"

namespace {

TEST(JsonWriter, NestedObjectsArraysAndCommas) {
  JsonWriter w;
  w.BeginObject()
      .Key("samples")
      .Integer(65536)
      .Key("rms_v")
      .Number(0.05)
      .Key("peak")
      .BeginObject()
      .Key("text")
      .BeginArray()
      .String("1.000")
      .String("-3.0")
      .EndArray()
      .EndObject()
      .Key("files")
      .BeginObject()
      .EndObject()
      .Key("ok")
      .Bool(true)
      .EndObject();
  EXPECT_EQ(w.Text(), R"({"samples":65536,"rms_v":0.05,"peak":{"text":["1.000","-3.0"]},"files":{},"ok":true})");
}

TEST(JsonWriter, EscapesAndNonFiniteNumbers) {
  JsonWriter w;
  w.BeginArray()
      .String("a\"b\\c\n\x01")
      .String("最大値：")
      .Number(std::numeric_limits<double>::infinity())
      .Number(-0.25)
      .EndArray();
  EXPECT_EQ(w.Text(), "[\"a\\\"b\\\\c\\n\\u0001\",\"最大値：\",null,-0.25]");
}

TEST(JsonWriter, BytesThatAreNotUtf8BecomeReplacementCharacters) {
  JsonWriter w;
  w.BeginArray()
      .String("run\xff.DTA")               // a stray byte in a path
      .String("\x93\xfa")                  // a Shift-JIS character from an old data file
      .String("\xe6\x9c")                  // a UTF-8 sequence cut short
      .String("\xc3\xa9\xf0\x9f\x98\x80")  // whole two- and four-byte sequences pass
      .EndArray();
  EXPECT_EQ(w.Text(), "[\"run\\ufffd.DTA\",\"\\ufffd\\ufffd\",\"\\ufffd\\ufffd\",\"\xc3\xa9\xf0\x9f\x98\x80\"]");
}

}  // namespace
