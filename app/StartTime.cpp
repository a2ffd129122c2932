#include "app/StartTime.h"

#include <array>
#include <ctime>

std::string StartDateTimeText(std::chrono::system_clock::time_point when) {
  const std::time_t time = std::chrono::system_clock::to_time_t(when);
  std::tm local{};
  localtime_r(&time, &local);
  std::array<char, 32> text{};
  const std::size_t n = std::strftime(text.data(), text.size(), "%Y/%m/%d %H:%M:%S", &local);
  return {text.data(), n};
}
