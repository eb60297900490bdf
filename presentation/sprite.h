// The base of every visible game object: one layer on a layered image, a cell, a destination
// and the fields that builders, creatures, resources and effects share.
#pragma once

#include <cstdint>
#include <memory>

#include "presentation/layered_image.h"
#include "presentation/recycling_pool.h"

class TOrder;
class Catalogue;

// What a resource on the field is. The rules ask this, never the picture that shows it.
enum class ResourceKind : std::uint8_t { None, Tree, Rock, Ruin, SmallScrap, MediumScrap, LargeScrap, Gift };

// Effects are plain sprites, made and dropped by the thousand in a battle: they come from a pool.
class TSprite : public RecycledStorage<TSprite> {
 public:
  explicit TSprite(LayeredImage& image);
  virtual ~TSprite();
  TSprite(const TSprite&) = delete;
  TSprite& operator=(const TSprite&) = delete;

  int DestX = 0, DestY = 0;
  BitmapLayer* Layer;
  LayerRect Location;
  bool Visible = true;
  bool Glide = false;
  bool InBuildMenu = false;
  bool InOrbMenu = false;
  int Bitmap = 0;
  int FrameCount = 0;
  int Frame = 0;
  int FrameTick = 0;
  int Life = 0;
  std::unique_ptr<TOrder> Order;
  int Variant = 0;
  bool Engaged = false;
  int EngagePause = 0;
  int Alpha = 255;
  double Health = 10.0;
  bool HitThisTick = false;
  bool Gatherable = false;
  ResourceKind Resource = ResourceKind::None;
  int Id = 0;
  bool BaseTurret = false;
  bool EndsGame = false;
  bool NoBuildMark = false;
  bool MovesTunnel = false;
  bool OpensHole = false;
  int HoleKind = -1;
  bool LeavesHoleMark = false;
  bool ClosingHoleMark = false;  // the flicker a closed hole leaves behind
  int TunnelKind = 0;
  bool ExplodeSound = false;
  int CellX = 0, CellY = 0;

  // The catalogue index last shown on the layer (for an effect, the current frame).
  int ShownPicture = -1;

  void SetCellX(int x) { CellX = x; }
  void SetCellY(int y) { CellY = y; }
  // Bitmap := index and the layer shows that catalogue picture (opaque, master alpha 255).
  void ShowPicture(const Catalogue& catalogue, int index);
  // Shows the picture at index on the layer without changing Bitmap (effect frames).
  void ShowFrame(const Catalogue& catalogue, int index);
  // Hiding or showing a sprite sets its own flag as well as its layer, so the next Place keeps it.
  void SetShown(bool shown);

  // Moves the layer to where the fields say: a build-menu slot, the orb-menu slot, a glide of
  // 4 pixels toward the cell, or a jump onto it. A gliding builder that stands on its cell with
  // an order counts a dwell tick; true means the order has dwelt long enough to be completed.
  bool Place();

  bool StandsOnCell() const;
  LayeredImage& Image() const { return image_; }

 private:
  LayeredImage& image_;
};

// Cells and pixels: cell (x, y) has its top-left pixel at (35x, 35y).
constexpr int CellSize = 35;
constexpr int FieldCells = 20;
