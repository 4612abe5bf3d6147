#include "platform/win32/grid_control.h"

#include <windowsx.h>

#include <algorithm>
#include <optional>

#include "platform/win32/gdi_object.h"
#include "platform/win32/grid_painter.h"

namespace pellox::win32 {

namespace {

constexpr UINT_PTR kDragScrollTimer = 1;

bool KeyHeld(int key) { return GetKeyState(key) < 0; }

std::optional<GridKey> GridKeyOf(WPARAM key) {
  switch (key) {
    case VK_UP:
      return GridKey::Up;
    case VK_DOWN:
      return GridKey::Down;
    case VK_LEFT:
      return GridKey::Left;
    case VK_RIGHT:
      return GridKey::Right;
    case VK_PRIOR:
      return GridKey::PageUp;
    case VK_NEXT:
      return GridKey::PageDown;
    case VK_HOME:
      return GridKey::Home;
    case VK_END:
      return GridKey::End;
    default:
      return std::nullopt;
  }
}

}  // namespace

GridControl::GridControl(GridModel& model) : model_(model) {
  for (int column = 0; column < model_.Columns(); ++column) {
    geometry_.SetColumnWidth(column, model_.ColWidth(column));
  }
  model_.SetObserver(this);
}

GridControl::~GridControl() {
  model_.SetObserver(nullptr);
  accessibility_.Disconnect();
}

HWND GridControl::Create(HWND parent, int id, const RECT& bounds, HINSTANCE instance) {
  if (!Register(instance, 0, nullptr, LoadCursor(nullptr, IDC_ARROW))) return nullptr;
  return CreateAs(WS_EX_CLIENTEDGE, "",
                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL, bounds.left,
                  bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                  IntegerAs<HMENU>(static_cast<INT_PTR>(id)), instance);
}

void GridControl::GridChanged(GridChange change, int index) {
  if (change == GridChange::ColumnWidth) {
    geometry_.SetColumnWidth(index, model_.ColWidth(index));
  } else if (change == GridChange::All) {
    for (int column = 0; column < model_.Columns(); ++column) {
      geometry_.SetColumnWidth(column, model_.ColWidth(column));
    }
  }
  if (!Window()) return;
  ShowChange(change, index);
  accessibility_.GridChanged(change, index);
}

void GridControl::ShowChange(GridChange change, int index) {
  switch (change) {
    case GridChange::Cell:
      if (RowInView(index)) InvalidateRect(Window(), nullptr, FALSE);
      return;
    case GridChange::ColumnWidth:
    case GridChange::All:
    case GridChange::Rows:
      return SyncView();
    case GridChange::Selection:
      // While the scroll bars are being set up, they are brought in step
      // when that is done.
      if (!updatingScrollBars_) UpdateScrollBars();
      InvalidateRect(Window(), nullptr, FALSE);
      return;
  }
}

bool GridControl::RowInView(int row) const {
  if (row < layout::kGridFixedRows) return true;
  return row >= model_.TopRow() && row <= model_.TopRow() + model_.VisibleRows();
}

LRESULT GridControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers every pixel
    case WM_SIZE:
      OnSize();
      return 0;
    case WM_SETFONT:
      font_ = IntegerAs<HFONT>(wParam);
      if (LOWORD(lParam)) InvalidateRect(Window(), nullptr, FALSE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_GETDLGCODE:
      // Arrows and typed characters stay here (typing does nothing); Tab
      // moves on to the next control.
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
      InvalidateRect(Window(), nullptr, FALSE);
      accessibility_.FocusReceived();
      return 0;
    case WM_KILLFOCUS:
      InvalidateRect(Window(), nullptr, FALSE);
      return 0;
    case WM_GETOBJECT:
      if (const std::optional<LRESULT> object = accessibility_.OnGetObject(wParam, lParam)) {
        return *object;
      }
      break;
    case WM_DESTROY:
      accessibility_.Disconnect();
      break;
    case WM_KEYDOWN:
      OnKeyDown(wParam);
      return 0;
    case WM_MOUSEWHEEL:
      OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam));
      return 0;
    case WM_LBUTTONDOWN:
      OnLButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), (wParam & MK_SHIFT) != 0);
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_LBUTTONUP:
      OnLButtonUp(GET_X_LPARAM(lParam));
      return 0;
    case WM_CAPTURECHANGED:
      if (IntegerAs<HWND>(lParam) != Window()) EndDrag();
      return 0;
    case WM_TIMER:
      if (wParam == kDragScrollTimer) OnTimer();
      return 0;
    case WM_VSCROLL:
      OnVScroll(LOWORD(wParam));
      return 0;
    case WM_HSCROLL:
      OnHScroll(LOWORD(wParam));
      return 0;
    case WM_SETCURSOR:
      if (OnSetCursor()) return TRUE;
      break;
  }
  return DefWindowProcA(Window(), message, wParam, lParam);
}

