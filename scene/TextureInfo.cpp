#include "scene/TextureInfo.h"

#include <algorithm>
#include <new>

#include "files/AtomicFile.h"

namespace {

constexpr std::uint32_t kSourcePixelBytes = 3;
constexpr std::uint8_t kKeyRed = 255, kKeyGreen = 0, kKeyBlue = 255;
constexpr std::uint8_t kOpaque = 255;

}  // namespace

std::int32_t ConvertTextureRgbToBgra(const std::uint8_t* src, std::vector<std::uint8_t>& dst,
                                     std::uint32_t n) {
  if (src == nullptr && n > 0) return -1;
  const std::size_t pixelCount = n / kSourcePixelBytes;
  const std::size_t outBytes = pixelCount * kTexturePixelBytes;
  if (outBytes > static_cast<std::size_t>(INT32_MAX)) return -1;
  try {
    dst.resize(outBytes);
  } catch (const std::bad_alloc&) {
    return -1;
  }
  const std::uint8_t* in = src;
  std::uint8_t* out = dst.data();
  for (std::size_t p = 0; p < pixelCount; ++p, in += kSourcePixelBytes, out += kTexturePixelBytes) {
    const std::uint8_t r = in[0], g = in[1], b = in[2];
    if (r == kKeyRed && g == kKeyGreen && b == kKeyBlue) {
      out[0] = out[1] = out[2] = out[3] = 0;
    } else {
      out[0] = b;
      out[1] = g;
      out[2] = r;
      out[3] = kOpaque;
    }
  }
  return static_cast<std::int32_t>(outBytes);
}

void LoadTextureInfo(TextureInfo& info, const std::uint8_t* src, std::uint32_t n) {
  std::vector<std::uint8_t> pixels;
  const std::int32_t written = ConvertTextureRgbToBgra(src, pixels, n);
  info.pixels = written < 0 ? std::vector<std::uint8_t>{} : std::move(pixels);
  info.byteCount = written < 0 ? 0 : static_cast<std::uint32_t>(written);
}

// A new file beside the name, renamed over it: a link of that name is
// replaced, never written through, and a name that is no regular file is
// refused. The dump is scratch, so it is not flushed to the disk.
bool DumpTexturePages(const TextureInfo& info, const char* fileName) {
  const std::size_t held = std::min<std::size_t>(info.byteCount, info.pixels.size());
  const std::size_t bytes = std::min<std::size_t>(held, kTexturePageBytes);
  return WriteFileAtomically(fileName, std::span(info.pixels.data(), bytes), nullptr,
                             {.links = LinkHandling::kReplaceName, .durable = false});
}
