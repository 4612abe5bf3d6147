// The Linux program as it is assembled at start-up — the Qt window on the
// real Linux layer — against a private CUPS scheduler and real files.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "cups_fixture.h"
#include "platform/qt/linux_program.h"
#include "temp_folder.h"
#include "window/layout.h"

namespace pellox::testing {
namespace {

using Texts = std::vector<std::string>;

// The program as its entry builds it, with no arguments, without the loop.
class Program {
 public:
  LinuxProgram& operator*() { return program_; }
  LinuxProgram* operator->() { return &program_; }

  Texts PrinterChoice() {
    Texts items;
    QComboBox* combo = program_.Window().ComboBox();
    for (int i = 0; i < combo->count(); ++i) items.push_back(combo->itemText(i).toStdString());
    return items;
  }

 private:
  char name_[7] = "pellox";
  char* argv_[2] = {name_, nullptr};
  LinuxProgram program_{1, argv_, CurrentEnvironment(), PELLOX_CUPS_HELPER};
};

// Any message box that opens is recorded and closed, so a test never hangs.
class BoxWatch {
 public:
  BoxWatch() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        texts.push_back(box->text().toStdString());
        box->done(QMessageBox::Ok);
      }
    });
    timer_.start(20);
  }
  std::vector<std::string> texts;

 private:
  QTimer timer_;
};

TEST(LinuxWindowTest, ThePrinterChoiceListsTheCupsPrinters) {
  if (CupsTestsDisabled()) GTEST_SKIP() << "PELLOX_NO_CUPS=1";
  PrivateCupsScheduler cups;
  std::string error;
  ASSERT_TRUE(cups.StartWithPrinters({"Alpha", "Beta"}, error)) << error;

  Program program;
  program->Form().Dispatch(FormEvent::FormShow);
  EXPECT_EQ(program.PrinterChoice(), (Texts{"", "Alpha", "Beta"}));
  EXPECT_EQ(program->Window().ComboBox()->currentIndex(), 0);
  cups.RestoreClientEnvironment();
}

TEST(LinuxWindowTest, WithoutASchedulerOnlyTheBlankChoiceAndNoMessage) {
  PrivateCupsScheduler neverStarted;  // its socket does not exist
  neverStarted.UseAsClientEnvironment();
  BoxWatch boxes;
  Program program;
  program->Form().Dispatch(FormEvent::FormShow);
  program->Window().show();
  program->Pump().ProcessPendingMessages();
  EXPECT_EQ(program.PrinterChoice(), Texts{""});
  EXPECT_TRUE(boxes.texts.empty());
  neverStarted.RestoreClientEnvironment();
}

TEST(LinuxWindowTest, SaveAsThroughTheRealDialogAddsTheListExtension) {
  TempFolder folder;
  Program program;
  program->Form().Dispatch(FormEvent::FormShow);
  program->Toolkit().SetText(EditField::Edit1, "3");
  program->Toolkit().SetText(EditField::Edit2, "/bin/true");
  program->Form().Dispatch(FormEvent::Button2Click);

  bool dialogSeen = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    dialogSeen = true;
    dialog->selectFile(QString::fromStdString(folder / "abc"));
    QMetaObject::invokeMethod(dialog, "accept");  // the Save button, checks included
  });
  program->Form().Dispatch(FormEvent::MnuSaveAsClick);
  ASSERT_TRUE(dialogSeen);
  bool ok = false;
  EXPECT_EQ(ReadFile(folder / "abc.lst", &ok), "0\r\n1\r\n3\r\n/bin/true\r\n\r\n");
  EXPECT_TRUE(ok);
  EXPECT_EQ(program->Form().ListFileName, folder / "abc.lst");
  EXPECT_EQ(program->Window().windowTitle().toStdString(), "Pellox | " + folder / "abc.lst");
}

// Started with a list: while the run waits, the taskbar has the stand-in
// and the main window is off the screen; once the run is over, the window
// shows (for a moment, before the program ends) and the stand-in is gone.
TEST(LinuxWindowTest, TheUnattendedRunsStandInGoesWhenTheWindowShows) {
  PrivateCupsScheduler neverStarted;  // no printers, and no scheduler to wait for
  neverStarted.UseAsClientEnvironment();
  TempFolder folder;
  std::string list = folder / "run.lst";
  WriteFile(list, "0\r\n1\r\n1\r\n/bin/true\r\n\r\n");
  char name[] = "pellox";
  char* argv[] = {name, list.data(), nullptr};
  LinuxProgram program(2, argv);
  const QWidget* standInDuringRun = nullptr;
  bool windowShownDuringRun = true;
  QTimer::singleShot(300, [&] {
    standInDuringRun = program.Presence().StandIn();
    windowShownDuringRun = program.Window().isVisible();
  });
  EXPECT_EQ(program.Run(), 0);
  EXPECT_NE(standInDuringRun, nullptr);
  EXPECT_FALSE(windowShownDuringRun);
  EXPECT_EQ(program.Presence().StandIn(), nullptr);
  EXPECT_TRUE(program.Window().isVisible());
  neverStarted.RestoreClientEnvironment();
}

