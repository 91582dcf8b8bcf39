#pragma once
// `strata info`: what the reader tells about a document, as JSON.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kiv/kiv_abi.h"
#include "kivhost/property_list.h"
#include "kivhost/ref.h"

namespace strata {

// The fields of the file's 26-byte header that the host interface does not
// carry: the document's channel count, depth and colour mode.
struct DocumentHeader {
  std::uint16_t channels = 0;
  std::uint16_t depth = 0;
  std::uint16_t colorMode = 0;
};
std::optional<DocumentHeader> ReadDocumentHeader(const std::string& path);

struct DocumentInfo {
  ImageInfo description{};  // of the merged image, as BeginImage received it
  std::vector<std::int32_t> offers;
  std::optional<DocumentHeader> header;
  kivhost::Ref<kivhost::PropertyList> options;  // the document list (may be null)
  std::vector<kivhost::Ref<kivhost::PropertyList>> layers;
};

// A JSON string literal. Valid UTF-8 passes; other bytes are read as
// Latin-1.
std::string JsonString(std::string_view text);
// One layer's list as one JSON object (see README-strata.md).
std::string LayerJson(const kivhost::PropertyList& list);
// The guides of the document list as a JSON array.
std::string GuidesJson(const kivhost::PropertyList& list);
// The whole document, one key a line.
std::string InfoJson(const DocumentInfo& info);

}  // namespace strata
