#include "platform/crash/crash_report.h"

#include <SDL.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <backward.hpp>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <exception>
#include <fstream>
#include <sstream>

#include "platform/private_files.h"

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

// A report being written, with the first write that failed: a report cut short (a full disk) is
// never announced as written.
struct ReportFile {
  int Fd = -1;
  int Error = 0;
};

void WriteText(ReportFile& out, const char* text) {
  std::size_t left = std::strlen(text);
  while (left > 0 && out.Error == 0) {
    const ssize_t n = ::write(out.Fd, text, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      out.Error = n < 0 ? errno : ENOSPC;
      return;
    }
    text += n;
    left -= std::size_t(n);
  }
}

// What the player is told goes to stderr, whose failures nobody could be told of.
void Say(const char* text) {
  ReportFile err{STDERR_FILENO};
  WriteText(err, text);
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

void WriteNumber(ReportFile& out, long long value, int width = 0) {
  char buffer[24];
  const char* digits = Decimal(value, buffer);
  for (int pad = width - int(std::strlen(digits)); pad > 0; --pad) WriteText(out, "0");
  WriteText(out, digits);
}

// The UTC date of a moment, from days since 1970 by plain arithmetic (gmtime may take a lock).
void WriteDate(ReportFile& out, std::time_t now) {
  const long long days = now / 86400, seconds = now % 86400;
  const long long z = days + 719468, era = z / 146097, doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100), mp = (5 * doy + 2) / 153;
  const long long day = doy - (153 * mp + 2) / 5 + 1, month = mp < 10 ? mp + 3 : mp - 9;
  WriteNumber(out, yoe + era * 400 + (month <= 2), 4);
  WriteText(out, "-");
  WriteNumber(out, month, 2);
  WriteText(out, "-");
  WriteNumber(out, day, 2);
  WriteText(out, " ");
  WriteNumber(out, seconds / 3600, 2);
  WriteText(out, ":");
  WriteNumber(out, seconds / 60 % 60, 2);
  WriteText(out, ":");
  WriteNumber(out, seconds % 60, 2);
  WriteText(out, " UTC\n");
}

// The report is always a new file that only the player can read, in their private folder: a name
// already taken, by a link or anything else, is refused rather than written through.
ReportFile OpenReport(const char* cause) {
  ReportFile out;
  if (g_state.ReportPath[0] == '\0') return out;
  out.Fd = CreatePrivateFile(g_state.ReportPath);
  if (out.Fd < 0) {
    out.Error = errno;
    return out;
  }
  WriteText(out, "Mibbetfall crash report\nVersion: ");
  WriteText(out, g_state.Version);
  WriteText(out, "\nDate: ");
  WriteDate(out, std::time(nullptr));
  WriteText(out, "Cause: ");
  WriteText(out, cause);
  if (g_state.RecordingPath[0] != '\0') {
    WriteText(out, "\nRecording: ");
    WriteText(out, g_state.RecordingPath);
  }
  WriteText(out, "\n\n");
  return out;
}

void WriteDebugLines(ReportFile& out) {
  const std::deque<std::string>* log = g_state.DebugLog;
  if (!log || log->empty()) return;
  WriteText(out, "\nLast debug lines:\n");
  const std::size_t first = log->size() > kDebugLinesInReport ? log->size() - kDebugLinesInReport : 0;
  for (std::size_t i = first; i < log->size(); ++i) {
    WriteText(out, (*log)[i].c_str());
    WriteText(out, "\n");
  }
}

// The errors a write of the report may meet, as the player would put them; the C library's texts
// cannot be had safely in a signal handler.
const char* WriteFailure(int error) {
  switch (error) {
    case ENOSPC:
      return "the disk is full";
    case EDQUOT:
      return "the disk quota is used up";
    case EFBIG:
      return "the file grew past the size limit";
    case EROFS:
      return "the disk is read-only";
    case EACCES:
    case EPERM:
      return "permission denied";
    case EEXIST:
      return "a file already has its name";
    default:
      return "the file could not be made or written";
  }
}

