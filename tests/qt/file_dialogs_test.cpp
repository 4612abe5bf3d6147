// The file dialogs as the user meets them: what they offer when shown, the
// name typed into them, the filter choice kept for the next use, cancel,
// and paths that are too long.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <functional>

#include <sys/stat.h>

#include "platform/qt/byte_text.h"
#include "window/form1.h"
#include "window_fixture.h"

namespace pellox::testing {
namespace {

class QtFileDialogsTest : public WindowFixture {
 protected:
  std::string Folder() const { return (folder_.path() + "/").toStdString(); }
  std::string InFolder(const std::string& name) const { return Folder() + name; }
  void MakeFile(const QString& name) {
    QFile file(folder_.path() + "/" + name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }

  // Shows `dialog`; `user` acts on the open dialog as the user would.
  bool ShowWith(DialogId dialog, std::function<void(QFileDialog&)> user) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
      auto* open = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (!open) return;
      seen = true;
      user(*open);
      // A question (overwrite, missing file) would be a modal box now.
      QTimer::singleShot(0, [open] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
          ADD_FAILURE() << "the dialog asked: " << box->text().toStdString();
          box->reject();
          open->reject();
        }
      });
    });
    const bool confirmed = toolkit->ShowDialog(dialog);
    EXPECT_TRUE(seen) << "no file dialog was shown";
    return confirmed;
  }
  static void Type(QFileDialog& dialog, const QString& name) {
    dialog.selectFile(name);
    static_cast<QDialog&>(dialog).accept();  // QFileDialog::accept checks the name
  }

  QTemporaryDir folder_;
};

