#include "presentation/controls.h"

#include <algorithm>

Control::Control(std::string name, int left, int top, int width, int height)
    : Name(std::move(name)), Left(left), Top(top), Width(width), Height(height) {}

void Control::AddChild(Control& child) {
  child.Parent = this;
  Children.push_back(&child);
}

void Control::BringToFront() {
  if (!Parent) return;
  auto& siblings = Parent->Children;
  std::erase(siblings, this);
  siblings.push_back(this);
}

void Control::SendToBack() {
  if (!Parent) return;
  auto& siblings = Parent->Children;
  std::erase(siblings, this);
  siblings.insert(siblings.begin(), this);
}

bool Control::IsShowing() const {
  for (const Control* c = this; c; c = c->Parent)
    if (!c->Visible) return false;
  return true;
}

void Control::Paint(Bitmap32&, int, int, const ClipRect&) const {}

void Control::PaintTree(Bitmap32& frame, int x, int y, const ClipRect& clip) const {
  if (!Visible) return;
  const ClipRect own = PartInside(clip, x, y);
  if (own.Empty()) return;
  Paint(frame, x, y, own);
  PaintChildren(frame, x, y, own);
}

void Control::PaintChildren(Bitmap32& frame, int x, int y, const ClipRect& clip) const {
  for (std::size_t i = 0; i < Children.size(); ++i)
    if (!CoveredByLaterSibling(i)) Children[i]->PaintTree(frame, x + Children[i]->Left, y + Children[i]->Top, clip);
}

void Control::CollectChanges(DamageList& damage, int x, int y, const ClipRect& clip) {
  for (std::size_t i = 0; i < Children.size(); ++i) {
    Control& child = *Children[i];
    const int left = x + child.Left, top = y + child.Top;
    const ClipRect area = child.PartInside(clip, left, top);
    std::optional<Composed> now;
    if (child.Visible && !area.Empty()) now = Composed{area, i, child.LookNow()};
    if (now != child.composed_) {
      if (child.composed_) damage.Add(child.composed_->Area);
      if (now) damage.Add(now->Area);
      child.composed_ = now;
    }
    // A hidden control's insides are repainted whole when it shows again.
    if (!now) continue;
    child.CollectInnerChanges(damage, left, top, area);
    child.CollectChanges(damage, left, top, area);
  }
}

ClipRect Control::PartInside(const ClipRect& clip, int x, int y) const {
  return Intersection(clip, {x, y, x + Width, y + Height});
}

bool Control::CoveredByLaterSibling(std::size_t index) const {
  const Control& c = *Children[index];
  for (std::size_t j = index + 1; j < Children.size(); ++j) {
    const Control& above = *Children[j];
    if (above.Visible && above.Opaque() && above.Left <= c.Left && above.Top <= c.Top &&
        above.Left + above.Width >= c.Left + c.Width && above.Top + above.Height >= c.Top + c.Height)
      return true;
  }
  return false;
}

Control* Control::HitTest(int x, int y, int& localX, int& localY) {
  if (!Visible || x < Left || y < Top || x >= Left + Width || y >= Top + Height) return nullptr;
  const int innerX = x - Left, innerY = y - Top;
  for (auto it = Children.rbegin(); it != Children.rend(); ++it)
    if (Control* hit = (*it)->HitTest(innerX, innerY, localX, localY)) return hit;
  localX = innerX;
  localY = innerY;
  return this;
}

TPanel::TPanel(std::string name, int left, int top, int width, int height, Pixel colour, bool bevel)
    : Control(std::move(name), left, top, width, height), Colour(colour), Bevel(bevel) {}

void TPanel::Paint(Bitmap32& frame, int x, int y, const ClipRect& clip) const {
  frame.FillRect(x, y, Width, Height, Colour, clip);
  if (!Bevel) return;
  // A raised one-pixel edge: light above and left, shadow below and right.
  const Pixel light = MakePixel(255, 255, 255), shadow = MakePixel(160, 160, 160);
  frame.FillRect(x, y, Width, 1, light, clip);
  frame.FillRect(x, y, 1, Height, light, clip);
  frame.FillRect(x, y + Height - 1, Width, 1, shadow, clip);
  frame.FillRect(x + Width - 1, y, 1, Height, shadow, clip);
}

TImage::TImage(std::string name, int left, int top, int width, int height, Fit fit)
    : Control(std::move(name), left, top, width, height), PictureFit(fit) {}

bool TImage::Opaque() const {
  return PictureFit == Fit::Stretch ? !Picture.Empty() : Picture.Width() >= Width && Picture.Height() >= Height;
}

void TImage::Paint(Bitmap32& frame, int x, int y, const ClipRect& clip) const {
  switch (PictureFit) {
    case Fit::TopLeft:
      frame.DrawOpaque(Picture, x, y, clip);
      break;
    case Fit::Centre:
      frame.DrawOpaque(Picture, x + (Width - Picture.Width()) / 2, y + (Height - Picture.Height()) / 2, clip);
      break;
    case Fit::Stretch:
      frame.DrawStretched(Picture, x, y, Width, Height, clip);
      break;
  }
}

TLayeredImageControl::TLayeredImageControl(std::string name, int left, int top, int width, int height)
    : Control(std::move(name), left, top, width, height) {}

void TLayeredImageControl::Paint(Bitmap32& frame, int x, int y, const ClipRect& clip) const {
  Image.Render(frame, x, y, clip);
}

TShape::TShape(std::string name, int left, int top, int width, int height, int penWidth, Pixel colour)
    : Control(std::move(name), left, top, width, height), PenWidth(penWidth), Colour(colour) {}

void TShape::Paint(Bitmap32& frame, int x, int y, const ClipRect& clip) const {
  const int pen = std::min({PenWidth, Width, Height});
  frame.FillRect(x, y, Width, pen, Colour, clip);
  frame.FillRect(x, y + Height - pen, Width, pen, Colour, clip);
  frame.FillRect(x, y, pen, Height, Colour, clip);
  frame.FillRect(x + Width - pen, y, pen, Height, Colour, clip);
}

TMemo::TMemo(std::string name, int left, int top, int width, int height, Pixel colour)
    : Control(std::move(name), left, top, width, height), Colour(colour) {}

void TMemo::Paint(Bitmap32& frame, int x, int y, const ClipRect& clip) const {
  frame.FillRect(x, y, Width, Height, Colour, clip);
  frame.DrawBlended(Rendered, x + 2, y + 1, 255, clip);
}
