#include <png.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "d3d8/Headless.h"

namespace d3d8 {
namespace {

// Writes 8-bit RGB (3 channels) or 16-bit grey (1 channel) rows.
bool WriteRows(const std::string& path, int width, int height, int bitDepth, int colorType,
               const std::vector<png_bytep>& rows) {
  if (width <= 0 || height <= 0) return false;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  bool written = false;
  if (info && setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, bitDepth, colorType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, const_cast<png_bytepp>(rows.data()));
    png_write_end(png, nullptr);
    written = true;
  }
  png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
  return std::fclose(file) == 0 && written;
}

}  // namespace

bool WritePng(const std::string& path, const PixelImage& image) {
  if (image.pixels.size() != static_cast<size_t>(image.width) * image.height) return false;
  std::vector<png_byte> bytes(image.pixels.size() * 3);
  std::vector<png_bytep> rows(static_cast<size_t>(std::max(0, image.height)));
  for (size_t i = 0; i < image.pixels.size(); ++i) {
    const std::uint32_t argb = image.pixels[i];
    bytes[i * 3] = static_cast<png_byte>(argb >> 16);
    bytes[i * 3 + 1] = static_cast<png_byte>(argb >> 8);
    bytes[i * 3 + 2] = static_cast<png_byte>(argb);
  }
  for (size_t y = 0; y < rows.size(); ++y) rows[y] = bytes.data() + y * image.width * 3;
  return WriteRows(path, image.width, image.height, 8, PNG_COLOR_TYPE_RGB, rows);
}

bool WritePng(const std::string& path, const DepthImage& image) {
  if (image.depths.size() != static_cast<size_t>(image.width) * image.height) return false;
  std::vector<png_byte> bytes(image.depths.size() * 2);  // big-endian samples
  std::vector<png_bytep> rows(static_cast<size_t>(std::max(0, image.height)));
  for (size_t i = 0; i < image.depths.size(); ++i) {
    bytes[i * 2] = static_cast<png_byte>(image.depths[i] >> 8);
    bytes[i * 2 + 1] = static_cast<png_byte>(image.depths[i]);
  }
  for (size_t y = 0; y < rows.size(); ++y) rows[y] = bytes.data() + y * image.width * 2;
  return WriteRows(path, image.width, image.height, 16, PNG_COLOR_TYPE_GRAY, rows);
}

}  // namespace d3d8
