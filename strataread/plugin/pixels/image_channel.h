#pragma once
// One image channel of the read in progress: all its rows, decoded from the
// document stream's current position and stored into one plane.
#include <cstdint>

#include "cps30_document.h"
#include "pixel_store.h"
#include "row_table.h"

namespace strataread {

// Reads image.height rows of image.width samples. The table gives each
// row's stored bytes when the document's compression is 1; without it rows
// are raw. A plane below 0 decodes the rows and stores nothing. Answers 0,
// kKivResult_OutOfMemory (scratch rows not obtained; the colour table is
// then released) or the first failure of DecodeRow.
KivResult ReadImageChannel(CPS30Document& document, RowTable table, std::int32_t plane,
                           const ImageBuffer& image);

}  // namespace strataread
