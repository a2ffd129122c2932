// How the file commands and the automatic-save choice name their files. Paths may
// use '\' or '/' as separators; only the last path component (the file name) decides
// about extensions, so a dot in a directory name is never taken for one.
#pragma once

#include <string>

inline constexpr const char* kDataExtension = ".DTA";     // data files
inline constexpr const char* kFftExtension = ".FFT";      // spectrum text files
inline constexpr const char* kSettingExtension = ".prf";  // settings files
// What a file dialog starts with when there is no name to propose.
inline constexpr const char* kAnyDataFile = "*.DTA";
inline constexpr const char* kAnyFftFile = "*.FFT";
inline constexpr const char* kAnySettingFile = "*.prf";

// name + extension when the file name has no ".", else name: run1 → run1.FFT,
// run1.txt stays, /home/j.smith/run1 → /home/j.smith/run1.FFT.
std::string WithExtensionIfNoDot(const std::string& name, const std::string& extension);

// The data-save command's name: ".DTA" is appended unless the name ends in exactly
// ".DTA" (upper case): run1 → run1.DTA, run1.dta → run1.dta.DTA, run1.DTA stays.
std::string DataSaveName(const std::string& name);

// The spectrum file proposed for a data file: its name cut before the file name's
// first "." + ".FFT" (D:\data\run1.DTA → D:\data\run1.FFT); "*.FFT" without a name.
std::string ProposedSpectrumName(const std::string& dataFileName);

// The data file that belongs to a spectrum file: the name cut before the file name's
// first "." + ".DTA" (D:\out\noise.FFT → D:\out\noise.DTA).
std::string DataNameOfSpectrum(const std::string& spectrumName);

// The name a file dialog starts with for a name from the records: the name itself when
// it is a path here, else its file name alone (D:\data\run1.DTA → run1.DTA, a name
// written on another platform), else pattern (also for an empty name).
std::string DialogStartName(const std::string& name, const std::string& pattern);

// pattern in the directory of path, so a dialog starts where that file lies:
// /home/cfg/a.prf → /home/cfg/*.prf (on Windows also D:\cfg\a.prf → D:\cfg\*.prf);
// pattern alone without a directory.
std::string PatternBeside(const std::string& path, const std::string& pattern);

// Whether a path can name a file on this platform: not empty, no NUL byte, and where
// '/' is the only separator neither a '\' nor a drive letter ("D:"), as in a path
// written by a program on another platform.
bool IsUsablePathHere(const std::string& path);
