<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>MainFormControls</name>
    <message>
        <source>計測開始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>+1V</source>
        <translation>+1V</translation>
    </message>
    <message>
        <source>0</source>
        <translation>0</translation>
    </message>
    <message>
        <source>-1V</source>
        <translation>-1V</translation>
    </message>
    <message>
        <source>V</source>
        <translation>V</translation>
    </message>
    <message>
        <source>100ms</source>
        <translation>100ms</translation>
    </message>
    <message>
        <source>実効値</source>
        <translation>RMS</translation>
    </message>
    <message>
        <source>Volt</source>
        <translation>Volt</translation>
    </message>
    <message>
        <source>[Vrms]</source>
        <translation>[Vrms]</translation>
    </message>
    <message>
        <source>ピーク成分</source>
        <translation>Peak</translation>
    </message>
    <message>
        <source>Vrms</source>
        <translation>Vrms</translation>
    </message>
    <message>
        <source>dB</source>
        <translation>dB</translation>
    </message>
    <message>
        <source>Hz</source>
        <translation>Hz</translation>
    </message>
    <message>
        <source>&lt;&lt;</source>
        <translation>&lt;&lt;</translation>
    </message>
    <message>
        <source>&gt;&gt;</source>
        <translation>&gt;&gt;</translation>
    </message>
</context>
<context>
    <name>MainMenu</name>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>新規ファイル</source>
        <translation>New</translation>
    </message>
    <message>
        <source>印刷設定</source>
        <translation>Print Setup</translation>
    </message>
    <message>
        <source>印刷(&amp;P)</source>
        <translation>&amp;Print</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>計測(&amp;M)</source>
        <translation>&amp;Measure</translation>
    </message>
    <message>
        <source>開始(&amp;S)</source>
        <translation>&amp;Start</translation>
    </message>
    <message>
        <source>データ(&amp;D)</source>
        <translation>&amp;Data</translation>
    </message>
    <message>
        <source>読込み</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>FFT結果出力</source>
        <translation>Export FFT</translation>
    </message>
    <message>
        <source>途中データの復元</source>
        <translation>Recover Partial Data</translation>
    </message>
    <message>
        <source>設定(&amp;S)</source>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <source>計測/表示設定</source>
        <translation>Measurement/Display</translation>
    </message>
    <message>
        <source>AD変換ユニット設定</source>
        <translation>ADC Unit</translation>
    </message>
    <message>
        <source>参照データ(&amp;R)</source>
        <translation>&amp;Reference</translation>
    </message>
    <message>
        <source>読み込み</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>データをクリア</source>
        <translation>Clear Data</translation>
    </message>
    <message>
        <source>解析(&amp;A)</source>
        <translation>&amp;Analysis</translation>
    </message>
    <message>
        <source>ノイズ解析(&amp;N)</source>
        <translation>&amp;Noise Analysis</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>バージョン(&amp;V)</source>
        <translation>&amp;Version</translation>
    </message>
    <message>
        <source>平均計測(&amp;V)…</source>
        <translation>A&amp;veraged Measurement…</translation>
    </message>
    <message>
        <source>連続計測(&amp;C)</source>
        <translation>&amp;Continuous Measurement</translation>
    </message>
</context>
<context>
    <name>ProgressView</name>
    <message>
        <source>%1%  残り %2</source>
        <translation>%1%  %2 left</translation>
    </message>
    <message>
        <source>%1 / %2</source>
        <translation>%1 / %2</translation>
    </message>
    <message>
        <source>%1 回目</source>
        <translation>Run %1</translation>
    </message>
    <message>
        <source>%1  残り %2</source>
        <translation>%1  %2 left</translation>
    </message>
</context>
<context>
    <name>ResultsPanel</name>
    <message>
        <source>Vrms</source>
        <translation>Vrms</translation>
    </message>
    <message>
        <source>dBV</source>
        <translation>dBV</translation>
    </message>
    <message>
        <source>dB</source>
        <translation>dB</translation>
    </message>
