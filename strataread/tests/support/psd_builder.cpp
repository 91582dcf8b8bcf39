#include "psd_builder.h"

#include <algorithm>

namespace psdbuild {

Bytes& Bytes::U8(std::uint8_t value) {
  bytes_.push_back(value);
  return *this;
}

Bytes& Bytes::U16(std::uint16_t value) {
  bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
  bytes_.push_back(static_cast<std::uint8_t>(value));
  return *this;
}

Bytes& Bytes::U32(std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) bytes_.push_back(static_cast<std::uint8_t>(value >> shift));
  return *this;
}

Bytes& Bytes::Text(std::string_view characters) {
  bytes_.insert(bytes_.end(), characters.begin(), characters.end());
  return *this;
}

Bytes& Bytes::Append(const ByteVector& bytes) {
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  return *this;
}

Bytes& Bytes::Fill(std::size_t count, std::uint8_t value) {
  bytes_.insert(bytes_.end(), count, value);
  return *this;
}

Bytes& Bytes::PadFrom(std::size_t from, std::size_t unit) {
  while ((bytes_.size() - from) % unit != 0) bytes_.push_back(0);
  return *this;
}

std::size_t Bytes::BeginLength() {
  const std::size_t mark = bytes_.size();
  U32(0);
  return mark;
}

void Bytes::EndLength(std::size_t mark) { PatchU32(mark, static_cast<std::uint32_t>(bytes_.size() - mark - 4)); }

