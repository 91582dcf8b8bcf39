// The reader's operations apart from the import itself: the receptor it
// delivers to, the import source, the document's options and layers, the
// layer choice and the file check.
#include "cps30_reader.h"
#include "reader_utilities.h"

namespace strataread {
namespace {

// Another operation holds the document stream: this one would read or
// change what that one is working on.
bool StreamInUse() { return DocumentStream != nullptr; }

}  // namespace

KivResult KIV_CALL CPS30Agent_IKivReader::CountReceptors(std::int32_t* count) {
  if (count == nullptr) return kKivResult_BadArgument;
  *count = 1;
  return kKivResult_OK;
}

KivResult KIV_CALL CPS30Agent_IKivReader::GetReceptorId(std::int32_t index, KivGuid* id) {
  if (index != 0 || id == nullptr) return kKivResult_BadArgument;
  *id = IID_IKivImageReceptor;
  return kKivResult_OK;
}

KivResult KIV_CALL CPS30Agent_IKivReader::SetSource(IKivUnknown* newSource) {
  if (StreamInUse()) return kKivResult_StillInUse;
  // A new source forgets the layer choice, in the document too, so that an
  // index chosen in another document never shapes this one's description.
  ReleaseCounted(selector);
  document.currentLayer = -1;
  ReplaceCounted(source, newSource);
  const KivResult result = AttachAndParse();
  CloseDocumentStream();
  return result;
}

KivResult CPS30Agent_IKivReader::AttachAndParse() {
  if (handleMemory == nullptr) {
    IKivHostServices* const services = owner->services;
    void* handles = nullptr;
    KivResult result = services != nullptr ? services->QueryInterface(&IID_IKivHandleMemory, &handles)
                                           : kKivResult_OutOfMemory;
    if (result == kKivResult_OK && handles == nullptr) result = kKivResult_NoSuchInterface;
    if (result != kKivResult_OK) {
      handleMemoryFailure = result;
      return result;
    }
    handleMemory = static_cast<IKivHandleMemory*>(handles);
  }
  document.AttachServices(handleMemory, owner->allocator, owner->services);
  const KivResult result = OpenDocumentStream();
  if (result != kKivResult_OK) return result;
  return document.ParseDocument(&imageInfo, &layoutOfferCount, layoutOffers);
}

KivResult KIV_CALL CPS30Agent_IKivReader::SetOptions(void* argument) {
  (void)argument;
  return kKivResult_OK;
}

KivResult KIV_CALL CPS30Agent_IKivReader::GetOptions(IKivPropertyList** list) { return GetDefaultOptions(list); }

KivResult KIV_CALL CPS30Agent_IKivReader::GetDefaultOptions(IKivPropertyList** list) {
  if (list == nullptr) return kKivResult_BadArgument;
  // Whatever the host left in the out list is not ours to release.
  *list = nullptr;
  if (StreamInUse()) return kKivResult_StillInUse;
  IKivPropertyListMaker* maker = nullptr;
  KivResult result = CreateUtility(owner, IID_IKivPropertyListMaker, &maker);
  if (result != kKivResult_OK) return result;
  IKivPropertyList* made = nullptr;
  result = maker->NewPropertyList(&made);
  if (result == kKivResult_OK && made != nullptr) {
    // The guides are options the host may ignore: a Put it refuses does not
    // spoil the list.
    document.PutGuideOptions(made);
    *list = made;
  } else if (made != nullptr) {
    made->Release();
  }
  maker->Release();
  return result;
}

KivResult KIV_CALL CPS30Agent_IKivReader::QueryExtra(void* argument, void** value) {
  (void)argument;
  if (value != nullptr) *value = nullptr;
  return kKivResult_BadArgument;
}

KivResult KIV_CALL CPS30Agent_IKivReader::CheckFile(const void* fileReference, void* argument) {
  (void)argument;
  if (StreamInUse()) return kKivResult_StillInUse;
  IKivStreamMaker* maker = nullptr;
  KivResult result = CreateUtility(owner, IID_IKivStreamMaker, &maker);
  if (result == kKivResult_OK) {
    result = maker->MakeFileStream(fileReference, &DocumentStream);
    if (result == kKivResult_OK && DocumentStream == nullptr) result = kKivResult_OutOfMemory;
    maker->Release();
  }
  if (result == kKivResult_OK) result = DocumentStream->Open(0, 1);
  if (result == kKivResult_OK) result = document.CheckHeader();
  CloseDocumentStream();
  return result;
}

KivResult KIV_CALL CPS30Agent_IKivReader::CountSelectors(std::int32_t* count) {
  if (count == nullptr) return kKivResult_BadArgument;
  if (StreamInUse()) return kKivResult_StillInUse;
  *count = document.layerCount;
  return kKivResult_OK;
}

KivResult KIV_CALL CPS30Agent_IKivReader::GetSelectorInfo(std::int32_t index, void* argument,
                                                          IKivPropertyList** list) {
  (void)argument;
  if (list == nullptr) return kKivResult_BadArgument;
  if (StreamInUse()) return kKivResult_StillInUse;
  return document.GetLayerOptions(index, list);
}

KivResult KIV_CALL CPS30Agent_IKivReader::SetSelector(IKivPropertyList* list) {
  if (StreamInUse()) return kKivResult_StillInUse;
  ReplaceCounted(selector, list);
  return document.SelectImage(selector, &imageInfo, &layoutOfferCount, layoutOffers);
}

}  // namespace strataread
