#include "presentation/damage.h"

#include <algorithm>

namespace {
bool OverlapOrTouch(const ClipRect& a, const ClipRect& b) {
  return a.Left <= b.Right && b.Left <= a.Right && a.Top <= b.Bottom && b.Top <= a.Bottom;
}
}  // namespace

void DamageList::Add(const ClipRect& area) {
  if (area.Empty()) return;
  ClipRect merged = area;
  // A grown rectangle may reach one it passed over: sweep until a sweep takes none.
  for (std::size_t before = 0; before != areas_.size();) {
    before = areas_.size();
    std::erase_if(areas_, [&](const ClipRect& a) {
      if (!OverlapOrTouch(a, merged)) return false;
      merged = Union(merged, a);
      return true;
    });
  }
  areas_.push_back(merged);
  if (areas_.size() <= kMostAreas) return;
  ClipRect all;
  for (const ClipRect& a : areas_) all = Union(all, a);
  areas_.assign(1, all);
}
