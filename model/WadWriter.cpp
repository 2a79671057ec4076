// Writing a WAD mirrors reading it: the sections in file order, each a count
// and its records field by field, built in memory and then put in place in
// one step, so a failed save never damages the file it replaces.

#include <limits>

#include "model/AtomicFile.h"
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

int WriteWad(const std::string& fileName, const WadFile& wad) {
  if (wad.version != kWadVersion) return 0;
  ByteCounter size;
  VisitSections(size, wad);
  if (!size.countsFit) return 0;
  return WriteFileAtomically(fileName, SerializeWad(wad)) ? 1 : 0;
}
