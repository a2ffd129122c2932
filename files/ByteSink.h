// Where a writer puts a file's bytes: a file written whole or not at all
// (AtomicFile), or a text in memory (StringSink) for the standard output.
#pragma once

#include <string>
#include <string_view>

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Takes bytes; the first failure is kept.
  virtual void Append(std::string_view bytes) = 0;
  // True while every byte so far was accepted.
  virtual bool Good() const = 0;
};

class StringSink : public ByteSink {
 public:
  void Append(std::string_view bytes) override { text_.append(bytes); }
  bool Good() const override { return true; }
  std::string& Text() { return text_; }

 private:
  std::string text_;
};
