// The main window Form1: its state (the run list's grid and counter, the
// current list file and the dialogs' folders) and every handler of its
// events. The form owns the grid StringGrid1, which the front ends observe
// and draw; the handlers reach every other control only through
// WindowToolkit and the system only through Platform. System-independent
// code only.
//
// The form declares every handler; each is defined with its subsystem in
// the folders above this one (app/form_show.cpp, runlist/editing_commands.cpp,
// runlist/file_menu.cpp, runlist/list_file.cpp, running/run_sequence.cpp,
// running/default_printer_switch.cpp), File/Exit here. From this folder
// only Dispatch calls up into them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "window/application.h"
#include "window/events.h"
#include "window/grid_model.h"
#include "window/toolkit.h"

namespace pellox {

// A list holds at most this many entries: Add and Insert do nothing at the
// limit, and a list file announcing more does not load.
inline constexpr int32_t kMaxEntries = 1000000;
// Runs nest at most this deep; "Run" beyond that does nothing.
inline constexpr int kMaxRunDepth = 64;
// The empty list shows the heading row and one blank row.
inline constexpr int kEmptyListRowCount = 2;

inline constexpr const char* kListFilter = "FileList Files(*.lst)|*.lst";
inline constexpr const char* kListExt = "lst";
inline constexpr const char* kBrowseFilter = "EXE Files(*.exe)|*.exe|All Files(*.*)|*.*";

class TForm1 {
 public:
  TForm1(TApplication& application, WindowToolkit& ui, Platform& platform);

  // Runs the handler of `event` as the window's message processing does: an
  // error that leaves the handler goes to the standard error report.
  void Dispatch(FormEvent event);

  // The handlers keep the names of their controls; each says what it is.
  void FormShow();        // start-up, and the unattended run of a list named on the command line
  void Button1Click();    // "Browse"
  void Button2Click();    // "Add"
  void Button3Click();    // "Insert"
  void Button4Click();    // "Delete"
  void Button5Click();    // "Edit"
  void Button6Click();    // "Pick"
  void Button7Click();    // "Run"
  void MnuNewClick();     // File, New
  void MnuOpenClick();    // File, Open
  void MnuSaveClick();    // File, Save
  void MnuSaveAsClick();  // File, SaveAs
  void MnuExitClick();    // File, Exit

  // Reads the list file at `path` into the window; false when it cannot be
  // opened, holds no usable list or cannot be read. Lets nothing out.
  bool LoadList(const std::string& path);
  // Writes the printer choice and the run list to `path`, replacing the file
  // only once everything is written; raises EInOutError otherwise, leaving
  // an existing file as it was.
  void SaveList(const std::string& path);

  // Processes window messages until the counter has passed its value at the
  // call plus `ms`, blocking in between; always processes them once.
  void PumpWait(uint32_t ms);
  // Makes the chosen printer the system's default printer (choice > 0).
  void SwitchDefaultPrinter();

  // The window's fields. StringGrid1 is the store of the run list: entry k
  // is row k, and the row count is EntryCount + 1, or kEmptyListRowCount
  // for the empty list.
  GridModel StringGrid1;
  std::string BrowseDir;
  std::string ListDir;
  int32_t EntryCount = 0;
  std::string ListFileName;

 private:
  // Run list operations shared by the commands.
  void EmptyList();
  void SetRow(int row, const std::string& delay, const std::string& exeName,
              const std::string& parameter);
  std::string CellText(int column, int row) const;
  void SetRowFromFields(int row);
  void NormaliseDelay();
  void SetColumnWidths(int firstColumn);
  void FillPrinterChoice();
  void RunUnattended(const std::string& path);
  void Close();
  std::string FolderPartOf(const std::string& path);
  void SetListCaption();
  // Makes `path` the current list file, in the caption too.
  void TakeListFileName(const std::string& path);

  // A run from its start to its end, however it ends (running/).
  class RunScope;
  // What the desktop's progress display shows of one run in progress: the
  // entry in hand (0 before the first) of its entry count.
  struct RunFigure {
    int32_t Entry = 0;
    int32_t Count = 0;
  };

  TApplication& application_;
  WindowToolkit& ui_;
  Platform& platform_;
  // The runs in progress, the innermost last (at most kMaxRunDepth).
  std::vector<RunFigure> runs_;
};

}  // namespace pellox
