// A program that crashes on purpose in the way its argument names, with the game's crash
// reporter installed, so that a test can read the report it leaves.
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
  if (argc != 2) return 2;
  const std::deque<std::string> debugLog = {"first debug line", "last debug line"};
  InstallCrashReporter("9.9.9.9", CrashReportFolder());
  SetCrashDebugLog(&debugLog);
  CrashOnPurpose(argv[1]);
  return 0;
}
