// One QApplication per test binary, made before the first test and destroyed after the
// last one, while Qt's global data still exists: the pointer devices Qt makes for the
// first mouse event unregister from it, and the font caches are released with it.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

class QtTestApp : public ::testing::Environment {
 public:
  void SetUp() override { app_ = std::make_unique<QApplication>(argc_, argv_); }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[5] = "test";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};

// Registered once, however many files of a binary include this header.
inline ::testing::Environment* const kQtTestApp = ::testing::AddGlobalTestEnvironment(new QtTestApp);
