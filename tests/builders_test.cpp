// Builders and the order queue, signs and scrap, driven through the game's own operations.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/test_support.h"

namespace {

// A playing game with an empty field: no starting resources and no creatures for a long while,
// so that nothing but the test's own orders moves.
struct QuietGame : GameFixture {
  explicit QuietGame(const std::string& settings = "")
      : GameFixture("NUMSTARTRES=-1\nINITDELAY=100000\nDEBUG=1\n" + settings) {
    StartPlaying();
    Game().DebugLog.clear();
  }
  TForm1& g = Game();

  // Puts a builder exactly on a cell, settled and idle.
  TSprite& BuilderAt(std::size_t index, int x, int y) {
    while (g.Builders.size() <= index) g.AddBuilder();
    g.HeldBuilder = -1;
    TSprite& b = *g.Builders[index];
    b.SetCellX(x);
    b.SetCellY(y);
    b.DestX = x;
    b.DestY = y;
    b.Glide = false;
    b.Place();
    b.Glide = true;
    return b;
  }
  TSprite& AddResource(ResourceKind kind, int bitmap, int x, int y) {
    g.Resources.push_back(std::make_unique<TSprite>(g.Playfield.Image));
    TSprite& r = *g.Resources.back();
    r.Resource = kind;
    g.ShowPicture(r, bitmap);
    r.Gatherable = true;
    r.Id = ++g.NextId;
    r.SetCellX(x);
    r.SetCellY(y);
    r.Place();
    return r;
  }
  void Ticks(int n) { Sim->Wait(50 * n); }
};

struct Cell {
  int x, y;
};

TEST(OrderMatching, NearestOrderWinsWithTiesToTheEarlierAndGatherOrdersWeighedFarther) {
  struct QueuedOrder {
    Cell cell;
    OrderKind kind;
  };
  struct Case {
    const char* name;
    QueuedOrder first, second;
    int expectedTaken;  // 0 the first queued, 1 the second
  };
  // The builder stands on (0, 0); NONSIGNPRIREDUCTION is 20.
  const Case cases[] = {
      {"equal distance 4: the earlier order", {{0, 4}, SignOrder}, {{4, 0}, SignOrder}, 0},
      {"equal distance, other queue order", {{4, 0}, SignOrder}, {{0, 4}, SignOrder}, 0},
      {"a later, nearer order wins", {{0, 6}, SignOrder}, {{3, 2}, SignOrder}, 1},
      {"sign 19 away beats gather underfoot", {{0, 0}, GatherOrder}, {{19, 0}, SignOrder}, 1},
      {"sign 20 away ties gather underfoot: earlier", {{0, 0}, GatherOrder}, {{12, 16}, SignOrder}, 0},
      {"sign 20 away ties, sign queued first", {{12, 16}, SignOrder}, {{0, 0}, GatherOrder}, 0},
      {"sign 21.2 away loses to gather underfoot", {{15, 15}, SignOrder}, {{0, 0}, GatherOrder}, 1},
  };
  for (const Case& c : cases) {
    QuietGame q;
    TSprite& builder = q.BuilderAt(0, 0, 0);
    for (const QueuedOrder& o : {c.first, c.second}) q.g.QueueOrder(o.cell.x, o.cell.y, o.kind);
    q.g.AssignOrders();
    const QueuedOrder& taken = c.expectedTaken == 0 ? c.first : c.second;
    const QueuedOrder& left = c.expectedTaken == 0 ? c.second : c.first;
    ASSERT_TRUE(builder.Order) << c.name;
    EXPECT_EQ(builder.Order->CellX, taken.cell.x) << c.name;
    EXPECT_EQ(builder.Order->CellY, taken.cell.y) << c.name;
    EXPECT_EQ(builder.Order->Kind, taken.kind) << c.name;
    ASSERT_EQ(q.g.Orders.size(), 1u) << c.name;
    EXPECT_EQ(q.g.Orders[0]->CellX, left.cell.x) << c.name;
    EXPECT_EQ(q.g.Orders[0]->CellY, left.cell.y) << c.name;
  }
}

TEST(OrderMatching, EqualDistanceGoesToTheLowerBuilderIndex) {
  QuietGame q;
  TSprite& low = q.BuilderAt(0, 3, 5);
  TSprite& high = q.BuilderAt(1, 7, 5);
  q.g.QueueOrder(5, 5, SignOrder);
  q.g.AssignOrders();
  ASSERT_TRUE(low.Order);
  EXPECT_EQ(low.Order->BuilderIndex, 0);
  EXPECT_FALSE(high.Order);
  EXPECT_TRUE(q.g.Orders.empty());
}

TEST(OrderMatching, BuilderBeatenToAnOrderTakesTheNextInTheSameCall) {
  QuietGame q;
  TSprite& nearer = q.BuilderAt(0, 5, 5);
  TSprite& farther = q.BuilderAt(1, 9, 5);
  TOrder& wanted = q.g.QueueOrder(6, 5, SignOrder);
  wanted.Action = 2;
  wanted.TargetId = 77;
  q.g.QueueOrder(15, 5, GatherOrder).TargetId = 78;
  q.g.AssignOrders();

  ASSERT_TRUE(nearer.Order);
  ASSERT_TRUE(farther.Order);
  EXPECT_EQ(nearer.Order->TargetId, 77);
  EXPECT_EQ(nearer.Order->Action, 2);
  EXPECT_EQ(nearer.Order->Kind, SignOrder);
  EXPECT_EQ(nearer.Order->BuilderIndex, 0);
  EXPECT_EQ(farther.Order->TargetId, 78);
  EXPECT_EQ(farther.Order->Kind, GatherOrder);
  EXPECT_EQ(farther.Order->BuilderIndex, 1);
  EXPECT_EQ(farther.DestX, 15);
  EXPECT_EQ(farther.DestY, 5);
  EXPECT_TRUE(q.g.Orders.empty());
  // The second pass sees the shortened queue: the gather order is then at position 0.
  EXPECT_EQ(DebugLines(q.g), (std::vector<std::string>{"Builder 0 assigned order 0", "Builder 1 assigned order 0"}));
}

TEST(OrderMatching, BoughtBuilderWaitsUntilTheNextOrder) {
  QuietGame q;
  TSprite& worker = q.BuilderAt(0, 2, 2);
  q.g.QueueOrder(2, 10, SignOrder);
  q.g.AssignOrders();
  ASSERT_TRUE(worker.Order);

  q.g.AddBuilder();  // as the orb menu does: held back
  q.g.QueueOrder(9, 3, SignOrder);
  q.g.AssignOrders();
  EXPECT_FALSE(q.g.Builders[1]->Order);
  EXPECT_EQ(q.g.Orders.size(), 1u);

  q.g.OrderSign(12, 12, 0);  // a new order lets it go
  q.g.AssignOrders();
  ASSERT_TRUE(q.g.Builders[1]->Order);
  EXPECT_EQ(q.g.Builders[1]->Order->CellY, 3);
}

TEST(BuilderWork, OrderOnTheBuildersOwnCellCompletesInTheSixthTick) {
  QuietGame q;
  q.BuilderAt(0, 5, 5);
  q.g.OrderSign(5, 5, 3);
  const TSign& sign = *q.g.Signs.back();
  q.Ticks(5);
  EXPECT_EQ(sign.Layer->MasterAlpha, PlaceholderSignAlpha);
  EXPECT_FALSE(sign.Finished);
  EXPECT_TRUE(q.g.Builders[0]->Order);
  q.Ticks(1);
  EXPECT_EQ(sign.Layer->MasterAlpha, FinishedSignAlpha);
  EXPECT_TRUE(sign.Finished);
  EXPECT_FALSE(q.g.Builders[0]->Order);
}

TEST(BuilderWork, WalksToTheSignFinishesItAndIsDrawnAboveIt) {
  QuietGame q;
  q.g.OrderSign(12, 5, 1);
  const TSign& sign = *q.g.Signs.back();
  const TSprite& builder = *q.g.Builders[0];
  int ticks = 0;
  while (sign.Layer->MasterAlpha != FinishedSignAlpha && ticks < 200) {
    q.Ticks(1);
    ++ticks;
  }
  EXPECT_EQ(sign.Layer->MasterAlpha, FinishedSignAlpha);
  EXPECT_EQ(builder.CellX, 12);
  EXPECT_EQ(builder.CellY, 5);
  EXPECT_FALSE(builder.Order);
  EXPECT_GT(q.g.Playfield.Image.IndexOf(builder.Layer), q.g.Playfield.Image.IndexOf(sign.Layer));
  // Four cells and the glide behind them, then the dwell: well under a hundred ticks.
  EXPECT_LT(ticks, 100);
}

TEST(SignOrders, RemovalRefundsAtOnceAndABuildCompletedAfterItDoesNothing) {
  QuietGame q;
  q.g.OrderSign(6, 6, 2);
  EXPECT_EQ(q.g.Scrap, 40);
  EXPECT_EQ(q.g.imScrapCt.LastText, "40");
  EXPECT_TRUE(q.g.OrderSignRemoval(6, 6));
  EXPECT_EQ(q.g.Scrap, 45);
  ASSERT_EQ(q.g.Orders.size(), 2u);
  const TOrder build = *q.g.Orders[0];
  const TOrder removal = *q.g.Orders[1];
  EXPECT_EQ(removal.Action, -1);
  EXPECT_EQ(removal.TargetId, build.TargetId);

  q.g.Orders.clear();
  TOrder carriedRemoval = removal;
  q.g.CompleteOrder(carriedRemoval);
  EXPECT_TRUE(q.g.Signs.empty());
  TOrder carriedBuild = build;
  q.g.CompleteOrder(carriedBuild);
  EXPECT_TRUE(q.g.Signs.empty());
  EXPECT_EQ(q.g.Scrap, 45);

  q.g.OrderSignRemoval(3, 3);  // no sign there: nothing queued, nothing paid
  EXPECT_TRUE(q.g.Orders.empty());
  EXPECT_EQ(q.g.Scrap, 45);
  EXPECT_EQ(q.g.HeldBuilder, -1);
}

// Ten Destroy orders on one sign in one instant once paid 50 scrap: a removal pays once, whether
// the first order still waits in the queue or a builder already carries it.
TEST(SignOrders, ASecondRemovalOfTheSameSignIsRefusedWithItsCueAndPaysNothing) {
  for (const bool carried : {false, true}) {
    QuietGame q;
    q.g.OrderSign(6, 6, 2);
    q.g.CompleteOrder(*q.g.Orders[0]);
    q.g.Orders.clear();
    ASSERT_TRUE(q.g.OrderSignRemoval(6, 6));
    if (carried) {
      q.BuilderAt(0, 1, 1).Order = std::move(q.g.Orders[0]);
      q.g.Orders.clear();
    }
    q.g.MenuCellX = q.g.MenuCellY = 6;
    for (int order = 0; order < 9; ++order) EXPECT_EQ(q.g.CarryOutBuildMenuItem(1000), "nocando") << carried;
    EXPECT_EQ(q.g.Scrap, 45) << carried;
    EXPECT_EQ(q.g.Orders.size(), carried ? 0u : 1u);
  }
}

TEST(SignOrders, StaleCarrierPositionStillFinishesTheSign) {
  QuietGame q;
  q.g.OrderSign(6, 6, 0);
  TOrder carried = *q.g.Orders[0];
  carried.BuilderIndex = 5;  // no such builder
  q.g.CompleteOrder(carried);
  EXPECT_EQ(q.g.Signs[0]->Layer->MasterAlpha, FinishedSignAlpha);
}

TEST(Signs, CreateAndFindAndTheCounter) {
  QuietGame q;
  const int idBefore = q.g.NextId;
  TSign& placeholder = q.g.CreateSign(4, 7, false, 2);
  TSign& solid = q.g.CreateSign(4, 7, true, 3);
  EXPECT_EQ(placeholder.Id, idBefore + 1);
  EXPECT_EQ(solid.Id, idBefore + 2);
  EXPECT_EQ(placeholder.Variant, 2);
  EXPECT_EQ(placeholder.Bitmap, q.g.BmpSign + 2);
  EXPECT_EQ(placeholder.Layer->MasterAlpha, PlaceholderSignAlpha);
  EXPECT_EQ(solid.Layer->MasterAlpha, FinishedSignAlpha);
  EXPECT_FALSE(placeholder.Finished);
  EXPECT_TRUE(solid.Finished);
  EXPECT_EQ(placeholder.Location.Left, 4 * CellSize);
  EXPECT_EQ(placeholder.Location.Top, 7 * CellSize);
  EXPECT_EQ(q.g.FindSign(4, 7), 0);
  EXPECT_EQ(q.g.FindSign(7, 4), -1);
  q.Ticks(1);
  EXPECT_EQ(q.g.imSignsCt.LastText, "2/4");
  q.g.AddBuilder();
  EXPECT_EQ(q.g.imSignsCt.LastText, "2/8");
}

int MarkCount(const TForm1& g) {
  return int(std::count_if(g.Effects.begin(), g.Effects.end(), [](const auto& e) { return e->NoBuildMark; }));
}

TEST(SignNoBuildMarks, CoverSignBlocksHolesAndTheBaseRing) {
  struct Case {
    const char* settings;
    int signBlockMarks;  // per sign
  };
  constexpr int wholeField = 39 * 39;  // the block is capped at 19 cells each way
  const Case cases[] = {{"BLOCKSIGNBUILDBY=1\n", 9},
                        {"BLOCKSIGNBUILDBY=0\n", 1},
                        {"BLOCKSIGNBUILDBY=-2\n", 0},
                        {"BLOCKSIGNBUILDBY=1000\n", wholeField}};
  for (const Case& c : cases) {
    QuietGame q(c.settings);
    q.g.CreateSign(4, 10, false, 0);
    q.g.AddEffect(15, 15, 255, 50, 1, q.g.BmpBump).HoleKind = 2;
    const int hole = int(q.g.Effects.size()) - 1;
    q.g.ShowNoBuildMarks(true);
    EXPECT_EQ(MarkCount(q.g), c.signBlockMarks + 1 + 6 * 9) << c.settings;
    // The hole's mark comes right after the sign's block, before the base ring.
    EXPECT_EQ(q.g.Effects[std::size_t(hole + 1 + c.signBlockMarks)]->CellX, 15) << c.settings;
    EXPECT_TRUE(q.g.IsNoBuildCell(15, 15));
    EXPECT_TRUE(q.g.IsNoBuildCell(7, 2));
    EXPECT_TRUE(q.g.IsNoBuildCell(11, 0));
    EXPECT_EQ(q.g.IsNoBuildCell(12, 2), c.signBlockMarks == wholeField) << c.settings;
    EXPECT_EQ(q.g.IsNoBuildCell(5, 11), c.signBlockMarks >= 9) << c.settings;
    const TSprite& mark = *q.g.Effects.back();
    EXPECT_EQ(mark.Layer->MasterAlpha, 255);
    EXPECT_EQ(mark.Life, EndlessLife);
    EXPECT_EQ(mark.Bitmap, q.g.BmpRedSquare);

    q.g.ShowNoBuildMarks(false);
    EXPECT_EQ(MarkCount(q.g), 0);
    EXPECT_NE(q.g.Orb, nullptr) << "the orb is an effect too and must stay";
    EXPECT_EQ(q.g.Effects.size(), std::size_t(hole + 1));
  }
}

// The rules keep the cells marked when the menu opened: what happens on the field meanwhile, and
// whatever becomes of the red squares that show them, changes nothing until the menu closes.
TEST(SignNoBuildMarks, AreTheCellsMarkedWhenTheMenuOpenedNotTheRedSquaresShown) {
  QuietGame q("BLOCKSIGNBUILDBY=1\n");
  q.g.CreateSign(4, 10, true, 0);
  q.g.AddEffect(15, 15, 255, 50, 1, q.g.BmpBump).HoleKind = 2;
  q.g.ShowNoBuildMarks(true);
  // Meanwhile the sign goes, the hole closes, another sign stands, and the red squares are dropped.
  ASSERT_TRUE(q.g.OrderSignRemoval(4, 10));
  q.g.CompleteOrder(*q.g.Orders.back());
  q.g.CreateSign(12, 12, true, 0);
  for (int i = int(q.g.Effects.size()) - 1; i >= 0; --i)
    if (q.g.Effects[std::size_t(i)]->NoBuildMark || q.g.Effects[std::size_t(i)]->HoleKind != -1) q.g.RemoveEffectAt(i);
  ASSERT_TRUE(q.g.Signs.size() == 1 && MarkCount(q.g) == 0);

  struct Case {
    const char* name;
    Cell cell;
    bool blocked;
  };
  const Case cases[] = {{"the removed sign's cell", {4, 10}, true},
                        {"beside the removed sign", {5, 11}, true},
                        {"the closed hole", {15, 15}, true},
                        {"beside the base", {11, 2}, true},
                        {"beside the sign made meanwhile", {13, 13}, false},
                        {"a free cell", {0, 19}, false}};
  for (const Case& c : cases) EXPECT_EQ(q.g.IsNoBuildCell(c.cell.x, c.cell.y), c.blocked) << c.name;
  q.g.ShowNoBuildMarks(false);
  for (const Case& c : cases) EXPECT_FALSE(q.g.IsNoBuildCell(c.cell.x, c.cell.y)) << c.name << " after closing";
}

TEST(ScrapPiles, GrowInThreeSizesThenSpillOrAreLost) {
  QuietGame q;
  for (int drop = 0; drop < 3; ++drop) q.g.MakeScrap(4, 4, true);
  ASSERT_EQ(q.g.Resources.size(), 1u);
  const TSprite& pile = *q.g.Resources[0];
  EXPECT_EQ(pile.Bitmap, q.g.BmpScrap + 2);
  EXPECT_EQ(pile.Variant, 5);
  EXPECT_TRUE(pile.Gatherable);
  EXPECT_EQ(pile.Id, q.g.NextId);
  EXPECT_EQ(DebugLines(q.g),
            (std::vector<std::string>{"Making scrap at 4 4", "Making scrap at 4 4", "Scrap already present, increased",
                                      "Making scrap at 4 4", "Scrap already present, increased"}));

  q.g.DebugLog.clear();
  q.g.MakeScrap(4, 4, false);
  EXPECT_EQ(DebugLines(q.g),
            (std::vector<std::string>{"Making scrap at 4 4", "Too much scrap, too many retries, aborting"}));
  EXPECT_EQ(q.g.Resources.size(), 1u);

  for (int drop = 0; drop < 20; ++drop) {
    q.g.DebugLog.clear();
    q.g.MakeScrap(4, 4, true);
    ASSERT_GE(q.g.DebugLog.size(), 3u);
    EXPECT_EQ(q.g.DebugLog[1], "Too much scrap, trying nearby cell!");
    int x = 0, y = 0;
    ASSERT_EQ(std::sscanf(q.g.DebugLog[2].c_str(), "Making scrap at %d %d", &x, &y), 2);
    EXPECT_LE(std::abs(x - 4), 1);
    EXPECT_LE(std::abs(y - 4), 1);
    if (x == 4 && y == 4) {
      EXPECT_EQ(q.g.DebugLog.back(), "Too much scrap, too many retries, aborting");
    }
  }
}

TEST(ScrapPiles, DropOnARockMakesAPileBesideIt) {
  QuietGame q;
  const TSprite& rock = q.AddResource(ResourceKind::Rock, q.g.BmpRock, 6, 6);
  q.g.MakeScrap(6, 6, true);
  ASSERT_EQ(q.g.Resources.size(), 2u);
  EXPECT_EQ(q.g.Resources[1]->Bitmap, q.g.BmpScrap);
  EXPECT_EQ(q.g.FindGatherable(6, 6), 0) << "the rock comes first";
  EXPECT_EQ(rock.Bitmap, q.g.BmpRock);
  EXPECT_EQ(q.g.FindGatherable(6, 7), -1);
}

// What a thing pays is what it is; the picture it happens to show has no say.
TEST(ScrapGathering, PaysByWhatWasGathered) {
  struct Case {
    const char* name;
    ResourceKind kind;
    int TGameState::*family;  // the picture it is drawn with
    int offset;
    int pays;
  };
  const Case cases[] = {{"rock", ResourceKind::Rock, &TGameState::BmpRock, 1, 10},
                        {"ruin", ResourceKind::Ruin, &TGameState::BmpRuin, 0, 10},
                        {"small pile", ResourceKind::SmallScrap, &TGameState::BmpScrap, 0, 10},
                        {"medium pile", ResourceKind::MediumScrap, &TGameState::BmpScrap, 1, 20},
                        {"large pile", ResourceKind::LargeScrap, &TGameState::BmpScrap, 2, 30},
                        {"gift", ResourceKind::Gift, &TGameState::BmpGift, 2, 50},
                        {"large pile drawn small", ResourceKind::LargeScrap, &TGameState::BmpScrap, 0, 30},
                        {"small pile drawn large", ResourceKind::SmallScrap, &TGameState::BmpScrap, 2, 10},
                        {"gift drawn as a rock", ResourceKind::Gift, &TGameState::BmpRock, 0, 50},
                        {"rock drawn as a gift", ResourceKind::Rock, &TGameState::BmpGift, 0, 10}};
  for (const Case& c : cases) {
    QuietGame q;
    const std::size_t turretsBefore = q.g.Turrets.size();
    q.AddResource(c.kind, q.g.*c.family + c.offset, 8, 8);
    ASSERT_TRUE(q.g.OrderGather(8, 8)) << c.name;
    TOrder carried = *q.g.Orders.back();
    EXPECT_EQ(carried.Kind, GatherOrder);
    q.g.CompleteOrder(carried);
    EXPECT_EQ(q.g.Scrap, 50 + c.pays) << c.name;
    EXPECT_EQ(q.g.imScrapCt.LastText, std::to_string(50 + c.pays)) << c.name;
    EXPECT_TRUE(q.g.Resources.empty()) << c.name;
    EXPECT_EQ(q.g.Turrets.size(), turretsBefore + (c.pays == 50 ? 1 : 0)) << c.name;
  }
}

TEST(ScrapGathering, GiftPlaysTheFanfareWithSoundOffAndLeavesATurretBelowEverything) {
  QuietGame q;
  q.g.SoundOn = false;
  q.AddResource(ResourceKind::Gift, q.g.BmpGift, 12, 7);
  q.g.OrderGather(12, 7);
  TOrder carried = *q.g.Orders.back();
  q.Sim->Sound().Requested.clear();
  q.g.CompleteOrder(carried);
  EXPECT_EQ(q.Sim->Sound().Requested, std::vector<std::string>{"hooray"});
  const TSign& turret = *q.g.Turrets.back();
  EXPECT_FALSE(turret.BaseTurret);
  EXPECT_EQ(turret.CellX, 12);
  EXPECT_EQ(turret.CellY, 7);
  EXPECT_EQ(q.g.Playfield.Image.IndexOf(turret.Layer), 0);
}

TEST(ScrapGathering, SecondOrderForTheSameThingCompletesWithoutPay) {
  QuietGame q;
  TSprite& rock = q.AddResource(ResourceKind::Rock, q.g.BmpRock, 3, 9);
  ASSERT_TRUE(q.g.OrderGather(3, 9));
  EXPECT_EQ(rock.Alpha, 128);
  EXPECT_EQ(rock.Layer->MasterAlpha, 128);
  ASSERT_TRUE(q.g.OrderGather(3, 9));
  TOrder first = *q.g.Orders[0], second = *q.g.Orders[1];
  q.g.CompleteOrder(first);
  q.g.CompleteOrder(second);
  EXPECT_EQ(q.g.Scrap, 60);
  EXPECT_FALSE(q.g.OrderGather(3, 9));
}

}  // namespace
