#include "platform/sdl2/instance_raise.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/instance_lock.h"

namespace qln {
namespace {

bool make_address(const std::string& path, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

}  // namespace

std::string instance_raise_path(const std::string& start_dir) {
    // The lock file's directory rule: $XDG_RUNTIME_DIR, else /tmp.
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string dir = (runtime && *runtime) ? runtime : "/tmp";
    std::string name = instance_lock_name(start_dir);
    const size_t dot = name.rfind(".lock");
    if (dot != std::string::npos) name.resize(dot);
    return dir + "/" + name + ".raise";
}

bool RaiseListener::open(const std::string& path) {
    close();
    sockaddr_un address;
    if (!make_address(path, address)) return false;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    unlink(path.c_str());
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        listen(fd, 4) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    path_ = path;
    return true;
}

void RaiseListener::close() {
    if (fd_ < 0) return;
    ::close(fd_);
    unlink(path_.c_str());
    fd_ = -1;
}

bool RaiseListener::asked() {
    bool any = false;
    while (fd_ >= 0) {
        const int peer = accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (peer < 0) break;
        ::close(peer);  // the connection itself is the request
        any = true;
    }
    return any;
}

bool instance_raise_request(const std::string& path) {
    sockaddr_un address;
    if (!make_address(path, address)) return false;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const bool ok = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

}  // namespace qln
