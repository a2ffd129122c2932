#include "cli/Options.h"

#include <string_view>

#include "drivers/DeviceSelect.h"

namespace {

constexpr const char* kOverview =
    R"(zemtra-cli: measure noise spectra with the QT4418PX, analyse data files, check settings files.

Usage:
  zemtra-cli measure [options]          configure the unit, acquire, check, analyse, report
  zemtra-cli analyze FILE.DTA [options] load a data file, analyse it with its settings, report
  zemtra-cli settings FILE.prf          print a settings file's fields; exit 2 when invalid
  zemtra-cli scan                       list the FTDI devices attached (--device= values)
  zemtra-cli recover [ID] [options]     write out a journalled measurement (a cut-short one)
  zemtra-cli COMMAND --help             options of one command
  zemtra-cli --version                  print the version

Every command takes --lang en|ja, before or after it: the language of the messages
(default: English when the locale asks first for English through LC_ALL, LC_MESSAGES,
LANG or LANGUAGE, else Japanese). The summaries, JSON, files and exit codes do not change with it.

Exit codes: 0 done, 2 invalid settings file, 3 unit not found / not responding / set-up
failed / start refused, 4 read failure or no record for a while during the measurement,
5 input level out of range, 6 file error (a file could not be read, or one asked for was
not written; the others still are), 64 invalid command line (also two options naming
the same file), 74 the report could not be written to stdout, 130 interrupted (Ctrl-C),
143 ended by SIGTERM.
)";

constexpr const char* kAnalysisOptions = R"(Analysis and display options (override the settings):
  --window rect|hanning|hamming|flattop   window function
  --correct | --no-correct                correct the window's power: RMS and noise read right
                                          with every window, a tone's line does not (it reads
                                          low: x0.816 hanning, x0.857 hamming, x0.559 flattop);
                                          a tone's RMS: rect with the tone on a line, or
                                          flattop's line / 0.559 (see the README)
  --dc-cut | --no-dc-cut                  remove the mean before the FFT
  --log | --linear                        frequency axis of the picture
  --absolute | --relative                 dBV or dB relative to the largest line
  --volts | --codes                       waveform and statistics in volts or codes
  --wave | --no-wave                      draw the waveform above the spectrum
  --settings FILE.prf                     start from a settings file instead of the defaults
Noise (the density in V/√Hz, independent of the window and its correction):
  --density                               report the noise density at 1, 10, 100 Hz and 1 kHz
                                          and the band noise (0.1 to 10 Hz unless --band)
  --band F1:F2                            the band noise from F1 to F2 Hz: RMS, and
                                          peak-to-peak as 6.6 x RMS
  --segments L                            average the density over segments of L samples
                                          overlapping by half (Welch; a power of two >= 256)
  --nsd FILE.csv                          write the density: frequency and V/√Hz per line
  --nsd-png FILE.png                      write a log-log picture of the density (812 x 466)
Figures (σ, peak-to-peak, resolutions and dynamic range are always reported):
  --tone                                  report the tone: frequency, RMS, SNR, THD, SINAD,
                                          SFDR, ENOB and harmonics 2 to 6
  --allan                                 report the Allan deviation at tau = 1, 2, 4, ... samples
  --histogram FILE.csv                    write the histogram of codes: code,count,gauss
  --allan-csv FILE.csv                    write the Allan deviation: tau_s,adev_v,terms
  --histogram-png FILE.png                write a picture of the histogram (812 x 466)
  --allan-png FILE.png                    write a log-log picture of the Allan deviation (812 x 466)
Output:
  --fft FILE.FFT                          write the spectrum as text (".FFT" added to a name without a dot)
  --csv FILE.csv                          write every sample as CSV: time_s,code,volts
  --spectrum-csv FILE.csv                 write the spectrum as CSV: frequency_hz,rms_v (full precision)
  --png FILE.png                          write a picture of the graphs (812 x 466)
  --pdf FILE.pdf                          print the page (graphs and conditions) to a PDF: A4, 600 dpi
  --landscape                             the PDF page across (default: portrait)
  --json                                  one JSON object on stdout instead of the summary
  --yes                                   replace existing files without asking
  --lang en|ja                            the language of the messages

