#include "cps30_reader.h"

namespace strataread {

KivResult CPS30Agent_IKivReader::Construct() {
  source = nullptr;
  handleMemory = nullptr;
  selector = nullptr;
  return kKivResult_OK;
}

CPS30Agent_IKivReader::~CPS30Agent_IKivReader() {
  ReleaseCounted(source);
  ReleaseCounted(handleMemory);
  ReleaseCounted(selector);
}

KivResult CreateReaderObject(KivOwner* owner, void** object) {
  return CreatePluginObject<CPS30Agent_IKivReader>(owner, object);
}

}  // namespace strataread
