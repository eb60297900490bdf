#include "presentation/catalogue.h"

#include <memory>

int Catalogue::Add(std::string name, Bitmap32 picture) {
  pictures_.push_back({std::move(name), std::make_shared<const Bitmap32>(std::move(picture)), nullptr});
  return Count() - 1;
}

int Catalogue::AddDeferred(std::string name, Loader load) {
  pictures_.push_back({std::move(name), nullptr, std::move(load)});
  return Count() - 1;
}

const PicturePtr& Catalogue::At(int index) const {
  static const PicturePtr none = std::make_shared<const Bitmap32>();
  if (index < 0 || index >= Count()) return none;
  const Entry& entry = pictures_[std::size_t(index)];
  if (!entry.Picture) {
    entry.Picture = std::make_shared<const Bitmap32>(entry.Load());
    entry.Load = nullptr;
  }
  return entry.Picture;
}

const std::string& Catalogue::NameAt(int index) const {
  static const std::string none;
  if (index < 0 || index >= Count()) return none;
  return pictures_[std::size_t(index)].Name;
}

bool Catalogue::Loaded(int index) const {
  return index >= 0 && index < Count() && pictures_[std::size_t(index)].Picture != nullptr;
}
