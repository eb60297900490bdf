#include "platform/crash/crash_report.h"

#include <SDL.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <backward.hpp>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <exception>
#include <fstream>
#include <sstream>

#include "platform/files.h"

namespace {

constexpr std::array kFatalSignals = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
constexpr std::size_t kDebugLinesInReport = 50;

// Everything a handler needs is made ready at installation, so that writing a report takes no
// allocation of ours and no lock.
struct ReporterState {
  char Version[64] = "";
  char ReportPath[4096] = "";
  char SelfPath[4096] = "";
  char RecordingPath[4096] = "";
  const std::deque<std::string>* DebugLog = nullptr;
  std::atomic<bool> WindowOpen{false};
  std::atomic_flag Reporting = ATOMIC_FLAG_INIT;
};
ReporterState g_state;

void WriteText(int fd, const char* text) {
  std::size_t left = std::strlen(text);
  while (left > 0) {
    const ssize_t n = ::write(fd, text, left);
    if (n <= 0) return;
    text += n;
    left -= std::size_t(n);
  }
}

// Decimal text of a number into buffer, without the C library's formatting.
const char* Decimal(long long value, char (&buffer)[24]) {
  char* p = buffer + sizeof buffer - 1;
  *p = '\0';
  const bool negative = value < 0;
  unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(value) : value;
  do {
    *--p = char('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (negative) *--p = '-';
  return p;
}

void WriteNumber(int fd, long long value, int width = 0) {
  char buffer[24];
  const char* digits = Decimal(value, buffer);
  for (int pad = width - int(std::strlen(digits)); pad > 0; --pad) WriteText(fd, "0");
  WriteText(fd, digits);
}

// The UTC date of a moment, from days since 1970 by plain arithmetic (gmtime may take a lock).
void WriteDate(int fd, std::time_t now) {
  const long long days = now / 86400, seconds = now % 86400;
  const long long z = days + 719468, era = z / 146097, doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100), mp = (5 * doy + 2) / 153;
  const long long day = doy - (153 * mp + 2) / 5 + 1, month = mp < 10 ? mp + 3 : mp - 9;
  WriteNumber(fd, yoe + era * 400 + (month <= 2), 4);
  WriteText(fd, "-");
  WriteNumber(fd, month, 2);
  WriteText(fd, "-");
  WriteNumber(fd, day, 2);
  WriteText(fd, " ");
  WriteNumber(fd, seconds / 3600, 2);
  WriteText(fd, ":");
  WriteNumber(fd, seconds / 60 % 60, 2);
  WriteText(fd, ":");
  WriteNumber(fd, seconds % 60, 2);
  WriteText(fd, " UTC\n");
}

int OpenReport(const char* cause) {
  const int fd = ::open(g_state.ReportPath, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return -1;
  WriteText(fd, "Mibbetfall crash report\nVersion: ");
  WriteText(fd, g_state.Version);
  WriteText(fd, "\nDate: ");
  WriteDate(fd, std::time(nullptr));
  WriteText(fd, "Cause: ");
  WriteText(fd, cause);
  if (g_state.RecordingPath[0] != '\0') {
    WriteText(fd, "\nRecording: ");
    WriteText(fd, g_state.RecordingPath);
  }
  WriteText(fd, "\n\n");
  return fd;
}

void WriteDebugLines(int fd) {
  const std::deque<std::string>* log = g_state.DebugLog;
  if (!log || log->empty()) return;
  WriteText(fd, "\nLast debug lines:\n");
  const std::size_t first = log->size() > kDebugLinesInReport ? log->size() - kDebugLinesInReport : 0;
  for (std::size_t i = first; i < log->size(); ++i) {
    WriteText(fd, (*log)[i].c_str());
    WriteText(fd, "\n");
  }
}

// The stack trace goes through backward-cpp's printer, which writes to stderr: point stderr at the
// report for as long as it prints.
template <typename PrintTrace>
void WriteTrace(int fd, PrintTrace print) {
  std::fflush(stderr);
  const int savedStderr = ::dup(STDERR_FILENO);
  ::dup2(fd, STDERR_FILENO);
  print();
  std::fflush(stderr);
  if (savedStderr >= 0) {
    ::dup2(savedStderr, STDERR_FILENO);
    ::close(savedStderr);
  }
}

// Starts a fresh copy of the game to show the report; the dying process does not wait for it.
void ShowReportInAWindow() {
  if (!g_state.WindowOpen || g_state.SelfPath[0] == '\0') return;
  const pid_t child = ::fork();
  if (child != 0) return;
  char* const argv[] = {g_state.SelfPath, const_cast<char*>(kShowCrashReportSwitch), g_state.ReportPath, nullptr};
  ::execv(g_state.SelfPath, argv);
  ::_exit(127);
}

void FinishReport(int fd) {
  WriteDebugLines(fd);
  ::close(fd);
  WriteText(STDERR_FILENO, "mibbetfall: the game crashed; a report is in ");
  WriteText(STDERR_FILENO, g_state.ReportPath);
  WriteText(STDERR_FILENO, "\n");
  ShowReportInAWindow();
}

const char* SignalName(int sig) {
  switch (sig) {
    case SIGSEGV:
      return "signal SIGSEGV (invalid memory access)";
    case SIGBUS:
      return "signal SIGBUS (bus error)";
    case SIGFPE:
      return "signal SIGFPE (arithmetic error)";
    case SIGILL:
      return "signal SIGILL (illegal instruction)";
    case SIGABRT:
      return "signal SIGABRT (aborted)";
    default:
      return "a fatal signal";
  }
}

void DieOf(int sig) {
  ::signal(sig, SIG_DFL);
  ::raise(sig);
  ::_exit(128 + sig);
}

void OnFatalSignal(int sig, siginfo_t* info, void* context) {
  // A second fault while reporting (or a fault on another thread) must not report again.
  if (!g_state.Reporting.test_and_set()) {
    const int fd = OpenReport(SignalName(sig));
    if (fd >= 0) {
      WriteTrace(fd, [&] { backward::SignalHandling::handleSignal(sig, info, context); });
      FinishReport(fd);
    }
  }
  DieOf(sig);
}

std::string CurrentExceptionText() {
  try {
    throw;
  } catch (const std::exception& error) {
    return std::string("uncaught exception: ") + error.what();
  } catch (...) {
    return "uncaught exception of an unknown type";
  }
}

void OnTerminate() {
  if (!g_state.Reporting.test_and_set()) {
    const std::string cause = std::current_exception() ? CurrentExceptionText() : "std::terminate called";
    const int fd = OpenReport(cause.c_str());
    if (fd >= 0) {
      WriteTrace(fd, [] {
        backward::StackTrace trace;
        trace.load_here(32);
        backward::Printer printer;
        printer.address = true;
        printer.print(trace, stderr);
      });
      FinishReport(fd);
    }
  }
  DieOf(SIGABRT);
}

void CopyInto(char* target, std::size_t size, const std::string& text) {
  std::snprintf(target, size, "%s", text.c_str());
}

}  // namespace

std::string CrashReportFolder() {
  const std::string folder = WritableFolder("", "XDG_STATE_HOME", ".local/state");
  return folder.empty() ? "/tmp/" : folder;
}

void InstallCrashReporter(const std::string& version, const std::string& reportFolder) {
  CopyInto(g_state.Version, sizeof g_state.Version, version);
  CopyInto(g_state.ReportPath, sizeof g_state.ReportPath,
           reportFolder + "crash-" + std::to_string(std::time(nullptr)) + "-" + std::to_string(::getpid()) + ".txt");
  const ssize_t n = ::readlink("/proc/self/exe", g_state.SelfPath, sizeof g_state.SelfPath - 1);
  g_state.SelfPath[n > 0 ? n : 0] = '\0';

  // The handler runs on a stack of its own, so that a stack overflow can be reported too.
  static std::array<char, 1 << 20> alternateStack;
  stack_t stack{};
  stack.ss_sp = alternateStack.data();
  stack.ss_size = alternateStack.size();
  ::sigaltstack(&stack, nullptr);
  for (const int sig : kFatalSignals) {
    struct sigaction action {};
    action.sa_sigaction = OnFatalSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    ::sigaction(sig, &action, nullptr);
  }
  std::set_terminate(OnTerminate);
}

void SetCrashRecording(const std::string& path) { CopyInto(g_state.RecordingPath, sizeof g_state.RecordingPath, path); }

void SetCrashDebugLog(const std::deque<std::string>* log) { g_state.DebugLog = log; }

void SetCrashWindowOpen(bool open) { g_state.WindowOpen = open; }

int ShowCrashReport(const char* path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << "Mibbetfall has crashed. Please send us this report; it is kept in\n" << path << "\n\n" << in.rdbuf();
  // A message box has no scroll bar: the head of the report says the most.
  std::string shown = text.str().substr(0, 3000);
  // A box without a parent window goes first through a helper program that may be missing or hang;
  // a hidden parent makes SDL draw it through the display's own driver.
  SDL_Init(SDL_INIT_VIDEO);
  SDL_Window* parent = SDL_CreateWindow("Mibbetfall", 0, 0, 1, 1, SDL_WINDOW_HIDDEN);
  const int shownResult = SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Mibbetfall crashed", shown.c_str(), parent);
  if (parent) SDL_DestroyWindow(parent);
  if (shownResult == 0) return 0;
  std::fprintf(stderr, "mibbetfall: cannot show the crash report: %s\n", SDL_GetError());
  return 1;
}
