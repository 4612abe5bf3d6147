#include "window/layout.h"

#include <algorithm>

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

std::vector<const Control*> TabStops() {
  std::vector<const Control*> stops;
  for (const Control& control : kControls) {
    if (control.TabOrder != kNoTabStop) stops.push_back(&control);
  }
  std::sort(stops.begin(), stops.end(),
            [](const Control* a, const Control* b) { return a->TabOrder < b->TabOrder; });
  return stops;
}

std::array<PanelEdges, kStatusPanelWidths.size()> StatusPanelEdges(int barWidth) {
  std::array<PanelEdges, kStatusPanelWidths.size()> edges{};
  int left = 0;
  for (size_t i = 0; i < edges.size(); ++i) {
    const bool last = i + 1 == edges.size();
    const int right = last ? barWidth : left + kStatusPanelWidths[i];
    edges[i] = {left, right};
    left = right;
  }
  return edges;
}

Point DialogPosition(const Rect& area, int width, int height) {
  return {area.Left + (area.Width - width) / 2, area.Top + (area.Height - height) / 3};
}

}  // namespace pellox::layout
