// Writing a WAD mirrors reading it: the sections in file order, each a count
// and its records field by field, built in memory and then put in place in
// one step, so a failed save never damages the file it replaces.

#include <limits>

#include "files/AtomicFile.h"
#include "model/WadBytes.h"
#include "model/WadFile.h"

namespace {

class SectionWriter {
 public:
  explicit SectionWriter(std::vector<uint8_t>& bytes) : out_(bytes) {}

  template <class Record>
  void operator()(const char*, const std::vector<Record>& records) {
    out_.Write(static_cast<uint32_t>(records.size()));
    for (const Record& r : records) WriteRecord(r);
  }

 private:
  struct FieldWriter {
    WadByteWriter& out;
    template <class T>
    void operator()(const T& field) { out.Write(field); }
  };

  template <class Record>
  void WriteRecord(const Record& r) {
    if constexpr (std::is_integral_v<Record>) {
      out_.Write(r);
    } else {
      FieldWriter fields{out_};
      VisitFields(fields, r);
    }
  }

  WadByteWriter out_;
};

struct ByteCounter {
  std::size_t bytes = 0;
  bool countsFit = true;
  template <class Record>
  void operator()(const char*, const std::vector<Record>& records) {
    countsFit = countsFit && records.size() <= std::numeric_limits<uint32_t>::max();
    bytes += sizeof(uint32_t) + records.size() * FileSizeOf<Record>();
  }
};

}  // namespace

std::vector<uint8_t> SerializeWad(const WadFile& wad) {
  ByteCounter size;
  VisitSections(size, wad);
  std::vector<uint8_t> bytes;
  bytes.reserve(sizeof(uint32_t) + size.bytes + wad.trailingBytes.size());
  WadByteWriter(bytes).Write(wad.version);
  SectionWriter out(bytes);
  VisitSections(out, wad);
  bytes.insert(bytes.end(), wad.trailingBytes.begin(), wad.trailingBytes.end());
  return bytes;
}

int WriteWad(const std::string& fileName, const WadFile& wad, std::string* why) {
  const auto refuse = [why](const char* reason) {
    if (why != nullptr) *why = reason;
    return 0;
  };
  if (wad.version != kWadVersion) return refuse("Only a WAD of version 129 is written");
  ByteCounter size;
  VisitSections(size, wad);
  if (!size.countsFit) return refuse("A section holds more records than its count can say");
  return WriteFileAtomically(fileName, SerializeWad(wad), why) ? 1 : 0;
}
