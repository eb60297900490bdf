#include "platform/sdl/game_window.h"

#include <algorithm>
#include <cstring>

#include "app/main_window.h"

namespace {

constexpr Size kFrame{WindowWidth, WindowHeight};

MouseButton ToButton(Uint8 button) {
  if (button == SDL_BUTTON_RIGHT) return MouseButton::Right;
  if (button == SDL_BUTTON_MIDDLE) return MouseButton::Middle;
  return MouseButton::Left;
}

// Copies rows of width pixels of N bytes each, already in the surface's format, into the surface
// with each pixel made scale x scale: a row is widened once, then copied down.
template <int N>
void StretchRows(const unsigned char* rows, std::size_t rowBytes, int width, int count, int scale, SDL_Surface* surface,
                 int left, int top) {
  auto* pixels = static_cast<unsigned char*>(surface->pixels);
  const std::size_t lineBytes = std::size_t(width) * scale * N;
  for (int y = 0; y < count; ++y) {
    const unsigned char* source = rows + std::size_t(y) * rowBytes;
    unsigned char* line = pixels + std::size_t(top + y * scale) * surface->pitch + std::size_t(left) * N;
    if (scale == 1) {
      std::memcpy(line, source, lineBytes);
      continue;
    }
    unsigned char* out = line;
    for (int x = 0; x < width; ++x, source += N)
      for (int k = 0; k < scale; ++k, out += N) std::memcpy(out, source, N);
    for (int k = 1; k < scale; ++k) std::memcpy(line + std::size_t(k) * surface->pitch, line, lineBytes);
  }
}

void StretchRows(int bytesPerPixel, const unsigned char* rows, std::size_t rowBytes, int width, int count, int scale,
                 SDL_Surface* surface, int left, int top) {
  switch (bytesPerPixel) {
    case 4:
      return StretchRows<4>(rows, rowBytes, width, count, scale, surface, left, top);
    case 3:
      return StretchRows<3>(rows, rowBytes, width, count, scale, surface, left, top);
    case 2:
      return StretchRows<2>(rows, rowBytes, width, count, scale, surface, left, top);
    default:
      return StretchRows<1>(rows, rowBytes, width, count, scale, surface, left, top);
  }
}

// The frame's own layout: X11's usual 32-bit surfaces ignore the top byte, so its pixels go as they are.
bool TakesFramePixels(const SDL_Surface* surface) {
  return surface->format->format == SDL_PIXELFORMAT_ARGB8888 || surface->format->format == SDL_PIXELFORMAT_RGB888;
}

}  // namespace

std::vector<InputEvent> InputsOf(const SDL_Event& e, const FrameFit& fit, Size frame) {
  using Kind = InputEvent::Kind;
  std::vector<InputEvent> inputs;
  switch (e.type) {
    case SDL_MOUSEMOTION: {
      const FramePoint at = ToFramePixel(fit, frame, e.motion.x, e.motion.y);
      inputs.push_back({Kind::Move, at.X, at.Y});
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      const FramePoint at = ToFramePixel(fit, frame, e.button.x, e.button.y);
      inputs.push_back({e.type == SDL_MOUSEBUTTONDOWN ? Kind::Down : Kind::Up, at.X, at.Y, ToButton(e.button.button)});
      break;
    }
    case SDL_TEXTINPUT:
      for (const char* c = e.text.text; *c; ++c)
        if (*c > 0 && *c < 127) inputs.push_back({.Type = Kind::KeyDown, .Key = *c});
      break;
    case SDL_KEYDOWN:
      if (e.key.keysym.sym == SDLK_ESCAPE) inputs.push_back({.Type = Kind::KeyDown, .Key = 27});
      if (e.key.keysym.sym == SDLK_RETURN || e.key.keysym.sym == SDLK_KP_ENTER)
        inputs.push_back({.Type = Kind::KeyDown, .Key = 13});
      if (e.key.keysym.sym == SDLK_BACKSPACE) inputs.push_back({.Type = Kind::KeyDown, .Key = 8});
      break;
    case SDL_KEYUP:
      if (e.key.keysym.sym == SDLK_BACKSPACE) inputs.push_back({.Type = Kind::KeyUp, .Key = 8});
      break;
    default:
      break;
  }
  return inputs;
}

bool IsFullscreenKey(const SDL_Event& e) { return e.type == SDL_KEYDOWN && e.key.keysym.sym == SDLK_F11; }

GameWindow::GameWindow(SDL_Window* window, TForm1& game, int windowedScale)
    : window_(window), game_(game), windowedScale_(windowedScale), caption_(ApplicationTitle) {}

bool GameWindow::Ready() { return CurrentSurface() != nullptr; }

