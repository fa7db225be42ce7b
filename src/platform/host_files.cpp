// Host file access on POSIX hosts: path mapping with iconv and directory
// scans, and reads that never leave the file.
#include "platform/host_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/ascii.h"

namespace qln {
namespace {

// One conversion with its own descriptor, closed on every path out.
bool convert(const char* to, const char* from, const char* in, size_t len, size_t out_bound,
             std::string& out) {
    out.clear();
    if (len == 0) return true;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    out.resize(out_bound);
    char* src = const_cast<char*>(in);  // iconv's signature is not const-correct
    size_t src_left = len;
    char* dst = out.data();
    size_t dst_left = out.size();
    const size_t r = iconv(cd, &src, &src_left, &dst, &dst_left);
    bool ok = r != static_cast<size_t>(-1) && src_left == 0;
    if (ok) {
        // Flush any shift state (none for these encodings, but cheap to ask).
        ok = iconv(cd, nullptr, nullptr, &dst, &dst_left) != static_cast<size_t>(-1);
    }
    iconv_close(cd);
    if (!ok) {
        out.clear();
        return false;
    }
    out.resize(out.size() - dst_left);
    return true;
}

bool is_ascii_letter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool ascii_iequal(const char* a, const std::string& b) {
    size_t i = 0;
    for (; i < b.size(); ++i) {
        if (a[i] == '\0' || ascii_lower(a[i]) != ascii_lower(b[i])) return false;
    }
    return a[i] == '\0';
}

bool path_exists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

// Finds the entry of dir that equals name under ASCII case folding; the
// smallest in byte order wins so the choice does not depend on listing order.
bool find_folded(const std::string& dir, const std::string& name, std::string& found) {
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (d == nullptr) return false;
    bool any = false;
    while (const dirent* e = ::readdir(d)) {
        if (!ascii_iequal(e->d_name, name)) continue;
        if (!any || std::strcmp(e->d_name, found.c_str()) < 0) {
            found = e->d_name;
            any = true;
        }
    }
    ::closedir(d);
    return any;
}

}  // namespace

bool sjis_to_utf8(const char* sjis, size_t len, std::string& utf8) {
    // A code page 932 character becomes at most 3 bytes of UTF-8.
    return convert("UTF-8", "CP932", sjis, len, len * 3 + 4, utf8);
}

bool utf8_to_sjis(const char* utf8, size_t len, std::string& sjis) {
    // No character grows when it goes from UTF-8 to code page 932.
    return convert("CP932", "UTF-8", utf8, len, len + 4, sjis);
}

bool host_path_map(const char* sjis_path, std::string& host_path) {
    host_path.clear();
    if (sjis_path == nullptr) return false;
    const size_t len = ::strnlen(sjis_path, kHostPathMax + 1);
    if (len == 0 || len > kHostPathMax) return false;
    std::string text;
    if (!sjis_to_utf8(sjis_path, len, text)) return false;
    // Converted first, then split: a trail byte of 0x5C inside a double-byte
    // character is never taken for a separator, and UTF-8 has none.
    return host_path_fold(text, host_path);
}

bool host_path_fold(const std::string& utf8_path, std::string& host_path) {
    host_path.clear();
    if (utf8_path.empty() || utf8_path.size() > kHostPathMax) return false;
    std::string text = utf8_path;
    for (char& c : text) {
        if (c == '\\') c = '/';
    }

    size_t i = 0;
    if (text.size() >= 2 && is_ascii_letter(text[0]) && text[1] == ':') i = 2;
    std::string base;  // the resolved prefix, ending with "/" unless empty
    if (i < text.size() && text[i] == '/') base = "/";
    const bool trailing = text.back() == '/';

    bool resolving = true;
    while (i < text.size()) {
        while (i < text.size() && text[i] == '/') ++i;
        if (i == text.size()) break;
        size_t end = text.find('/', i);
        if (end == std::string::npos) end = text.size();
        std::string component = text.substr(i, end - i);
        i = end;
        if (resolving && component != "." && component != "..") {
            if (!path_exists(base + component)) {
                std::string found;
                if (find_folded(base, component, found)) {
                    component = found;
                } else {
                    resolving = false;  // nothing below a missing component exists
                }
            }
        }
        base += component;
        base += '/';
    }
    if (base.empty()) {
        host_path = trailing ? "./" : ".";
        return true;
    }
    if (!trailing && base.size() > 1) base.pop_back();
    host_path = std::move(base);
    return true;
}

bool host_path_to_scenario(const std::string& host_path, std::string& sjis_path) {
    sjis_path.clear();
    if (host_path.empty() || host_path.size() > kHostPathMax) return false;
    std::string text;
    if (host_path[0] == '/') text = "C:";
    text += host_path;
    for (char& c : text) {
        if (c == '/') c = '\\';
    }
    return utf8_to_sjis(text.data(), text.size(), sjis_path);
}

bool host_cwd_scenario(std::string& sjis_path) {
    sjis_path.clear();
    std::string buffer(kHostPathMax + 1, '\0');
    if (::getcwd(buffer.data(), buffer.size()) == nullptr) return false;
    buffer.resize(std::strlen(buffer.c_str()));
    return host_path_to_scenario(buffer, sjis_path);
}

HostFile::~HostFile() {
    close();
}

HostFile::HostFile(HostFile&& other) noexcept : fd_(other.fd_), size_(other.size_) {
    other.fd_ = -1;
    other.size_ = 0;
}

HostFile& HostFile::operator=(HostFile&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = other.fd_;
        size_ = other.size_;
        other.fd_ = -1;
        other.size_ = 0;
    }
    return *this;
}

