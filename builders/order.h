// One builder order: a sign to build or remove, or something to gather.
#pragma once

class TForm1;

class TOrder {
 public:
  explicit TOrder(TForm1* owner) : Owner(owner) {}

  int CellX = 0, CellY = 0;
  int Action = 0;  // sign orders: the direction 0..3 to build, or -1 to remove
  int TargetId = 0;
  int DwellTicks = 0;
  TForm1* Owner;
  int BuilderIndex = 0;
  int Kind = 1;  // 1 sign order, 2 gather order
  bool Taken = false;
  int Candidate = 0;
  double CandidateDist = 0.0;
  bool AdvancesTutorial = false;
};

constexpr int SignOrder = 1;
constexpr int GatherOrder = 2;
