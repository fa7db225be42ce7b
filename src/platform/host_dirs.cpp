// Host directories and file facts on POSIX hosts.
#include "platform/host_dirs.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>

namespace qln {

bool host_file_facts(const std::string& host_path, HostFileFacts& facts) {
    struct stat st {};
    if (::stat(host_path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    if (::access(host_path.c_str(), R_OK) != 0) return false;
    std::tm local{};
    const time_t when = st.st_mtime;
    if (::localtime_r(&when, &local) == nullptr) return false;
    facts.size = static_cast<uint64_t>(st.st_size);
    facts.year = local.tm_year + 1900;
    facts.month = local.tm_mon + 1;
    facts.day = local.tm_mday;
    facts.hour = local.tm_hour;
    facts.minute = local.tm_min;
    facts.second = local.tm_sec;
    return true;
}

bool host_dir_list(const std::string& host_dir, std::vector<HostDirEntry>& entries) {
    entries.clear();
    const std::string dir = host_dir.empty() ? "." : host_dir;
    DIR* d = ::opendir(dir.c_str());
    if (d == nullptr) return false;
    const std::string prefix = dir.back() == '/' ? dir : dir + "/";
    while (const dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        struct stat st {};
        if (::stat((prefix + name).c_str(), &st) != 0) continue;  // a dangling link
        HostDirEntry entry;
        entry.name = name;
        entry.directory = S_ISDIR(st.st_mode);
        if (!entry.directory && !S_ISREG(st.st_mode)) continue;  // devices, pipes
        entry.size = entry.directory ? 0 : static_cast<uint64_t>(st.st_size);
        entries.push_back(std::move(entry));
    }
    ::closedir(d);
    std::sort(entries.begin(), entries.end(),
              [](const HostDirEntry& a, const HostDirEntry& b) { return a.name < b.name; });
    return true;
}

bool host_file_make_writable(const std::string& host_path) {
    struct stat st {};
    if (::stat(host_path.c_str(), &st) != 0) return false;
    return (st.st_mode & S_IWUSR) ||
           ::chmod(host_path.c_str(), (st.st_mode & 07777) | S_IWUSR) == 0;
}

bool host_file_remove(const std::string& host_path) {
    struct stat st {};
    if (::lstat(host_path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
    return ::unlink(host_path.c_str()) == 0;
}

bool host_dir_remove(const std::string& host_path) {
    return ::rmdir(host_path.c_str()) == 0;
}

bool host_dir_make(const std::string& host_path) {
    if (::mkdir(host_path.c_str(), 0777) == 0) return true;
    struct stat st {};
    return errno == EEXIST && ::stat(host_path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool host_dir_make_all(const std::string& host_path) {
    for (size_t at = 1; at <= host_path.size(); ++at) {
        if (at != host_path.size() && host_path[at] != '/') continue;
        if (!host_dir_make(host_path.substr(0, at))) return false;
    }
    return !host_path.empty();
}

bool host_dir_change(const std::string& host_path) {
    return ::chdir(host_path.c_str()) == 0;
}

bool host_dir_writable(const std::string& host_path) {
    struct stat st {};
    return ::stat(host_path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
           ::access(host_path.c_str(), W_OK | X_OK) == 0;
}

bool host_disk_space(const std::string& host_path, HostDiskSpace& space) {
    struct statvfs vfs {};
    if (::statvfs(host_path.c_str(), &vfs) != 0) return false;
    space.block_size = vfs.f_frsize ? vfs.f_frsize : vfs.f_bsize;
    space.free_blocks = vfs.f_bavail;
    space.total_blocks = vfs.f_blocks;
    return true;
}

HostFileWriter::~HostFileWriter() {
    abandon();
}

bool HostFileWriter::open(const std::string& host_path) {
    abandon();
    struct stat st {};
    const bool had_target = ::stat(host_path.c_str(), &st) == 0;
    if (host_path.empty() || (had_target && !S_ISREG(st.st_mode))) return false;
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        temp_ = host_path + ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(attempt);
        fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno != EEXIST) break;
    }
    if (fd_ < 0) return false;
    // A replaced file keeps its permissions.
    if (had_target && ::fchmod(fd_, st.st_mode & 07777) != 0) {
        abandon();
        return false;
    }
    target_ = host_path;
    return true;
}

bool HostFileWriter::write(const uint8_t* data, size_t len) {
    if (fd_ < 0) return false;
    while (len > 0) {
        const ssize_t n = ::write(fd_, data, len);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        len -= static_cast<size_t>(n);
    }
    return true;
}

bool HostFileWriter::commit() {
    if (fd_ < 0) return false;
    bool ok = ::fsync(fd_) == 0;
    ok = ::close(fd_) == 0 && ok;
    fd_ = -1;
    ok = ok && ::rename(temp_.c_str(), target_.c_str()) == 0;
    if (!ok) {
        ::unlink(temp_.c_str());
        temp_.clear();
        return false;
    }
    temp_.clear();
    const size_t slash = target_.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : target_.substr(0, slash + 1);
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);  // the rename itself made durable
        ::close(dfd);
    }
    return true;
}

void HostFileWriter::abandon() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
}

}  // namespace qln
