// One builder order: a sign to build or remove, or something to gather.
#pragma once

class TForm1;

// What an order asks of its builder, with the numbers the state dump shows.
enum OrderKind { SignOrder = 1, GatherOrder = 2 };

class TOrder {
 public:
  explicit TOrder(TForm1* owner) : Owner(owner) {}

  int CellX = 0, CellY = 0;
  int Action = 0;  // sign orders: the direction 0..3 to build, or -1 to remove
  int TargetId = 0;
  int DwellTicks = 0;
  TForm1* Owner;
  int BuilderIndex = 0;
  OrderKind Kind = SignOrder;
  bool Taken = false;
  int Candidate = 0;
  double CandidateDist = 0.0;
  bool AdvancesTutorial = false;
};
