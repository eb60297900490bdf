// The local high-score table on screen and on disk, and the name entry.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iostream>

#include "app/main_window.h"
#include "platform/bmp_file.h"
#include "platform/files.h"
#include "presentation/text.h"
#include "screens/high_score_table.h"
#include "screens/score_post.h"

namespace {
constexpr const char* kHighScoreFile = "hs.bmp";
constexpr int kHighScoreFont = 1;
constexpr int kTitleY = 6, kEnterNameY = 72, kPromptY = 670, kPostQuestionY = 300;
constexpr int kNameX = 206, kNameY = 300;
constexpr int kTableScoreX = 150, kTableNameX = 370, kTableTop = 72, kTableLineStep = 56;
constexpr char kEnter = 13;
// The name cursor is found by its tag, which also says whether it shows "_" or a blank. Neither
// equals a typed character's position (1 to 12), so Backspace never takes the cursor.
constexpr int kNameCursorTag = -2;
constexpr int kNameCursorBlankTag = -3;

bool IsNameCursor(const BitmapLayer& layer) { return layer.Tag == kNameCursorTag || layer.Tag == kNameCursorBlankTag; }

}  // namespace

std::string TForm1::HighScorePath() const { return HighScoreFolder + kHighScoreFile; }

void TForm1::ChooseHighScoreFolder() {
  HighScoreFolder = WritableFolder(AssetDir, "XDG_DATA_HOME", ".local/share");
  // Nowhere to write: saves fail, are reported once, and the table lives on in memory.
  if (HighScoreFolder.empty()) HighScoreFolder = AssetDir;
  // An installed game: the table it ships with starts the player's own.
  const std::string shipped = AssetDir + kHighScoreFile;
  if (HighScoreFolder != AssetDir && !FileExists(HighScorePath()) && FileExists(shipped)) {
    std::error_code ignored;
    std::filesystem::copy_file(shipped, HighScorePath(), ignored);
  }
}

void TForm1::EnsureHighScoreFile() {
  if (Replaying) {
    if (HighScoreLines.empty()) HighScoreLines = DefaultHighScoreLines();
    return;
  }
  // Something that cannot even be looked at (a loop of links, a folder without permission) is
  // not a missing table: loading it says why, and nothing is written over it.
  std::error_code cannotTell;
  if (std::filesystem::exists(HighScorePath(), cannotTell) || cannotTell) return;
  HighScoreLines = DefaultHighScoreLines();
  SaveHighScores();
}

void TForm1::LoadHighScores() {
  // After a failed save the table in memory is newer than the file, and after a file that could
  // not be read it is the only one this run has: keep it.
  if ((Replaying || !HighScoresSaved) && !HighScoreLines.empty()) {
    HighScoreFloor = int(HighScoreOfLine(HighScoreLines.back()));
    return;
  }
  const std::string path = HighScorePath();
  const FileOpening opening = OpenFileForReading(path);
  std::optional<Bitmap32> picture = opening.File ? ReadBmp(path) : std::nullopt;
  if (!opening.File && !opening.Missing) {
    // Not damaged, only out of reach: the scores it holds may come back once the player mends
    // it, so it stays where it is and this run never writes over it.
    std::cerr << "mibbetfall: cannot read " << path << ": " << opening.Why
              << "; it is left as it is, and the high scores of this run are kept in memory only\n";
    HighScoreLines = DefaultHighScoreLines();
    HighScoresSaved = false;
    HighScoreFileOutOfReach = true;
  } else if (!picture && opening.File) {
    std::cerr << "mibbetfall: " << path << " is not a high-score picture; kept as " << kHighScoreFile
              << ".bad, the default table takes its place\n";
    std::error_code ignored;
    std::filesystem::rename(path, path + ".bad", ignored);
    HighScoreLines = DefaultHighScoreLines();
    SaveHighScores();
  } else if (picture) {
    const std::optional<int> depth = BmpBitsPerPixel(path);
    // Only 24 and 32 bits a pixel keep every value exact; another depth holds no table.
    HighScoreLines = depth == 24 || depth == 32 ? HighScoreLinesFromPicture(*picture) : DefaultHighScoreLines();
  } else {
    HighScoreLines = DefaultHighScoreLines();
  }
  HighScoreFloor = int(HighScoreOfLine(HighScoreLines.back()));
}

void TForm1::SaveHighScores() {
  SortHighScoreLines(HighScoreLines);
  // A failed write is tried again at the next save (a disk may have room again); a file that
  // could not be read is never written over.
  if (Replaying || HighScoreFileOutOfReach) return;
  HighScoresSaved = WriteBmp24Atomically(HighScorePath(), HighScorePicture(HighScoreLines));
  if (!HighScoresSaved && !HighScoreSaveFailureReported) {
    std::cerr << "mibbetfall: cannot write " << HighScorePath() << "; the high scores are kept for this run only\n";
    HighScoreSaveFailureReported = true;
  }
}

void TForm1::InsertHighScore(bool post) {
  for (auto line = HighScoreLines.begin(); line != HighScoreLines.end(); ++line) {
    if (HighScoreOfLine(*line) > Score) continue;
    HighScoreLines.insert(line, HighScoreLine(Score, EnteredName));
    if (post) PostHighScore();
    HighScoreLines.pop_back();
    break;
  }
  SaveHighScores();
}

