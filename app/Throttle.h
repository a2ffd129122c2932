// Lets a repeated piece of work (a redraw, a progress text) through at most once per
// period on the steady clock given here, so a stream of small events costs a few
// repaints a second however fast it runs.
#pragma once

#include <chrono>
#include <functional>
#include <optional>

class Throttle {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;

  explicit Throttle(std::chrono::milliseconds period, Clock clock = std::chrono::steady_clock::now);

  // True for the first call after construction or Reset, and then once a whole period
  // has passed since the last call that answered true.
  bool Due();
  // The next Due answers true (a new run of the work begins).
  void Reset() { last_.reset(); }

 private:
  std::chrono::milliseconds period_;
  Clock clock_;
  std::optional<std::chrono::steady_clock::time_point> last_;  // when Due last answered true
};
