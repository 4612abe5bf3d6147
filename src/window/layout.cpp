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

// Created in the table's order, the controls stand in the order that Tab
// follows, and each label right before the control it names, where the
// system's accessibility looks for it.
constexpr bool TabStopsFollowTheTable() {
  int last = kNoTabStop;
  for (const Control& control : kControls) {
    if (control.TabOrder == kNoTabStop) continue;
    if (control.TabOrder <= last) return false;
    last = control.TabOrder;
  }
  return true;
}
static_assert(TabStopsFollowTheTable(), "kControls must list the focusable controls in tab order");

constexpr bool LabelsStandBeforeTheirControls() {
  for (size_t i = 0; i < kControls.size(); ++i) {
    const std::optional<ControlId> label = kControls[i].LabelledBy;
    if (!label) continue;
    if (i == 0 || kControls[i - 1].Id != *label) return false;
    if (kControls[i - 1].Kind != ControlKind::Label) return false;
  }
  return true;
}
static_assert(LabelsStandBeforeTheirControls(),
              "a naming label must stand right before its control");

}  // namespace

const Control& ControlById(ControlId id) { return kControls[static_cast<size_t>(id)]; }

std::string AccessibleName(const Control& control) {
  if (control.LabelledBy) {
    // Labels carry no access letter, so their text is used as shown.
    std::string name = ControlById(*control.LabelledBy).Caption;
    if (name.ends_with(':')) name.pop_back();
    return name;
  }
  switch (control.Kind) {
    case ControlKind::StringGrid:
      return kGridAccessibleName;
    case ControlKind::StatusBar:
      return "";
    case ControlKind::Label:
    case ControlKind::ComboBox:
    case ControlKind::Edit:
    case ControlKind::Button:
      return control.Caption;
  }
  return "";
}

std::string AccessibleDescription(const Control& control) {
  return control.DescribedBy ? ControlById(*control.DescribedBy).Caption : "";
}

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
