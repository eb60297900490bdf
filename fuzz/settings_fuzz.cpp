// Any bytes as the settings file.
#include <cstdint>
#include <cstdio>
#include <iostream>

#include "app/settings.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The reader's one-line complaints would drown the fuzzer's own report; the sanitizers write
  // to the descriptor, not through the stream.
  std::cerr.rdbuf(nullptr);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::FILE* file = size > 0 ? ::fmemopen(const_cast<std::uint8_t*>(data), size, "rb") : nullptr;
  if (!file) return 0;
  SettingsFromValues(ReadSettingsValuesFrom(file, "settings.ini"), "settings.ini");
  std::fclose(file);
  return 0;
}