bool HostFile::open(const std::string& host_path) {
    close();
    // Non-blocking so that opening a pipe cannot hang; it is refused below.
    const int fd = ::open(host_path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    size_ = static_cast<uint64_t>(st.st_size);
    return true;
}

void HostFile::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    size_ = 0;
}

bool HostFile::read_at(uint64_t offset, uint8_t* dst, size_t len) const {
    if (fd_ < 0 || offset > size_ || len > size_ - offset) return false;
    while (len > 0) {
        const ssize_t n = ::pread(fd_, dst, len, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;  // an error, or the file shrank
        dst += n;
        offset += static_cast<uint64_t>(n);
        len -= static_cast<size_t>(n);
    }
    return true;
}

bool host_file_read_all(const std::string& host_path, std::vector<uint8_t>& out,
                        uint64_t max_size) {
    out.clear();
    HostFile file;
    if (!file.open(host_path) || file.size() > max_size) return false;
    out.resize(static_cast<size_t>(file.size()));
    if (!file.read_at(0, out.data(), out.size())) {
        out.clear();
        return false;
    }
    return true;
}

bool host_file_write_replace(const std::string& host_path, const uint8_t* data, size_t len,
                             const WriteReplaceFault* fault) {
    if (host_path.empty()) return false;
    // Keep the permissions of a file being replaced.
    mode_t mode = 0666;
    struct stat st;
    const bool had_target = ::stat(host_path.c_str(), &st) == 0;
    if (had_target && !S_ISREG(st.st_mode)) return false;
    if (had_target) mode = st.st_mode & 07777;

    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = host_path + ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(attempt);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;

    bool ok = !had_target || ::fchmod(fd, mode) == 0;
    while (ok && len > 0) {
        const ssize_t n = ::write(fd, data, len);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = false;
            break;
        }
        data += n;
        len -= static_cast<size_t>(n);
    }
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok && fault && fault->fail_before_rename) ok = false;
    ok = ok && ::rename(temp.c_str(), host_path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    // Make the rename itself durable.
    const size_t slash = host_path.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : host_path.substr(0, slash + 1);
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

HostPathKind host_path_kind(const std::string& host_path) {
    struct stat st {};
    if (stat(host_path.c_str(), &st) != 0) return HostPathKind::Missing;
    if (S_ISREG(st.st_mode)) return HostPathKind::File;
    if (S_ISDIR(st.st_mode)) return HostPathKind::Directory;
    return HostPathKind::Other;
}

bool host_file_readable(const std::string& host_path) {
    return host_path_kind(host_path) == HostPathKind::File && access(host_path.c_str(), R_OK) == 0;
}

bool host_file_executable(const std::string& host_path) {
    return host_path_kind(host_path) == HostPathKind::File && access(host_path.c_str(), X_OK) == 0;
}

bool host_cwd(std::string& host_path) {
    char buf[kHostPathMax];
    if (!getcwd(buf, sizeof buf)) return false;
    host_path = buf;
    return true;
}

}  // namespace qln
