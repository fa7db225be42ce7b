#pragma once
// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace qln::test {

class TempDir {
  public:
    TempDir() {
        std::random_device rd;
        const auto base = std::filesystem::temp_directory_path();
        for (int attempt = 0; attempt < 100; ++attempt) {
            path_ = base / ("quillon-test-" + std::to_string(rd()));
            if (std::filesystem::create_directory(path_)) return;
        }
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string str() const { return path_.string(); }

    // Writes a file below the directory (creating subdirectories) and returns
    // its full path.
    std::string write(const std::string& relative, const std::vector<uint8_t>& bytes) const {
        const auto full = path_ / relative;
        std::filesystem::create_directories(full.parent_path());
        std::ofstream f(full, std::ios::binary);
        f.write(reinterpret_cast<const char*>(bytes.data()),
                static_cast<std::streamsize>(bytes.size()));
        return full.string();
    }

  private:
    std::filesystem::path path_;
};

// Restores the current directory when it goes.
class CwdGuard {
  public:
    explicit CwdGuard(const std::filesystem::path& to) : saved_(std::filesystem::current_path()) {
        std::filesystem::current_path(to);
    }
    ~CwdGuard() {
        std::error_code ec;
        std::filesystem::current_path(saved_, ec);
    }
    CwdGuard(const CwdGuard&) = delete;
    CwdGuard& operator=(const CwdGuard&) = delete;

  private:
    std::filesystem::path saved_;
};

}  // namespace qln::test
