#include "creatures/cell_census.h"

#include <algorithm>

void CellCensus::Count(const std::vector<std::unique_ptr<TMibbet>>& crowd) {
  for (auto& entries : cells_) entries.clear();
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
  // A newcomer belongs at the end; one that walks in may belong anywhere, or come back.
  Entries& entries = cells_[Slot(m.CellX, m.CellY, m.Kind)];
  if (entries.empty() || entries.back().Id < m.Id) {
    entries.push_back({m.Id, true});
    return;
  }
  const auto at = std::lower_bound(entries.begin(), entries.end(), m.Id);
  if (at->Id == m.Id) at->Present = true;
  else entries.insert(at, {m.Id, true});
}

void CellCensus::Remove(const TMibbet& m) {
  if (!counting_) return;
  if (!Counted(m.CellX, m.CellY)) {
    --elsewhere_[std::size_t(m.Kind)];
    return;
  }
  Entries& entries = cells_[Slot(m.CellX, m.CellY, m.Kind)];
  if (const auto at = std::lower_bound(entries.begin(), entries.end(), m.Id); at != entries.end() && at->Id == m.Id)
    at->Present = false;
  while (!entries.empty() && !entries.back().Present) entries.pop_back();
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
      const Entries& entries = cells_[Slot(x + dx, y + dy, kind)];
      if (!entries.empty()) latest = std::max(latest, entries.back().Id);
    }
  return latest;
}
