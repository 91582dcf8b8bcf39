// What the host learns about a document through property lists: one list
// per layer, and the guides of the document list.
#include <cstdio>

#include "cps30_document.h"

namespace strataread {
namespace {

static_assert(sizeof(KivRect) == 16, "a rectangle value is four 32-bit numbers");

// Puts values in order until the first Put fails; later Puts are not made.
class ListWriter {
public:
  explicit ListWriter(IKivPropertyList* list) : list_(list) {}

  void Put(std::int32_t type, const void* value, std::uint32_t size, const char* key) {
    if (result_ == kKivResult_OK) result_ = list_->Put(type, value, size, key);
  }
  void PutInt(const char* key, std::int32_t value) { Put(kKivType_Int32, &value, sizeof value, key); }
  void PutFlag(const char* key, std::uint8_t value) { Put(kKivType_Flag, &value, sizeof value, key); }
  void PutRect(const char* key, const KivRect& rect) { Put(kKivType_Rect, &rect, sizeof rect, key); }
  KivResult result() const { return result_; }

private:
  IKivPropertyList* list_;
  KivResult result_ = kKivResult_OK;
};

// The user mask's values; their Puts may fail without spoiling the list.
void PutMaskEntries(IKivPropertyList* list, const LayerRecord& layer) {
  const std::int32_t defaultColor = layer.maskDefaultColor;
  list->Put(kKivType_Rect, &layer.maskBounds, sizeof layer.maskBounds, "kKivSelectorKey_maskBounds");
  list->Put(kKivType_Int32, &defaultColor, sizeof defaultColor, "kKivSelectorKey_maskDefaultColor");
  list->Put(kKivType_Flag, &layer.maskPositionRelative, 1, "kKivSelectorKey_maskPositionRelative");
  list->Put(kKivType_Flag, &layer.maskEnable, 1, "kKivSelectorKey_maskEnable");
  list->Put(kKivType_Flag, &layer.maskInverted, 1, "kKivSelectorKey_maskInverted");
}

}  // namespace

KivResult CPS30Document::GetLayerOptions(std::int32_t index, IKivPropertyList** out) {
  if (layers == nullptr || index < 0 || index >= layerCount) return kKivResult_BadArgument;
  if (services == nullptr) return kKivResult_OutOfMemory;
  IKivPropertyListMaker* maker = nullptr;
  KivResult result = services->CreateInstance(&CLSID_KivHostUtilities, &IID_IKivPropertyListMaker,
                                              reinterpret_cast<void**>(&maker));
  if (result != kKivResult_OK) return result;
  if (maker == nullptr) return kKivResult_OutOfMemory;
  IKivPropertyList* list = nullptr;
  result = maker->NewPropertyList(&list);
  if (result != kKivResult_OK || list == nullptr) {
    if (result == kKivResult_OK) *out = nullptr;
    maker->Release();
    return result;
  }

  const LayerRecord& layer = layers[index];
  const KivRect documentBounds{0, 0, static_cast<std::int32_t>(height), static_cast<std::int32_t>(width)};
  ListWriter writer(list);
  writer.Put(kKivType_Id, &PS30LayerSelectorId, sizeof PS30LayerSelectorId, "SelectorID");
  writer.Put(kKivType_String, layer.layerName, 0, "kKivSelectorKey_layerName");
  writer.PutInt("kKivSelectorKey_layerIndex", index);
  writer.PutRect("kKivSelectorKey_layerBounds", layer.bounds);
  writer.PutRect("kKivSelectorKey_docBounds", documentBounds);
  writer.PutInt("kKivSelectorKey_numChannels", layer.channelCount);
  writer.PutInt("kKivSelectorKey_blendMode", static_cast<std::int32_t>(layer.blendMode));
  writer.PutInt("kKivSelectorKey_opacity", layer.opacity);
  writer.PutFlag("kKivSelectorKey_isClippingBase", layer.isClippingBase);
  writer.PutFlag("kKivSelectorKey_transparencyProtected", layer.transparencyProtected);
  writer.PutFlag("kKivSelectorKey_visible", layer.visible);
  writer.PutFlag("kKivSelectorKey_hasMask", layer.hasMask);
  if (writer.result() == kKivResult_OK && layer.hasMask == 1) PutMaskEntries(list, layer);
  writer.PutInt("kKivSelectorKey_numBlendRanges", layer.numBlendRanges);
  writer.Put(kKivType_Bytes, layer.blendRanges, 4u * layer.numBlendRanges, "kKivSelectorKey_blendRanges");

  result = writer.result();
  if (result == kKivResult_OK) {
    *out = list;
  } else {
    list->Release();
  }
  maker->Release();
  return result;
}

void CPS30Document::PutGuideOptions(IKivPropertyList* list) const {
  list->Put(kKivType_Int32, &guideCount, sizeof guideCount, "kKivOptionsKey_numGuides");
  const std::int32_t count = guideCount < kMaxGuides ? guideCount : kMaxGuides;
  for (std::int32_t i = 0; i < count; ++i) {
    char key[256];
    char text[256];
    std::snprintf(key, sizeof key, "kKivOptionsKey_guideInfo%ld", static_cast<long>(i));
    std::snprintf(text, sizeof text, "%f %ld", guides[i].position / 32.0,
                  static_cast<long>(static_cast<std::int8_t>(guides[i].direction)));
    list->Put(kKivType_String, text, 0, key);
  }
}

}  // namespace strataread
