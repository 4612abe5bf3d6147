#include "window/layout.h"

namespace pellox::layout {

namespace {

constexpr bool TableFollowsIds() {
  for (size_t i = 0; i < kControls.size(); ++i) {
    if (static_cast<size_t>(kControls[i].Id) != i) return false;
  }
  return true;
}
static_assert(TableFollowsIds(), "kControls must list the controls in ControlId order");

}  // namespace

const Control& ControlById(ControlId id) { return kControls[static_cast<size_t>(id)]; }

}  // namespace pellox::layout
