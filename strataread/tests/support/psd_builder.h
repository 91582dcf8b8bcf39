#pragma once
// Writes Photoshop 3.0 documents byte by byte for tests: the whole file
// from a description (header, colour-mode data, resources, layer records,
// channel data raw or PackBits, merged image), or any piece of it, so that
// a crafted edge case is a few lines of test.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace psdbuild {

using ByteVector = std::vector<std::uint8_t>;

// Big-endian writer with placeholders for lengths that are known later.
class Bytes {
public:
  Bytes& U8(std::uint8_t value);
  Bytes& U16(std::uint16_t value);
  Bytes& U32(std::uint32_t value);
  Bytes& I16(std::int16_t value) { return U16(static_cast<std::uint16_t>(value)); }
  Bytes& I32(std::int32_t value) { return U32(static_cast<std::uint32_t>(value)); }
  Bytes& Text(std::string_view characters);  // the characters, no length, no terminator
  Bytes& Append(const ByteVector& bytes);
  Bytes& Fill(std::size_t count, std::uint8_t value = 0);
  // Zero bytes until the length since `from` is a multiple of `unit`.
  Bytes& PadFrom(std::size_t from, std::size_t unit);

  // Writes a 4-byte placeholder and returns its offset; EndLength stores the
  // number of bytes written after it.
  std::size_t BeginLength();
  void EndLength(std::size_t mark);
  void PatchU32(std::size_t offset, std::uint32_t value);

  std::size_t size() const { return bytes_.size(); }
  const ByteVector& data() const { return bytes_; }
  ByteVector Take() { return std::move(bytes_); }

private:
  ByteVector bytes_;
};

enum class Compression : std::uint16_t { Raw = 0, PackBits = 1 };

// PackBits of one row, as image editors write it (runs of at most 128).
ByteVector PackBits(const std::uint8_t* row, std::size_t count);
inline ByteVector PackBits(const ByteVector& row) { return PackBits(row.data(), row.size()); }

// Stored bytes of one row: (depth x width + 7) / 8.
std::size_t RowBytes(std::uint32_t width, std::uint16_t depth);

// The stored form of one plane of `rows` rows of `rowBytes` bytes each:
// rows raw, or the byte-count table followed by the packed rows. `withWord`
// puts the 2-byte compression word in front (layer channels have one each).
ByteVector EncodePlane(const ByteVector& rows, std::size_t rowBytes, std::size_t rowCount, Compression compression,
                       bool withWord);

struct Channel {
  Channel(std::int16_t channelId = 0) : id(channelId) {}  // NOLINT: a bare id is a channel
  Channel(std::int16_t channelId, ByteVector channelRows, Compression rowCompression = Compression::Raw)
      : id(channelId), rows(std::move(channelRows)), compression(rowCompression) {}

  std::int16_t id;
  // Stored rows (RowBytes each) before compression; empty means zeros.
  ByteVector rows;
  Compression compression = Compression::Raw;
  // Exact stored bytes (compression word included) instead of `rows`.
  std::optional<ByteVector> stored;
  // Length written into the channel record instead of the stored size.
  std::optional<std::uint32_t> recordedLength;
};

struct Mask {
  Mask(std::int32_t maskTop = 0, std::int32_t maskLeft = 0, std::int32_t maskBottom = 0, std::int32_t maskRight = 0,
       std::uint8_t color = 0, std::uint8_t maskFlags = 0, std::uint32_t dataLength = 20)
      : top(maskTop), left(maskLeft), bottom(maskBottom), right(maskRight), defaultColor(color), flags(maskFlags),
        length(dataLength) {}

  std::int32_t top, left, bottom, right;
  std::uint8_t defaultColor;
  std::uint8_t flags;     // bit 0 relative, bit 1 disabled, bit 2 inverted
  std::uint32_t length;   // mask data length; bytes after the first 18 are zero
};

struct Layer {
  std::int32_t top = 0, left = 0, bottom = 0, right = 0;
  std::vector<Channel> channels;
  std::string blendSignature = "8BIM";
  std::string blendMode = "norm";
  std::uint8_t opacity = 255;
  std::uint8_t clipping = 0;
  std::uint8_t flags = 0;
  std::optional<Mask> mask;
  std::vector<std::array<std::uint8_t, 4>> blendRanges;
  std::string name;
  // Exact extra data (mask data, ranges, name) instead of the fields above.
  std::optional<ByteVector> extra;
};

struct Resource {
  Resource(std::uint16_t resourceId = 0, ByteVector resourceData = {}, std::string resourceName = "",
           std::string blockSignature = "8BIM")
      : id(resourceId), data(std::move(resourceData)), name(std::move(resourceName)),
        signature(std::move(blockSignature)) {}

  std::uint16_t id;
  ByteVector data;
  std::string name;
  std::string signature;
};

struct GuideEntry {
  std::int32_t position;  // 1/32 pixel
  std::uint8_t direction;
};

// Resource 1005 with the horizontal resolution as 16.16 fixed point.
Resource ResolutionResource(std::int32_t fixed);
// Resource 1032; the count written is guides.size() unless declared.
Resource GuideResource(const std::vector<GuideEntry>& guides, std::optional<std::int32_t> declared = {});

struct Document {
  std::string signature = "8BPS";
  std::uint16_t version = 1;
  std::uint16_t channels = 3;
  std::uint32_t height = 1;
  std::uint32_t width = 1;
  std::uint16_t depth = 8;
  std::uint16_t mode = 3;  // RGB

  ByteVector colorModeData;
  std::vector<Resource> resources;
  std::optional<ByteVector> resourceSection;  // exact bytes after the section length

  std::vector<Layer> layers;
  bool negativeLayerCount = false;
  std::optional<ByteVector> layerSection;  // exact bytes after the section length

  // Merged image: one plane per channel of RowBytes x height bytes; missing
  // planes are zeros.
  std::vector<ByteVector> merged;
  Compression mergedCompression = Compression::Raw;
};

// The 26-byte header.
ByteVector HeaderBytes(const Document& document);
// One resource block: signature, id, padded name, size, padded data.
ByteVector ResourceBlock(const Resource& resource);
// The stored form of every channel of the layer, in record order; the row
// count of a user mask channel (-2) comes from its mask rectangle.
std::vector<ByteVector> LayerChannelData(const Layer& layer, std::uint16_t depth);
// One layer record; channel lengths from channelData.
ByteVector LayerRecordBytes(const Layer& layer, const std::vector<ByteVector>& channelData);
// The layer-and-mask section after its length field: layer info (count,
// records, channel data, padded even) and an empty global mask.
ByteVector LayerSectionBytes(const Document& document);
// The merged image data: one compression word, then the planes.
ByteVector MergedImageBytes(const Document& document);

// The whole file.
ByteVector Build(const Document& document);

}  // namespace psdbuild
