// Writes the demo's sample document: strata-sample OUT.psd
#include <cstdio>

#include "sample_document.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: strata-sample OUT.psd\n");
    return 1;
  }
  const psdbuild::ByteVector bytes = psdbuild::Build(strata_sample::SampleDocument());
  std::FILE* const file = std::fopen(argv[1], "wb");
  if (file == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  if (std::fclose(file) != 0 || !written) {
    std::perror(argv[1]);
    std::remove(argv[1]);
    return 1;
  }
  return 0;
}
