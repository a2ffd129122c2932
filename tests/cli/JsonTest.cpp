#include "cli/Json.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(JsonWriter, NestedObjectsArraysAndCommas) {
  JsonWriter w;
  w.BeginObject()
      .Key("samples").Integer(65536)
      .Key("rms_v").Number(0.05)
      .Key("peak").BeginObject().Key("text").BeginArray().String("1.000").String("-3.0").EndArray().EndObject()
      .Key("files").BeginObject().EndObject()
      .Key("ok").Bool(true)
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

}  // namespace