An existing file is replaced only with --yes or a "y" on the terminal. Files are
replaced whole or not at all; devices, FIFOs and directories are never replaced.
Flags take no value; file names must not be empty, nor two of them name one file.
"-" as the name of --fft, --csv, --spectrum-csv or --nsd writes that text to stdout
(one of them at most, not with --json); the summary then goes to stderr. "--" ends
the options: "analyze -- --odd.DTA".
)";

constexpr const char* kMeasureOptions = R"(zemtra-cli measure [options]

Converter options:
  --samples N            1024, 2048, 4096, 8192, 16384, 32768 or 65536
  --rate SPS             5, 10, 20, 50, 60, 100, 200, 400, 800, 960, 1200, 2400 or 4800
  --gain G               1, 8, 16, 32, 64 or 128
  --channel 0|1          input channel
  --sinc3 | --sinc4      digital filter
  --buffer | --no-buffer input buffer
  --chop | --no-chop     chopping
  --simulate[=CONFIG]    use the simulated unit (see the README for CONFIG)
  --device=libftdi[:SERIAL]|tty[:PATH]  which driver and device reach the real unit
                         (not with --simulate; several FTDI devices attached: name one, see scan)
  --out FILE.DTA         write the data file (with --average: the last acquisition)
  --average N            RMS-average the spectra of N acquisitions (1 to 1000)
)";

constexpr const char* kAnalyzeOptions = R"(zemtra-cli analyze FILE.DTA [options]

The file's settings are adopted; the options below override them.
)";

constexpr const char* kScanHelp = R"(zemtra-cli scan

  --lang en|ja           the language of the messages

Lists the FTDI devices each driver can reach, one per line, starting with the value
of the device option (of measure) that names it: libftdi:SERIAL with bus, USB id and
description, and tty:PATH with USB id and serial number. No device is opened. Exit 0
when one was found, 3 when none.
)";

constexpr const char* kRecoverHelp = R"(zemtra-cli recover [--list] [ID] [--out FILE.DTA] [--csv FILE.csv] [--json] [--yes]

Every measurement is journalled as it arrives to $XDG_STATE_HOME/zemtra/ (else
~/.local/state/zemtra/; on Windows %LOCALAPPDATA%\zemtra\), synced at least once a
second. recover writes out the most recent journal, or the one named by its ID:
  --list                 list the journals: id, start, samples received, how it ended
  --out FILE.DTA         the data file of the largest power-of-two prefix (at least
                         1024 samples) of the last acquisition received
  --csv FILE.csv         every sample received as CSV: time_s,code,volts ("-": stdout)
  --json                 one JSON object on stdout: the samples received and written
  --yes                  replace existing files without asking
  --lang en|ja           the language of the messages
Exit 0 done, 6 no journal, an unreadable one, or a file not written.
)";

constexpr const char* kSettingsHelp = R"(zemtra-cli settings FILE.prf

  --lang en|ja           the language of the messages

Reads a settings file, checks its dB range, and prints every field as "key: value".
Exit 0 when valid, 2 when not.
)";

// The measure and analyze options as this build takes them: the device option's values
// of this platform, and a note on the pictures a build without Qt cannot draw.
std::string AnalysisOptionsHere(std::string text) {
  constexpr std::string_view kDeviceSyntax = "libftdi[:SERIAL]|tty[:PATH]";
  if (const std::size_t at = text.find(kDeviceSyntax); at != std::string::npos) {
    text.replace(at, kDeviceSyntax.size(), DeviceOptionSyntax());
  }
  if (!ToolDrawsPictures()) {
    text += "\nThis build draws no pictures: --png, --pdf, --nsd-png, --histogram-png and\n"
            "--allan-png need the Qt widgets, which it lacks; they are refused (exit 64).\n";
  }
  return text;
}

}  // namespace

std::string HelpText(const std::string& command) {
  if (command == "measure") return AnalysisOptionsHere(std::string(kMeasureOptions) + kAnalysisOptions);
  if (command == "analyze") return AnalysisOptionsHere(std::string(kAnalyzeOptions) + kAnalysisOptions);
  if (command == "settings") return kSettingsHelp;
  if (command == "scan") return kScanHelp;
  if (command == "recover") return kRecoverHelp;
  return kOverview;
}
