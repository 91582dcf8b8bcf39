#pragma once
// The pixel-reading driver: the merged image or the selected layer, read
// channel by channel from the document stream into one interleaved image
// buffer of the host's handle memory.
#include <cstdint>

#include "cps30_document.h"
#include "pixel_plan.h"

namespace strataread {

// Reads the merged image (currentLayer -1, or a layer index that is out of
// range) or the current layer for delivery in layout, the layout the host
// chose (after ApplyChosenLayout). *image receives the buffer's handle
// whenever it was allocated, also when the read then fails; the caller
// frees it. Rows are width x PixelBytes of PlanFor(...) bytes apart. An
// empty read (no area, or no planes) puts 0 there and answers 0.
// Answers 0, kKivResult_OutOfMemory, kKivResult_ReadFailed,
// kKivResult_CorruptFile (stored data that contradicts the recorded
// geometry), kKivResult_UnsupportedFile (a depth other than 1, 8 or 16, or a
// compression other than raw and PackBits), or the stream's own result. For
// a layer, the first failure among its channels.
KivResult ReadPixels(CPS30Document& document, std::uint32_t layout, KivHandle* image);

// The pixel ReadPixels delivers for the current selection in layout, for
// the reader to check the row length it hands to the host.
PixelPlan PlanFor(const CPS30Document& document, std::uint32_t layout);

}  // namespace strataread
