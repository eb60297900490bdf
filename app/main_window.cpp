#include "app/main_window.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "presentation/embedded_pictures.h"

namespace {

const Pixel kButtonFace = MakePixel(240, 240, 240);
const Pixel kWhite = MakePixel(255, 255, 255);
const Pixel kBlack = MakePixel(0, 0, 0);
const Pixel kRed = MakePixel(255, 0, 0);
const Pixel kMaroon = MakePixel(128, 0, 0);
constexpr int kWarningPen = 5;

using Spans = std::vector<std::pair<int, int>>;  // [left, right), left to right

// Where the window's opaque children lie across row y.
Spans OpaqueSpans(const Control& window, int y) {
  Spans covered;
  for (const Control* child : window.Children)
    if (child->Visible && child->Opaque() && child->Top <= y && y < child->Top + child->Height)
      covered.emplace_back(child->Left, child->Left + child->Width);
  std::sort(covered.begin(), covered.end());
  return covered;
}

void FillBetween(Bitmap32& frame, const Spans& covered, int top, int height, Pixel colour, const ClipRect& clip) {
  int x = 0;
  for (const auto& [left, right] : covered) {
    if (left > x) frame.FillRect(x, top, left - x, height, colour, clip);
    x = std::max(x, right);
  }
  if (x < frame.Width()) frame.FillRect(x, top, frame.Width() - x, height, colour, clip);
}

// The window's colour shows only between its opaque controls, which paint every pixel of their
// own. Filling the whole frame first wrote most of it twice, every frame. Between two horizontal
// edges of those controls every row is crossed by the same ones, so each such band is one fill.
void FillAroundOpaqueChildren(Bitmap32& frame, const Control& window, Pixel colour, const ClipRect& clip) {
  std::vector<int> edges{0, frame.Height()};
  for (const Control* child : window.Children)
    if (child->Visible && child->Opaque())
      for (const int edge : {child->Top, child->Top + child->Height})
        edges.push_back(std::clamp(edge, 0, frame.Height()));
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
  for (std::size_t i = 0; i + 1 < edges.size(); ++i)
    if (edges[i] < clip.Bottom && edges[i + 1] > clip.Top)
      FillBetween(frame, OpaqueSpans(window, edges[i]), edges[i], edges[i + 1] - edges[i], colour, clip);
}

}  // namespace

