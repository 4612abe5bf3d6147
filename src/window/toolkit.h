// The window toolkit operations: the only way the core's handlers read and
// change the controls other than the grid (the form owns the grid's state,
// which the front ends observe). System-independent interface; the front
// ends and the tests' fake implement it.
//
// The controls are the program's own, so no call here fails or raises; the
// arguments each call must be given are said beside it (the fake rejects
// others, to catch the caller's mistake in the core's tests).
#pragma once

#include <string>
#include <string_view>

#include "window/file_dialog.h"

namespace pellox {

enum class EditField { Edit1, Edit2, Edit3 };

class WindowToolkit {
 public:
  virtual ~WindowToolkit() = default;

  // Edit1 to Edit3: the field's whole text, as bytes; SetText replaces it.
  virtual std::string Text(EditField field) const = 0;
  virtual void SetText(EditField field, std::string_view text) = 0;

  // ComboBox1, a drop-down list the user cannot type into. ClearItems
  // leaves it empty with nothing selected; AddItem appends one item.
  virtual void ClearItems() = 0;
  virtual void AddItem(std::string_view text) = 0;
  virtual int ItemCount() const = 0;
  // -1 while no item is selected.
  virtual int ItemIndex() const = 0;
  // Selects item `index`, 0 to ItemCount() - 1.
  virtual void SetItemIndex(int index) = 0;

  // StatusBar1, panels 0 to 2. The screen catches up when messages are
  // processed.
  virtual void SetPanelText(int panel, std::string_view text) = 0;

  // Form1.
  virtual void SetCaption(std::string_view caption) = 0;
  // The platform's handle of the window, passed as owner to launches.
  virtual void* WindowHandle() const = 0;

  // OpenDialog1 and SaveDialog1, each keeping its properties between uses.
  virtual void PrepareDialog(DialogId dialog, const DialogSetup& setup) = 0;
  // Modal; true when the user confirmed a file name.
  virtual bool ShowDialog(DialogId dialog) = 0;
  // After true the chosen full path; after false the name it had before.
  virtual std::string DialogFileName(DialogId dialog) const = 0;

  // The standard error report's box: `text` with the application's title as
  // caption, a stop icon and only an OK button, modal to the window.
  virtual void ShowErrorBox(std::string_view caption, std::string_view text) = 0;
};

}  // namespace pellox
