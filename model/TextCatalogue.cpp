#include "model/TextCatalogue.h"

#include <array>
#include <atomic>
#include <string_view>
#include <unordered_map>

namespace {

// Japanese (byte for byte the texts the program has always shown) and English.
constexpr std::array kEntries = std::to_array<CatalogueEntry>({
    // The boxes' messages (ui/Mymessage).
    {"致命的なメモリエラーです:%1", "Fatal memory error: %1"},
    {"コマンド送信エラーです", "A command could not be sent"},
    {"%1が見つかりませんでした", "%1 was not found"},
    {"%1が応答しませんでした", "%1 did not respond"},
    {"初期設定ファイルを保存できませんでした", "The default settings file could not be saved"},
    {"データ保存できませんでした", "The data could not be saved"},
    {"データファイルの内容が正しくありませんでした", "The data file's content is not valid"},
    {"FFTデータ保存できませんでした", "The FFT data could not be saved"},
    {"設定ファイルの内容が正しくありませんでした", "The settings file's content is not valid"},
    {"データがありません", "There is no data"},
    {"入力信号レベルが適正範囲からはずれています", "The input level is out of range"},
    {"印刷できませんでした", "The page could not be printed"},
    {"ゼロ除算：TmyFFT::DCCut", "Division by zero: TmyFFT::DCCut"},
    {"ファイル：%1があります。\n上書きしますか", "The file %1 exists.\nReplace it?"},
    {"同名のファイル：%1があります。\n上書きしますか", "A file named %1 exists.\nReplace it?"},
    // The file dialog of the automatic save (display/AutoSaveChoice).
    {"自動保存するデータファイルの選択", "Data file for the automatic save"},
    // The status bar (ui/StatusTexts).
    {"計測中です", "Measuring"},
    {"計測終了しました", "Measurement finished"},
    {"計測中止しました", "Measurement stopped"},
    {"データファイル読み込みました", "Data file loaded"},
    {"参照データを読み込みました", "Reference data loaded"},
    {"測定開始処理中です。。。", "Starting the measurement..."},
    {"計測エラーで終了", "Ended by a measurement error"},
    {"%1応答しませんでした", "%1 did not respond"},
    {"データ番号：%1 / AD変換値：%2", "Sample: %1 / Code: %2"},
    {"最大値：%1 / 最小値：%2 / pp値：%3 digit / 標準偏差：%4 digit",
     "Max: %1 / Min: %2 / p-p: %3 digit / SD: %4 digit"},
    {"最大値：%1　/最小値：%2　/p-p値：%3 / 標準偏差：%4", "Max: %1 / Min: %2 / p-p: %3 / SD: %4"},
    // The spectrum's conditions line (app/ResultTexts).
    {"Δｆ= %1", "Δf= %1"},
    {"窓関数=矩形波窓(補正なし)", "Window=rectangular (uncorrected)"},
    {"窓関数=ハニング窓", "Window=Hanning"},
    {"窓関数=ハミング窓", "Window=Hamming"},
    {"窓関数=フラットトップ窓", "Window=flat top"},
    {"絶対値[dBV] 表示", "Absolute [dBV]"},
    {"相対値[dB] 表示", "Relative [dB]"},
    {"(補正あり)", " (corrected)"},
    // The printed page's lines (files/PrintPage).
    {"データ数：%1", "Samples: %1"},
    {"サンプリング：%1", "Sampling: %1"},
    {"周波数分解能：%1", "Frequency step: %1"},
    {"dB表示：絶対値表示[dBV]", "dB scale: absolute [dBV]"},
    {"dB表示：相対値表示", "dB scale: relative"},
    {"窓関数による減衰の補正計算：%1", "Window loss corrected: %1"},
    {"窓関数：ハニング窓", "Window: Hanning"},
    {"窓関数：ハミング窓", "Window: Hamming"},
    {"窓関数：フラットトップ", "Window: flat top"},
    {"窓関数：矩形波窓", "Window: rectangular"},
    {"FFT計算 DCカット：%1", "FFT DC removed: %1"},
    {"信号波形 DCカット：%1", "Waveform DC removed: %1"},
    {"ピーク値[%1]：%2", "Peak [%1]: %2"},
    {"ピーク値[dBV]：%1", "Peak [dBV]: %1"},
    {"ピーク値[dB]：%1", "Peak [dB]: %1"},
    {"スペクトル：RMS平均（%1回）", "Spectrum: RMS average of %1"},
    {"スペクトル：ピークホールド（%1回）", "Spectrum: peak hold of %1"},
    {"スペクトル：指数平均（直近%1回、計%2回）", "Spectrum: exponential average over the last %1 (%2 in all)"},
    {"ピーク値[Hz]：%1", "Peak [Hz]: %1"},
    {"測定：%1", "Measured: %1"},
    {"ファイル名：", "File: "},
    {"有り", "yes"},
    {"なし", "no"},
    // The figures of a measurement (app/AnalysisFigures).
    {"フルスケール (FSR)", "Full scale (FSR)"},
    {"平均", "Mean"},
    {"ピークツーピーク (実測)", "Peak-to-peak (measured)"},
    {"ピークツーピーク (6.6σ)", "Peak-to-peak (6.6σ)"},
    {"実効分解能", "Effective resolution"},
    {"ノイズフリー分解能", "Noise-free resolution"},
    {"ダイナミックレンジ", "Dynamic range"},
    {"帯域ノイズ RMS", "Band noise RMS"},
    {"帯域ノイズ p-p (6.6×RMS)", "Band noise p-p (6.6×RMS)"},
    {"信号周波数", "Tone frequency"},
    {"信号レベル (RMS)", "Tone level (RMS)"},
    {"高調波", "Harmonic"},
    {"%1次", "order %1"},
});

std::atomic<Language> gLanguage{Language::Japanese};

const std::unordered_map<std::string_view, std::string_view>& EnglishByJapanese() {
  static const std::unordered_map<std::string_view, std::string_view> map = [] {
    std::unordered_map<std::string_view, std::string_view> built;
    for (const CatalogueEntry& entry : kEntries) built.emplace(entry.japanese, entry.english);
    return built;
  }();
  return map;
}

}  // namespace

std::span<const CatalogueEntry> CatalogueEntries() { return kEntries; }

void SetTextLanguage(Language language) { gLanguage.store(language); }

Language TextLanguage() { return gLanguage.load(); }

std::string Localized(std::string_view japanese) {
  if (TextLanguage() == Language::Japanese) return std::string(japanese);
  const auto& map = EnglishByJapanese();
  const auto found = map.find(japanese);
  return std::string(found == map.end() ? japanese : found->second);
}

std::string Localized(std::string_view japanese, std::initializer_list<std::string_view> values) {
  return FillPlaceholders(Localized(japanese), values);
}

std::string FillPlaceholders(std::string_view pattern, std::initializer_list<std::string_view> values) {
  std::string text;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
    const auto index = static_cast<std::size_t>(next - '1');
    if (pattern[i] == '%' && next >= '1' && next <= '9' && index < values.size()) {
      text += values.begin()[index];
      ++i;
    } else {
      text += pattern[i];
    }
  }
  return text;
}
