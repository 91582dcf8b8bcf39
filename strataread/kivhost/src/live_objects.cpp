#include "kivhost/ref.h"

namespace kivhost {
namespace {
std::int64_t liveObjects = 0;
}  // namespace

std::int64_t LiveObjects() { return liveObjects; }

namespace detail {
void CountObject(int delta) { liveObjects += delta; }
}  // namespace detail

}  // namespace kivhost
