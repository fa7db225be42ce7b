#pragma once
// Host directories and file facts for the file commands: listings, removal,
// creation, the current directory, free space and modification times.
// Every path here is a host path (UTF-8, slashes), already mapped.

#include <cstdint>
#include <string>
#include <vector>

namespace qln {

// A regular file's size and its last write in local time.
struct HostFileFacts {
    uint64_t size = 0;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
[[nodiscard]] bool host_file_facts(const std::string& host_path, HostFileFacts& facts);

struct HostDirEntry {
    std::string name;  // UTF-8, as the directory holds it
    bool directory = false;
    uint64_t size = 0;  // regular files only
};
// The entries of a directory but "." and "..", sorted by name in byte order
// so that every run sees the same order. False when it cannot be read.
[[nodiscard]] bool host_dir_list(const std::string& host_dir, std::vector<HostDirEntry>& entries);

// Gives the owner write permission, as clearing the read-only attribute does.
bool host_file_make_writable(const std::string& host_path);
// Removes a regular file (never a directory).
[[nodiscard]] bool host_file_remove(const std::string& host_path);
// Removes an empty directory.
[[nodiscard]] bool host_dir_remove(const std::string& host_path);
// Creates one directory; one that exists already is fine.
[[nodiscard]] bool host_dir_make(const std::string& host_path);
// Creates a directory and every missing parent.
[[nodiscard]] bool host_dir_make_all(const std::string& host_path);
[[nodiscard]] bool host_dir_change(const std::string& host_path);
// Whether the process may create files in the directory.
bool host_dir_writable(const std::string& host_path);

// The file system holding host_path, in blocks of block_size bytes.
struct HostDiskSpace {
    uint64_t block_size = 0;
    uint64_t free_blocks = 0;  // available to the process
    uint64_t total_blocks = 0;
};
[[nodiscard]] bool host_disk_space(const std::string& host_path, HostDiskSpace& space);

// A file written through a temporary file beside its target: commit flushes
// it to disk and renames it over the target, so a crash leaves the old file
// whole. Dropped without commit, the temporary file is removed.
class HostFileWriter {
  public:
    HostFileWriter() = default;
    ~HostFileWriter();
    HostFileWriter(const HostFileWriter&) = delete;
    HostFileWriter& operator=(const HostFileWriter&) = delete;

    [[nodiscard]] bool open(const std::string& host_path);
    [[nodiscard]] bool write(const uint8_t* data, size_t len);
    [[nodiscard]] bool commit();
    void abandon();

  private:
    int fd_ = -1;
    std::string target_;
    std::string temp_;
};

}  // namespace qln
