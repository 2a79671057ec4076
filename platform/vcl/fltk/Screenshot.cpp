// A form's window as a PNG file: the pixels are read back from the display.

#include <algorithm>
#include <cstdio>
#include <memory>

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <FL/x.H>
#include <png.h>

#include "vcl/Screen.h"

namespace vcl {
namespace {

constexpr int kBytesPerPixel = 3;

bool WritePng(const std::string& path, const unsigned char* rgb, int width, int height) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  bool written = false;
  if (info && !setjmp(png_jmpbuf(png))) {
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
      png_write_row(png, rgb + static_cast<size_t>(y) * width * kBytesPerPixel);
    png_write_end(png, nullptr);
    written = true;
  }
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0 && written;
}

// The screen's pixels in a rectangle as RGB bytes, row after row.
std::unique_ptr<unsigned char[]> ReadScreen(int left, int top, int width, int height) {
  XImage* image = XGetImage(fl_display, RootWindow(fl_display, fl_screen), left, top,
                            static_cast<unsigned>(width), static_cast<unsigned>(height), AllPlanes,
                            ZPixmap);
  if (image == nullptr) return nullptr;
  auto rgb = std::make_unique<unsigned char[]>(static_cast<size_t>(width) * height * kBytesPerPixel);
  unsigned char* out = rgb.get();
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const unsigned long pixel = XGetPixel(image, x, y);
      *out++ = static_cast<unsigned char>((pixel & image->red_mask) >> __builtin_ctzl(image->red_mask));
      *out++ = static_cast<unsigned char>((pixel & image->green_mask) >> __builtin_ctzl(image->green_mask));
      *out++ = static_cast<unsigned char>((pixel & image->blue_mask) >> __builtin_ctzl(image->blue_mask));
    }
  }
  XDestroyImage(image);
  return rgb;
}

}  // namespace

bool WriteScreenArea(int left, int top, int width, int height, const std::string& pngPath) {
  if (fl_display == nullptr || width <= 0 || height <= 0) return false;
  const int screenWidth = DisplayWidth(fl_display, fl_screen);
  const int screenHeight = DisplayHeight(fl_display, fl_screen);
  left = std::max(left, 0);
  top = std::max(top, 0);
  width = std::min(width, screenWidth - left);
  height = std::min(height, screenHeight - top);
  if (width <= 0 || height <= 0) return false;
  Fl::flush();
  XSync(fl_display, False);
  std::unique_ptr<unsigned char[]> pixels = ReadScreen(left, top, width, height);
  return pixels && WritePng(pngPath, pixels.get(), width, height);
}

bool WriteScreenshot(const TCustomForm& form, const std::string& pngPath) {
  Fl_Window* window = ScreenWindow(form);
  if (!window || !window->shown()) return false;
  Fl::flush();
  window->make_current();
  std::unique_ptr<unsigned char[]> pixels(
      fl_read_image(nullptr, 0, 0, window->w(), window->h()));
  if (!pixels) return false;
  return WritePng(pngPath, pixels.get(), window->w(), window->h());
}

}  // namespace vcl
