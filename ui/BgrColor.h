// The settings records keep colours as 0x00BBGGRR values; these convert them for Qt.
#pragma once

#include <QColor>
#include <cstdint>

namespace bgr {
inline constexpr int kChannelBits = 8;
inline constexpr std::int32_t kChannelMask = 0xFF;
}  // namespace bgr

inline QColor QColorOfBgr(std::int32_t color) {
  return QColor(color & bgr::kChannelMask, (color >> bgr::kChannelBits) & bgr::kChannelMask,
                (color >> (2 * bgr::kChannelBits)) & bgr::kChannelMask);
}

inline std::int32_t BgrOfQColor(const QColor& color) {
  return color.red() | (color.green() << bgr::kChannelBits) | (color.blue() << (2 * bgr::kChannelBits));
}
