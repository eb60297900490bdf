// printf-style formatting for the game's debug lines ("Mibbet %d at sign %d").
#pragma once

#include <cstdio>
#include <string>

template <class... Args>
std::string Format(const char* format, Args... args) {
  const int length = std::snprintf(nullptr, 0, format, args...);
  if (length <= 0) return {};
  std::string text(std::size_t(length) + 1, '\0');
  std::snprintf(text.data(), text.size(), format, args...);
  text.resize(std::size_t(length));
  return text;
}
