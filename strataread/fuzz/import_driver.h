#pragma once
// One whole import of an arbitrary document through our host and the built
// plug-in's exports, as the fuzz target and the regression tests run it:
// the source set from the bytes in memory, the document list and every
// layer's list read, the merged image or a layer selected, and the image
// read in a layout the host picks. The last bytes of the input steer the
// host's choices, so that the document is the whole input and any real file
// is a valid input as it stands.
//
// After the import the host checks what the plug-in owes it: every block of
// either memory given back, no bad free, every stream closed and released,
// every list released, rows exactly as long as announced.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "kiv/kiv_abi.h"

namespace strataread_fuzz {

// The host's choices, from the input's last four bytes (0 where the input
// is shorter).
struct HostChoices {
  // Modulo layers + 3: 0 no selector (the merged image), 1 a selector list
  // without a layer index, 2 the index one past the last layer, k the layer
  // k - 3.
  std::uint8_t selection = 0;
  // High bit clear: the offer (low bits modulo the offer count). High bit
  // set: the layout code of the low three bits, offered or not.
  std::uint8_t layout = 0;
  // Calls of the host's memory that fail, counted from the first call after
  // the reader is made: bits 0-3 the n-th NewHandle, bits 4-5 the n-th
  // LockHandle, bits 6-7 the n-th Alloc (0: none).
  std::uint8_t memory = 0;
  // Bits 0-1: every stream delivers at most 1, 7 or 512 bytes a read (0: no
  // limit); bits 2-3: the n-th read of every stream fails (0: none); bits
  // 4-6: the receptor's answer (ReceptorScript).
  std::uint8_t conduct = 0;
};

// How the receptor answers, from bits 4-6 of HostChoices::conduct.
enum class ReceptorScript : std::uint8_t {
  Plain,
  IncompleteAtRow1,
  FinishIncompleteOnce,
  BeginImageIncomplete,
  SetImageInfoFails,
  FirstRowFails,
  FinishFails,
  BeginImageFails,
};

HostChoices ChoicesFrom(std::span<const std::uint8_t> input);

struct ImportOutcome {
  KivResult open = kKivResult_OK;  // loading and registering the plug-in
  KivResult setSource = kKivResult_OK;
  std::int32_t layers = 0;
  KivResult select = kKivResult_OK;
  KivResult readImage = kKivResult_OK;
  std::size_t rowsDelivered = 0;
  // What the host found wrong with the plug-in's conduct; empty when
  // nothing.
  std::vector<std::string> faults;
};

// Live bytes each of the host's memories grants at once during one import;
// requests beyond it are refused, as a host short of memory refuses them.
// Below the plug-in's own limit on a block, so that documents that claim
// huge images cost little time per input.
inline constexpr std::uint64_t kHostMemoryLimit = std::uint64_t{16} << 20;

ImportOutcome ImportDocument(const std::string& pluginPath, std::span<const std::uint8_t> input);

}  // namespace strataread_fuzz
