// The texts of the status bar's three panels, composed without any widget so that
// the main window and the command-line tool show the same words.
// Panel 0: the connection to the unit; panel 1: the measurement or file action;
// panel 2: progress, statistics or an error at the end of a measurement.
#pragma once

#include <cstdint>
#include <string>

#include "ui/Mymessage.h"

namespace status_text {
inline constexpr const char* kMeasuring = "計測中です";
inline constexpr const char* kFinished = "計測終了しました";
inline constexpr const char* kStopped = "計測中止しました";
inline constexpr const char* kDataLoaded = "データファイル読み込みました";
inline constexpr const char* kRefLoaded = "参照データを読み込みました";
inline constexpr const char* kStarting = "測定開始処理中です。。。";
inline constexpr const char* kMeasureError = "計測エラーで終了";
// The same words as the catalogue's boxes for these two.
inline constexpr const char* kLevelError = message_text::kInputLevel;
inline constexpr const char* kCommandError = message_text::kCommandSend;
}  // namespace status_text

// The texts are the catalogue's (model/TextCatalogue), in the interface language.

// name + "/ " + version + "/ " + description, e.g. "QT4418PX/ 1.00/ 4.8ksps x128, ".
std::string UnitInfoText(const std::string& name, const std::string& version, const std::string& description);
// "%1が見つかりませんでした" with the unit's name.
std::string NotFoundText(const std::string& unitName);
// "%1応答しませんでした" with the unit's name (without the particle of the message box).
std::string NoResponseText(const std::string& unitName);
// "データ番号：%1 / AD変換値：%2": the sample number and its code.
std::string ProgressText(std::int64_t sampleNumber, std::int64_t code);

// Statistics in converter codes: largest, smallest, peak-to-peak and the deviation
// ("0" from 100 up, else "0.0").
std::string StatsDigitsText(std::int32_t largest, std::int32_t smallest, float deviation);
// Statistics in volts; every argument in microvolts.
std::string StatsVoltsText(float deviation, float smallest, float largest);

// A status panel's width for a text textWidth pixels wide in the bar's font: 110 for a
// text up to 100 pixels, else the text's width + 10.
int PanelWidthFor(int textWidth);

// A value in microvolts with "0.000" and the unit " V", " mV", " uV" or " nV" chosen
// by the whole microvolts of its magnitude; the sign is kept.
std::string FormatMicrovolts(double microvolts);
