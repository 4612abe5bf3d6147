#include "platform/qt/status_bar.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QLabel>
#include <mutex>

#include "platform/qt/byte_text.h"
#include "window/layout.h"

namespace pellox {

static_assert(layout::kStatusPanelWidths.size() == StatusBar::kPanels);

namespace {

// The system font with every property marked as set, so that it is not
// merged with the window's font that the parent passes down.
QFont SystemFont() {
  QFont font = QApplication::font();
  font.setResolveMask(QFont::AllPropertiesResolved);
  return font;
}

// Assistive technology sees the bar as a status bar (where a screen reader's
// "read the status bar" command looks), its panels as labels named by
// their texts.
QAccessibleInterface* StatusBarAccessible(const QString&, QObject* object) {
  auto* bar = dynamic_cast<StatusBar*>(object);
  return bar ? new QAccessibleWidget(bar, QAccessible::StatusBar) : nullptr;
}

}  // namespace

StatusBar::StatusBar(QWidget* parent) : QWidget(parent) {
  static std::once_flag factory;
  std::call_once(factory, [] { QAccessible::installFactory(&StatusBarAccessible); });
  setFont(SystemFont());
  for (QLabel*& panel : panels_) {
    panel = new QLabel(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    panel->setTextFormat(Qt::PlainText);
  }
  PlacePanels();
}

void StatusBar::SetPanelText(int panel, std::string_view text) {
  Panel(panel)->setText(ToQString(text));
}

void StatusBar::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PlacePanels();
}

void StatusBar::PlacePanels() {
  const auto edges = layout::StatusPanelEdges(width());
  for (size_t i = 0; i < edges.size(); ++i) {
    panels_[i]->setGeometry(edges[i].Left, 0, std::max(0, edges[i].Right - edges[i].Left),
                            height());
  }
}

}  // namespace pellox
