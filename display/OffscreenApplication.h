// A GUI application for drawing without a window: the running one, or an offscreen
// one that lives as long as this object. Not usable when a non-GUI application object
// exists (nothing can be drawn with text then, and only one application may exist).
#pragma once

#include <memory>

class QGuiApplication;

class OffscreenApplication {
 public:
  OffscreenApplication();
  ~OffscreenApplication();
  OffscreenApplication(const OffscreenApplication&) = delete;
  OffscreenApplication& operator=(const OffscreenApplication&) = delete;

  bool Usable() const { return usable_; }

 private:
  // The application keeps argc and argv and consumes the options it reads, so they
  // are fresh per object and outlive it.
  char arg0_[7] = "zemtra";
  char arg1_[10] = "-platform";
  char arg2_[10] = "offscreen";
  char* argv_[4] = {arg0_, arg1_, arg2_, nullptr};
  int argc_ = 3;
  bool usable_ = false;
  std::unique_ptr<QGuiApplication> own_;
};
