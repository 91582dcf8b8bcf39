#pragma once
// A layer's user mask, combined into the alpha plane of the layer's image
// at the mask's document position, with its default colour wherever the
// layer lies outside the mask rectangle.
#include <cstdint>

#include "cps30_document.h"
#include "pixel_store.h"
#include "row_table.h"

namespace strataread {

// Reads the mask channel of layer from the document stream's current
// position (its first row) and combines it into plane of image, the
// layer's image, under the document's alpha combine flags. The table holds
// one entry per mask row when the compression is 1. channelEnd is the
// stream position where the channel's recorded data ends; no row is taken
// from beyond it. A relative mask rectangle is moved to document
// coordinates and written back into the layer record. A plane below 0
// stores nothing and reads nothing.
// Answers 0, kKivResult_OutOfMemory (the colour table is then released),
// kKivResult_CorruptFile (rows that lie beyond the channel's end) or the
// failure of DecodeRow or of the stream.
KivResult ReadMaskChannel(CPS30Document& document, LayerRecord& layer, RowTable table, std::int32_t plane,
                          const ImageBuffer& image, std::uint64_t channelEnd);

}  // namespace strataread
