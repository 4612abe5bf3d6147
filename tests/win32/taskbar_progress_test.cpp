// A run's progress on the application's taskbar button: what reaches the
// shell's ITaskbarList3, through a list that notes every call (and, for the
// whole program, passes each on to Wine's own taskbar list).
#include "platform/win32/win32_taskbar_progress.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "win32_program_fixture.h"

namespace pellox::testing {
namespace {

using Microsoft::WRL::ComPtr;
using win32::Win32TaskbarProgress;

// COM interfaces have no virtual destructor by design: an object deletes
// itself in Release, and nobody deletes it through the interface.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
// An ITaskbarList3 that notes the progress calls ("normal", "none", "k/N",
// each with the window it was for) and answers them with `answer`; with an
// inner list it passes them on and notes that list's answers instead.
class RecordingTaskbarList final : public ITaskbarList3 {
 public:
  explicit RecordingTaskbarList(HRESULT answer = S_OK, ComPtr<ITaskbarList3> inner = nullptr)
      : answer_(answer), inner_(std::move(inner)) {}

  std::vector<std::string> calls;
  std::vector<HWND> windows;
  std::vector<HRESULT> answers;

  HRESULT STDMETHODCALLTYPE SetProgressValue(HWND window, ULONGLONG done,
                                             ULONGLONG total) override {
    return Note(window, std::to_string(done) + "/" + std::to_string(total),
                inner_ ? inner_->SetProgressValue(window, done, total) : answer_);
  }
  HRESULT STDMETHODCALLTYPE SetProgressState(HWND window, TBPFLAG state) override {
    const std::string name = state == TBPF_NORMAL       ? "normal"
                             : state == TBPF_NOPROGRESS ? "none"
                                                        : std::to_string(state);
    return Note(window, name, inner_ ? inner_->SetProgressState(window, state) : answer_);
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (id == __uuidof(IUnknown) || id == __uuidof(ITaskbarList) || id == __uuidof(ITaskbarList2) ||
        id == __uuidof(ITaskbarList3)) {
      *object = static_cast<ITaskbarList3*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  // Nothing else is used by the program.
  HRESULT STDMETHODCALLTYPE HrInit() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE AddTab(HWND) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DeleteTab(HWND) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ActivateTab(HWND) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetActiveAlt(HWND) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE MarkFullscreenWindow(HWND, WINBOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RegisterTab(HWND, HWND) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE UnregisterTab(HWND) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetTabOrder(HWND, HWND) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetTabActive(HWND, HWND, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ThumbBarAddButtons(HWND, UINT, LPTHUMBBUTTON) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE ThumbBarUpdateButtons(HWND, UINT, LPTHUMBBUTTON) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE ThumbBarSetImageList(HWND, HIMAGELIST) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetOverlayIcon(HWND, HICON, LPCWSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetThumbnailTooltip(HWND, LPCWSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetThumbnailClip(HWND, RECT*) override { return E_NOTIMPL; }

 private:
  ~RecordingTaskbarList() = default;
  HRESULT Note(HWND window, const std::string& call, HRESULT answer) {
    calls.push_back(call);
    windows.push_back(window);
    answers.push_back(answer);
    return answer;
  }

  ULONG references_ = 1;
  HRESULT answer_;
  ComPtr<ITaskbarList3> inner_;
};
#pragma GCC diagnostic pop

// Hands out recording lists, one per button the shell makes, and keeps
// them for the test to read.
struct ListSource {
  HRESULT answer = S_OK;
  bool none = false;  // the shell has no taskbar list
  std::vector<ComPtr<RecordingTaskbarList>> made;

  Win32TaskbarProgress::ListFactory Factory() {
    return [this]() -> Win32TaskbarProgress::TaskbarList {
      if (none) return nullptr;
      ComPtr<RecordingTaskbarList> list;
      list.Attach(new RecordingTaskbarList(answer));
      made.push_back(list);
      return list;
    };
  }
};

using Calls = std::vector<std::string>;
const HWND kButton = reinterpret_cast<HWND>(0x1234);

TEST(TaskbarProgressTest, NothingReachesTheShellBeforeItMadeTheButton) {
  ListSource source;
  Win32TaskbarProgress progress(source.Factory());
  progress.Show(1, 3);
  EXPECT_TRUE(source.made.empty());

  progress.ButtonCreated(kButton);
  ASSERT_EQ(source.made.size(), 1u);
  RecordingTaskbarList& list = *source.made[0].Get();
  EXPECT_EQ(list.calls, (Calls{"normal", "1/3"}));
  progress.Show(2, 3);
  progress.Clear();
  EXPECT_EQ(list.calls, (Calls{"normal", "1/3", "normal", "2/3", "none"}));
  EXPECT_EQ(list.windows, std::vector<HWND>(5, kButton));
}

// After Explorer restarted, the shell makes the button again: a new list
// takes the figure shown now; with nothing shown, the new list gets no call.
TEST(TaskbarProgressTest, ANewButtonGetsANewListAndTheFigureShownNow) {
  ListSource source;
  Win32TaskbarProgress progress(source.Factory());
  progress.ButtonCreated(kButton);
  progress.Show(4, 7);
  progress.ButtonCreated(kButton);
  ASSERT_EQ(source.made.size(), 2u);
  EXPECT_EQ(source.made[1]->calls, (Calls{"normal", "4/7"}));
  progress.Clear();
  progress.ButtonCreated(kButton);
  ASSERT_EQ(source.made.size(), 3u);
  EXPECT_TRUE(source.made[2]->calls.empty());
  EXPECT_EQ(source.made[1]->calls, (Calls{"normal", "4/7", "none"}));
}

TEST(TaskbarProgressTest, ATaskbarListThatFailsOrIsMissingChangesNothing) {
  for (bool none : {false, true}) {
    SCOPED_TRACE(none ? "no taskbar list" : "every call fails");
    ListSource source;
    source.answer = E_FAIL;
    source.none = none;
    Win32TaskbarProgress progress(source.Factory());
    progress.ButtonCreated(kButton);
    progress.Show(1, 2);
    progress.Show(2, 2);
    progress.Clear();
    if (!none) {
      EXPECT_EQ(source.made[0]->calls, (Calls{"normal", "1/2", "normal", "2/2", "none"}));
    }
  }
}

// The whole program under Wine: once the shell's message says the button
// exists, a run's figures go to the application window's button through
// Wine's own taskbar list, which takes every call.
class ProgramTaskbarProgressTest : public ::testing::Test {
 protected:
  void TearDown() override {
    // The lists go with the program, inside its COM apartment.
    made_.clear();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }

  // Wraps the shell's own list; without one, every call would be answered
  // E_UNEXPECTED.
  Win32TaskbarProgress::TaskbarList WrapShellList() {
    Win32TaskbarProgress::TaskbarList shell = Win32TaskbarProgress::ShellTaskbarList();
    shellListFound_ = shell != nullptr;
    ComPtr<RecordingTaskbarList> list;
    list.Attach(new RecordingTaskbarList(E_UNEXPECTED, shell));
    made_.push_back(list);
    return list;
  }

  bool shellListFound_ = false;
  std::vector<ComPtr<RecordingTaskbarList>> made_;
  win32::Win32Program program_{GetModuleHandleA(nullptr), std::string("pellox.exe"),
                               [this] { return WrapShellList(); }};
};

TEST_F(ProgramTaskbarProgressTest, ARunShowsOnTheApplicationsButtonThroughTheShell) {
  program_.Create();
  program_.Show(SW_SHOWNORMAL);
  DrainMessages();
  HWND button = program_.AppWindow().Window();
  PostMessageA(button, RegisterWindowMessageA("TaskbarButtonCreated"), 0, 0);  // as the shell does
  DrainMessages();
  ASSERT_EQ(made_.size(), 1u);
  ASSERT_TRUE(shellListFound_);

  TForm1& form = program_.Form();
  for (const char* name : {"a", "b"}) {
    program_.Toolkit().SetText(EditField::Edit1, "0");
    program_.Toolkit().SetText(EditField::Edit2, OwnFolder() + "missing-" + name + ".exe");
    form.Dispatch(FormEvent::Button2Click);  // Add
  }
  form.Dispatch(FormEvent::Button7Click);  // Run

  RecordingTaskbarList& list = *made_[0].Get();
  EXPECT_EQ(list.calls, (Calls{"normal", "1/2", "normal", "2/2", "none"}));
  EXPECT_EQ(list.windows, std::vector<HWND>(5, button));
  EXPECT_EQ(list.answers, std::vector<HRESULT>(5, S_OK));
}

}  // namespace
}  // namespace pellox::testing