</context>
<context>
    <name>TFormAmpSetting</name>
    <message>
        <source>QT4418PX 設定</source>
        <translation>QT4418PX Setup</translation>
    </message>
    <message>
        <source>データレート</source>
        <translation>Data rate</translation>
    </message>
    <message>
        <source>%1 sps</source>
        <translation>%1 sps</translation>
    </message>
    <message>
        <source>内蔵アンプゲイン</source>
        <translation>Amplifier gain</translation>
    </message>
    <message>
        <source>CH</source>
        <translation>CH</translation>
    </message>
    <message>
        <source>ＣＨ０</source>
        <translation>CH0</translation>
    </message>
    <message>
        <source>ＣＨ１</source>
        <translation>CH1</translation>
    </message>
    <message>
        <source>Sinc3</source>
        <translation>Sinc3</translation>
    </message>
    <message>
        <source>Sinc4</source>
        <translation>Sinc4</translation>
    </message>
    <message>
        <source>BUF ON</source>
        <translation>BUF ON</translation>
    </message>
    <message>
        <source>BUF OFF</source>
        <translation>BUF OFF</translation>
    </message>
    <message>
        <source>既定値</source>
        <translation>Defaults</translation>
    </message>
    <message>
        <source>取り消し</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>TFormFFTSetting</name>
    <message>
        <source>０．１Ｈｚ</source>
        <translation>0.1 Hz</translation>
    </message>
    <message>
        <source>０．２Ｈｚ</source>
        <translation>0.2 Hz</translation>
    </message>
    <message>
        <source>０．５Ｈｚ</source>
        <translation>0.5 Hz</translation>
    </message>
    <message>
        <source>１Ｈｚ</source>
        <translation>1 Hz</translation>
    </message>
    <message>
        <source>２Ｈｚ</source>
        <translation>2 Hz</translation>
    </message>
    <message>
        <source>５Ｈｚ</source>
        <translation>5 Hz</translation>
    </message>
    <message>
        <source>１０Ｈｚ</source>
        <translation>10 Hz</translation>
    </message>
    <message>
        <source>２０Ｈｚ</source>
        <translation>20 Hz</translation>
    </message>
    <message>
        <source>５０Ｈｚ</source>
        <translation>50 Hz</translation>
    </message>
    <message>
        <source>１００Ｈｚ</source>
        <translation>100 Hz</translation>
    </message>
    <message>
        <source>２００Ｈｚ</source>
        <translation>200 Hz</translation>
    </message>
    <message>
        <source>５００Ｈｚ</source>
        <translation>500 Hz</translation>
    </message>
    <message>
        <source>１ｋＨｚ</source>
        <translation>1 kHz</translation>
    </message>
    <message>
        <source>１．５ｋＨｚ</source>
        <translation>1.5 kHz</translation>
    </message>
    <message>
        <source>２．４ｋＨｚ</source>
        <translation>2.4 kHz</translation>
    </message>
    <message>
        <source>＋２０ｄＢ</source>
        <translation>+20 dB</translation>
    </message>
    <message>
        <source>＋１０ｄＢ</source>
        <translation>+10 dB</translation>
    </message>
    <message>
        <source>&#x3000;&#x3000;０ｄＢ</source>
        <translation>0 dB</translation>
    </message>
    <message>
        <source>－１０ｄＢ</source>
        <translation>-10 dB</translation>
    </message>
    <message>
        <source>－２０ｄＢ</source>
        <translation>-20 dB</translation>
    </message>
    <message>
        <source>－３０ｄＢ</source>
        <translation>-30 dB</translation>
    </message>
    <message>
        <source>－４０ｄＢ</source>
        <translation>-40 dB</translation>
    </message>
    <message>
        <source>－５０ｄＢ</source>
        <translation>-50 dB</translation>
    </message>
    <message>
        <source>－６０ｄＢ</source>
        <translation>-60 dB</translation>
    </message>
    <message>
        <source>－７０ｄＢ</source>
        <translation>-70 dB</translation>
    </message>
    <message>
        <source>－８０ｄＢ</source>
        <translation>-80 dB</translation>
    </message>
    <message>
        <source>－９０ｄＢ</source>
        <translation>-90 dB</translation>
    </message>
    <message>
        <source>－１００ｄＢ</source>
        <translation>-100 dB</translation>
    </message>
    <message>
        <source>－１１０ｄＢ</source>
        <translation>-110 dB</translation>
    </message>
    <message>
        <source>－１２０ｄＢ</source>
        <translation>-120 dB</translation>
    </message>
    <message>
        <source>－１３０ｄＢ</source>
        <translation>-130 dB</translation>
    </message>
    <message>
        <source>－１４０ｄＢ</source>
        <translation>-140 dB</translation>
    </message>
    <message>
        <source>－１５０ｄＢ</source>
        <translation>-150 dB</translation>
    </message>
    <message>
        <source>－１６０ｄＢ</source>
        <translation>-160 dB</translation>
    </message>
    <message>
        <source>－１７０ｄＢ</source>
        <translation>-170 dB</translation>
    </message>
    <message>
        <source>－１８０ｄＢ</source>
        <translation>-180 dB</translation>
    </message>
    <message>
        <source>矩形波窓</source>
        <translation>Rectangular</translation>
    </message>
    <message>
        <source>ハニング窓</source>
        <translation>Hanning</translation>
    </message>
    <message>
        <source>ハミング窓</source>
        <translation>Hamming</translation>
    </message>
    <message>
        <source>フラットトップ</source>
        <translation>Flat top</translation>
    </message>
    <message>
        <source>グラフ線</source>
        <translation>Graph line</translation>
    </message>
    <message>
        <source>主目盛り線</source>
        <translation>Major grid</translation>
    </message>
    <message>
        <source>副目盛り線</source>
        <translation>Minor grid</translation>
    </message>
    <message>
        <source>参照データ</source>
        <translation>Reference</translation>
    </message>
    <message>
        <source>FFT 計測/表示設定</source>
        <translation>FFT Measurement/Display</translation>
    </message>
    <message>
        <source>データ数</source>
        <translation>Samples</translation>
    </message>
    <message>
        <source>既定値</source>
        <translation>Defaults</translation>
    </message>
    <message>
        <source>取り消し</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>グラフ選択</source>
        <translation>Graphs</translation>
    </message>
    <message>
        <source>信号波形も表示する</source>
        <translation>Show the waveform</translation>
    </message>
    <message>
        <source>電圧値で表示</source>
        <translation>Show in volts</translation>
    </message>
    <message>
        <source>交流分のみ表示</source>
        <translation>AC part only</translation>
    </message>
    <message>
        <source>計算オプション</source>
        <translation>Calculation</translation>
    </message>
    <message>
        <source>窓関数による減衰を補正</source>
        <translation>Correct window loss</translation>
    </message>
    <message>
        <source>直流成分をカット</source>
        <translation>Remove DC</translation>
    </message>
    <message>
        <source>スペクトルＸ軸</source>
        <translation>Spectrum X axis</translation>
    </message>
    <message>
        <source>周波数直線表示</source>
        <translation>Linear frequency</translation>
    </message>
    <message>
        <source>周波数対数表示</source>
        <translation>Log frequency</translation>
    </message>
    <message>
        <source>窓関数</source>
        <translation>Window</translation>
    </message>
    <message>
        <source>表示周波数範囲</source>
        <translation>Frequency range</translation>
    </message>
    <message>
        <source>から</source>
        <translation>from</translation>
    </message>
    <message>
        <source>まで</source>
        <translation>to</translation>
    </message>
    <message>
        <source>スペクトルｄＢ表示</source>
        <translation>Spectrum dB</translation>
    </message>
    <message>
        <source>絶対値を表示(dBV)</source>
        <translation>Absolute (dBV)</translation>
    </message>
    <message>
        <source>線色</source>
        <translation>Line colours</translation>
    </message>
    <message>
        <source>計測データ保存</source>
        <translation>Saving data</translation>
    </message>
    <message>
        <source>計測終了時に自動でデータを保存</source>
        <translation>Save the data when a run ends</translation>
    </message>
    <message>
        <source>ファイル選択</source>
        <translation>Choose</translation>
    </message>
    <message>
        <source>データファイルを選択して下さい</source>
        <translation>Please choose a data file</translation>
    </message>
    <message>
        <source>QV</source>
        <translation>QV</translation>
    </message>
