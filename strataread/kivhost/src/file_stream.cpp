#include "kivhost/streams.h"

namespace kivhost {

Ref<FileStream> FileStream::Create(std::string path) {
  return Ref<FileStream>::Share(new FileStream(std::move(path)));
}

FileStream::~FileStream() { DoClose(); }

KivResult FileStream::DoOpen() {
  file_ = std::fopen(path_.c_str(), "rb");
  fileOffset_ = 0;
  return file_ != nullptr ? kKivResult_OK : kKivResult_ReadFailed;
}

void FileStream::DoClose() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

// fseek takes a long, 32 bits on Windows: seek in steps that fit.
bool FileStream::SeekTo(std::uint32_t offset) {
  fileOffset_ = 0;
  if (std::fseek(file_, 0, SEEK_SET) != 0) return false;
  std::uint32_t left = offset;
  while (left != 0) {
    const std::uint32_t step = left > 0x40000000u ? 0x40000000u : left;
    if (std::fseek(file_, static_cast<long>(step), SEEK_CUR) != 0) return false;
    left -= step;
    fileOffset_ += step;
  }
  return true;
}

bool FileStream::DoRead(std::uint32_t offset, void* buffer, std::uint32_t count,
                        std::uint32_t* delivered) {
  *delivered = 0;
  if (file_ == nullptr) return false;
  if (offset != fileOffset_ && !SeekTo(offset)) return false;
  const std::size_t got = std::fread(buffer, 1, count, file_);
  const bool failed = got < count && std::ferror(file_) != 0;
  std::clearerr(file_);
  if (failed) {
    SeekTo(0);  // the file position is unknown after an error
    return false;
  }
  fileOffset_ = offset + static_cast<std::uint32_t>(got);
  *delivered = static_cast<std::uint32_t>(got);
  return true;
}

}  // namespace kivhost
