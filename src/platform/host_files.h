#pragma once
// Host file access: how scenario paths become host paths, and safe reads.
//
// Scenario paths are Shift-JIS (code page 932) text written for a Windows
// file system: backslashes separate components and names are
// case-insensitive. host_path_map is the one mapping every file command
// uses:
//   - the text is converted to UTF-8; text that is not valid code page 932
//     is refused;
//   - "\" and "/" both separate components; repeated separators count once;
//   - a drive prefix ("C:\", "d:/", any letter) stands for the host's root
//     "/": the engine gives its own directories back to scenarios as "C:\..."
//     (host_path_to_scenario), so what a scenario got from the engine maps
//     back to the same place. A drive letter without a separator ("C:name")
//     is relative to the current directory, as Windows reads it for the
//     current drive;
//   - other paths are relative to the process's current directory;
//   - each component that exists is matched against its directory: an exact
//     name first, else a name equal under ASCII case folding (the smallest
//     such name in byte order when several differ only in case). From the
//     first component that does not exist on, the rest is kept as written,
//     so a path to a file about to be created maps too.
// See docs/host-paths.md.
//
// No state is kept between calls: each conversion opens its own iconv
// descriptor.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qln {

// Longest scenario or host path accepted, in bytes.
inline constexpr size_t kHostPathMax = 4096;

// Code page 932 <-> UTF-8. False for bytes that do not convert (an invalid
// or cut double-byte character, a character code page 932 lacks).
[[nodiscard]] bool sjis_to_utf8(const char* sjis, size_t len, std::string& utf8);
[[nodiscard]] bool utf8_to_sjis(const char* utf8, size_t len, std::string& sjis);

// Maps a scenario path to the host path to open. False for an empty, too
// long or unconvertible path.
[[nodiscard]] bool host_path_map(const char* sjis_path, std::string& host_path);
// The same for a path already in UTF-8 (everything after the conversion).
[[nodiscard]] bool host_path_fold(const std::string& utf8_path, std::string& host_path);

// The reverse, for paths the engine hands to scenarios: UTF-8 host path to
// Shift-JIS with backslashes; an absolute path gets the prefix "C:". A host
// name that holds a backslash cannot be told apart from a separator.
[[nodiscard]] bool host_path_to_scenario(const std::string& host_path, std::string& sjis_path);

// The current directory as a scenario path ("C:\games\title"), no trailing
// backslash unless it is the root.
[[nodiscard]] bool host_cwd_scenario(std::string& sjis_path);

// What a host path names now.
enum class HostPathKind : uint8_t { Missing, File, Directory, Other };
HostPathKind host_path_kind(const std::string& host_path);
// Whether the process may read (or run) the file at host_path.
bool host_file_readable(const std::string& host_path);
bool host_file_executable(const std::string& host_path);
// The process's current directory as a host path; false when it cannot tell.
[[nodiscard]] bool host_cwd(std::string& host_path);

// A host file open for reading. Only existing regular files open (never a
// directory, a device or a pipe), and reads never go past the end.
class HostFile {
  public:
    HostFile() = default;
    ~HostFile();
    HostFile(const HostFile&) = delete;
    HostFile& operator=(const HostFile&) = delete;
    HostFile(HostFile&& other) noexcept;
    HostFile& operator=(HostFile&& other) noexcept;

    [[nodiscard]] bool open(const std::string& host_path);
    void close();
    bool is_open() const { return fd_ >= 0; }
    // The size when the file was opened.
    uint64_t size() const { return size_; }
    // Reads exactly len bytes at offset; false if the range leaves the file or
    // the read comes up short.
    [[nodiscard]] bool read_at(uint64_t offset, uint8_t* dst, size_t len) const;

  private:
    int fd_ = -1;
    uint64_t size_ = 0;
};

// Reads a whole host file into out (replacing it). False, with out empty, if
// it cannot be opened or read or is larger than max_size bytes.
[[nodiscard]] bool host_file_read_all(const std::string& host_path, std::vector<uint8_t>& out,
                                      uint64_t max_size);

// Writes data to a temporary file beside host_path and renames it over
// host_path, so a failure never leaves a half-written target. False when any
// step fails (the temporary file is then removed).
// Tests can make the write fail after the temporary file is complete and
// before it replaces the target, as a crash at that point would.
struct WriteReplaceFault {
    bool fail_before_rename = false;
};
[[nodiscard]] bool host_file_write_replace(const std::string& host_path, const uint8_t* data,
                                           size_t len, const WriteReplaceFault* fault = nullptr);

}  // namespace qln