</context>
<context>
    <name>TFormMain</name>
    <message>
        <source>Data files (*.DTA)</source>
        <translation>Data files (*.DTA)</translation>
    </message>
    <message>
        <source>データファイル (*.DTA)</source>
        <translation>Data files (*.DTA)</translation>
    </message>
    <message>
        <source>FFTファイル (*.FFT)</source>
        <translation>FFT files (*.FFT)</translation>
    </message>
    <message>
        <source>前回の計測は途中で終了しました（%1 サンプル）。</source>
        <translation>The last measurement ended early (%1 samples).</translation>
    </message>
    <message>
        <source>%1 サンプルに満たないため復元できません。受信したサンプルは データ → 途中データの復元 から CSV に出力できます。</source>
        <translation>Fewer than %1 samples: it cannot be recovered. The samples received can be exported as CSV from Data → Recover Partial Data.</translation>
    </message>
    <message>
        <source>復元しますか？</source>
        <translation>Recover it?</translation>
    </message>
    <message>
        <source>途中データを復元しました</source>
        <translation>Partial data recovered</translation>
    </message>
    <message>
        <source>CSV ファイル (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>復元できる途中データはありません</source>
        <translation>No partial data to recover</translation>
    </message>
    <message>
        <source>設定 ファイル (*.prf)</source>
        <translation>Settings files (*.prf)</translation>
    </message>
    <message>
        <source>計測中止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>計測開始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>途中データを記録できません（計測は続けます）</source>
        <translation>Partial data cannot be journalled (the measurement goes on)</translation>
    </message>
    <message>
        <source>データを保存していませんが、破棄してもいいですか？</source>
        <translation>The data has not been saved. Discard it?</translation>
    </message>
    <message>
        <source>新規ファイル：次に保存するデータファイルの名前（ここでは保存しません）</source>
        <translation>New: the name of the next data file saved (nothing is saved now)</translation>
    </message>
    <message>
        <source>データ読込み</source>
        <translation>Open Data</translation>
    </message>
    <message>
        <source>データ保存</source>
        <translation>Save Data</translation>
    </message>
    <message>
        <source>FFT結果出力</source>
        <translation>Export FFT</translation>
    </message>
    <message>
        <source>参照データ読み込み</source>
        <translation>Open Reference Data</translation>
    </message>
    <message>
        <source>設定ファイル読込み</source>
        <translation>Open Settings File</translation>
    </message>
    <message>
        <source>設定ファイル保存</source>
        <translation>Save Settings File</translation>
    </message>
    <message>
        <source>途中データのCSV出力</source>
        <translation>Export Partial Data as CSV</translation>
    </message>
    <message>
        <source>%1 %2 / %3</source>
        <translation>%1 %2 / %3</translation>
    </message>
    <message>
        <source>%1 %2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <source>RMS平均</source>
        <translation>RMS avg.</translation>
    </message>
    <message>
        <source>ピーク</source>
        <translation>Peak hold</translation>
    </message>
    <message>
        <source>指数平均 %1回</source>
        <translation>Exp. avg. of %1</translation>
    </message>
    <message>
        <source>指数 %1回</source>
        <translation>Exp. %1</translation>
    </message>
</context>
<context>
    <name>TFormNoiseAnalysis</name>
    <message>
        <source>ノイズ解析</source>
        <translation>Noise Analysis</translation>
    </message>
    <message>
        <source>数値(&amp;F)</source>
        <translation>&amp;Figures</translation>
    </message>
    <message>
        <source>数値をコピー(&amp;C)</source>
        <translation>&amp;Copy Figures</translation>
    </message>
    <message>
        <source>項目</source>
        <translation>Figure</translation>
    </message>
    <message>
        <source>測定データ</source>
        <translation>Measured</translation>
    </message>
    <message>
        <source>コード</source>
        <translation>Codes</translation>
    </message>
    <message>
        <source>参照データ</source>
        <translation>Reference</translation>
    </message>
    <message>
        <source>帯域(&amp;B)</source>
        <translation>&amp;Band</translation>
    </message>
    <message>
        <source>セグメント長(&amp;S)</source>
        <translation>&amp;Segment</translation>
    </message>
    <message>
        <source>–</source>
        <translation>–</translation>
    </message>
    <message>
        <source>Hz</source>
        <translation>Hz</translation>
    </message>
    <message>
        <source>PNG保存(&amp;P)...</source>
        <translation>Save &amp;PNG...</translation>
    </message>
    <message>
        <source>全体</source>
        <translation>Whole</translation>
    </message>
    <message>
        <source>: %1 サンプル, %2 SPS, FSR %3</source>
        <translation>: %1 samples, %2 SPS, FSR %3</translation>
    </message>
    <message>
        <source>測定データも参照データもありません</source>
        <translation>No measured or reference data</translation>
    </message>
    <message>
        <source>&#x3000;／&#x3000;</source>
        <translation>  /  </translation>
    </message>
    <message>
        <source>表示するノイズ密度がありません</source>
        <translation>No noise density to show</translation>
    </message>
    <message>
        <source>%1 RMS, %2 p-p</source>
        <translation>%1 RMS, %2 p-p</translation>
    </message>
    <message>
        <source>帯域が範囲 %1–%2 の外です</source>
        <translation>The band is outside %1–%2</translation>
    </message>
    <message>
        <source>帯域ノイズ %1–%2: </source>
        <translation>Band noise %1–%2: </translation>
    </message>
    <message>
        <source>，</source>
        <translation>, </translation>
    </message>
    <message>
        <source>測定データがありません</source>
        <translation>No measured data</translation>
    </message>
    <message>
        <source>帯域は 0 &lt; 下限 &lt; 上限 の数値で入れてください</source>
        <translation>Enter the band as numbers with 0 &lt; low &lt; high</translation>
    </message>
    <message>
        <source>PNGファイルを保存できませんでした：%1</source>
        <translation>The PNG file could not be saved: %1</translation>
    </message>
    <message>
        <source>PNG画像 (*.png)</source>
        <translation>PNG images (*.png)</translation>
    </message>
    <message>
        <source>ノイズ密度(&amp;D)</source>
        <translation>Noise &amp;Density</translation>
    </message>
    <message>
        <source>ノイズ密度のPNG保存</source>
        <translation>Save the Noise Density as PNG</translation>
    </message>
    <message>
        <source>ヒストグラム(&amp;G)</source>
        <translation>Histo&amp;gram</translation>
    </message>
    <message>
        <source>ヒストグラムのPNG保存</source>
        <translation>Save the Histogram as PNG</translation>
    </message>
    <message>
        <source>アラン偏差(&amp;L)</source>
        <translation>A&amp;llan Deviation</translation>
    </message>
    <message>
        <source>アラン偏差のPNG保存</source>
        <translation>Save the Allan Deviation as PNG</translation>
    </message>
    <message>
        <source>測定</source>
        <translation>Measured</translation>
    </message>
    <message>
        <source>参照</source>
        <translation>Reference</translation>
    </message>
    <message>
        <source>（ノイズ密度は %1 回の平均）</source>
        <translation> (density: average of %1)</translation>
    </message>
</context>
<context>
    <name>TFormRecover</name>
    <message>
        <source>復元</source>
        <translation>Recover</translation>
    </message>
    <message>
        <source>CSV出力</source>
        <translation>Export CSV</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>途中データの復元</source>
        <translation>Recover Partial Data</translation>
    </message>
    <message>
        <source>計測開始</source>
        <translation>Started</translation>
    </message>
    <message>
        <source>サンプル（受信 / 指定）</source>
        <translation>Samples (received / set)</translation>
    </message>
    <message>
        <source>終わり方</source>
        <translation>Ended</translation>
    </message>
    <message>
        <source>中止</source>
        <translation>stopped</translation>
    </message>
    <message>
        <source>エラーで終了</source>
        <translation>by an error</translation>
    </message>
    <message>
        <source>途中で終了</source>
        <translation>cut short</translation>
    </message>
    <message>
        <source>（末尾の破損部分を除く）</source>
        <translation> (damaged end left out)</translation>
    </message>
    <message>
        <source>%1 サンプルに満たないため復元できません（CSV出力はできます）</source>
        <translation>Fewer than %1 samples: cannot be recovered (CSV export works)</translation>
    </message>
</context>
<context>
    <name>TFormSeriesSetting</name>
    <message>
        <source>RMS平均</source>
        <translation>RMS average</translation>
    </message>
    <message>
        <source>ピークホールド</source>
        <translation>Peak hold</translation>
    </message>
    <message>
        <source>指数平均</source>
        <translation>Exponential average</translation>
    </message>
    <message>
        <source>計測開始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取り消し</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>平均計測</source>
        <translation>Averaged Measurement</translation>
    </message>
    <message>
        <source>計測回数</source>
        <translation>Acquisitions</translation>
    </message>
    <message>
        <source>平均方法</source>
        <translation>Averaging</translation>
    </message>
    <message>
        <source>連続計測</source>
        <translation>Continuous measurement</translation>
    </message>
    <message>
        <source>直近の回数</source>
        <translation>Over the last</translation>
    </message>
</context>
<context>
    <name>TFormVersion</name>
    <message>
        <source>Zemtra 開発チーム</source>
        <translation>Zemtra developers</translation>
    </message>
    <message>
        <source>https://zemtra.example.org/</source>
        <translation>https://zemtra.example.org/</translation>
    </message>
    <message>
        <source>%1について</source>
        <translation>About %1</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Zemtra を起動できません: 一つだけ起動するためのロックを置く、このユーザー専用のディレクトリがありません (XDG_RUNTIME_DIR)</source>
        <translation>Zemtra cannot start: there is no directory of this user&apos;s own for the lock that keeps to one copy (XDG_RUNTIME_DIR)</translation>
    </message>
    <message>
        <source>Zemtra はすでに起動しています</source>
        <translation>Zemtra is already running</translation>
    </message>
</context>
</TS>
