// The asset catalogue: pictures addressed by their load position.
#pragma once

#include <string>
#include <vector>

#include "presentation/layered_image.h"

class Catalogue {
 public:
  // Appends a picture; its index is the number of pictures before it.
  int Add(std::string name, Bitmap32 picture);
  int Count() const { return int(pictures_.size()); }
  // The picture at index; an index outside the catalogue gives an empty picture rather than
  // undefined behaviour, so a wrong index can only draw nothing.
  const PicturePtr& At(int index) const;
  const std::string& NameAt(int index) const;

 private:
  struct Entry {
    std::string Name;
    PicturePtr Picture;
  };
  std::vector<Entry> pictures_;
};
