// The one widget application of the benchmark binary, offscreen, made on first use.
// It is never destroyed: at exit Qt's registry of input devices is gone before a
// static application would be, and the devices it owns would unregister from it (a
// crash after the last benchmark). The process's end frees it.
#pragma once

#include <QApplication>

inline QApplication& BenchApp() {
  static char arg0[] = "zemtra-bench", arg1[] = "-platform", arg2[] = "offscreen";
  static char* argv[] = {arg0, arg1, arg2, nullptr};
  static int argc = 3;
  static QApplication* const app = new QApplication(argc, argv);
  return *app;
}
