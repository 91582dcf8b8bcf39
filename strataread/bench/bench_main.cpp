// strataread-bench [file.psd]
//
// Reads the merged image and every layer of a document from memory through
// the pixel pipeline several times and prints the best throughput of
// output pixels (MB/s, 10^6 bytes) for each, next to memcpy of the merged
// image's size measured in the same run. Without a file it builds its own
// document. Each read is parse-free: the document is parsed once, then each
// read selects its image, applies the preferred layout and reads pixels.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "bench_document.h"
#include "cps30_document.h"
#include "kivhost/kivhost.h"
#include "read_pixels.h"

namespace strataread::bench {
namespace {

constexpr int kRepeats = 5;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double>(to - from).count();
}

struct Reading {
  KivResult result = kKivResult_OK;
  std::uint64_t bytes = 0;
  double seconds = 0;
};

class Bench {
public:
  explicit Bench(std::vector<std::uint8_t> file) : stream_(kivhost::MemoryStream::Create(std::move(file))) {
    // The pipeline clears every image itself; the host's own fill would
    // only be measured on top.
    handles_->SetFreshFill(false);
    handles_->SetByteLimit(std::numeric_limits<std::uint64_t>::max());
    document_.AttachServices(handles_.get(), allocator_.get(), services_.get());
  }
  ~Bench() { DocumentStream = nullptr; }

  KivResult Parse() {
    KivResult result = stream_->Open(0, 1);
    DocumentStream = stream_.get();
    if (result == kKivResult_OK) result = document_.ParseDocument(&info_, &offerCount_, offers_);
    return result;
  }

  std::int32_t LayerCount() const { return document_.layerCount; }

  // One read of the merged image (layer -1) or a layer in its preferred
  // layout; only ReadPixels is timed.
  Reading Read(std::int32_t layer) {
    Reading reading;
    kivhost::Ref<kivhost::PropertyList> selector;
    if (layer >= 0) {
      selector = kivhost::PropertyList::Create();
      selector->Put(kKivType_Int32, &layer, sizeof layer, "kKivSelectorKey_layerIndex");
    }
    reading.result = document_.SelectImage(selector.get(), &info_, &offerCount_, offers_);
    if (reading.result != kKivResult_OK || offerCount_ < 1) return reading;
    const auto layout = static_cast<std::uint32_t>(offers_[0]);
    document_.ApplyChosenLayout(layout, &info_);
    KivHandle image = 0;
    const Clock::time_point start = Clock::now();
    reading.result = ReadPixels(document_, layout, &image);
    reading.seconds = Seconds(start, Clock::now());
    if (image != 0) {
      reading.bytes = static_cast<std::uint64_t>(info_.rowBytes) * info_.height;
      handles_->FreeHandle(image);
    }
    return reading;
  }

private:
  kivhost::Ref<kivhost::HandleMemory> handles_ = kivhost::HandleMemory::Create();
  kivhost::Ref<kivhost::Allocator> allocator_ = kivhost::Allocator::Create();
  kivhost::Ref<kivhost::HostServices> services_ = kivhost::HostServices::Create(handles_);
  kivhost::Ref<kivhost::MemoryStream> stream_;
  CPS30Document document_;
  ImageInfo info_{};
  std::int16_t offerCount_ = 0;
  std::int32_t offers_[8] = {};
};

double MegabytesPerSecond(std::uint64_t bytes, double seconds) {
  return seconds > 0 ? static_cast<double>(bytes) / seconds / 1e6 : 0;
}

double BestMemcpySeconds(std::uint64_t bytes) {
  std::vector<std::uint8_t> from(bytes, 0x5A);
  std::vector<std::uint8_t> to(bytes, 0);
  double best = std::numeric_limits<double>::max();
  for (int i = 0; i < kRepeats; ++i) {
    const Clock::time_point start = Clock::now();
    std::memcpy(to.data(), from.data(), bytes);
    best = std::min(best, Seconds(start, Clock::now()));
    from[static_cast<std::size_t>(i) % bytes] = to[bytes - 1];  // keep the copies observable
  }
  return best;
}

// A host that runs for long recycles its memory; without this every image
// would be fresh pages from the system, and the figures would measure the
// kernel's page faults as much as the pipeline.
void KeepFreedMemory() {
#if defined(__GLIBC__)
  mallopt(M_MMAP_THRESHOLD, 1 << 30);
  mallopt(M_TRIM_THRESHOLD, std::numeric_limits<int>::max());
#endif
}

int Run(int argc, char** argv) {
  KeepFreedMemory();
  std::vector<std::uint8_t> file;
  if (argc > 1) {
    std::ifstream in(argv[1], std::ios::binary);
    file.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (file.empty()) {
      std::fprintf(stderr, "strataread-bench: cannot read %s\n", argv[1]);
      return 1;
    }
  } else {
    file = BuildBenchDocument();
  }
  Bench bench(std::move(file));
  const KivResult parsed = bench.Parse();
  if (parsed != kKivResult_OK) {
    std::fprintf(stderr, "strataread-bench: the document is refused (0x%08X)\n", static_cast<unsigned>(parsed));
    return 1;
  }

  double mergedBest = std::numeric_limits<double>::max();
  std::uint64_t mergedBytes = 0;
  double layersBest = std::numeric_limits<double>::max();
  std::uint64_t layerBytes = 0;
  for (int repeat = 0; repeat < kRepeats; ++repeat) {
    const Reading merged = bench.Read(-1);
    if (merged.result != kKivResult_OK) {
      std::fprintf(stderr, "strataread-bench: the merged image is not read (0x%08X)\n",
                   static_cast<unsigned>(merged.result));
      return 1;
    }
    mergedBytes = merged.bytes;
    mergedBest = std::min(mergedBest, merged.seconds);

    double pass = 0;
    layerBytes = 0;
    for (std::int32_t layer = 0; layer < bench.LayerCount(); ++layer) {
      const Reading reading = bench.Read(layer);
      if (reading.result != kKivResult_OK) {
        if (repeat == 0) {
          std::fprintf(stderr, "strataread-bench: layer %d not read (0x%08X), left out\n", static_cast<int>(layer),
                       static_cast<unsigned>(reading.result));
        }
        continue;
      }
      pass += reading.seconds;
      layerBytes += reading.bytes;
    }
    layersBest = std::min(layersBest, pass);
  }

  const double memcpyRate = MegabytesPerSecond(mergedBytes, BestMemcpySeconds(std::max<std::uint64_t>(mergedBytes, 1)));
  const double mergedRate = MegabytesPerSecond(mergedBytes, mergedBest);
  std::printf("memcpy: %.0f MB/s\n", memcpyRate);
  std::printf("merged: %.0f MB/s\n", mergedRate);
  std::printf("layers: %.0f MB/s\n", MegabytesPerSecond(layerBytes, layersBest));
  std::printf("merged/memcpy: %.2f\n", memcpyRate > 0 ? mergedRate / memcpyRate : 0.0);
  return 0;
}

}  // namespace
}  // namespace strataread::bench

int main(int argc, char** argv) { return strataread::bench::Run(argc, argv); }
