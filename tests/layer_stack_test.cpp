// The layer stack under a long random mix of creations, removals and moves, against a plain list
// of tags: gaps left by removals must never show in positions, order or count.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "presentation/layered_image.h"

namespace {

class StackModel {
 public:
  void Create() {
    BitmapLayer& layer = image_.CreateLayer();
    layer.Tag = nextTag_++;
    tags_.push_back(layer.Tag);
    layers_.push_back(&layer);
  }
  void DestroyByPointer(std::size_t which) {
    image_.DestroyLayer(layers_[which]);
    Forget(which);
  }
  // A walk from the top that destroys every layer whose tag matches, as text and menus clear.
  void DestroyTopDownWhere(int divisor) {
    for (int i = image_.LayerCount() - 1; i >= 0; --i)
      if (image_.LayerAt(i).Tag % divisor == 0) image_.DestroyLayerAt(i);
    for (std::size_t k = tags_.size(); k-- > 0;)
      if (tags_[k] % divisor == 0) Forget(k);
  }
  void SendToBack(std::size_t which) {
    image_.SendToBack(layers_[which]);
    Move(which, 0);
  }
  void BringToFront(std::size_t which) {
    image_.BringToFront(layers_[which]);
    Move(which, tags_.size() - 1);
  }
  std::size_t Size() const { return tags_.size(); }

  void ExpectSame(int step) {
    ASSERT_EQ(image_.LayerCount(), int(tags_.size())) << "step " << step;
    for (std::size_t k = 0; k < tags_.size(); ++k) {
      ASSERT_EQ(image_.IndexOf(layers_[k]), int(k)) << "step " << step;
      ASSERT_EQ(image_.LayerAt(int(k)).Tag, tags_[k]) << "step " << step;
    }
  }

 private:
  // Each layer's position in the model is where it stands in the stack.
  void Forget(std::size_t which) {
    tags_.erase(tags_.begin() + std::ptrdiff_t(which));
    layers_.erase(layers_.begin() + std::ptrdiff_t(which));
  }
  void Move(std::size_t from, std::size_t to) {
    const int tag = tags_[from];
    BitmapLayer* layer = layers_[from];
    Forget(from);
    tags_.insert(tags_.begin() + std::ptrdiff_t(to), tag);
    layers_.insert(layers_.begin() + std::ptrdiff_t(to), layer);
  }

  LayeredImage image_;
  std::vector<int> tags_;
  std::vector<BitmapLayer*> layers_;
  int nextTag_ = 0;
};

TEST(LayerStack, ARandomMixOfRemovalsAndMovesKeepsPositionsOrderAndCount) {
  std::mt19937 random(11);
  StackModel model;
  for (int step = 0; step < 4000; ++step) {
    const int op = int(random() % 10);
    const std::size_t which = model.Size() > 0 ? random() % model.Size() : 0;
    if (op < 4 || model.Size() == 0) {
      model.Create();
    } else if (op < 7) {
      model.DestroyByPointer(which);
    } else if (op == 7) {
      model.SendToBack(which);
    } else if (op == 8) {
      model.BringToFront(which);
    } else {
      model.DestroyTopDownWhere(2 + int(random() % 5));
    }
    // Looking closes gaps, so the stack is only looked at now and then: most steps run on gaps.
    if (step % 97 == 0) model.ExpectSame(step);
  }
  model.ExpectSame(4000);
}

}  // namespace
