#pragma once
// The settings file: an initialisation file of "[section]" headers and
// "key=value" lines, read and written as the original platform's
// private-profile functions do:
//   - section and key names compare without regard to ASCII case; blanks
//     around names and values are trimmed, and a value in matching double or
//     single quotes loses them;
//   - the first matching section and the first matching key in it count;
//   - a missing file, section or key reads as the empty value;
//   - a write changes or adds only its own line (creating the file or the
//     section as needed) and keeps every other byte as it was; new lines end
//     the way the file's first line does (CRLF for a new file);
//   - a write goes to a temporary file in the same directory, which is
//     flushed to disk and renamed over the old file, so a crash leaves either
//     the old file or the new one, never half of either.
// Line breaks in a written section, key or value are cut off there, so a
// write can never add lines of its own.

#include <cstddef>
#include <string>
#include <string_view>

namespace qln {

// Values read are cut to this many bytes.
inline constexpr size_t kProfileValueMax = 254;
// Settings files larger than this are not read (and not rewritten).
inline constexpr size_t kProfileFileMax = 16u << 20;

// The value of key in section of file, or "" (found says whether it exists).
std::string profile_lookup(std::string_view file, std::string_view section, std::string_view key,
                           bool* found = nullptr);
// The file with key in section set to value.
std::string profile_update(std::string_view file, std::string_view section, std::string_view key,
                           std::string_view value);

// Test hook: fail after the temporary file is written and flushed, before the
// rename, as a crash at that point would.
struct ProfileWriteFault {
    bool fail_before_rename = false;
};

// On a host path. The read gives at most kProfileValueMax bytes.
std::string profile_read_host(const std::string& host_path, std::string_view section,
                              std::string_view key);
[[nodiscard]] bool profile_write_host(const std::string& host_path, std::string_view section,
                                      std::string_view key, std::string_view value,
                                      const ProfileWriteFault* fault = nullptr);

// On a scenario path (Shift-JIS, mapped to the host as every file path is).
std::string profile_read(const char* path, const char* section, const char* key);
[[nodiscard]] bool profile_write(const char* path, const char* section, const char* key,
                                 const char* value);

}  // namespace qln
