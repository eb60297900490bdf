// Crash reports, from a child program that crashes on purpose.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/test_support.h"

namespace {

namespace fs = std::filesystem;

struct CrashRun {
  int Status = 0;
  std::string Stderr;
  std::string Report;
};

// Runs the probe with its state folder in a fresh temporary folder and reads what it left.
CrashRun RunProbe(const std::string& how) {
  const fs::path state = fs::temp_directory_path() / ("mibbetfall-crash-" + how + "-" + std::to_string(::getpid()));
  fs::remove_all(state);
  fs::create_directories(state);
  // The sanitizers catch these signals first in a sanitized build; the reporter is what is tested.
  const std::string command = "env XDG_STATE_HOME=" + state.string() +
                              " ASAN_OPTIONS=handle_segv=0:handle_abort=0:handle_sigfpe=0:detect_leaks=0 " +
                              MIBBETFALL_CRASH_PROBE_PATH + " " + how + " 2>&1 >/dev/null";
  CrashRun run;
  FILE* pipe = ::popen(command.c_str(), "r");
  std::array<char, 4096> buffer;
  while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe)) run.Stderr.append(buffer.data(), n);
  run.Status = ::pclose(pipe);
  for (const auto& entry : fs::recursive_directory_iterator(state)) {
    if (entry.path().filename().string().rfind("crash-", 0) != 0) continue;
    std::ifstream in(entry.path());
    std::ostringstream text;
    text << in.rdbuf();
    run.Report = text.str();
    EXPECT_NE(run.Stderr.find(entry.path().string()), std::string::npos) << "stderr names the report: " << run.Stderr;
  }
  fs::remove_all(state);
  return run;
}

TEST(CrashReport, EveryFatalEndLeavesASymbolisedReportAndExitsNonZero) {
  const std::pair<const char*, const char*> cases[] = {{"segv", "SIGSEGV"},
                                                       {"fpe", "SIGFPE"},
                                                       {"abort", "SIGABRT"},
                                                       {"throw", "uncaught exception: a rule broke on purpose"}};
  for (const auto& [how, cause] : cases) {
    const CrashRun run = RunProbe(how);
    EXPECT_NE(run.Status, 0) << how;
    EXPECT_NE(run.Report.find("Version: 9.9.9.9"), std::string::npos) << how << run.Report;
    EXPECT_NE(run.Report.find("Date: 20"), std::string::npos) << how;
    EXPECT_NE(run.Report.find(cause), std::string::npos) << how << run.Report;
    EXPECT_NE(run.Report.find("CrashOnPurpose"), std::string::npos) << how << ": the trace names the function";
    EXPECT_NE(run.Report.find("last debug line"), std::string::npos) << how;
    EXPECT_EQ(run.Report.find("mibbetfall: the game crashed"), std::string::npos) << how << ": said on stderr only";
  }
}

}  // namespace
