#pragma once
// A transformation of the bytes of a document file (compression, encryption
// and the like) that a user of the library may hand to the loader and the
// saver. The loader decodes the bytes of the file before parsing them; the
// saver encodes the whole text before writing it.

#include <cstddef>

class XMLTransform {
 public:
  virtual ~XMLTransform() = default;

  // Each turns `length` bytes at `input` into at most `capacity` bytes at
  // `output` and returns how many it wrote; a result above capacity means
  // the output did not fit. `parameter` is the value the caller gave to the
  // load or save call.
  virtual std::size_t encode(const char* input, std::size_t length, char* output, std::size_t capacity,
                             void* parameter) = 0;
  virtual std::size_t decode(const char* input, std::size_t length, char* output, std::size_t capacity,
                             void* parameter) = 0;
};
