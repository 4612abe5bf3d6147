// The run-list grid StringGrid1 as a window of its own. Its cells, row
// count, column widths, current row, block and scroll position live in the
// form's GridModel; this window observes it and draws it, hands the model
// the user's keys, clicks, wheel steps and column-border drags, and keeps
// the scroll bars in step. It has no cell editor. To assistive technology
// it is a table of its own (GridAccessibility).
#pragma once

#include "platform/windows/win32_api.h"

#include "platform/win32/base_window.h"
#include "platform/win32/grid_accessibility.h"
#include "platform/win32/grid_geometry.h"
#include "window/grid_model.h"
#include "window/grid_mouse.h"

namespace pellox::win32 {

class GridControl : public BaseWindow<GridControl>, private GridObserver {
 public:
  static constexpr const char* kClassName = "PelloxStringGrid";

  // Observes `model` until destroyed; the model must outlive it.
  explicit GridControl(GridModel& model);
  ~GridControl() override;
  GridControl(const GridControl&) = delete;
  GridControl& operator=(const GridControl&) = delete;

  // Creates the window as a child of `parent` at the given client rectangle.
  HWND Create(HWND parent, int id, const RECT& bounds, HINSTANCE instance);

  GridModel& Model() { return model_; }
  const GridModel& Model() const { return model_; }
  int ColumnWidth(int column) const { return geometry_.ColumnWidth(column); }
  // Where the cells lie in the client area.
  const GridGeometry& Geometry() const { return geometry_; }

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  enum class Drag { None, Select, ColumnWidth };

  // A changed cell is only marked for repainting when in view, and the
  // painting itself waits for WM_PAINT, so many changes stay cheap.
  void GridChanged(GridChange change, int index) override;
  void ShowChange(GridChange change, int index);
  void OnPaint();
  void OnSize();
  void OnKeyDown(WPARAM key);
  void OnMouseWheel(int delta);
  void OnLButtonDown(int x, int y, bool shift);
  void OnMouseMove(int x, int y);
  void OnLButtonUp(int x);
  void OnTimer();
  void OnVScroll(int request);
  void OnHScroll(int request);
  bool OnSetCursor();

  // After the model changed: scroll bars and picture follow.
  void SyncView();
  void UpdateScrollBars();
  void ScrollRowsTo(int topRow);
  void ExtendTo(int y);
  void InvertDragLine();
  void EndDrag();
  bool RowInView(int row) const;

  GridModel& model_;
  GridGeometry geometry_;
  HFONT font_ = nullptr;
  Drag drag_ = Drag::None;
  int dragColumn_ = -1;
  int dragX_ = 0;
  int dragY_ = 0;
  WheelSteps wheelSteps_;
  bool updatingScrollBars_ = false;
  GridAccessibility accessibility_{*this};
};

}  // namespace pellox::win32
