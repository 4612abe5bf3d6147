// The application object: the title, the terminating mark and the message
// loop, over the platform's message pump. System-independent code only.
#pragma once

#include <memory>
#include <string>

#include "platform/platform.h"
#include "printers/printer.h"

namespace pellox {

class TApplication {
 public:
  explicit TApplication(Platform& platform) : platform_(platform) {}

  void SetTitle(std::string title) { title_ = std::move(title); }
  // The caption of every error box.
  const std::string& Title() const { return title_; }

  // Handles every pending message; a quit request among them marks the
  // application as terminating and nothing more.
  void ProcessMessages();
  bool Terminated() const { return terminated_; }

  // The main message loop: blocks for messages and handles them until the
  // application is terminating. The window must be visible before.
  void Run();

  // The process's one printer layer, created on the first call.
  TPrinter& SharedPrinter();

 private:
  Platform& platform_;
  std::string title_;
  bool terminated_ = false;
  std::unique_ptr<TPrinter> printer_;
};

}  // namespace pellox