void GridControl::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Window(), &ps);
  // Drawn off screen first, so a repaint does not flicker.
  const int width = std::max(1, geometry_.ClientWidth());
  const int height = std::max(1, geometry_.ClientHeight());
  {
    MemoryDc memory(dc);
    GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(dc, width, height));
    ScopedSelection selection(memory.Get(), bitmap.Get());
    GridPainter(model_, geometry_).Paint(memory.Get(), font_, GetFocus() == Window());
    BitBlt(dc, 0, 0, width, height, memory.Get(), 0, 0, SRCCOPY);
  }
  EndPaint(Window(), &ps);
}

void GridControl::OnSize() {
  RECT client;
  GetClientRect(Window(), &client);
  geometry_.SetClientSize(client.right, client.bottom);
  // Telling the model brings the current row into view, so only when the
  // number actually changed; a scroll that left the current row is kept.
  if (geometry_.FullyVisibleRows() != model_.VisibleRows()) {
    model_.SetVisibleRows(geometry_.FullyVisibleRows());
  }
  if (!updatingScrollBars_) UpdateScrollBars();
  InvalidateRect(Window(), nullptr, FALSE);
}

void GridControl::SyncView() {
  UpdateScrollBars();
  InvalidateRect(Window(), nullptr, FALSE);
}

void GridControl::UpdateScrollBars() {
  if (!Window()) return;
  // Showing or hiding one bar changes the client area and so what the
  // other has to cover; a few rounds settle it.
  updatingScrollBars_ = true;
  for (int round = 0; round < 3; ++round) {
    const int oldWidth = geometry_.ClientWidth();
    const int oldHeight = geometry_.ClientHeight();
    SCROLLINFO rows{sizeof rows,
                    SIF_RANGE | SIF_PAGE | SIF_POS,
                    layout::kGridFixedRows,
                    model_.RowCount() - 1,
                    static_cast<UINT>(model_.VisibleRows()),
                    model_.TopRow(),
                    0};
    SetScrollInfo(Window(), SB_VERT, &rows, TRUE);
    SCROLLINFO columns{sizeof columns,
                       SIF_RANGE | SIF_PAGE | SIF_POS,
                       0,
                       geometry_.TotalWidth() - 1,
                       static_cast<UINT>(geometry_.ClientWidth()),
                       geometry_.LeftOffset(),
                       0};
    SetScrollInfo(Window(), SB_HORZ, &columns, TRUE);
    OnSize();
    if (oldWidth == geometry_.ClientWidth() && oldHeight == geometry_.ClientHeight()) break;
  }
  updatingScrollBars_ = false;
}

void GridControl::OnKeyDown(WPARAM key) {
  const std::optional<GridKey> gridKey = GridKeyOf(key);
  if (!gridKey) return;
  model_.Key(*gridKey, KeyHeld(VK_SHIFT), KeyHeld(VK_CONTROL));
  SyncView();
}

void GridControl::OnMouseWheel(int delta) {
  const int steps = wheelSteps_.Take(delta);
  if (steps == 0) return;
  model_.Wheel(steps);
  SyncView();
}

void GridControl::OnLButtonDown(int x, int y, bool shift) {
  SetFocus(Window());
  const int row = geometry_.RowAt(y, model_.TopRow());
  if (row < layout::kGridFixedRows) {
    dragColumn_ = geometry_.BorderAt(x);
    if (dragColumn_ < 0) return;  // a header click changes nothing
    drag_ = Drag::ColumnWidth;
    dragX_ = x;
    SetCapture(Window());
    InvertDragLine();
    return;
  }
  if (row >= model_.RowCount()) return;
  model_.Click(row, shift);
  drag_ = Drag::Select;
  SetCapture(Window());
  SyncView();
}

