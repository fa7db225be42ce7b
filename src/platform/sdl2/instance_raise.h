#pragma once
// A second copy of a windowed game brings the first copy's window to the
// front: the first copy listens on a Unix socket beside its instance lock
// file (same directory, ".raise" for ".lock"), the second connects to it and
// ends. Only the holder of the instance lock listens, so a socket file left
// by a crashed copy is simply replaced.

#include <string>

namespace qln {

// The socket's path for a start directory.
std::string instance_raise_path(const std::string& start_dir);

class RaiseListener {
  public:
    RaiseListener() = default;
    ~RaiseListener() { close(); }
    RaiseListener(const RaiseListener&) = delete;
    RaiseListener& operator=(const RaiseListener&) = delete;

    // Starts listening at path; false when the socket cannot be made.
    bool open(const std::string& path);
    void close();
    // True when another copy asked since the last call; never blocks.
    bool asked();

  private:
    int fd_ = -1;
    std::string path_;
};

// Asks the copy listening at path to come to the front; false when none
// answers.
bool instance_raise_request(const std::string& path);

}  // namespace qln
