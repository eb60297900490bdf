// Who stands where, by kind, while the creatures take their steps: counted afresh when the steps
// begin and kept as creatures move, come and go during them. A hunter then asks its nine cells
// for the latest-listed prey there instead of looking through the whole crowd.
//
// Each cell keeps the Ids of its creatures in rising order. Ids are handed out in rising order and
// creatures only join at the end of the list, so the highest Id is also the latest in the list.
// A creature that leaves a cell is only marked gone there, unless it was the last entry: in a
// mass kill a crowded cell loses hundreds a tick, and closing each gap would move the rest.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "creatures/mibbet.h"

class CellCensus {
 public:
  static constexpr int kNoPrey = -1;

  // Counts the crowd; the census holds until Stop.
  void Count(const std::vector<std::unique_ptr<TMibbet>>& crowd);
  void Stop() { counting_ = false; }
  bool Counting() const { return counting_; }

  void Add(const TMibbet& m);
  void Remove(const TMibbet& m);

  // The Id of the latest-listed creature of a kind that hunter hates within one cell of (x, y), or
  // kNoPrey. Nothing when such a creature stands too far off the field for the census to place.
  std::optional<int> LatestPreyNear(int hatredState, MibbetKind hunter, int x, int y) const;

 private:
  // Cells a little beyond the field are counted too; anything farther counts as everywhere.
  static constexpr int kLowest = -2, kSide = FieldCells + 4;
  static constexpr int kKinds = 3;

  static bool Counted(int x, int y) {
    return x >= kLowest && y >= kLowest && x < kLowest + kSide && y < kLowest + kSide;
  }
  static std::size_t Slot(int x, int y, MibbetKind kind) {
    return (std::size_t(y - kLowest) * kSide + std::size_t(x - kLowest)) * kKinds + std::size_t(kind);
  }
  int LatestOfKindNear(MibbetKind kind, int x, int y) const;

  struct Entry {
    int Id;
    bool Present;
    bool operator<(int id) const { return Id < id; }
  };
  // Rising Ids; the last entry is always present, so it names the latest creature of the cell.
  using Entries = std::vector<Entry>;

  bool counting_ = false;
  std::array<Entries, kSide * kSide * kKinds> cells_;
  std::array<int, kKinds> elsewhere_{};
};
