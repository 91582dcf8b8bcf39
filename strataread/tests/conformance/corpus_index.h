#pragma once
// The corpus's INDEX.tsv: one row per document, and what an import of it
// must give.
#include <cstdint>
#include <string>
#include <vector>

namespace corpus {

enum class Expect {
  Exact,         // 8-bit RGB, greyscale, indexed, bitmap: the reference to the value
  HighByte,      // 16 bits: the reference's 8 bits, loosely
  ImportOnly,    // no agreed reference (CMYK, duotone)
  Unsupported,   // refused with kKivResult_UnsupportedFile
  Malformed,     // refused with a result code, or imported whole: never a crash
};

struct Document {
  std::string file;
  std::string mode;
  int version = 0;
  int depth = 0;
  int channels = 0;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  Expect expect = Expect::ImportOnly;
};

// The rows of INDEX.tsv in dir; empty when it cannot be read.
std::vector<Document> ReadIndex(const std::string& dir);

// Test names may hold letters, digits and '_' only.
std::string TestName(const std::string& file);

}  // namespace corpus
