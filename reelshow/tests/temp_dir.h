#pragma once
// A fresh directory for one test, removed afterwards.
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace reelshow::testing {

class TempDir {
public:
  TempDir() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() / ("reelshow-test-" + std::to_string(rd()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  std::string File(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& Path() const { return path_; }

  std::string Write(const std::string& name, const std::string& text) const {
    const std::string p = File(name);
    std::ofstream(p, std::ios::binary) << text;
    return p;
  }
  static std::string Read(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

private:
  std::filesystem::path path_;
};

}  // namespace reelshow::testing
