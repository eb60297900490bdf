// The asset catalogue: pictures addressed by their load position.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "presentation/layered_image.h"

class Catalogue {
 public:
  // Gives the picture of a deferred entry; it never fails (a damaged file gives a placeholder).
  using Loader = std::function<Bitmap32()>;

  // Appends a picture; its index is the number of pictures before it.
  int Add(std::string name, Bitmap32 picture);
  // Appends a picture that is loaded only when it is first asked for, so that pictures a session
  // may never show cost no memory until then. Its index is taken at once, as Add's is.
  int AddDeferred(std::string name, Loader load);
  int Count() const { return int(pictures_.size()); }
  // The picture at index, loaded now if it was deferred; an index outside the catalogue gives an
  // empty picture rather than undefined behaviour, so a wrong index can only draw nothing.
  const PicturePtr& At(int index) const;
  const std::string& NameAt(int index) const;
  // Whether the picture at index is in memory (a deferred one not yet asked for is not).
  bool Loaded(int index) const;

 private:
  struct Entry {
    std::string Name;
    // Filled on the first At of a deferred entry, which then drops its loader.
    mutable PicturePtr Picture;
    mutable Loader Load;
  };
  std::vector<Entry> pictures_;
};
