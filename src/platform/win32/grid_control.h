// The run-list grid StringGrid1 as a window of its own. Its cells, row
// count, current row, block and scroll position live in the core's
// GridModel; this window draws them, hands the model the user's keys,
// clicks and wheel steps, and keeps the scroll bars in step. It has no cell
// editor; column widths change by dragging a border in the header row.
#pragma once

#include "platform/win32/win32_api.h"

#include "platform/win32/base_window.h"
#include "platform/win32/grid_geometry.h"
#include "window/grid_model.h"
#include "window/grid_mouse.h"

namespace pellox::win32 {

class GridControl : public BaseWindow<GridControl> {
 public:
  static constexpr const char* kClassName = "PelloxStringGrid";

  GridControl();

  // Creates the window as a child of `parent` at the given client rectangle.
  HWND Create(HWND parent, int id, const RECT& bounds, HINSTANCE instance);

  GridModel& Model() { return model_; }
  const GridModel& Model() const { return model_; }
  int ColumnWidth(int column) const { return geometry_.ColumnWidth(column); }

  // Store a cell; only a cell in view is marked for repainting, and the
  // painting itself waits for WM_PAINT, so loading a long list stays fast.
  void SetCellText(int column, int row, std::string_view text);
  void SetRowCount(int rows);
  void SetColumnWidth(int column, int width);

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  enum class Drag { None, Select, ColumnWidth };

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

  GridModel model_;
  GridGeometry geometry_;
  HFONT font_ = nullptr;
  Drag drag_ = Drag::None;
  int dragColumn_ = -1;
  int dragX_ = 0;
  int dragY_ = 0;
  WheelSteps wheelSteps_;
  bool updatingScrollBars_ = false;
};

}  // namespace pellox::win32
