// Reading a WAD: the whole file (a regular one, of a bounded size) is taken
// into memory and parsed section by section into a fresh record, which
// replaces the caller's only when every section was read. No count is
// trusted: each is checked against the bytes left before anything is
// allocated for it. Bytes after the last section are kept, so that a save
// loses nothing the file held.

#include <new>
#include <string>
#include <utility>

#include "files/RegularFile.h"
#include "model/KeyFrameLayout.h"
#include "model/WadBytes.h"
#include "model/WadFile.h"

namespace {

class SectionReader {
 public:
  explicit SectionReader(std::span<const uint8_t> bytes) : in_(bytes) {}

  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }
  std::span<const uint8_t> Rest() const { return in_.Rest(); }

  bool Version(uint32_t& version) {
    if (!in_.Read(version)) return Fail("version", "file shorter than its version word");
    if (version != kWadVersion)
      return Fail("version", "version " + std::to_string(version) + " is not " +
                                 std::to_string(kWadVersion));
    return true;
  }

  template <class Record>
  void operator()(const char* section, std::vector<Record>& records) {
    if (!ok()) return;
    uint32_t count = 0;
    if (!in_.Read(count)) {
      Fail(section, "count cut short");
      return;
    }
    constexpr std::size_t recordBytes = FileSizeOf<Record>();
    if (count > in_.Remaining() / recordBytes) {
      Fail(section, std::to_string(count) + " records need more than the " +
                        std::to_string(in_.Remaining()) + " bytes left");
      return;
    }
    records.resize(count);
    for (Record& r : records) ReadRecord(r);
  }

 private:
  struct FieldReader {
    WadByteReader& in;
    template <class T>
    void operator()(T& field) { in.Read(field); }
  };

  template <class Record>
  void ReadRecord(Record& r) {
    if constexpr (std::is_integral_v<Record>) {
      in_.Read(r);
    } else {
      FieldReader fields{in_};
      VisitFields(fields, r);
    }
  }

  bool Fail(const char* section, const std::string& what) {
    if (ok())
      error_ = std::string(section) + " at byte " + std::to_string(in_.Offset()) + ": " + what;
    return false;
  }

  WadByteReader in_;
  std::string error_;
};

// A save would have to cut an animation that holds more keyframes than its
// 16-bit count allows, so such a file is not taken.
std::string KeyFrameCountError(const WadFile& wad) {
  const std::vector<StoredKeyFrameSpan> spans = KeyFrameSpans(wad);
  const int64_t g = FirstOverfullAnimation(spans);
  if (g < 0) return {};
  return "animation " + std::to_string(g) + " holds " + std::to_string(spans[g].count) +
         " keyframes; an animation can hold at most " + std::to_string(kMaxKeyFrames);
}

// Every section of bytes into fresh; the error, or empty when all were read.
// rest receives the bytes after the last section.
std::string ReadSections(std::span<const uint8_t> bytes, WadFile& fresh, std::span<const uint8_t>& rest) {
  SectionReader in(bytes);
  if (in.Version(fresh.version)) VisitSections(in, fresh);
  rest = in.Rest();
  return in.ok() ? KeyFrameCountError(fresh) : in.error();
}

// Sizes bytes to hold count of them; false when there is not the memory.
bool Resized(std::vector<uint8_t>& bytes, std::uint64_t count) {
  try {
    bytes.resize(static_cast<std::size_t>(count));
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

std::string NoMemoryFor(std::uint64_t fileSize) {
  return "There is not enough memory for a file of " + std::to_string(fileSize) + " bytes";
}

// ReadWad's result for a refused file: 0, and why says what was wrong.
int Failed(std::string* why, const std::string& error) {
  if (why) *why = error;
  return 0;
}

}  // namespace

int ReadWadBytes(std::span<const uint8_t> bytes, WadFile& wad, std::string* why) {
  WadFile fresh;
  std::span<const uint8_t> rest;
  const std::string error = ReadSections(bytes, fresh, rest);
  if (!error.empty()) return Failed(why, error);
  fresh.trailingBytes.assign(rest.begin(), rest.end());
  wad = std::move(fresh);
  return 1;
}

// The sections are read from the whole file in memory. The bytes after them
// are read again from the file once that buffer is gone, so that however
// many there are, the open never holds them twice.
int ReadWad(const std::string& fileName, WadFile& wad, std::string* why) {
  RegularFile file(fileName, kMaxWadFileBytes);
  if (!file.IsOpen()) return Failed(why, file.Reason());
  WadFile fresh;
  std::size_t sectionsEnd = 0;
  {
    std::vector<uint8_t> bytes;
    if (!Resized(bytes, file.Size())) return Failed(why, NoMemoryFor(file.Size()));
    if (!file.ReadAt(0, bytes.data(), bytes.size())) return Failed(why, file.Reason());
    std::span<const uint8_t> rest;
    const std::string error = ReadSections(bytes, fresh, rest);
    if (!error.empty()) return Failed(why, error);
    sectionsEnd = bytes.size() - rest.size();
  }
  if (!Resized(fresh.trailingBytes, file.Size() - sectionsEnd)) return Failed(why, NoMemoryFor(file.Size()));
  if (!file.ReadAt(sectionsEnd, fresh.trailingBytes.data(), fresh.trailingBytes.size()))
    return Failed(why, file.Reason());
  wad = std::move(fresh);
  return 1;
}
