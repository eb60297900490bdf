// Who stands where, by kind, while the creatures take their steps: counted afresh when the steps
// begin and kept as creatures move, come and go during them. A hunter then asks its nine cells
// whether any prey stands there, instead of looking through the whole crowd, and looks through
// the crowd only when some does.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "creatures/mibbet.h"

class CellCensus {
 public:
  // Counts the crowd; the census holds until Stop.
  void Count(const std::vector<std::unique_ptr<TMibbet>>& crowd);
  void Stop() { counting_ = false; }
  bool Counting() const { return counting_; }

  void Add(const TMibbet& m) { Change(m, +1); }
  void Remove(const TMibbet& m) { Change(m, -1); }

  // False only when no creature of a kind that hunter hates stands within one cell of (x, y).
  bool PreyNear(int hatredState, MibbetKind hunter, int x, int y) const;

 private:
  // Cells a little beyond the field are counted too; anything farther counts as everywhere.
  static constexpr int kLowest = -2, kSide = FieldCells + 4;
  static constexpr int kKinds = 3;

  static bool Counted(int x, int y) { return x >= kLowest && y >= kLowest && x < kLowest + kSide && y < kLowest + kSide; }
  int& At(int x, int y, MibbetKind kind) {
    return counts_[(std::size_t(y - kLowest) * kSide + std::size_t(x - kLowest)) * kKinds + std::size_t(kind)];
  }
  int At(int x, int y, MibbetKind kind) const {
    return counts_[(std::size_t(y - kLowest) * kSide + std::size_t(x - kLowest)) * kKinds + std::size_t(kind)];
  }
  void Change(const TMibbet& m, int by);

  bool counting_ = false;
  std::array<int, kSide * kSide * kKinds> counts_{};
  std::array<int, kKinds> elsewhere_{};
};