BitmapLayer* TForm1::NameCursor() {
  LayeredImage& screen = imHiScore.Image;
  for (int i = screen.LayerCount() - 1; i >= 0; --i)
    if (IsNameCursor(screen.LayerAt(i))) return &screen.LayerAt(i);
  return nullptr;
}

void TForm1::DrawHighScores() {
  DrawText(imHiScore, " ", kHighScoreFont, true, 0, 0, 0);
  AddPictureLayer(imHiScore, -1, kTitleY, BmpHighScores, 255);
  if (Score > HighScoreFloor && NameEntryState == 0) {
    NameEntryState = 1;
    EnteredName.clear();
    AddPictureLayer(imHiScore, -1, kEnterNameY, BmpEnterName, 255);
    AddPictureLayer(imHiScore, -1, kPromptY, BmpEnterName + 1, 255);
    NameEntryX = kNameX;
    DrawText(imHiScore, "_", kHighScoreFont, false, kNameX, kNameY, kNameCursorTag);
    tmrHiScoreFlicker.SetEnabled(true);
  }
  if (NameEntryState == 2) {
    AddPictureLayer(imHiScore, -1, kEnterNameY, BmpEnterName, 255);
    AddPictureLayer(imHiScore, -1, kPostQuestionY, BmpEnterName + 3, 255);
    tmrHiScoreFlicker.SetEnabled(false);
  }
  if (NameEntryState == 1 || NameEntryState == 2) return;
  tmrHiScoreFlicker.SetEnabled(false);
  AddPictureLayer(imHiScore, -1, kPromptY, BmpEnterName + 2, 255);
  for (std::size_t i = 0; i < HighScoreLines.size(); ++i) {
    const int y = kTableTop + kTableLineStep * int(i);
    DrawText(imHiScore, std::to_string(HighScoreOfLine(HighScoreLines[i])), kHighScoreFont, false, kTableScoreX, y, 0);
    DrawText(imHiScore, ShownName(NameOfLine(HighScoreLines[i])), kHighScoreFont, false, kTableNameX, y, 0);
  }
}

void TForm1::MoveNameCursor(int dx) {
  BitmapLayer* cursor = NameCursor();
  if (!cursor) return;
  cursor->Location.Left += float(dx);
  cursor->Location.Right += float(dx);
  cursor->Mode = DrawMode::Blend;
  imHiScore.Image.BringToFront(cursor);
}

void TForm1::ShowNameCursor(bool shown) {
  if (BitmapLayer* cursor = NameCursor()) cursor->Visible = shown;
}

void TForm1::NameEntryKey(char ch) {
  const char c = char(std::toupper(static_cast<unsigned char>(ch)));
  if (int(EnteredName.size()) < HighScoreNameLength) {
    ShowNameCursor(true);
    if (GlyphIndex(c, 0) >= 0) {
      EnteredName += c;
      DrawText(imHiScore, std::string(1, c), kHighScoreFont, false, NameEntryX, kNameY, int(EnteredName.size()));
      const int width = imHiScore.Image.LayerAt(imHiScore.Image.LayerCount() - 1).PictureWidth();
      NameEntryX += width;
      MoveNameCursor(width);
    }
  }
  if (int(EnteredName.size()) == HighScoreNameLength) ShowNameCursor(false);
  // Enter ends the entry even when the name is already full.
  if (ch == kEnter) {
    if (!HighScoreServerConfigured()) return FinishNameEntry(false);
    NameEntryState = 2;
    DrawHighScores();
  }
}

void TForm1::NameEntryBackspace() {
  LayeredImage& screen = imHiScore.Image;
  const int position = int(EnteredName.size());
  for (int i = screen.LayerCount() - 1; i >= 0; --i) {
    if (screen.LayerAt(i).Tag != position) continue;
    const int width = screen.LayerAt(i).PictureWidth();
    NameEntryX -= width;
    screen.DestroyLayerAt(i);
    MoveNameCursor(-width);
  }
  EnteredName.pop_back();
  if (!EnteredName.empty()) ShowNameCursor(true);
}

void TForm1::PostAnswerKey(char ch) {
  const char c = char(std::toupper(static_cast<unsigned char>(ch)));
  // The keys around Y are taken for a slip of the finger, not for an answer.
  if (std::string("TGHJU76").find(c) != std::string::npos) return;
  FinishNameEntry(c == 'Y');
}

void TForm1::FinishNameEntry(bool post) {
  InsertHighScore(post);
  NameEntryState = 3;
  DrawHighScores();
}

void TForm1::tmrHiScoreFlickerTimer() {
  tmrHiScoreFlicker.SetEnabled(false);
  BitmapLayer* cursor = NameCursor();
  if (!cursor || NameEntryState != 1) return;
  const bool showing = cursor->Tag == kNameCursorTag;
  cursor->ShowPicture(Sprites.At(BmpFont + GlyphIndex(showing ? ' ' : '_', GlyphsPerSet * kHighScoreFont)));
  cursor->Tag = showing ? kNameCursorBlankTag : kNameCursorTag;
  tmrHiScoreFlicker.SetEnabled(true);
}

void TForm1::imHiScoreClick() {
  if (NameEntryState == 1 || NameEntryState == 2) return;
  ReturnToSplash();
}
