// The simulator's script: one command per line.
#pragma once

#include <istream>
#include <ostream>
#include <string>

class Simulator;

// Runs the script; returns the exit code (0, or 2 for a line it cannot read, reported on errors).
int RunScript(Simulator& sim, std::istream& script, std::ostream& out, std::ostream& errors);
