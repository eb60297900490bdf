// Settings at their extremes and settings files written carelessly: every value is brought into
// its key's range when read, and a game played on the extremes stays well defined (the sanitizer
// build turns any overflow into a failure).
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <sstream>

#include "tests/test_support.h"

namespace {

constexpr int kTickMs = 50;

struct ReadResult {
  TSettings Settings;
  std::string Said;  // what the reader wrote on stderr
};

ReadResult ReadSettingsText(const std::string& text) {
  TestAssetDir dir(text);
  testing::internal::CaptureStderr();
  TSettings settings = ReadSettings(dir.Path() + "settings.ini");
  return {settings, testing::internal::GetCapturedStderr()};
}

int LineCount(const std::string& text) { return int(std::count(text.begin(), text.end(), '\n')); }

TEST(SettingLimits, ValuesOutsideAKeysRangeTakeTheNearerEndWithOneLineNamingTheKey) {
  struct Case {
    const char* line;
    int TSettings::*field;
    int expected;
    bool clamped;
  } cases[] = {
      // A period in seconds becomes milliseconds: 4294968 s would wrap a 32-bit count to 704 ms.
      {"MIBBETTUNNELSWAP=4294968", &TSettings::MIBBETTUNNELSWAP, 86400, true},
      {"MIBBETEMERGEHOLE=2147484", &TSettings::MIBBETEMERGEHOLE, 86400, true},
      {"MIBBETEMERGESWAP=-2147483648", &TSettings::MIBBETEMERGESWAP, -86400, true},
      {"MIBBETTUNNELSWAPRED=2147483647", &TSettings::MIBBETTUNNELSWAPRED, 86400, true},
      {"MIBBETTUNNELSWAP=86400", &TSettings::MIBBETTUNNELSWAP, 86400, false},
      {"MIBBETTUNNELSWAP=-30", &TSettings::MIBBETTUNNELSWAP, -30, false},
      // Pushes and radii are subtracted from and negated beside cell numbers.
      {"EMIBBETFORCEY=-2147483648", &TSettings::EMIBBETFORCEY, -1000, true},
      {"FMIBBETFORCEY=1001", &TSettings::FMIBBETFORCEY, 1000, true},
      {"BLOCKSIGNBUILDBY=-2147483648", &TSettings::BLOCKSIGNBUILDBY, -1000, true},
      {"EMIBBETFORCEY=-1000", &TSettings::EMIBBETFORCEY, -1000, false},
      // Prices are taken off the scrap, scores and scrap are added up.
      {"BOTCOST=2147483647", &TSettings::BOTCOST, 16777215, true},
      {"SIGNCOST=-2147483648", &TSettings::SIGNCOST, -16777215, true},
      {"BASESCRAP=16777216", &TSettings::BASESCRAP, 16777215, true},
      {"MIBBETKILL=-16777215", &TSettings::MIBBETKILL, -16777215, false},
      // Counts of ticks, of things on the field and percentages.
      {"FMIBBETBASESPEED=2147483647", &TSettings::FMIBBETBASESPEED, 1728000, true},
      {"CONFSTATERPAUSEA=-2147483648", &TSettings::CONFSTATERPAUSEA, -1728000, true},
      {"NUMSTARTRES=2147483647", &TSettings::NUMSTARTRES, 1000, true},
      {"MIBBETSCRAPPERC=-5", &TSettings::MIBBETSCRAPPERC, -5, false},
      // Debug mode is only on or off: any number is taken as it is.
      {"DEBUG=-2147483648", &TSettings::DEBUG, INT_MIN, false},
      // A whole number too large for an int is out of range like any other, however long.
      {"BASEORBHEALTH=99999999999", &TSettings::BASEORBHEALTH, 16777215, true},
      {"DEBUG=2147483648", &TSettings::DEBUG, INT_MAX, true},
      {"MIBBETKILL=-99999999999999999999999999999999999999999999999999", &TSettings::MIBBETKILL, -16777215, true},
      {"NUMSTARTRES=+00000000000000000000000000000000000000000000000007", &TSettings::NUMSTARTRES, 7, false},
  };
  for (const Case& c : cases) {
    const ReadResult read = ReadSettingsText(std::string(c.line) + "\n");
    EXPECT_EQ(read.Settings.*c.field, c.expected) << c.line;
    const std::string key = std::string(c.line).substr(0, std::string(c.line).find('='));
    EXPECT_EQ(LineCount(read.Said), c.clamped ? 1 : 0) << c.line << ": " << read.Said;
    if (c.clamped) {
      EXPECT_NE(read.Said.find(key), std::string::npos) << read.Said;
    }
  }
  const ReadResult floats = ReadSettingsText("MIBBETSHOTSTRENGTH=1e300\nTURRETSHOTSTRENGTH=-1e300\n");
  EXPECT_DOUBLE_EQ(floats.Settings.MIBBETSHOTSTRENGTH, 16777215.0);
  EXPECT_DOUBLE_EQ(floats.Settings.TURRETSHOTSTRENGTH, -16777215.0);
  EXPECT_EQ(LineCount(floats.Said), 2) << floats.Said;
  // Beyond a double, and a line about a value of a thousand digits that still reads as one line.
  const ReadResult huge = ReadSettingsText("MIBBETSHOTSTRENGTH=1e400\nTURRETSHOTSTRENGTH=-1" + std::string(400, '0') +
                                           "\nBOTCOST=" + std::string(1000, '9') + "\n");
  EXPECT_DOUBLE_EQ(huge.Settings.MIBBETSHOTSTRENGTH, 16777215.0);
  EXPECT_DOUBLE_EQ(huge.Settings.TURRETSHOTSTRENGTH, -16777215.0);
  EXPECT_EQ(huge.Settings.BOTCOST, 16777215);
  EXPECT_EQ(LineCount(huge.Said), 3) << huge.Said;
  EXPECT_LT(huge.Said.size(), 400u) << huge.Said;
  const TSettings defaults;
  for (const SettingKey& key : SettingKeys())
    if (const auto* field = std::get_if<int TSettings::*>(&key.Field)) {
      EXPECT_LE(key.Range.Lowest, defaults.*(*field)) << key.Name;
      EXPECT_GE(key.Range.Highest, defaults.*(*field)) << key.Name;
    }
}

TEST(SettingsFile, ARepeatedKeyTakesItsLastValueAndBlanksBeforeALineAreIgnored) {
  struct Case {
    const char* text;
    int TSettings::*field;
    int expected;
    const char* said;  // what the one line on stderr mentions, or nullptr for silence
  } cases[] = {
      {"BASESCRAP=500\nBASESCRAP=500\n", &TSettings::BASESCRAP, 500, "BASESCRAP"},
      {"BASESCRAP=400\nbasescrap=600\n", &TSettings::BASESCRAP, 600, "basescrap"},
      // Without the mend an indented line continued the key above it, spoiling both.
      {"SIGNCOST=15\n  BOTCOST=200\n", &TSettings::SIGNCOST, 15, "line 3"},
      {"SIGNCOST=15\n  BOTCOST=200\n", &TSettings::BOTCOST, 200, "line 3"},
      {"\tBOTCOST=300\n", &TSettings::BOTCOST, 300, "line 2"},
      {"BASESCRAP=70\n[Other]\nBASESCRAP=90\n", &TSettings::BASESCRAP, 70, nullptr},
      {"BASESCRAP=70\n   \n\nSIGNCOST=12\n", &TSettings::BASESCRAP, 70, nullptr},
  };
  for (const Case& c : cases) {
    const ReadResult read = ReadSettingsText(c.text);
    EXPECT_EQ(read.Settings.*c.field, c.expected) << c.text;
    EXPECT_EQ(LineCount(read.Said), c.said ? 1 : 0) << c.text << read.Said;
    if (c.said) {
      EXPECT_NE(read.Said.find(c.said), std::string::npos) << read.Said;
    }
  }
  EXPECT_EQ(ReadSettingsText("HISCORESERVER=10.0.0.1:80\nHISCORESERVER=\n").Settings.HISCORESERVER, "");
}

// A file that repeats a key without end must not bury every other message under a line a repeat.
TEST(SettingsFile, AKeyGivenManyTimesIsOneLineSayingHowOften) {
  std::string text;
  for (int i = 0; i < 100000; ++i) text += "BASESCRAP=" + std::to_string(i) + "\n";
  text += "SIGNCOST=5\nBOTCOST=7\nsigncost=6\n";
  const ReadResult read = ReadSettingsText(text);
  EXPECT_EQ(read.Settings.BASESCRAP, 99999);
  EXPECT_EQ(read.Settings.SIGNCOST, 6);
  EXPECT_EQ(read.Settings.BOTCOST, 7);
  ASSERT_EQ(LineCount(read.Said), 2);
  EXPECT_EQ(read.Said,
            "mibbetfall: settings.ini: BASESCRAP is given 100000 times; its last value holds\n"
            "mibbetfall: settings.ini: signcost is given 2 times; its last value holds\n");
}

// Every integer key at one value and every float key at another.
std::string EveryKeyAt(const std::string& integer, const std::string& fraction) {
  std::ostringstream text;
  for (const SettingKey& key : SettingKeys()) {
    if (std::holds_alternative<int TSettings::*>(key.Field)) text << key.Name << "=" << integer << "\n";
    if (std::holds_alternative<double TSettings::*>(key.Field)) text << key.Name << "=" << fraction << "\n";
  }
  return text.str();
}

// Window pixels of the centre of a playfield cell.
int CellCentre(int cell) { return 9 + CellSize * cell + 17; }

// A player who keeps everything busy: a build menu a second at a cell walking over the field,
// a sign, a gathering or a removal chosen in turn, and a builder bought now and then.
void PlayBusily(GameFixture& f, int seconds) {
  TForm1& g = f.Game();
  for (int s = 0; s < seconds; ++s) {
    f.Sim->Press(CellCentre((s * 7) % 19), CellCentre(2 + (s * 5) % 17));
    if (g.MenuImg.Visible) {
      const int item[3][2] = {{60, 75}, {20, 115}, {60, 115}};
      f.Sim->Press(g.MenuImg.Left + item[s % 3][0], g.MenuImg.Top + item[s % 3][1]);
    }
    if (s % 5 == 0) {
      f.Sim->Press(CellCentre(9), CellCentre(0));
      if (g.OrbMenuImg.Visible) f.Sim->Press(g.OrbMenuImg.Left + 30, g.OrbMenuImg.Top + 30);
    }
    for (int t = 0; t < 1000 / kTickMs; ++t) f.Sim->Wait(kTickMs);
  }
}

TEST(SettingLimits, GamesOnExtremeSettingsStayWellDefined) {
  struct Case {
    const char* name;
    std::string settings;
  } cases[] = {
      {"every key at the largest int", EveryKeyAt("2147483647", "1e300")},
      {"every key at the smallest int", EveryKeyAt("-2147483648", "-1e300")},
      {"every key at zero", EveryKeyAt("0", "0")},
      {"periods past a 32-bit millisecond count",
       "MIBBETTUNNELSWAP=4294968\nMIBBETEMERGEHOLE=4294968\nMIBBETEMERGESWAP=4294968\n"
       "MIBBETTUNNELSWAPRED=-2147483648\nMIBBETEMERGEHOLERED=2147483647\nMIBBETEMERGEHOLEMIN=-2147483648\n"},
      {"free goods and rich rewards",
       "BOTCOST=-2147483648\nSIGNCOST=-2147483648\nGATHER_SCRAP=2147483647\nMIBBETKILL=2147483647\n"
       "TURRETKILL=-2147483648\nMIBBETSCRAPPERC=100\nEMIBBETBASEEMERGE=1\nSMIBBETBASEEMERGE=1\n"
       "FMIBBETBASEEMERGE=1\nBASEMIBBETHEALTH=1\nMAX_SIGN=2147483647\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing::internal::CaptureStderr();
    GameFixture f(c.settings);
    f.StartPlaying();
    PlayBusily(f, 300);
    testing::internal::GetCapturedStderr();
    const TForm1& g = f.Game();
    // Free goods and rich rewards pass a billion in scrap within these five minutes.
    EXPECT_LE(std::abs(g.Scrap), LargestTotal);
    EXPECT_LE(std::abs(g.Score), LargestTotal);
    for (const Timer* timer : {&g.tmrTunnel, &g.tmrEmergeHole, &g.tmrEmergeSwap}) {
      EXPECT_GE(timer->Interval(), 1000);
      EXPECT_LE(timer->Interval(), 86400000);
    }
  }
}

TEST(SettingLimits, APeriodPastA32BitMillisecondCountIsADay) {
  GameFixture f("MIBBETTUNNELSWAP=4294968\n");
  f.StartPlaying();
  EXPECT_EQ(f.Game().tmrTunnel.Interval(), 86400000);
}

}  // namespace
