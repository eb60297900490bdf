// The window's controls as plain data: panels, pictures, layered images, red frames, the debug
// text box and invisible click catchers. The core composes them into one frame; the host only
// shows that frame and reports pointer events in window pixels.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "presentation/bitmap32.h"
#include "presentation/damage.h"
#include "presentation/layered_image.h"

enum class MouseButton { Left, Right, Middle };

class Control {
 public:
  Control(std::string name, int left, int top, int width, int height);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  // Adds child on top of this control's children; the child's position is relative to this one.
  void AddChild(Control& child);
  void BringToFront();
  void SendToBack();
  bool IsShowing() const;  // visible, and so is every parent

  // Paints the control and its visible children with its top-left at (x, y) of the frame.
  void PaintTree(Bitmap32& frame, int x, int y, const ClipRect& clip) const;
  // The deepest visible control under (x, y), given relative to this control's parent; with
  // the point made relative to that control.
  Control* HitTest(int x, int y, int& localX, int& localY);

  std::string Name;
  int Left, Top, Width, Height;
  bool Visible = true;
  int Tag = 0;
  Control* Parent = nullptr;
  std::vector<Control*> Children;  // later children lie above earlier ones

  std::function<void(int x, int y, MouseButton button)> OnMouseDown;
  std::function<void(int x, int y)> OnMouseMove;
  std::function<void()> OnClick;

  // True when painting covers every pixel of the control.
  virtual bool Opaque() const { return false; }
  // Paints the visible children over (x, y), skipping those hidden under an opaque sibling.
  void PaintChildren(Bitmap32& frame, int x, int y, const ClipRect& clip) const;
  // Adds, for children painted over (x, y) within clip, where they would now paint otherwise than
  // when this was last asked: children shown, hidden, moved, restacked or changed in look.
  void CollectChanges(DamageList& damage, int x, int y, const ClipRect& clip);

 protected:
  virtual void Paint(Bitmap32& frame, int x, int y, const ClipRect& clip) const;
  // What the control paints besides its place: two equal looks paint the same pixels.
  struct Look {
    std::uint64_t First = 0, Second = 0;
    bool operator==(const Look&) const = default;
  };
  virtual Look LookNow() const { return {}; }
  // Changes inside the control that its look does not tell.
  virtual void CollectInnerChanges(DamageList&, int /*x*/, int /*y*/, const ClipRect& /*area*/) {}

 private:
  bool CoveredByLaterSibling(std::size_t index) const;
  // The part of the control, placed with its top-left at (x, y), that lies inside clip.
  ClipRect PartInside(const ClipRect& clip, int x, int y) const;

  struct Composed {
    ClipRect Area;
    std::size_t Stacking;
    Look Looks;
    bool operator==(const Composed&) const = default;
  };
  // How the last composed frame showed the control; none when it did not.
  std::optional<Composed> composed_;
};

class TPanel : public Control {
 public:
  TPanel(std::string name, int left, int top, int width, int height, Pixel colour, bool bevel);
  bool Opaque() const override { return true; }
  Pixel Colour;
  bool Bevel;

 protected:
  void Paint(Bitmap32& frame, int x, int y, const ClipRect& clip) const override;
  Look LookNow() const override { return {Colour, Bevel}; }
};

// A picture control: shows one picture, at its top-left, centred, or stretched to the control.
class TImage : public Control {
 public:
  enum class Fit { TopLeft, Centre, Stretch };
  TImage(std::string name, int left, int top, int width, int height, Fit fit = Fit::TopLeft);
  Bitmap32 Picture;
  Fit PictureFit;
  // Pictures are copied, not blended: one that reaches every edge hides what lies below.
  bool Opaque() const override;

 protected:
  void Paint(Bitmap32& frame, int x, int y, const ClipRect& clip) const override;
  Look LookNow() const override { return {Picture.Revision(), std::uint64_t(PictureFit)}; }
};

class TLayeredImageControl : public Control {
 public:
  TLayeredImageControl(std::string name, int left, int top, int width, int height);
  LayeredImage Image;
  // The text last drawn into this image with the bitmap font, for inspection by tools.
  std::string LastText;
  // The bitmap is copied, not blended: one that fills the control hides what lies below.
  bool Opaque() const override { return Image.Bitmap.Width() >= Width && Image.Bitmap.Height() >= Height; }

 protected:
  void Paint(Bitmap32& frame, int x, int y, const ClipRect& clip) const override;
  void CollectInnerChanges(DamageList& damage, int x, int y, const ClipRect& area) override {
    Image.CollectChanges(damage, x, y, area);
  }
};

// A red rectangle outline drawn with a pen of the given width inside the control's bounds.
class TShape : public Control {
 public:
  TShape(std::string name, int left, int top, int width, int height, int penWidth, Pixel colour);
  int PenWidth;
  Pixel Colour;

 protected:
  void Paint(Bitmap32& frame, int x, int y, const ClipRect& clip) const override;
  Look LookNow() const override { return {std::uint64_t(PenWidth), Colour}; }
};

// A read-only text box; the host's typeface renders the lines into Rendered.
class TMemo : public Control {
 public:
  TMemo(std::string name, int left, int top, int width, int height, Pixel colour);
  Pixel Colour;
  std::vector<std::string> Lines;
  Bitmap32 Rendered;

 protected:
  void Paint(Bitmap32& frame, int x, int y, const ClipRect& clip) const override;
  Look LookNow() const override { return {Colour, Rendered.Revision()}; }
};

// An invisible area that only takes clicks.
class TPaintBox : public Control {
 public:
  using Control::Control;
};