TEST_F(QtFileDialogsTest, TheOpenDialogStartsInItsFolderWithTheListFilter) {
  toolkit->PrepareDialog(DialogId::OpenDialog1, {Folder(), kListFilter, kListExt, std::nullopt});
  ShowWith(DialogId::OpenDialog1, [&](QFileDialog& dialog) {
    EXPECT_EQ(QDir(dialog.directory()).canonicalPath(), QDir(folder_.path()).canonicalPath());
    EXPECT_EQ(dialog.nameFilters(), QStringList{"FileList Files(*.lst) (*.lst)"});
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(dialog.fileMode(), QFileDialog::AnyFile);
    EXPECT_TRUE(dialog.testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_TRUE(dialog.isModal());
    dialog.reject();
  });
}

TEST_F(QtFileDialogsTest, ANameTypedWithoutExtensionGetsTheDefaultExtension) {
  for (DialogId id : {DialogId::OpenDialog1, DialogId::SaveDialog1}) {
    toolkit->PrepareDialog(id, {Folder(), kListFilter, kListExt, std::string()});
    EXPECT_TRUE(ShowWith(id, [](QFileDialog& dialog) { Type(dialog, "abc"); }));
    EXPECT_EQ(toolkit->DialogFileName(id), InFolder("abc.lst"));
  }
}

TEST_F(QtFileDialogsTest, BrowseAddsNoExtension) {
  toolkit->PrepareDialog(DialogId::OpenDialog1, {Folder(), kBrowseFilter, "", std::nullopt});
  EXPECT_TRUE(ShowWith(DialogId::OpenDialog1, [](QFileDialog& dialog) { Type(dialog, "abc"); }));
  EXPECT_EQ(toolkit->DialogFileName(DialogId::OpenDialog1), InFolder("abc"));
}

TEST_F(QtFileDialogsTest, AllFilesListsNamesWithoutADot) {
  toolkit->PrepareDialog(DialogId::OpenDialog1, {Folder(), kBrowseFilter, "", std::nullopt});
  ShowWith(DialogId::OpenDialog1, [](QFileDialog& dialog) {
    ASSERT_EQ(dialog.nameFilters().size(), 2);
    EXPECT_EQ(dialog.nameFilters()[0], "EXE Files(*.exe) (*.exe)");
    dialog.selectNameFilter(dialog.nameFilters()[1]);
    auto* files = dialog.findChild<QFileSystemModel*>();
    ASSERT_NE(files, nullptr);
    EXPECT_EQ(files->nameFilters(), QStringList{"*"});
    EXPECT_TRUE(QDir::match(files->nameFilters(), "prog"));
    dialog.reject();
  });
}

TEST_F(QtFileDialogsTest, TheFilterChoiceAndNameAreKeptForTheNextUse) {
  toolkit->PrepareDialog(DialogId::OpenDialog1, {Folder(), kBrowseFilter, "", std::nullopt});
  ASSERT_TRUE(ShowWith(DialogId::OpenDialog1, [](QFileDialog& dialog) {
    dialog.selectNameFilter(dialog.nameFilters()[1]);
    Type(dialog, "prog");
  }));
  const std::string chosen = toolkit->DialogFileName(DialogId::OpenDialog1);
  toolkit->PrepareDialog(DialogId::OpenDialog1, {Folder(), kBrowseFilter, "", std::nullopt});
  ShowWith(DialogId::OpenDialog1, [&](QFileDialog& dialog) {
    EXPECT_TRUE(dialog.selectedNameFilter().startsWith("All Files(*.*)"));
    EXPECT_EQ(dialog.findChild<QFileSystemModel*>()->nameFilters(), QStringList{"*"});
    ASSERT_FALSE(dialog.selectedFiles().isEmpty());
    EXPECT_EQ(dialog.selectedFiles().front().toStdString(), chosen);
    dialog.reject();
  });
}

TEST_F(QtFileDialogsTest, CancelGivesFalseAndKeepsTheName) {
  toolkit->PrepareDialog(DialogId::SaveDialog1,
                         {Folder(), kListFilter, kListExt, InFolder("old.lst")});
  EXPECT_FALSE(ShowWith(DialogId::SaveDialog1, [](QFileDialog& dialog) {
    dialog.selectFile("other");
    dialog.reject();
  }));
  EXPECT_EQ(toolkit->DialogFileName(DialogId::SaveDialog1), InFolder("old.lst"));
}

TEST_F(QtFileDialogsTest, SavingOverAnExistingFileAsksNothing) {
  MakeFile("x.lst");
  toolkit->PrepareDialog(DialogId::SaveDialog1, {Folder(), kListFilter, kListExt, std::string()});
  EXPECT_TRUE(ShowWith(DialogId::SaveDialog1, [](QFileDialog& dialog) {
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    Type(dialog, "x.lst");
  }));
  EXPECT_EQ(toolkit->DialogFileName(DialogId::SaveDialog1), InFolder("x.lst"));
}

TEST_F(QtFileDialogsTest, APathLongerThanTheDialogsTakeGivesFalse) {
  const QString part(100, QLatin1Char('d'));
  const QString name = part + "/" + part + "/" + part + ".lst";
  ASSERT_GT(InFolder(name.toStdString()).size(), kMaxDialogPath);
  toolkit->PrepareDialog(DialogId::OpenDialog1, {Folder(), kListFilter, kListExt, std::nullopt});
  const std::string before = toolkit->DialogFileName(DialogId::OpenDialog1);
  EXPECT_FALSE(ShowWith(DialogId::OpenDialog1, [&](QFileDialog& dialog) { Type(dialog, name); }));
  EXPECT_EQ(toolkit->DialogFileName(DialogId::OpenDialog1), before);
}

// The names the dialog lists in the folder it shows.
QStringList ListedNames(QFileDialog& dialog) {
  auto* files = dialog.findChild<QFileSystemModel*>();
  if (!files) return {};
  const QModelIndex folder = files->index(dialog.directory().absolutePath());
  QStringList names;
  for (int row = 0; row < files->rowCount(folder); ++row)
    names << files->index(row, 0, folder).data().toString();
  return names;
}

// Calls `then` with the names the dialog lists once it has read its folder
// (Qt reads it in a thread of its own), or after five seconds.
void OnceListed(QFileDialog& dialog, const std::function<void(const QStringList&)>& then) {
  auto* poll = new QTimer(&dialog);
  const auto started = std::chrono::steady_clock::now();
  QObject::connect(poll, &QTimer::timeout, [poll, started, then, &dialog] {
    const QStringList names = ListedNames(dialog);
    if (names.isEmpty() && std::chrono::steady_clock::now() - started < std::chrono::seconds(5))
      return;
    poll->stop();
    then(names);
  });
  poll->start(20);
}

// Folders that Qt cannot reach by their names as text: one whose name is
// not UTF-8, and one whose UTF-8 name holds a character of the range that
// stands for such bytes in a text. The dialog opens in each (its folder
// below is listed), and a name typed, or offered and confirmed, there comes
// back byte for byte.
TEST_F(QtFileDialogsTest, FoldersWithNamesQtCannotShowOpenAndGiveBackTheirBytes) {
  // QTemporaryDir cannot remove what Qt cannot list.
  struct Removal {
    std::vector<std::string> Folders;
    ~Removal() {
      for (const std::string& folder : Folders) std::filesystem::remove_all(folder);
    }
  } removal{{InFolder("\xe9t\xe9"), InFolder("\xee\xbe\x80")}};
  for (const std::string& folder : removal.Folders) {
    SCOPED_TRACE(ToQString(folder).toStdString());
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    ASSERT_EQ(mkdir((folder + "/sub").c_str(), 0700), 0);
    const struct {
      const char* Label;
      DialogId Dialog;
      DialogSetup Setup;
      QString Typed;  // empty: the name offered is confirmed
      std::string Expected;
    } cases[] = {
        {"a name typed",
         DialogId::OpenDialog1,
         {folder + "/", kListFilter, kListExt, std::string()},
         "a.lst",
         folder + "/a.lst"},
        {"a new name saved",
         DialogId::SaveDialog1,
         {folder, kListFilter, kListExt, std::string()},
         "new",
         folder + "/new.lst"},
        {"a name in a folder below",
         DialogId::OpenDialog1,
         {folder + "/", kBrowseFilter, "", std::string()},
         "sub/x",
         folder + "/sub/x"},
        {"an offered name that is not UTF-8",
         DialogId::OpenDialog1,
         {folder + "/", kBrowseFilter, "", folder + "/b\xff"},
         "",
         folder + "/b\xff"},
    };
    for (const auto& c : cases) {
      SCOPED_TRACE(c.Label);
      toolkit->PrepareDialog(c.Dialog, c.Setup);
      EXPECT_TRUE(ShowWith(c.Dialog, [&](QFileDialog& dialog) {
        OnceListed(dialog, [&](const QStringList& names) {
          // A folder is listed whatever the filter.
          EXPECT_TRUE(names.contains("sub")) << names.join(' ').toStdString();
          // Typed into the shown dialog, as a user would, and confirmed.
          if (!c.Typed.isEmpty()) dialog.findChild<QLineEdit*>("fileNameEdit")->setText(c.Typed);
          QMetaObject::invokeMethod(&dialog, "accept");
        });
      }));
      EXPECT_EQ(toolkit->DialogFileName(c.Dialog), c.Expected);
    }
  }
  // What Qt keeps for later dialogs names no descriptor of this process.
  QSettings settings(QSettings::UserScope, "QtProject");
  settings.beginGroup("FileDialog");
  EXPECT_FALSE(settings.value("history").toStringList().join(' ').contains("/proc/self/fd"));
  EXPECT_FALSE(settings.value("lastVisited").toString().contains("/proc/self/fd"));
}

}  // namespace
}  // namespace pellox::testing
