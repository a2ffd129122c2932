// The one widget application of the benchmark binary, offscreen, made on first use.
#pragma once

#include <QApplication>

inline QApplication& BenchApp() {
  static char arg0[] = "zemtra-bench", arg1[] = "-platform", arg2[] = "offscreen";
  static char* argv[] = {arg0, arg1, arg2, nullptr};
  static int argc = 3;
  static QApplication app(argc, argv);
  return app;
}
