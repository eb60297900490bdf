// Crash reports: when the game dies of a fatal signal or an uncaught exception, a report with
// the version, the date, a symbolised stack trace and, in debug mode, the last debug lines is
// written as a new file, readable by the player alone, to their private state folder, named on
// stderr and shown in a message box when a window is open. A report that could not be written
// whole (a full disk) is not named: the player is told that none could be written. The game's
// rules never call any of this: the host installs it once.
#pragma once

#include <deque>
#include <string>

// Installs the handlers; the report will go to reportFolder (with a trailing separator), a private
// folder, or nowhere when it is empty.
void InstallCrashReporter(const std::string& version, const std::string& reportFolder);

// The folder crash reports and recent games go to: the player's private state folder. Empty when
// there is none, which it says on stderr; never a shared folder such as /tmp. The host asks once.
std::string CrashReportFolder();

// The debug log to end a report with, or null for none. The log must outlive the reporter's use.
void SetCrashDebugLog(const std::deque<std::string>* log);

// The recording of the game being played, named in a report so that the crash can be replayed.
void SetCrashRecording(const std::string& path);

// Whether a window is open, so that a report is also shown to the player in a message box.
void SetCrashWindowOpen(bool open);

// The host's command-line switch that shows a written report in a message box; the crashing
// process starts a fresh copy of itself with it, since nothing of a dying process can be trusted
// to draw a window. An empty path says that no report could be written.
constexpr char kShowCrashReportSwitch[] = "--show-crash-report";
int ShowCrashReport(const char* path);
