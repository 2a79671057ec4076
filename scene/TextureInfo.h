#pragma once
// The open WAD's texture pixels converted from 24-bit RGB to 32-bit BGRA with
// the magenta colour key, and the dump of the first page.

#include <cstdint>
#include <vector>

// A page is 256 x 256 pixels of 4 bytes (blue, green, red, alpha), rows from
// the top.
constexpr std::uint32_t kTexturePageSide = 256;
constexpr std::uint32_t kTexturePixelBytes = 4;
constexpr std::uint32_t kTexturePageBytes = kTexturePageSide * kTexturePageSide * kTexturePixelBytes;
constexpr std::uint32_t kTexturePageShift = 18;  // log2 of kTexturePageBytes
static_assert(kTexturePageBytes == 1u << kTexturePageShift);

// Name of the page dump, written to the working directory on every open.
constexpr const char* kTextureDumpFile = "segundoA.bbb";

struct TextureInfo {
  std::uint32_t byteCount = 0;      // converted bytes held in pixels
  std::vector<std::uint8_t> pixels;  // BGRA, pages back to back
};

// Converts the whole RGB pixels of n source bytes (a trailing 1 or 2 bytes
// make no pixel) into dst, resized to fit; pure magenta (255, 0, 255) becomes a
// fully transparent black pixel, every other colour is opaque. Returns the
// number of bytes written, or -1 when there is no source or no memory for dst.
std::int32_t ConvertTextureRgbToBgra(const std::uint8_t* src, std::vector<std::uint8_t>& dst,
                                     std::uint32_t n);

// Fills info from the WAD's texture bytes: byteCount is what the conversion
// wrote, 0 when it failed (no pixels then).
void LoadTextureInfo(TextureInfo& info, const std::uint8_t* src, std::uint32_t n);

// Writes the converted bytes of the first page (fewer when the WAD has less)
// to a new file that replaces fileName; a symbolic link of that name is
// replaced, not followed. Returns false when the name holds something other
// than a regular file or a link, or the file cannot be created or written.
bool DumpTexturePages(const TextureInfo& info, const char* fileName = kTextureDumpFile);