void GridControl::OnMouseMove(int x, int y) {
  switch (drag_) {
    case Drag::None:
      return;
    case Drag::ColumnWidth:
      InvertDragLine();
      dragX_ = x;
      InvertDragLine();
      return;
    case Drag::Select:
      dragY_ = y;
      if (y < geometry_.DataTop() || y >= geometry_.ClientHeight()) {
        SetTimer(Window(), kDragScrollTimer, static_cast<UINT>(kDragScrollIntervalMs), nullptr);
        return;
      }
      KillTimer(Window(), kDragScrollTimer);
      ExtendTo(y);
      return;
  }
}

void GridControl::ExtendTo(int y) {
  const int row = std::clamp(geometry_.RowAt(y, model_.TopRow()), layout::kGridFixedRows,
                             model_.RowCount() - 1);
  model_.Click(row, true);
  SyncView();
}

void GridControl::OnTimer() {
  DragScrollStep(model_, dragY_ < geometry_.DataTop());
  SyncView();
}

void GridControl::OnLButtonUp(int x) {
  if (drag_ == Drag::ColumnWidth) {
    InvertDragLine();
    const int width = x - geometry_.ColumnLeft(dragColumn_);
    drag_ = Drag::None;
    ReleaseCapture();
    DropColumnBorder(model_, dragColumn_, width);
    return;
  }
  EndDrag();
}

void GridControl::EndDrag() {
  if (drag_ == Drag::ColumnWidth) InvertDragLine();
  drag_ = Drag::None;
  KillTimer(Window(), kDragScrollTimer);
  if (GetCapture() == Window()) ReleaseCapture();
}

void GridControl::InvertDragLine() {
  // A dotted line drawn with XOR, so drawing it again removes it.
  static const WORD kDots[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  WindowDc dc(Window());
  GdiObject<HBITMAP> pattern(CreateBitmap(8, 8, 1, 1, kDots));
  GdiObject<HBRUSH> brush(CreatePatternBrush(pattern.Get()));
  ScopedSelection selection(dc.Get(), brush.Get());
  PatBlt(dc.Get(), dragX_, 0, 1, geometry_.ClientHeight(), PATINVERT);
}

void GridControl::OnVScroll(int request) {
  const int top = model_.TopRow();
  const int page = model_.VisibleRows();
  switch (request) {
    case SB_LINEUP:
      return ScrollRowsTo(top - 1);
    case SB_LINEDOWN:
      return ScrollRowsTo(top + 1);
    case SB_PAGEUP:
      return ScrollRowsTo(top - page);
    case SB_PAGEDOWN:
      return ScrollRowsTo(top + page);
    case SB_TOP:
      return ScrollRowsTo(layout::kGridFixedRows);
    case SB_BOTTOM:
      return ScrollRowsTo(model_.RowCount());
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
      GetScrollInfo(Window(), SB_VERT, &info);
      return ScrollRowsTo(info.nTrackPos);
    }
  }
}

void GridControl::ScrollRowsTo(int topRow) {
  model_.ScrollTo(topRow);
  SyncView();
}

void GridControl::OnHScroll(int request) {
  constexpr int kLine = 8;
  int offset = geometry_.LeftOffset();
  switch (request) {
    case SB_LINELEFT:
      offset -= kLine;
      break;
    case SB_LINERIGHT:
      offset += kLine;
      break;
    case SB_PAGELEFT:
      offset -= geometry_.ClientWidth();
      break;
    case SB_PAGERIGHT:
      offset += geometry_.ClientWidth();
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
      GetScrollInfo(Window(), SB_HORZ, &info);
      offset = info.nTrackPos;
      break;
    }
  }
  geometry_.SetLeftOffset(offset);
  SyncView();
}

bool GridControl::OnSetCursor() {
  POINT point;
  GetCursorPos(&point);
  ScreenToClient(Window(), &point);
  const bool onBorder =
      drag_ == Drag::ColumnWidth || (point.y < layout::kGridFixedRows * GridGeometry::kRowPitch &&
                                     geometry_.BorderAt(point.x) >= 0);
  if (!onBorder) return false;
  SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
  return true;
}

}  // namespace pellox::win32