// The stack trace goes through backward-cpp's printer, which writes to stderr: point stderr at the
// report for as long as it prints. Its writes fail as ours do on a full disk, and only the
// stream's error flag tells.
template <typename PrintTrace>
void WriteTrace(ReportFile& out, PrintTrace print) {
  if (out.Error != 0) return;
  std::fflush(stderr);
  const int savedStderr = ::dup(STDERR_FILENO);
  ::dup2(out.Fd, STDERR_FILENO);
  std::clearerr(stderr);
  errno = 0;
  print();
  if (std::fflush(stderr) != 0 || std::ferror(stderr)) {
    const int error = errno;
    out.Error = error == ENOSPC || error == EDQUOT || error == EFBIG || error == EIO ? error : EIO;
  }
  std::clearerr(stderr);
  if (savedStderr >= 0) {
    ::dup2(savedStderr, STDERR_FILENO);
    ::close(savedStderr);
  }
}

// Starts a fresh copy of the game to show the report, or that none could be written (an empty
// path); the dying process does not wait for it.
void ShowReportInAWindow(const char* reportPath) {
  if (!g_state.WindowOpen || g_state.SelfPath[0] == '\0') return;
  const pid_t child = ::fork();
  if (child != 0) return;
  char* const argv[] = {g_state.SelfPath, const_cast<char*>(kShowCrashReportSwitch), const_cast<char*>(reportPath),
                        nullptr};
  ::execv(g_state.SelfPath, argv);
  ::_exit(127);
}

// Names the report only when every byte of it was written; a report cut short is removed, since
// nobody should be sent to read half of one.
void FinishReport(ReportFile& out) {
  if (out.Fd >= 0) {
    WriteDebugLines(out);
    if (::close(out.Fd) != 0 && out.Error == 0) out.Error = errno;
    if (out.Error == 0) {
      Say("mibbetfall: the game crashed; a report is in ");
      Say(g_state.ReportPath);
      Say("\n");
      ShowReportInAWindow(g_state.ReportPath);
      return;
    }
    ::unlink(g_state.ReportPath);
  }
  Say("mibbetfall: the game crashed; no report could be written: ");
  Say(out.Fd < 0 && out.Error == 0 ? "there is no private folder to keep it in" : WriteFailure(out.Error));
  Say("\n");
  ShowReportInAWindow("");
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
    ReportFile out = OpenReport(SignalName(sig));
    if (out.Fd >= 0) WriteTrace(out, [&] { backward::SignalHandling::handleSignal(sig, info, context); });
    FinishReport(out);
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
    ReportFile out = OpenReport(cause.c_str());
    if (out.Fd >= 0) {
      WriteTrace(out, [] {
        backward::StackTrace trace;
        trace.load_here(32);
        backward::Printer printer;
        printer.address = true;
        printer.print(trace, stderr);
      });
    }
    FinishReport(out);
  }
  DieOf(SIGABRT);
}

void CopyInto(char* target, std::size_t size, const std::string& text) {
  std::snprintf(target, size, "%s", text.c_str());
}

}  // namespace

std::string CrashReportFolder() {
  std::string why;
  const std::string folder = PrivateStateFolder(why);
  if (folder.empty())
    std::fprintf(stderr, "mibbetfall: no crash report or recording of recent games will be kept: %s\n", why.c_str());
  return folder;
}

void InstallCrashReporter(const std::string& version, const std::string& reportFolder) {
  CopyInto(g_state.Version, sizeof g_state.Version, version);
  // No folder, no report: a name cut to fit would be another file.
  const std::string reportPath =
      reportFolder + "crash-" + std::to_string(std::time(nullptr)) + "-" + std::to_string(::getpid()) + ".txt";
  CopyInto(g_state.ReportPath, sizeof g_state.ReportPath,
           reportFolder.empty() || reportPath.size() >= sizeof g_state.ReportPath ? "" : reportPath);
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
  std::ostringstream text;
  if (path[0] == '\0') {
    text << "Mibbetfall has crashed. No report of the crash could be written: the disk may be full, or there is no "
            "private folder to keep it in.";
  } else {
    std::ifstream in(path);
    text << "Mibbetfall has crashed. Please send us this report; it is kept in\n" << path << "\n\n" << in.rdbuf();
  }
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
