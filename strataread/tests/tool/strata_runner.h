#pragma once
// Runs the strata program for tests and keeps what it printed.
#include <filesystem>
#include <string>
#include <vector>

namespace strata_test {

struct Outcome {
  int status = -1;
  std::string out;
  std::vector<std::string> errLines;
};

// Quotes one argument for the shell.
std::string Quote(const std::string& argument);
// Runs strata with the arguments (each quoted here), its output captured
// in files of dir.
Outcome RunStrata(const std::vector<std::string>& arguments, const std::filesystem::path& dir);

// A fresh, empty directory for one test, removed by the destructor.
class ScratchDir {
public:
  explicit ScratchDir(const std::string& name);
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }
  void Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;
  std::vector<std::uint8_t> Read(const std::string& name) const;
  // Names of the entries of a directory (this one by default), sorted.
  std::vector<std::string> Entries(const std::string& sub = "") const;

private:
  std::filesystem::path path_;
};

}  // namespace strata_test
