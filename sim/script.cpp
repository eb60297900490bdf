#include "sim/script.h"

#include <sstream>
#include <vector>

#include "sim/simulator.h"

namespace {

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

bool ToInt(const std::string& text, long long& value) {
  std::size_t used = 0;
  try {
    value = std::stoll(text, &used);
  } catch (...) {
    return false;
  }
  return used == text.size();
}

bool ToButton(const std::string& text, MouseButton& button) {
  if (text == "left") button = MouseButton::Left;
  else if (text == "right") button = MouseButton::Right;
  else if (text == "middle") button = MouseButton::Middle;
  else return false;
  return true;
}

// Runs one command; false when the line cannot be read. Sets quit for "quit".
bool RunCommand(Simulator& sim, const std::vector<std::string>& w, std::ostream& out, bool& quit) {
  const std::string& verb = w[0];
  long long a = 0, b = 0;
  if (verb == "wait" && w.size() == 2 && ToInt(w[1], a) && a >= 0) {
    sim.Wait(a);
  } else if (verb == "move" && w.size() == 3 && ToInt(w[1], a) && ToInt(w[2], b)) {
    sim.Move(int(a), int(b));
  } else if (verb == "press" && (w.size() == 3 || w.size() == 4) && ToInt(w[1], a) && ToInt(w[2], b)) {
    MouseButton button = MouseButton::Left;
    if (w.size() == 4 && !ToButton(w[3], button)) return false;
    sim.Press(int(a), int(b), button);
  } else if (verb == "key" && w.size() == 2) {
    return sim.Key(w[1]);
  } else if (verb == "dump" && w.size() == 1) {
    out << sim.Dump() << "\n";
  } else if (verb == "shot" && w.size() == 2) {
    return sim.Shot(w[1]);
  } else if (verb == "quit" && w.size() == 1) {
    quit = true;
  } else {
    return false;
  }
  return true;
}

}  // namespace

int RunScript(Simulator& sim, std::istream& script, std::ostream& out, std::ostream& errors) {
  std::string line;
  for (int number = 1; std::getline(script, line); ++number) {
    const std::vector<std::string> words = Words(line);
    if (words.empty() || words[0][0] == '#') continue;
    bool quit = false;
    if (!RunCommand(sim, words, out, quit)) {
      errors << "line " << number << ": cannot read or run \"" << line << "\"\n";
      sim.Quit();
      return 2;
    }
    if (quit) break;
  }
  sim.Quit();
  out.flush();
  return 0;
}