// Pastes `text` through the clipboard into a field with Ctrl+V, as a user does.
void PasteInto(QWidget* field, const QString& text) {
  QGuiApplication::clipboard()->setText(text);
  field->setFocus();
  QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
}

TEST(LinuxWindowTest, PastedLineBreaksNeverReachTheListFile) {
  TempFolder folder;
  const std::string path = folder / "pasted.lst";
  BoxWatch boxes;
  Program program;
  program->Form().Dispatch(FormEvent::FormShow);
  MainWindow& window = program->Window();
  window.show();
  program->Pump().ProcessPendingMessages();
  PasteInto(window.Control(layout::ControlId::Edit1), QStringLiteral("7\n99"));
  PasteInto(window.Control(layout::ControlId::Edit2), QStringLiteral("/bin/echo\nrm -rf ~"));
  PasteInto(window.Control(layout::ControlId::Edit3), QStringLiteral("hello\x1A\r\nworld\r\n"));
  QTest::mouseClick(window.Control(layout::ControlId::Button2), Qt::LeftButton);  // Add
  program->Form().ListFileName = path;
  window.findChild<QAction*>(QStringLiteral("MnuSave"))->trigger();
  bool ok = false;
  EXPECT_EQ(ReadFile(path, &ok), "0\r\n1\r\n7\r\n/bin/echo\r\nhello\r\n");
  EXPECT_TRUE(ok);

  window.findChild<QAction*>(QStringLiteral("MnuNew"))->trigger();
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    dialog->selectFile(QString::fromStdString(path));
    QMetaObject::invokeMethod(dialog, "accept");
  });
  window.findChild<QAction*>(QStringLiteral("MnuOpen"))->trigger();
  EXPECT_EQ(program->Form().EntryCount, 1);
  const GridModel& cells = program->Form().StringGrid1;
  EXPECT_EQ(cells.RowCount(), 2);
  EXPECT_EQ((Texts{std::string(cells.Cell(1, 1)), std::string(cells.Cell(2, 1)),
                   std::string(cells.Cell(3, 1))}),
            (Texts{"7", "/bin/echo", "hello"}));
  EXPECT_TRUE(boxes.texts.empty());
}

// Cells in the bytes of other systems: a list written on a Japanese Windows
// (Shift-JIS) and a Linux file name in Latin-1. None of them is UTF-8.
struct ForeignCell {
  const char* Label;
  std::string ExeName;
  std::string Parameter;
};

void PrintTo(const ForeignCell& cell, std::ostream* out) { *out << cell.Label; }

class LinuxWindowBytesTest : public ::testing::TestWithParam<ForeignCell> {};

TEST_P(LinuxWindowBytesTest, PickAddAndSaveKeepEveryByte) {
  TempFolder folder;
  const std::string path = folder / "list.lst";
  const std::string entry = "5\r\n" + GetParam().ExeName + "\r\n" + GetParam().Parameter + "\r\n";
  WriteFile(path, "0\r\n1\r\n" + entry);
  Program program;
  program->Form().Dispatch(FormEvent::FormShow);
  program->Window().show();
  ASSERT_TRUE(program->Form().LoadList(path));
  program->Form().ListFileName = path;
  program->Pump().ProcessPendingMessages();

  MainWindow& window = program->Window();
  QTest::mouseClick(window.Control(layout::ControlId::Button6), Qt::LeftButton);  // Pick
  QTest::mouseClick(window.Control(layout::ControlId::Button2), Qt::LeftButton);  // Add
  window.findChild<QAction*>(QStringLiteral("MnuSave"))->trigger();
  bool ok = false;
  EXPECT_EQ(ReadFile(path, &ok), "0\r\n2\r\n" + entry + entry);
  EXPECT_TRUE(ok);
}

INSTANTIATE_TEST_SUITE_P(
    Cells, LinuxWindowBytesTest,
    ::testing::Values(
        ForeignCell{"shift_jis", "C:\\\x83\x76\x83\x8A\x83\x93\x83\x5E.exe", "\x95\x5C \x83\x5C"},
        ForeignCell{"latin1", "/home/caf\xE9/r\xE9sum\xE9.sh", "--na\xEFve \xFF\x80"}),
    [](const ::testing::TestParamInfo<ForeignCell>& test) { return test.param.Label; });

}  // namespace
}  // namespace pellox::testing
