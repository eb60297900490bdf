// Any bytes as a picture file.
#include <cstdint>

#include "platform/bmp_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (const std::optional<Bitmap32> picture = DecodeBmp(data, size)) {
    // Every pixel of what was read is there to be drawn.
    Bitmap32 canvas(35, 35);
    canvas.DrawBlended(*picture, 0, 0, 255);
  }
  return 0;
}