void GameWindow::Show(bool scaleChosen) {
  SDL_ShowWindow(window_);
  int top = 0, left = 0, bottom = 0, right = 0;
  SDL_Rect usable;
  if (scaleChosen || SDL_GetWindowBordersSize(window_, &top, &left, &bottom, &right) != 0 ||
      SDL_GetDisplayUsableBounds(std::max(0, SDL_GetWindowDisplayIndex(window_)), &usable) != 0)
    return;
  const int fitting = LargestScale(kFrame, {usable.w, usable.h}, {left + right, top + bottom});
  if (fitting >= windowedScale_) return;
  windowedScale_ = fitting;
  if ((SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) == 0)
    SDL_SetWindowSize(window_, kFrame.Width * windowedScale_, kFrame.Height * windowedScale_);
}

bool GameWindow::Exposed(const SDL_Event& e) {
  if (e.type != SDL_WINDOWEVENT ||
      (e.window.event != SDL_WINDOWEVENT_EXPOSED && e.window.event != SDL_WINDOWEVENT_SIZE_CHANGED))
    return false;
  wholeOwed_ = true;
  // The pointer events queued behind a resize already speak of the new size.
  CurrentSurface();
  return true;
}

void GameWindow::ToggleFullscreen() {
  const bool fullscreen = (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0;
  if (SDL_SetWindowFullscreen(window_, fullscreen ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
    SDL_Log("mibbetfall: cannot switch the whole screen: %s", SDL_GetError());
    return;
  }
  // Without a window manager nothing gives the window its size back.
  if (fullscreen) SDL_SetWindowSize(window_, kFrame.Width * windowedScale_, kFrame.Height * windowedScale_);
  wholeOwed_ = true;
}

std::vector<InputEvent> GameWindow::InputsOf(const SDL_Event& e) const { return ::InputsOf(e, fit_, kFrame); }

SDL_Surface* GameWindow::CurrentSurface() {
  SDL_Surface* surface = SDL_GetWindowSurface(window_);
  if (!surface) return nullptr;
  if (const Size size{surface->w, surface->h}; size != surfaceSize_) {
    surfaceSize_ = size;
    fit_ = FitFrame(kFrame, size);
    wholeOwed_ = true;
  }
  return surface;
}

void GameWindow::ShowChanges() {
  SDL_Surface* surface = CurrentSurface();
  if (!surface) return;
  const Bitmap32& frame = game_.ComposeFrame();
  if (wholeOwed_) {
    wholeOwed_ = false;
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    PutArea(surface, frame, frame.FullRect());
    SDL_UpdateWindowSurface(window_);
  } else {
    shownAreas_.clear();
    for (const ClipRect& area : game_.FrameChanges())
      if (const SDL_Rect shown = PutArea(surface, frame, area); shown.w > 0 && shown.h > 0)
        shownAreas_.push_back(shown);
    if (!shownAreas_.empty()) SDL_UpdateWindowSurfaceRects(window_, shownAreas_.data(), int(shownAreas_.size()));
  }
  FollowCaption();
}

// Puts an area of the frame into the surface, enlarged; what falls outside a window too small for
// the frame is cut off. Returns the surface's rectangle that it covers.
SDL_Rect GameWindow::PutArea(SDL_Surface* surface, const Bitmap32& frame, const ClipRect& area) {
  const int scale = fit_.Scale;
  const ClipRect fits{0, 0, (surface->w - fit_.Left) / scale, (surface->h - fit_.Top) / scale};
  const ClipRect put = Intersection(Intersection(area, frame.FullRect()), fits);
  if (put.Empty()) return {};
  const int width = put.Right - put.Left, rows = put.Bottom - put.Top;
  const int bytesPerPixel = surface->format->BytesPerPixel;
  const int left = fit_.Left + put.Left * scale, top = fit_.Top + put.Top * scale;
  const auto* frameRows = reinterpret_cast<const unsigned char*>(frame.Row(put.Top) + put.Left);
  const std::size_t frameRowBytes = std::size_t(frame.Width()) * sizeof(Pixel);
  if (TakesFramePixels(surface)) {
    StretchRows(bytesPerPixel, frameRows, frameRowBytes, width, rows, scale, surface, left, top);
  } else {
    band_.resize(std::size_t(width) * rows * bytesPerPixel);
    SDL_ConvertPixels(width, rows, SDL_PIXELFORMAT_ARGB8888, frameRows, int(frameRowBytes), surface->format->format,
                      band_.data(), width * bytesPerPixel);
    StretchRows(bytesPerPixel, band_.data(), std::size_t(width) * bytesPerPixel, width, rows, scale, surface, left,
                top);
  }
  return {left, top, width * scale, rows * scale};
}

void GameWindow::FollowCaption() {
  if (game_.Caption == caption_) return;
  caption_ = game_.Caption;
  SDL_SetWindowTitle(window_, caption_.c_str());
}
