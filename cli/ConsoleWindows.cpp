// The console on Windows: Ctrl-C arrives through a console control handler (on a
// thread of its own), and the standard streams are switched to binary so the reports
// and files written to stdout hold the same bytes as on other systems.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <csignal>
#include <cstdio>
#include <stdexcept>

#include "cli/Console.h"
#include "cli/Interruption.h"

namespace {

Interruption* gCaught = nullptr;  // the object the handler reports to

BOOL WINAPI OnConsoleControl(DWORD event) {
  if (gCaught == nullptr) return FALSE;
  gCaught->Raise(event == CTRL_C_EVENT ? SIGINT : SIGTERM);
  return TRUE;
}

std::string Utf8(const wchar_t* text) {
  const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 1) return {};
  std::string utf8(static_cast<std::size_t>(bytes), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), bytes, nullptr, nullptr);
  utf8.pop_back();  // the terminating zero
  return utf8;
}

}  // namespace

void PrepareProcess() {
  for (std::FILE* stream : {stdin, stdout, stderr}) ::_setmode(::_fileno(stream), _O_BINARY);
  ::SetConsoleOutputCP(CP_UTF8);
}

std::vector<std::string> CommandLineArguments(int /*argc*/, char** /*argv*/) {
  // The runtime's argv holds the arguments in the ANSI code page; the wide command
  // line holds every character.
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 1; wide != nullptr && i < count; ++i) args.push_back(Utf8(wide[i]));
  ::LocalFree(wide);
  return args;
}

int ReportedColumns(int fd) {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
  if (handle == INVALID_HANDLE_VALUE || ::GetConsoleScreenBufferInfo(handle, &info) == 0) return 0;
  return info.srWindow.Right - info.srWindow.Left + 1;
}

std::array<int, 2> OpenWakePipe() {
  // Only the first interrupt writes its one byte, so the pipe never fills.
  constexpr unsigned kPipeBytes = 64;
  std::array<int, 2> ends{-1, -1};
  if (::_pipe(ends.data(), kPipeBytes, _O_BINARY | _O_NOINHERIT) != 0) {
    throw std::runtime_error("no pipe for the interruption");
  }
  return ends;
}

void CatchInterrupts(Interruption& interruption) {
  gCaught = &interruption;
  ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

// A console read ends when Ctrl-C is pressed, and the reader then looks at the
// interruption; there is nothing to wait for beforehand.
bool WaitForInput(int /*fd*/, const Interruption* interruption) { return !Interrupted(interruption); }
