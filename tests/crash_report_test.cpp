// Crash reports, from a child program that crashes on purpose.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <vector>

#include "tests/test_support.h"

namespace {

namespace fs = std::filesystem;

struct CrashRun {
  int Status = 0;
  std::string Stderr;
  std::vector<fs::path> Reports;
  std::string Report;
};

// A fresh temporary folder for the probe's state folder and whatever a test plants beside it.
struct Scratch {
  explicit Scratch(const std::string& name)
      : path(fs::temp_directory_path() / ("mibbetfall-crash-" + name + "-" + std::to_string(::getpid()))) {
    fs::remove_all(path);
    fs::create_directories(path);
  }
  ~Scratch() { fs::remove_all(path); }
  fs::path path;
};

// Runs the probe with these arguments and environment and reads the reports it left anywhere
// below searched, links followed.
CrashRun RunProbe(const std::string& arguments, const std::string& environment, const fs::path& searched) {
  // The sanitizers catch these signals first in a sanitized build; the reporter is what is tested.
  const std::string command = "env " + environment +
                              " ASAN_OPTIONS=handle_segv=0:handle_abort=0:handle_sigfpe=0:detect_leaks=0 " +
                              MIBBETFALL_CRASH_PROBE_PATH + " " + arguments + " 2>&1 >/dev/null";
  CrashRun run;
  FILE* pipe = ::popen(command.c_str(), "r");
  std::array<char, 4096> buffer;
  while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe)) run.Stderr.append(buffer.data(), n);
  run.Status = ::pclose(pipe);
  for (const auto& entry :
       fs::recursive_directory_iterator(searched, fs::directory_options::follow_directory_symlink)) {
    if (entry.path().filename().string().rfind("crash-", 0) != 0) continue;
    std::ifstream in(entry.path());
    std::ostringstream text;
    text << in.rdbuf();
    run.Report = text.str();
    run.Reports.push_back(entry.path());
  }
  return run;
}

// The probe with its state folder in a fresh temporary folder.
CrashRun RunProbe(const std::string& how) {
  const Scratch scratch(how);
  CrashRun run = RunProbe(how, "XDG_STATE_HOME=" + (scratch.path / "state").string(), scratch.path);
  for (const fs::path& report : run.Reports) {
    EXPECT_NE(run.Stderr.find("a report is in " + report.string()), std::string::npos)
        << "stderr names the report: " << run.Stderr;
    EXPECT_EQ(fs::status(report).permissions() & fs::perms::mask, fs::perms::owner_read | fs::perms::owner_write)
        << "the report is the player's alone";
    EXPECT_EQ(fs::status(report.parent_path()).permissions() & fs::perms::mask, fs::perms::owner_all);
  }
  return run;
}

// What a crash says when it left no report: no report is named, none is found.
void ExpectNoReportAnnounced(const CrashRun& run, const std::string& what) {
  EXPECT_NE(run.Status, 0) << what;
  EXPECT_TRUE(run.Reports.empty()) << what << ": a report is at " << run.Reports.front();
  EXPECT_EQ(run.Stderr.find("a report is in"), std::string::npos) << what << run.Stderr;
  EXPECT_NE(run.Stderr.find("mibbetfall: the game crashed; no report could be written: "), std::string::npos)
      << what << run.Stderr;
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
    EXPECT_EQ(run.Reports.size(), 1u) << how;
  }
}

TEST(CrashReport, NeverWrittenThroughALinkNorIntoAFolderOthersControlNorTheSharedOne) {
  struct Case {
    const char* what;
    bool needsRoot;
    // Plants what the case is about in the scratch folder; gives the probe's environment.
    std::function<std::string(const fs::path&)> plant;
  };
  const auto stateIn = [](const fs::path& folder) { return "XDG_STATE_HOME=" + folder.string(); };
  const Case cases[] = {
      {"the state folder is a link", false,
       [&](const fs::path& scratch) {
         fs::create_directories(scratch / "elsewhere");
         fs::create_directories(scratch / "state");
         fs::create_directory_symlink(scratch / "elsewhere", scratch / "state/mibbetfall");
         return stateIn(scratch / "state");
       }},
      {"the state folder is inside one anyone may change", false,
       [&](const fs::path& scratch) {
         fs::create_directories(scratch / "open");
         fs::permissions(scratch / "open", fs::perms::all);
         return stateIn(scratch / "open");
       }},
      {"the state folder belongs to another user", true,
       [&](const fs::path& scratch) {
         fs::create_directories(scratch / "state/mibbetfall");
         EXPECT_EQ(::chown((scratch / "state/mibbetfall").c_str(), 65534, 65534), 0);
         return stateIn(scratch / "state");
       }},
      // The shared temporary folder was the fallback.
      {"neither HOME nor XDG_STATE_HOME is set", false, [](const fs::path&) { return "-u HOME -u XDG_STATE_HOME"; }},
  };
  for (const Case& c : cases) {
    if (c.needsRoot && ::geteuid() != 0) continue;
    const Scratch scratch("planted");
    const CrashRun run = RunProbe("segv", c.plant(scratch.path), scratch.path);
    ExpectNoReportAnnounced(run, c.what);
    EXPECT_NE(run.Stderr.find("mibbetfall: no crash report or recording of recent games will be kept: "),
              std::string::npos)
        << c.what << ": said at start" << run.Stderr;
    EXPECT_EQ(run.Stderr.find("/tmp/crash-"), std::string::npos) << c.what << run.Stderr;
  }
}

TEST(CrashReport, AReportCutShortByAFullDiskIsNotAnnouncedNorLeft) {
  // Nothing fits; the head fits but not the stack trace.
  for (const int bytes : {0, 300}) {
    const Scratch scratch("full");
    const CrashRun run =
        RunProbe("segv " + std::to_string(bytes), "XDG_STATE_HOME=" + (scratch.path / "state").string(), scratch.path);
    ExpectNoReportAnnounced(run, std::to_string(bytes) + " bytes");
    EXPECT_NE(run.Stderr.find("no report could be written: the file grew past the size limit"), std::string::npos)
        << run.Stderr;
  }
}

}  // namespace
