// The measurement and display settings dialog's rules, as functions of the working
// copy of FftSetting that its controls show. Indices are those of the common scales
// (frequency index 0 … 14, dB index k for 20 - 10k dB).
#pragma once

#include "model/Records.h"

// The working copy as the dialog shows it: a bottom above -10 dB becomes -10 dB, and
// relative display has its top at 0 dB.
FftSetting ShownSetting(FftSetting setting);

// A new start of the frequency range; an end not above it moves one step above it.
void ChooseFreqStart(FftSetting& setting, int index);
// A new end of the frequency range; with the logarithmic axis a start not below it
// moves one step below it. The linear axis leaves the start alone (it is not shown).
void ChooseFreqEnd(FftSetting& setting, int index);
// A new top of the dB range; ignored in relative display. A bottom not below the top
// moves one step below it.
void ChooseDbTop(FftSetting& setting, int index);
// A new bottom of the dB range; in absolute display a top not above it moves one
// step above it.
void ChooseDbBottom(FftSetting& setting, int index);
// Absolute (dBV) or relative display; relative puts the top at 0 dB.
void ChooseAbsolute(FftSetting& setting, bool absolute);

// What Set hands back: DataCountMax follows DataCountSel, and a start at or above
// the end (possible with the linear axis) becomes one step below the end, so every
// reader takes the stored pair.
FftSetting StoredSetting(FftSetting setting);