TForm1::TForm1(Platform platform, std::string assetDir)
    : Ports(platform),
      Window("Form1", 0, 0, WindowWidth, WindowHeight),
      pnlPause("pnlPause", 8, 8, 700, 700, kBlack, true),
      Image3("Image3", 0, 0, 700, 700, TImage::Fit::Centre),
      Pane("Pane", 8, 8, 700, 700, kButtonFace, true),
      Playfield("Playfield", 1, 1, 698, 698),
      MenuImg("MenuImg", 792, 488, 152, 192),
      pnlCash("pnlCash", 712, 64, 185, 52, kWhite, true),
      imScrap("imScrap", 8, 8, 35, 35),
      imScrapCt("imScrapCt", 48, 16, 129, 20),
      spNoCash("spNoCash", 0, 0, 185, 51, kWarningPen, kRed),
      pnlSigns("pnlSigns", 712, 120, 185, 52, kWhite, true),
      imSigns("imSigns", 8, 8, 35, 35),
      imSignsCt("imSignsCt", 48, 16, 129, 20),
      spTooManySigns("spTooManySigns", 0, 0, 185, 51, kWarningPen, kRed),
      OrbMenuImg("OrbMenuImg", 792, 488, 82, 54),
      pnlGameOver("pnlGameOver", 8, 8, 700, 700, kButtonFace, false),
      imEnd("imEnd", 80, 569, 550, 450),
      imGOTop("imGOTop", 0, 0, 700, 101),
      imGOR("imGOR", 650, 101, 50, 499),
      imGOBot("imGOBot", 0, 600, 700, 100, TImage::Fit::Stretch),
      imGOL("imGOL", 0, 101, 50, 499),
      PaintBox1("PaintBox1", 0, 0, 700, 700),
      pnlSplash("pnlSplash", 8, 8, 700, 700, kButtonFace, false),
      imStart("imStart", 48, 680, 600, 600),
      imSplash("imSplash", 0, 0, 700, 700),
      PaintBox2("PaintBox2", 0, 0, 700, 7000),
      pnlHated("pnlHated", 712, 176, 185, 201, kWhite, true),
      imHatred("imHatred", 40, 13, 100, 172),
      spHatred("spHatred", 0, 0, 185, 201, kWarningPen, kRed),
      Panel1("Panel1", 712, 506, 185, 201, kWhite, true),
      Image1("Image1", 1, 1, 183, 200),
      Panel2("Panel2", 712, 8, 185, 52, kWhite, true),
      imScore("imScore", 8, 16, 169, 20),
      Panel3("Panel3", 712, 384, 185, 49, kWhite, true),
      Image2("Image2", 0, 0, 185, 49, TImage::Fit::Centre),
      memDbg("memDbg", 712, 436, 185, 67, kMaroon),
      pnlHighScores("pnlHighScores", 8, 8, 700, 700, kBlack, false),
      imHiScore("imHiScore", 0, 0, 700, 700),
      pnlTutorial("pnlTutorial", 8, 8, 700, 700, kBlack, false),
      imTutorial("imTutorial", 0, 0, 700, 700, TImage::Fit::Centre),
      WindowColour(kButtonFace),
      tmrTick(platform.Timers.Add("tmrTick", 50, [this] { tmrTickTimer(); })),
      tmrSplode(platform.Timers.Add("tmrSplode", 50, [this] { tmrSplodeTimer(); })),
      tmrScrollET(platform.Timers.Add("tmrScrollET", 500, [this] { tmrScrollETTimer(); })),
      tmrScrollST(platform.Timers.Add("tmrScrollST", 300, [this] { tmrScrollSTTimer(); })),
      tmrDiv(platform.Timers.Add("tmrDiv", 8000, [this] { tmrDivTimer(); })),
      tmrRHS(platform.Timers.Add("tmrRHS", 120000, [this] { tmrRHSTimer(); })),
      tmrTunnel(platform.Timers.Add("tmrTunnel", 3000, [this] { tmrTunnelTimer(); })),
      tmrEmergeSwap(platform.Timers.Add("tmrEmergeSwap", 30000, [this] { tmrEmergeSwapTimer(); })),
      tmrHiScoreFlicker(platform.Timers.Add("tmrHiScoreFlicker", 100, [this] { tmrHiScoreFlickerTimer(); })),
      tmrEmergeHole(platform.Timers.Add("tmrEmergeHole", 3000, [this] { tmrEmergeHoleTimer(); })),
      tmrTickTut(platform.Timers.Add("tmrTickTut", 50, [this] { tmrTickTutTimer(); })),
      frame_(WindowWidth, WindowHeight) {
  AssetDir = std::move(assetDir);
  BuildLayout();
}

TForm1::~TForm1() {
  // Entities go first: their layers live on the controls' images.
  ClearWorld();
  for (Timer* t : {&tmrTick, &tmrSplode, &tmrScrollET, &tmrScrollST, &tmrDiv, &tmrRHS, &tmrTunnel, &tmrEmergeSwap,
                   &tmrHiScoreFlicker, &tmrEmergeHole, &tmrTickTut})
    Ports.Timers.Remove(*t);
}

