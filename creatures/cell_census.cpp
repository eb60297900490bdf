#include "creatures/cell_census.h"

#include <algorithm>

void CellCensus::Count(const std::vector<std::unique_ptr<TMibbet>>& crowd) {
  for (auto& ids : ids_) ids.clear();
  elsewhere_.fill(0);
  counting_ = true;
  for (const auto& m : crowd)
    if (m) Add(*m);
}

void CellCensus::Add(const TMibbet& m) {
  if (!counting_) return;
  if (!Counted(m.CellX, m.CellY)) {
    ++elsewhere_[std::size_t(m.Kind)];
    return;
  }
  // A newcomer belongs at the end; one that walks in may belong anywhere.
  std::vector<int>& ids = ids_[Slot(m.CellX, m.CellY, m.Kind)];
  if (ids.empty() || ids.back() < m.Id) ids.push_back(m.Id);
  else ids.insert(std::upper_bound(ids.begin(), ids.end(), m.Id), m.Id);
}

void CellCensus::Remove(const TMibbet& m) {
  if (!counting_) return;
  if (!Counted(m.CellX, m.CellY)) {
    --elsewhere_[std::size_t(m.Kind)];
    return;
  }
  std::vector<int>& ids = ids_[Slot(m.CellX, m.CellY, m.Kind)];
  if (const auto at = std::lower_bound(ids.begin(), ids.end(), m.Id); at != ids.end() && *at == m.Id) ids.erase(at);
}

std::optional<int> CellCensus::LatestPreyNear(int hatredState, MibbetKind hunter, int x, int y) const {
  int latest = kNoPrey;
  for (int k = 0; k < kKinds; ++k) {
    const auto prey = MibbetKind(k);
    if (!Hates(hatredState, hunter, prey)) continue;
    if (elsewhere_[std::size_t(k)] > 0) return std::nullopt;
    latest = std::max(latest, LatestOfKindNear(prey, x, y));
  }
  return latest;
}

int CellCensus::LatestOfKindNear(MibbetKind kind, int x, int y) const {
  int latest = kNoPrey;
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) {
      if (!Counted(x + dx, y + dy)) continue;
      const std::vector<int>& ids = ids_[Slot(x + dx, y + dy, kind)];
      if (!ids.empty()) latest = std::max(latest, ids.back());
    }
  return latest;
}
