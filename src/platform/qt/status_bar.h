// StatusBar1: three sunken panels across the bottom of the client area, the
// first two with the layout's widths and the last reaching the right end. It
// uses the system's font, not the window's, and has no size grip.
#pragma once

#include <QWidget>
#include <array>
#include <string_view>

class QLabel;

namespace pellox {

class StatusBar : public QWidget {
 public:
  explicit StatusBar(QWidget* parent);

  void SetPanelText(int panel, std::string_view text);
  QLabel* Panel(int panel) const { return panels_.at(static_cast<size_t>(panel)); }
  static constexpr int kPanels = 3;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void PlacePanels();

  std::array<QLabel*, kPanels> panels_{};
};

}  // namespace pellox