void TForm1::BuildLayout() {
  Window.AddChild(pnlPause);
  pnlPause.AddChild(Image3);
  Window.AddChild(Pane);
  Pane.AddChild(Playfield);
  Window.AddChild(MenuImg);
  Window.AddChild(pnlCash);
  pnlCash.AddChild(imScrap);
  pnlCash.AddChild(imScrapCt);
  pnlCash.AddChild(spNoCash);
  Window.AddChild(pnlSigns);
  pnlSigns.AddChild(imSigns);
  pnlSigns.AddChild(imSignsCt);
  pnlSigns.AddChild(spTooManySigns);
  Window.AddChild(OrbMenuImg);
  Window.AddChild(pnlGameOver);
  for (Control* c : std::initializer_list<Control*>{&imEnd, &imGOTop, &imGOR, &imGOBot, &imGOL, &PaintBox1})
    pnlGameOver.AddChild(*c);
  Window.AddChild(pnlSplash);
  pnlSplash.AddChild(imStart);
  pnlSplash.AddChild(imSplash);
  pnlSplash.AddChild(PaintBox2);
  Window.AddChild(pnlHated);
  pnlHated.AddChild(imHatred);
  pnlHated.AddChild(spHatred);
  Window.AddChild(Panel1);
  Panel1.AddChild(Image1);
  Window.AddChild(Panel2);
  Panel2.AddChild(imScore);
  Window.AddChild(Panel3);
  Panel3.AddChild(Image2);
  Window.AddChild(memDbg);
  Window.AddChild(pnlHighScores);
  pnlHighScores.AddChild(imHiScore);
  Window.AddChild(pnlTutorial);
  pnlTutorial.AddChild(imTutorial);

  for (Control* hidden :
       std::initializer_list<Control*>{&pnlPause, &MenuImg, &spNoCash, &spTooManySigns, &OrbMenuImg, &pnlGameOver,
                                       &spHatred, &memDbg, &pnlHighScores, &pnlTutorial})
    hidden->Visible = false;

  Image3.Picture = EmbeddedPaused();
  Image1.Picture = EmbeddedCredits();
  Playfield.Image.Bitmap.Resize(PlayfieldSize, PlayfieldSize);
  imScore.Image.Bitmap.Resize(imScore.Width, imScore.Height, kWhite);
  imSignsCt.Image.Bitmap.Resize(imSignsCt.Width, imSignsCt.Height, kWhite);

  Playfield.OnMouseMove = [this](int x, int y) { PlayfieldMouseMove(x, y); };
  Playfield.OnMouseDown = [this](int x, int y, MouseButton b) { PlayfieldMouseDown(b, x, y); };
  MenuImg.OnMouseMove = [this](int x, int y) { MenuImgMouseMove(x, y); };
  MenuImg.OnMouseDown = [this](int x, int y, MouseButton b) { MenuImgMouseDown(b, x, y); };
  OrbMenuImg.OnMouseMove = [this](int x, int y) { OrbMenuImgMouseMove(x, y); };
  OrbMenuImg.OnMouseDown = [this](int x, int y, MouseButton b) { OrbMenuImgMouseDown(b, x, y); };
  imSplash.OnClick = [this] { imSplashClick(); };
  PaintBox2.OnClick = [this] { imSplashClick(); };
  PaintBox1.OnClick = [this] { PaintBox1Click(); };
  imHiScore.OnClick = [this] { imHiScoreClick(); };
}

void TForm1::WindowMouseMove(int x, int y) {
  int localX = 0, localY = 0;
  Control* hit = Window.HitTest(x, y, localX, localY);
  if (hit && hit->OnMouseMove) hit->OnMouseMove(localX, localY);
}

void TForm1::WindowMouseDown(int x, int y, MouseButton button) {
  int localX = 0, localY = 0;
  pressedControl_ = Window.HitTest(x, y, localX, localY);
  if (pressedControl_ && pressedControl_->OnMouseDown) pressedControl_->OnMouseDown(localX, localY, button);
}

void TForm1::WindowMouseUp(int x, int y, MouseButton button) {
  int localX = 0, localY = 0;
  Control* hit = Window.HitTest(x, y, localX, localY);
  const bool clicked = button == MouseButton::Left && hit && hit == pressedControl_;
  pressedControl_ = nullptr;
  // The press may have hidden the control; a click needs it still showing, as in a window.
  if (clicked && hit->IsShowing() && hit->OnClick) hit->OnClick();
}

// A pointer move mostly shifts one cell's cursor: only what changed since the last frame is
// painted again, and the hosts are told where.
const Bitmap32& TForm1::ComposeFrame() {
  frameChanges_.Clear();
  if (composedColour_ != WindowColour) {
    composedColour_ = WindowColour;
    frameChanges_.Add(frame_.FullRect());
  }
  Window.CollectChanges(frameChanges_, 0, 0, frame_.FullRect());
  for (const ClipRect& area : frameChanges_.Areas()) {
    FillAroundOpaqueChildren(frame_, Window, WindowColour, area);
    Window.PaintChildren(frame_, 0, 0, area);
  }
  return frame_;
}

void TForm1::ApplyDebugLook() {
  WindowColour = kMaroon;
  memDbg.Visible = true;
  memDbg.Lines = {"[X] New Bot  [Z] Kill Mibbets",  "[C] Cash + 50 [V] Cash - 50",
                  "[B] Stop Mibbet Motion [G] Gen", "[A] Invincible [N] Replace Turrets",
                  "[F] Fast [1/2/3/4/5/6/7/8/9]",   "[Q] Game Over [W] Score + 50"};
  memDbg.Rendered.Resize(memDbg.Width, memDbg.Height, 0);
  int y = 0;
  for (const std::string& line : memDbg.Lines) {
    const Bitmap32 text = Ports.Fonts.Render(line, 9, false, kWhite);
    memDbg.Rendered.DrawOpaque(text, 0, y);
    y += 11;
  }
}

TunnelRec& TForm1::TunnelOfKind(MibbetKind kind) { return kind == KindF ? FTunnel : kind == KindS ? STunnel : ETunnel; }

void TForm1::ShowSwitches() { Image2.Picture = EmbeddedKeyLegend(SoundOn, MusicOn); }
