// Reading a WAD: the whole file is taken into memory and parsed section by
// section into a fresh record, which replaces the caller's only when every
// section was read. No count is trusted: each is checked against the bytes
// left before anything is allocated for it. Bytes after the last section are
// kept, so that a save loses nothing the file held.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>
#include <string>
#include <utility>

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

// Only a regular file is read; its size comes from the file system, so a
// directory or a device never sizes the buffer.
bool ReadWholeFile(const std::string& fileName, std::vector<uint8_t>& bytes) {
  int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  if (ok) {
    try {
      bytes.resize(static_cast<std::size_t>(info.st_size));
    } catch (const std::bad_alloc&) {
      ok = false;
    }
    std::size_t done = 0;
    while (ok && done < bytes.size()) {
      ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
      if (n > 0) done += static_cast<std::size_t>(n);
      else ok = n < 0 && errno == EINTR;
    }
  }
  ::close(fd);
  return ok;
}

// A save would have to cut an animation that holds more keyframes than its
// 16-bit count allows, so such a file is not taken.
std::string KeyFrameCountError(const WadFile& wad) {
  const std::vector<StoredKeyFrameSpan> spans = KeyFrameSpans(wad);
  const int64_t g = FirstOverfullAnimation(spans);
  if (g < 0) return {};
  return "animation " + std::to_string(g) + " holds " + std::to_string(spans[g].count) +
         " keyframes; an animation can hold at most " + std::to_string(kMaxKeyFrames);
}

}  // namespace

int ReadWadBytes(std::span<const uint8_t> bytes, WadFile& wad, std::string* why) {
  SectionReader in(bytes);
  WadFile fresh;
  if (in.Version(fresh.version)) VisitSections(in, fresh);
  std::string error = in.error();
  if (error.empty()) error = KeyFrameCountError(fresh);
  if (!error.empty()) {
    if (why) *why = error;
    return 0;
  }
  fresh.trailingBytes.assign(in.Rest().begin(), in.Rest().end());
  wad = std::move(fresh);
  return 1;
}

int ReadWad(const std::string& fileName, WadFile& wad, std::string* why) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(fileName, bytes)) {
    if (why) *why = "the file cannot be read";
    return 0;
  }
  return ReadWadBytes(bytes, wad, why);
}
