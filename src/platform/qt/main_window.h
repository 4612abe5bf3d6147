// Form1 on screen: the fixed-size main window with its File menu and the
// controls of the layout table, each placed at its stored pixel geometry in
// the client area under the menu bar and named for assistive technology
// as the layout table names it. It only turns clicks into FormEvents and
// closing into a quit request; what they do is the core's.
#pragma once

#include <QMainWindow>
#include <array>
#include <functional>
#include <vector>

#include "platform/message_pump.h"
#include "window/events.h"
#include "window/grid_model.h"
#include "window/layout.h"

class QAction;
class QComboBox;
class QLineEdit;
class QMenu;

namespace pellox {

class GridView;
class StatusBar;

class MainWindow : public QMainWindow {
 public:
  // The grid control shows `grid` (the form's StringGrid1), which must
  // outlive the window.
  MainWindow(MessagePump& pump, GridModel& grid);

  // Where clicks and menu choices go (TForm1::Dispatch).
  void SetEventHandler(std::function<void(FormEvent)> handler);

  QWidget* Control(layout::ControlId id) const;
  QWidget* ClientArea() const { return centralWidget(); }
  QLineEdit* Edit(layout::ControlId id) const;
  QComboBox* ComboBox() const;
  GridView* Grid() const;
  StatusBar* Status() const;
  QMenu* FileMenu() const { return fileMenu_; }
  // The File menu's items in the order of the layout (the separator too).
  const std::vector<QAction*>& FileMenuItems() const { return fileMenuItems_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildClientArea();
  QWidget* BuildControl(const layout::Control& control, QWidget* parent);
  QWidget* BuildButton(const layout::Control& control, QWidget* parent);
  void NameForAssistiveTechnology(const layout::Control& control, QWidget* widget);
  void BuildMenu();
  void SetTabOrder();
  void FixSize();
  void Dispatch(FormEvent event);

  MessagePump& pump_;
  GridModel& grid_;
  std::function<void(FormEvent)> handler_;
  std::array<QWidget*, layout::kControls.size()> controls_{};
  QMenu* fileMenu_ = nullptr;
  std::vector<QAction*> fileMenuItems_;
};

}  // namespace pellox
