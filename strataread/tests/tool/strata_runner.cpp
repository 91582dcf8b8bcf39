#include "strata_runner.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace strata_test {
namespace {

std::string Slurp(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

}  // namespace

std::string Quote(const std::string& argument) {
  std::string quoted = "'";
  for (const char c : argument) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

Outcome RunStrata(const std::vector<std::string>& arguments, const std::filesystem::path& dir) {
  const std::filesystem::path out = dir / ".strata-stdout";
  const std::filesystem::path err = dir / ".strata-stderr";
  std::string command = Quote(STRATA_EXECUTABLE);
  for (const std::string& argument : arguments) command += " " + Quote(argument);
  command += " >" + Quote(out.string()) + " 2>" + Quote(err.string()) + " </dev/null";
  const int status = std::system(command.c_str());
  Outcome outcome;
  outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  outcome.out = Slurp(out);
  std::istringstream lines(Slurp(err));
  for (std::string line; std::getline(lines, line);) outcome.errLines.push_back(line);
  std::filesystem::remove(out);
  std::filesystem::remove(err);
  return outcome;
}

ScratchDir::ScratchDir(const std::string& name)
    : path_(std::filesystem::temp_directory_path() / ("strata-test-" + std::to_string(getpid()) + "-" + name)) {
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void ScratchDir::Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
  std::ofstream file(path_ / name, std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> ScratchDir::Read(const std::string& name) const {
  const std::string text = Slurp(path_ / name);
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

std::vector<std::string> ScratchDir::Entries(const std::string& sub) const {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(sub.empty() ? path_ : path_ / sub, error)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace strata_test
