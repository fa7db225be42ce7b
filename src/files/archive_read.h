#pragma once
// The archive and packed-layout logic of the file reader, over any source of
// bytes with random access: a host file for file_read, memory for the tools'
// checks, the tests and the fuzzers. Only the header, the offsets and the
// entry itself are read, never the whole archive.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/limits.h"
#include "platform/host_files.h"

namespace qln {

// The largest entry or file the reader accepts is kFileReadMax: stated sizes
// above it are taken for damage rather than allocated.

class ByteSource {
  public:
    virtual ~ByteSource() = default;
    virtual uint64_t size() const = 0;
    // Exactly len bytes at offset, or false.
    virtual bool read_at(uint64_t offset, uint8_t* dst, size_t len) const = 0;
};

class MemorySource final : public ByteSource {
  public:
    MemorySource(const uint8_t* data, size_t len) : data_(data), len_(len) {}
    uint64_t size() const override { return len_; }
    bool read_at(uint64_t offset, uint8_t* dst, size_t len) const override;

  private:
    const uint8_t* data_;
    size_t len_;
};

class HostFileSource final : public ByteSource {
  public:
    explicit HostFileSource(const HostFile& file) : file_(file) {}
    uint64_t size() const override { return file_.size(); }
    bool read_at(uint64_t offset, uint8_t* dst, size_t len) const override {
        return file_.read_at(offset, dst, len);
    }

  private:
    const HostFile& file_;
};

// Entry 0 is the whole source; entry n >= 1 is entry n of a "Gpc7" or "QSCF"
// archive. With compressed set the bytes obtained are in the packed layout
// and are unpacked. False, with out empty, for anything malformed or for
// sizes above limit (the fuzzers pass a smaller one).
[[nodiscard]] bool source_read(const ByteSource& source, uint16_t entry, bool compressed,
                               std::vector<uint8_t>& out, uint64_t limit = kFileReadMax);

// Unpacks the packed layout: u16 unpacked length, u16 packed length (which
// must equal len - 4), then method A data. False, with out empty, otherwise.
[[nodiscard]] bool packed_layout_unpack(const uint8_t* bytes, size_t len,
                                        std::vector<uint8_t>& out);

// What one archive entry holds, for listing.
struct ArchiveEntryInfo {
    uint64_t offset = 0;    // where its data starts
    uint64_t stored = 0;    // bytes it takes in the archive
    uint64_t unpacked = 0;  // bytes once read
    bool method_b = false;  // stored with method B ("Gpc7" only)
};

enum class ArchiveKind { None, Gpc7, Qscf };

// The kind of archive a source holds, by its first four bytes.
ArchiveKind archive_kind(const ByteSource& source);
// The number of entries: the stored count of "Gpc7"; for "QSCF", which
// stores none, the number of offset pairs before the first entry's data.
[[nodiscard]] bool archive_count(const ByteSource& source, uint32_t& count);
// Facts about entry n (n >= 1) without reading its data. False when the
// archive cannot hold it: a short header, a count below n, offsets or sizes
// that leave the source, an end before its start, or an unpacked size above
// limit.
[[nodiscard]] bool archive_entry_info(const ByteSource& source, uint32_t n, ArchiveEntryInfo& info,
                                      uint64_t limit = kFileReadMax);

}  // namespace qln