void Bytes::PatchU32(std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes_[offset + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

ByteVector PackBits(const std::uint8_t* row, std::size_t count) {
  ByteVector out;
  std::size_t i = 0;
  while (i < count) {
    std::size_t run = 1;
    while (i + run < count && run < 128 && row[i + run] == row[i]) ++run;
    if (run >= 2) {
      out.push_back(static_cast<std::uint8_t>(1 - static_cast<int>(run)));
      out.push_back(row[i]);
      i += run;
      continue;
    }
    std::size_t end = i;
    while (end < count && end - i < 128 && !(end + 1 < count && row[end] == row[end + 1])) ++end;
    out.push_back(static_cast<std::uint8_t>(end - i - 1));
    out.insert(out.end(), row + i, row + end);
    i = end;
  }
  return out;
}

std::size_t RowBytes(std::uint32_t width, std::uint16_t depth) {
  return (static_cast<std::size_t>(width) * depth + 7) / 8;
}

ByteVector EncodePlane(const ByteVector& rows, std::size_t rowBytes, std::size_t rowCount, Compression compression,
                       bool withWord) {
  ByteVector plain = rows;
  plain.resize(rowBytes * rowCount, 0);
  Bytes out;
  if (withWord) out.U16(static_cast<std::uint16_t>(compression));
  if (compression == Compression::Raw) return out.Append(plain).Take();
  std::vector<ByteVector> packed;
  for (std::size_t r = 0; r < rowCount; ++r) packed.push_back(PackBits(plain.data() + r * rowBytes, rowBytes));
  for (const ByteVector& row : packed) out.U16(static_cast<std::uint16_t>(row.size()));
  for (const ByteVector& row : packed) out.Append(row);
  return out.Take();
}

Resource ResolutionResource(std::int32_t fixed) {
  Bytes data;
  data.I32(fixed).U16(1).U16(1).I32(fixed).U16(1).U16(1);
  return Resource{1005, data.Take(), "", "8BIM"};
}

Resource GuideResource(const std::vector<GuideEntry>& guides, std::optional<std::int32_t> declared) {
  Bytes data;
  data.U32(1).U32(576).U32(576);
  data.I32(declared.value_or(static_cast<std::int32_t>(guides.size())));
  for (const GuideEntry& guide : guides) data.I32(guide.position).U8(guide.direction);
  return Resource{1032, data.Take(), "", "8BIM"};
}

ByteVector HeaderBytes(const Document& document) {
  Bytes out;
  out.Text(document.signature).U16(document.version).Fill(6);
  out.U16(document.channels).U32(document.height).U32(document.width).U16(document.depth).U16(document.mode);
  return out.Take();
}

ByteVector ResourceBlock(const Resource& resource) {
  Bytes out;
  out.Text(resource.signature).U16(resource.id);
  const std::size_t nameStart = out.size();
  out.U8(static_cast<std::uint8_t>(resource.name.size())).Text(resource.name).PadFrom(nameStart, 2);
  out.U32(static_cast<std::uint32_t>(resource.data.size())).Append(resource.data);
  return out.PadFrom(0, 2).Take();
}

std::vector<ByteVector> LayerChannelData(const Layer& layer, std::uint16_t depth) {
  std::vector<ByteVector> data;
  for (const Channel& channel : layer.channels) {
    if (channel.stored) {
      data.push_back(*channel.stored);
      continue;
    }
    std::int64_t width = std::int64_t{layer.right} - layer.left;
    std::int64_t height = std::int64_t{layer.bottom} - layer.top;
    if (channel.id == -2 && layer.mask) {
      width = std::int64_t{layer.mask->right} - layer.mask->left;
      height = std::int64_t{layer.mask->bottom} - layer.mask->top;
    }
    width = std::max<std::int64_t>(width, 0);
    height = std::max<std::int64_t>(height, 0);
    const std::size_t rowBytes = RowBytes(static_cast<std::uint32_t>(width), depth);
    data.push_back(EncodePlane(channel.rows, rowBytes, static_cast<std::size_t>(height), channel.compression, true));
  }
  return data;
}

namespace {

ByteVector ExtraData(const Layer& layer) {
  if (layer.extra) return *layer.extra;
  Bytes out;
  if (layer.mask) {
    const Mask& mask = *layer.mask;
    const std::size_t mark = out.BeginLength();
    out.I32(mask.top).I32(mask.left).I32(mask.bottom).I32(mask.right).U8(mask.defaultColor).U8(mask.flags);
    out.Fill(mask.length > 18 ? mask.length - 18 : 0);
    out.EndLength(mark);
  } else {
    out.U32(0);
  }
  out.U32(static_cast<std::uint32_t>(4 * layer.blendRanges.size()));
  for (const auto& range : layer.blendRanges) out.Append(ByteVector(range.begin(), range.end()));
  const std::size_t nameStart = out.size();
  out.U8(static_cast<std::uint8_t>(layer.name.size())).Text(layer.name).PadFrom(nameStart, 4);
  return out.Take();
}

}  // namespace

ByteVector LayerRecordBytes(const Layer& layer, const std::vector<ByteVector>& channelData) {
  Bytes out;
  out.I32(layer.top).I32(layer.left).I32(layer.bottom).I32(layer.right);
  out.U16(static_cast<std::uint16_t>(layer.channels.size()));
  for (std::size_t i = 0; i < layer.channels.size(); ++i) {
    const Channel& channel = layer.channels[i];
    const auto stored = static_cast<std::uint32_t>(i < channelData.size() ? channelData[i].size() : 0);
    out.I16(channel.id).U32(channel.recordedLength.value_or(stored));
  }
  out.Text(layer.blendSignature).Text(layer.blendMode);
  out.U8(layer.opacity).U8(layer.clipping).U8(layer.flags).U8(0);
  const ByteVector extra = ExtraData(layer);
  out.U32(static_cast<std::uint32_t>(extra.size())).Append(extra);
  return out.Take();
}

ByteVector LayerSectionBytes(const Document& document) {
  if (document.layerSection) return *document.layerSection;
  if (document.layers.empty()) return {};
  Bytes out;
  const std::size_t info = out.BeginLength();
  const auto count = static_cast<std::int16_t>(document.layers.size());
  out.I16(document.negativeLayerCount ? static_cast<std::int16_t>(-count) : count);
  std::vector<std::vector<ByteVector>> data;
  for (const Layer& layer : document.layers) {
    data.push_back(LayerChannelData(layer, document.depth));
    out.Append(LayerRecordBytes(layer, data.back()));
  }
  for (const auto& channels : data) {
    for (const ByteVector& channel : channels) out.Append(channel);
  }
  out.PadFrom(info + 4, 2);
  out.EndLength(info);
  out.U32(0);  // global layer mask info
  return out.Take();
}

ByteVector MergedImageBytes(const Document& document) {
  const std::size_t rowBytes = RowBytes(document.width, document.depth);
  Bytes out;
  out.U16(static_cast<std::uint16_t>(document.mergedCompression));
  std::vector<ByteVector> planes;
  for (std::size_t c = 0; c < document.channels; ++c) {
    const ByteVector empty;
    const ByteVector& rows = c < document.merged.size() ? document.merged[c] : empty;
    planes.push_back(EncodePlane(rows, rowBytes, document.height, document.mergedCompression, false));
  }
  if (document.mergedCompression == Compression::Raw) {
    for (const ByteVector& plane : planes) out.Append(plane);
    return out.Take();
  }
  // All byte-count tables first, then all packed rows.
  const std::size_t tableBytes = 2 * static_cast<std::size_t>(document.height);
  for (const ByteVector& plane : planes) out.Append(ByteVector(plane.begin(), plane.begin() + tableBytes));
  for (const ByteVector& plane : planes) out.Append(ByteVector(plane.begin() + tableBytes, plane.end()));
  return out.Take();
}

ByteVector Build(const Document& document) {
  Bytes out;
  out.Append(HeaderBytes(document));
  out.U32(static_cast<std::uint32_t>(document.colorModeData.size())).Append(document.colorModeData);

  const std::size_t resources = out.BeginLength();
  if (document.resourceSection) {
    out.Append(*document.resourceSection);
  } else {
    for (const Resource& resource : document.resources) out.Append(ResourceBlock(resource));
  }
  out.EndLength(resources);

  const ByteVector layerSection = LayerSectionBytes(document);
  out.U32(static_cast<std::uint32_t>(layerSection.size())).Append(layerSection);
  out.Append(MergedImageBytes(document));
  return out.Take();
}

}  // namespace psdbuild
