#include "creatures/cell_census.h"

void CellCensus::Count(const std::vector<std::unique_ptr<TMibbet>>& crowd) {
  counts_.fill(0);
  elsewhere_.fill(0);
  counting_ = true;
  for (const auto& m : crowd)
    if (m) Add(*m);
}

void CellCensus::Change(const TMibbet& m, int by) {
  if (!counting_) return;
  if (Counted(m.CellX, m.CellY)) At(m.CellX, m.CellY, m.Kind) += by;
  else elsewhere_[std::size_t(m.Kind)] += by;
}

bool CellCensus::PreyNear(int hatredState, MibbetKind hunter, int x, int y) const {
  for (int k = 0; k < kKinds; ++k) {
    const auto prey = MibbetKind(k);
    if (!Hates(hatredState, hunter, prey)) continue;
    if (elsewhere_[std::size_t(k)] > 0) return true;
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx)
        if (Counted(x + dx, y + dy) && At(x + dx, y + dy, prey) > 0) return true;
  }
  return false;
}
