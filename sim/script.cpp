#include "sim/script.h"

#include <map>
#include <sstream>
#include <vector>

#include "replay/replay_file.h"
#include "sim/simulator.h"

namespace {

// A line quoted in an error is cut to this many characters.
constexpr std::size_t kLongestQuote = 80;

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

bool ToInt(const std::string& text, std::int64_t& value) {
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

// A pointer position far outside the window is still a position, but must fit an int.
bool ToPosition(const std::string& text, std::int64_t& value) {
  return ToInt(text, value) && value >= INT32_MIN && value <= INT32_MAX;
}

// A press is a down and an up at once; a recording of the window has them apart, as the window
// handed them to the game.
const std::map<std::string, ScriptCommand::Verb>& PointerVerbs() {
  using Verb = ScriptCommand::Verb;
  static const std::map<std::string, Verb> verbs = {{"press", Verb::Press}, {"down", Verb::Down}, {"up", Verb::Up}};
  return verbs;
}

// Likewise a key is a keydown and a keyup.
const std::map<std::string, ScriptCommand::Verb>& TextVerbs() {
  using Verb = ScriptCommand::Verb;
  static const std::map<std::string, Verb> verbs = {
      {"key", Verb::Key}, {"keydown", Verb::KeyDown}, {"keyup", Verb::KeyUp}, {"shot", Verb::Shot}};
  return verbs;
}

}  // namespace

std::optional<ScriptCommand> ReadScriptLine(const std::string& line) {
  using Verb = ScriptCommand::Verb;
  const std::vector<std::string> w = Words(line);
  ScriptCommand c;
  if (w.empty() || w[0][0] == '#') return c;
  const std::string& verb = w[0];
  if (verb == "wait" && w.size() == 2 && ToInt(w[1], c.A) && c.A >= 0 && c.A <= LongestScriptWaitMs) {
    c.Kind = Verb::Wait;
  } else if (verb == "move" && w.size() == 3 && ToPosition(w[1], c.A) && ToPosition(w[2], c.B)) {
    c.Kind = Verb::Move;
  } else if (PointerVerbs().count(verb) && (w.size() == 3 || w.size() == 4) && ToPosition(w[1], c.A) &&
             ToPosition(w[2], c.B) && (w.size() == 3 || ToButton(w[3], c.Button))) {
    c.Kind = PointerVerbs().at(verb);
  } else if (TextVerbs().count(verb) && w.size() == 2) {
    c.Kind = TextVerbs().at(verb);
    c.Text = w[1];
  } else if (verb == "dump" && w.size() == 1) {
    c.Kind = Verb::Dump;
  } else if (verb == "quit" && w.size() == 1) {
    c.Kind = Verb::Quit;
  } else {
    return std::nullopt;
  }
  return c;
}

std::optional<ScriptCommand> ReadRecordingLine(const std::string& line) {
  using Verb = ScriptCommand::Verb;
  std::optional<ScriptCommand> command = ReadScriptLine(line);
  if (command && (command->Kind == Verb::Shot || command->Kind == Verb::Dump)) return std::nullopt;
  return command;
}

std::vector<InputEvent> InputEventsOf(const ScriptCommand& c) {
  using Verb = ScriptCommand::Verb;
  using Kind = InputEvent::Kind;
  const int x = int(c.A), y = int(c.B);
  const std::optional<char> key = KeyCharacter(c.Text);
  switch (c.Kind) {
    case Verb::Move:
      return {{Kind::Move, x, y}};
    case Verb::Press:
      return {{Kind::Down, x, y, c.Button}, {Kind::Up, x, y, c.Button}};
    case Verb::Down:
      return {{Kind::Down, x, y, c.Button}};
    case Verb::Up:
      return {{Kind::Up, x, y, c.Button}};
    case Verb::Key:
      if (key) return {{.Type = Kind::KeyDown, .Key = *key}, {.Type = Kind::KeyUp, .Key = *key}};
      break;
    case Verb::KeyDown:
      if (key) return {{.Type = Kind::KeyDown, .Key = *key}};
      break;
    case Verb::KeyUp:
      if (key) return {{.Type = Kind::KeyUp, .Key = *key}};
      break;
    default:
      break;
  }
  return {};
}

std::string ScriptLineOf(const InputEvent& input) {
  static constexpr const char* kButtons[] = {"left", "right", "middle"};
  const std::string at = std::to_string(input.X) + " " + std::to_string(input.Y);
  const std::string button = kButtons[int(input.Button)];
  switch (input.Type) {
    case InputEvent::Kind::Move:
      return "move " + at;
    case InputEvent::Kind::Down:
      return "down " + at + " " + button;
    case InputEvent::Kind::Up:
      return "up " + at + " " + button;
    case InputEvent::Kind::KeyDown:
      return "keydown " + KeyName(input.Key);
    case InputEvent::Kind::KeyUp:
      return "keyup " + KeyName(input.Key);
  }
  return "";
}

bool RunScriptCommand(Simulator& sim, const ScriptCommand& c, std::ostream& out) {
  using Verb = ScriptCommand::Verb;
  switch (c.Kind) {
    case Verb::Wait:
      sim.Wait(c.A);
      break;
    case Verb::Shot:
      return sim.Shot(c.Text);
    case Verb::Dump:
      out << sim.Dump() << "\n";
      break;
    case Verb::None:
    case Verb::Quit:
      break;
    default: {
      const std::vector<InputEvent> inputs = InputEventsOf(c);
      for (const InputEvent& input : inputs) sim.Apply(input);
      return !inputs.empty();
    }
  }
  return true;
}

std::optional<TimedInputs> TimedScript::Next() {
  using Verb = ScriptCommand::Verb;
  std::string line;
  LineRead read = LineRead::End;
  while (!ended_ && (read = ReadBoundedLine(script_, line, LongestRecordingLine)) == LineRead::Line) {
    ++lineNumber_;
    const std::optional<ScriptCommand> command = ReadRecordingLine(line);
    if (!command) {
      error_ = "line " + std::to_string(lineNumber_) + " is not an input or a wait";
      return std::nullopt;
    }
    const Verb verb = command->Kind;
    if (verb == Verb::Wait) atMs_ += command->A;
    if (verb == Verb::Quit) break;
    if (verb == Verb::Wait || verb == Verb::None) continue;
    std::vector<InputEvent> inputs = InputEventsOf(*command);
    if (inputs.empty()) {
      error_ = "line " + std::to_string(lineNumber_) + " names a key the game has not";
      return std::nullopt;
    }
    return TimedInputs{atMs_, std::move(inputs)};
  }
  if (ended_) return std::nullopt;
  if (read == LineRead::TooLong) {
    error_ = "line " + std::to_string(lineNumber_ + 1) + " is longer than any line of a recording";
    return std::nullopt;
  }
  ended_ = true;
  return TimedInputs{atMs_, {}, true};
}

int RunScript(Simulator& sim, std::istream& script, std::ostream& out, std::ostream& errors) {
  std::string line;
  for (int number = 1;; ++number) {
    const LineRead read = ReadBoundedLine(script, line, LongestScriptLine);
    if (read == LineRead::End) break;
    if (read == LineRead::TooLong) {
      errors << "line " << number << " is longer than " << LongestScriptLine << " characters\n";
      sim.Quit();
      return 2;
    }
    const std::optional<ScriptCommand> command = ReadScriptLine(line);
    if (command && command->Kind == ScriptCommand::Verb::Quit) break;
    if (!command || !RunScriptCommand(sim, *command, out)) {
      const std::string quote = line.size() > kLongestQuote ? line.substr(0, kLongestQuote) + "..." : line;
      errors << "line " << number << ": cannot read or run \"" << quote << "\"\n";
      sim.Quit();
      return 2;
    }
  }
  sim.Quit();
  out.flush();
  return 0;
}
