#include "output_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform.h"

namespace strata {
namespace {

std::string ErrnoText(int error) { return std::strerror(error); }

}  // namespace

std::string TemporaryNameFor(const std::string& path) {
  static unsigned serial = 0;
  const std::filesystem::path target(path);
  std::filesystem::path temporary = target.parent_path();
  temporary /= "." + target.filename().string() + ".strata-" + std::to_string(CurrentProcessId()) + "-" +
               std::to_string(serial++) + ".tmp";
  return temporary.string();
}

bool WriteTemporary(const std::string& temporary, const std::vector<std::uint8_t>& bytes, std::string* why) {
  std::FILE* const file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) {
    *why = "cannot create " + temporary + ": " + ErrnoText(errno);
    return false;
  }
  const std::size_t written = bytes.empty() ? 0 : std::fwrite(bytes.data(), 1, bytes.size(), file);
  const int writeError = errno;
  const bool closed = std::fclose(file) == 0;
  if (written != bytes.size() || !closed) {
    *why = "cannot write " + temporary + ": " + ErrnoText(written != bytes.size() ? writeError : errno);
    Discard(temporary);
    return false;
  }
  return true;
}

bool Commit(const std::string& temporary, const std::string& path, std::string* why) {
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (error) {
    *why = "cannot write " + path + ": " + error.message();
    Discard(temporary);
    return false;
  }
  return true;
}

void Discard(const std::string& temporary) {
  std::error_code ignored;
  std::filesystem::remove(temporary, ignored);
}

bool WriteWhole(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string* why) {
  const std::string temporary = TemporaryNameFor(path);
  return WriteTemporary(temporary, bytes, why) && Commit(temporary, path, why);
}

}  // namespace strata
