#pragma once
// The reader object, through which the host imports one document. It owns
// the document object and the records that describe the image to the host.
//
// An operation that opens the document holds the module-wide DocumentStream
// for its whole run and leaves it null when it returns. Every operation that
// reads or changes a document finds the slot taken only when a host calls
// back into a reader from inside another operation (from BeginImage, say):
// it then answers kKivResult_StillInUse and touches nothing.
#include <cstdint>

#include "cps30_document.h"
#include "kiv/kiv_abi.h"
#include "object_base.h"

namespace strataread {

inline constexpr int kMaxLayoutOffers = 8;
// PutRow numbers rows with a signed 16-bit counter: taller images cannot be
// delivered whole and are refused rather than cut.
inline constexpr std::uint32_t kMaxDeliveredRows = 32767;

// Closes and releases DocumentStream, if any, and clears the slot.
void CloseDocumentStream();

class CPS30Agent_IKivReader final : public PluginObject<CPS30Agent_IKivReader, IKivReader> {
public:
  explicit CPS30Agent_IKivReader(KivOwner* objectOwner) : PluginObject(objectOwner) {}
  // Clears the counted fields. DocumentStream is left alone: a reader may be
  // made while another reader's operation holds it.
  KivResult Construct();

  KivResult KIV_CALL CountReceptors(std::int32_t* count) override;
  KivResult KIV_CALL GetReceptorId(std::int32_t index, KivGuid* id) override;
  KivResult KIV_CALL SetSource(IKivUnknown* newSource) override;
  KivResult KIV_CALL SetOptions(void* argument) override;
  KivResult KIV_CALL GetOptions(IKivPropertyList** list) override;
  KivResult KIV_CALL GetDefaultOptions(IKivPropertyList** list) override;
  KivResult KIV_CALL QueryExtra(void* argument, void** value) override;
  KivResult KIV_CALL CheckFile(const void* fileReference, void* argument) override;
  KivResult KIV_CALL CountSelectors(std::int32_t* count) override;
  KivResult KIV_CALL GetSelectorInfo(std::int32_t index, void* argument, IKivPropertyList** list) override;
  KivResult KIV_CALL SetSelector(IKivPropertyList* list) override;
  KivResult KIV_CALL ReadImage(IKivImageReceptor* receptor, const KivGuid* receptorId) override;

private:
  friend class PluginObject<CPS30Agent_IKivReader, IKivReader>;
  // The tear-down: releases source, handleMemory and selector, then the
  // document object goes. DocumentStream is left alone, like construction.
  ~CPS30Agent_IKivReader();

  // Makes DocumentStream over source and opens it (reader_stream.cpp). A
  // stream that was made stays in the slot, also on failure.
  KivResult OpenDocumentStream();
  // Gets handle memory when there is none yet, attaches the services to the
  // document, opens the stream and parses.
  KivResult AttachAndParse();
  // ReadImage from the opening of the stream to the last receptor call
  // (reader_import.cpp); *image receives the pixel buffer, which the caller
  // frees.
  KivResult Import(IKivImageReceptor* receptor, KivHandle* image);
  // The receptor's part of the import, from BeginImage on.
  KivResult Deliver(IKivImageReceptor* receptor, KivHandle* image);

  IKivUnknown* source = nullptr;               // counted
  CPS30Document document;
  IKivHandleMemory* handleMemory = nullptr;    // counted
  IKivPropertyList* selector = nullptr;        // counted; null: the merged image
  ImageInfo imageInfo = {};
  std::int32_t layoutOffers[kMaxLayoutOffers] = {};
  std::int16_t layoutOfferCount = 0;
  // Why the last SetSource got no handle memory; an import without handle
  // memory answers it (kKivResult_OutOfMemory when none was asked for).
  KivResult handleMemoryFailure = kKivResult_OutOfMemory;
};

KivResult CreateReaderObject(KivOwner* owner, void** object);

}  // namespace strataread
