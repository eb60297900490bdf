// A program that crashes on purpose in the way its argument names, with the game's crash
// reporter installed, so that a test can read the report it leaves. A second argument limits the
// size of the files it may write, in bytes: a disk that fills while the report is written.
#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "platform/crash/crash_report.h"

namespace {

// Not inlined, so the stack trace must name it.
[[gnu::noinline]] void CrashOnPurpose(const char* how) {
  if (std::strcmp(how, "segv") == 0) std::raise(SIGSEGV);
  if (std::strcmp(how, "fpe") == 0) std::raise(SIGFPE);
  if (std::strcmp(how, "abort") == 0) std::abort();
  if (std::strcmp(how, "throw") == 0) throw std::runtime_error("a rule broke on purpose");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) return 2;
  const std::deque<std::string> debugLog = {"first debug line", "last debug line"};
  InstallCrashReporter("9.9.9.9", CrashReportFolder());
  if (argc == 3) {
    // A write past the limit then fails as on a full disk, instead of killing the program.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = std::strtoul(argv[2], nullptr, 10);
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  SetCrashDebugLog(&debugLog);
  CrashOnPurpose(argv[1]);
  return 0;
}
