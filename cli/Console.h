// The command-line tool's ties to the operating system where the platforms differ:
// the process's start, its arguments, the terminal, and the interrupts.
// ConsolePosix.cpp and ConsoleWindows.cpp implement them.
#pragma once

#include <array>
#include <string>
#include <vector>

class Interruption;

// Readies the process before any file is opened: standard streams a caller closed are
// taken by a harmless file (POSIX), and the standard streams carry bytes unchanged
// (Windows: no line-end translation, UTF-8 on the console).
void PrepareProcess();
// The arguments after the program's name, in UTF-8.
std::vector<std::string> CommandLineArguments(int argc, char** argv);
// The columns of the terminal fd writes to; 0 when it is none or tells none.
int ReportedColumns(int fd);
// A pipe whose write end a signal handler may write without blocking: {read, write}.
// Throws std::runtime_error when the system gives none.
std::array<int, 2> OpenWakePipe();
// Routes Ctrl-C (SIGINT) and SIGTERM (on Windows: Ctrl-C, Ctrl-Break and the closing
// console) to interruption.Raise for the rest of the process's life.
void CatchInterrupts(Interruption& interruption);
// Waits until fd has input or the interruption came (none: only the input counts);
// false when the interruption came, or the wait itself failed.
bool WaitForInput(int fd, const Interruption* interruption);
