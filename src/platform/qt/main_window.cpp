#include "platform/qt/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <algorithm>
#include <climits>
#include <string_view>

#include "platform/qt/byte_text.h"
#include "platform/qt/grid_table_model.h"
#include "platform/qt/grid_view.h"
#include "platform/qt/menu_letter_filter.h"
#include "platform/qt/single_line_validator.h"
#include "platform/qt/status_bar.h"

namespace pellox {

namespace {

// The nearest system font at the window font's character height; Qt's pixel
// size is that height, internal leading excluded.
QFont WindowFont() {
  QFont font = QApplication::font();
  font.setPixelSize(-layout::kWindow.FontHeight);
  return font;
}

QWidget* BuildComboBox(QWidget* parent) {
  auto* combo = new QComboBox(parent);
  combo->setEditable(false);
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->setMaxVisibleItems(layout::kComboDropDownCount);
  // Styles that open a menu-like popup ignore the visible-item limit; the
  // list popup keeps it.
  combo->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
  return combo;
}

QWidget* BuildEdit(const layout::Control& control, QWidget* parent) {
  auto* edit = new QLineEdit(ToQString(control.Caption), parent);
  edit->setMaxLength(INT_MAX);  // the fields have no length limit of their own
  edit->setValidator(new SingleLineValidator(edit));
  return edit;
}

QWidget* BuildLabel(const layout::Control& control, QWidget* parent) {
  auto* label = new QLabel(ToQString(control.Caption), parent);
  label->setTextFormat(Qt::PlainText);
  return label;
}

}  // namespace

MainWindow::MainWindow(MessagePump& pump, GridModel& grid) : pump_(pump), grid_(grid) {
  setObjectName(ToQString(layout::kWindow.Name));
  setWindowTitle(ToQString(layout::kWindow.Caption));
  // System menu, minimize and close; no maximize button.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  BuildMenu();
  BuildClientArea();
  SetTabOrder();
  FixSize();
  move(layout::kWindow.Left, layout::kWindow.Top);
  ComboBox()->setFocus();  // the focus when the window is first activated
}

void MainWindow::SetEventHandler(std::function<void(FormEvent)> handler) {
  handler_ = std::move(handler);
}

void MainWindow::Dispatch(FormEvent event) {
  if (handler_) handler_(event);
}

void MainWindow::BuildClientArea() {
  auto* client = new QWidget(this);
  client->setFixedSize(layout::kWindow.ClientWidth, layout::kWindow.ClientHeight);
  client->setFont(WindowFont());
  setCentralWidget(client);
  for (const layout::Control& control : layout::kControls) {
    QWidget* widget = BuildControl(control, client);
    widget->setObjectName(ToQString(control.Name));
    widget->setGeometry(control.Left, control.Top, control.Width, control.Height);
    controls_[static_cast<size_t>(control.Id)] = widget;
    NameForAssistiveTechnology(control, widget);
  }
}

// Each control that takes the focus is named as its label reads, without
// the colon, and the label is tied to it (the labelled-by relation); the
// labels, which stand before their controls in the table, exist by then.
void MainWindow::NameForAssistiveTechnology(const layout::Control& control, QWidget* widget) {
  if (control.TabOrder != layout::kNoTabStop) {
    widget->setAccessibleName(ToQString(layout::AccessibleName(control)));
  }
  widget->setAccessibleDescription(ToQString(layout::AccessibleDescription(control)));
  if (control.LabelledBy) static_cast<QLabel*>(Control(*control.LabelledBy))->setBuddy(widget);
}

QWidget* MainWindow::BuildControl(const layout::Control& control, QWidget* parent) {
  switch (control.Kind) {
    case layout::ControlKind::Label:
      return BuildLabel(control, parent);
    case layout::ControlKind::ComboBox:
      return BuildComboBox(parent);
    case layout::ControlKind::Edit:
      return BuildEdit(control, parent);
    case layout::ControlKind::Button:
      return BuildButton(control, parent);
    case layout::ControlKind::StringGrid:
      return new GridView(new GridTableModel(grid_, this), parent);
    case layout::ControlKind::StatusBar:
      return new StatusBar(parent);
  }
  return nullptr;
}

QWidget* MainWindow::BuildButton(const layout::Control& control, QWidget* parent) {
  auto* button = new QPushButton(ToQString(control.Caption), parent);
  // Enter in a field clicks nothing.
  button->setAutoDefault(false);
  button->setDefault(false);
  if (control.Click) {
    const FormEvent event = *control.Click;
    connect(button, &QPushButton::clicked, this, [this, event] { Dispatch(event); });
  }
  return button;
}

void MainWindow::BuildMenu() {
  fileMenu_ = menuBar()->addMenu(ToQString(layout::kFileMenu.Caption));
  fileMenu_->setObjectName(ToQString(layout::kFileMenu.Name));
  for (const layout::MenuItem& item : layout::kFileMenuItems) {
    QAction* action = std::string_view(item.Caption) == "-"
                          ? fileMenu_->addSeparator()
                          : fileMenu_->addAction(ToQString(item.Caption));
    action->setObjectName(ToQString(item.Name));
    if (item.Click) {
      const FormEvent event = *item.Click;
      connect(action, &QAction::triggered, this, [this, event] { Dispatch(event); });
    }
    fileMenuItems_.push_back(action);
  }
  new MenuLetterFilter(fileMenu_);
}

void MainWindow::SetTabOrder() {
  for (const layout::Control& control : layout::kControls) {
    if (control.TabOrder == layout::kNoTabStop) Control(control.Id)->setFocusPolicy(Qt::NoFocus);
  }
  const std::vector<const layout::Control*> order = layout::TabStops();
  for (size_t i = 1; i < order.size(); ++i) {
    setTabOrder(Control(order[i - 1]->Id), Control(order[i]->Id));
  }
}

void MainWindow::FixSize() {
  // The outer size follows from the fixed client area and the menu bar.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  adjustSize();
}

QWidget* MainWindow::Control(layout::ControlId id) const {
  return controls_[static_cast<size_t>(id)];
}

QLineEdit* MainWindow::Edit(layout::ControlId id) const {
  return static_cast<QLineEdit*>(Control(id));
}

QComboBox* MainWindow::ComboBox() const {
  return static_cast<QComboBox*>(Control(layout::ControlId::ComboBox1));
}

GridView* MainWindow::Grid() const {
  return static_cast<GridView*>(Control(layout::ControlId::StringGrid1));
}

StatusBar* MainWindow::Status() const {
  return static_cast<StatusBar*>(Control(layout::ControlId::StatusBar1));
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // Closing neither hides nor destroys the window: it asks the program to
  // end, which happens when control is back in the main message loop.
  event->ignore();
  pump_.PostQuit();
}

}  // namespace pellox
