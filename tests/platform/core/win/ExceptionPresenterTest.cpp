// The error dialog, shown for real (headless under Wine's null driver) and
// driven from the test thread: texts, size in dialog units, the details
// toggle, copy and close.
#include "platform/core/win/ExceptionPresenter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace cv {
namespace {

BOOL CALLBACK TakeVisibleDialog(HWND window, LPARAM result) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  if (std::wstring(name) != L"#32770" || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(result) = window;
  return FALSE;
}

HWND FindDialogOf(DWORD threadId) {
  for (int i = 0; i < 500; ++i) {
    HWND found = nullptr;
    EnumThreadWindows(threadId, TakeVisibleDialog, reinterpret_cast<LPARAM>(&found));
    if (found) return found;
    Sleep(20);
  }
  return nullptr;
}

std::wstring TextOf(HWND window) {
  int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<size_t>(length));
  return text;
}

std::wstring ItemText(HWND dialog, int id) { return TextOf(GetDlgItem(dialog, id)); }

// The client height the template asks for, in pixels.
int ClientHeightFor(HWND dialog, int dialogUnits) {
  RECT r{0, 0, 10, dialogUnits};
  MapDialogRect(dialog, &r);
  return r.bottom;
}

int Height(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r.bottom - r.top;
}

class ShownDialog {
 public:
  ShownDialog(std::wstring message, std::wstring details, bool report = false)
      : thread_([this, message, details, report] {
          threadId_ = GetCurrentThreadId();
          started_ = true;
          if (report)
            ReportError(nullptr, message, details, L"EXCEPTION_GENERIC", SourceLocation{L"File.cpp", 1});
          else
            result_ = ShowErrorDialog(nullptr, L"Error", message, details);
        }) {
    while (!started_) Sleep(1);
    dialog_ = FindDialogOf(threadId_);
  }
  ~ShownDialog() {
    if (thread_.joinable()) {
      if (dialog_ && IsWindow(dialog_)) PostMessageW(dialog_, WM_COMMAND, IDCANCEL, 0);
      thread_.join();
    }
  }
  HWND dialog() const { return dialog_; }
  INT_PTR Finish() {
    thread_.join();
    return result_;
  }

 private:
  std::atomic<bool> started_{false};
  std::atomic<DWORD> threadId_{0};
  INT_PTR result_ = -2;
  HWND dialog_ = nullptr;
  std::thread thread_;
};

TEST(ErrorDialog, ShowsMessageAndExpandsToTheDetails) {
  ShownDialog shown(L"Something failed.", L"[EXCEPTION_UNHANDLED] (0xc0000005) at address [0x00401000]\r\nmore");
  HWND dialog = shown.dialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(TextOf(dialog), L"Error");
  EXPECT_EQ(ItemText(dialog, kErrorMessageId), L"Something failed.");
  EXPECT_EQ(ItemText(dialog, kErrorCloseId), L"Close");
  EXPECT_EQ(ItemText(dialog, kErrorDetailsButtonId), L"Details >>");
  EXPECT_EQ(ItemText(dialog, kErrorDetailsId), L"[EXCEPTION_UNHANDLED] (0xc0000005) at address [0x00401000]\r\nmore");
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, kErrorDetailsId)));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, kErrorCopyButtonId)));
  EXPECT_NE(SendDlgItemMessageW(dialog, kErrorIconId, STM_GETICON, 0, 0), 0);  // the error icon
  EXPECT_NE(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
  RECT client{};
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.bottom, ClientHeightFor(dialog, 60));
  int collapsed = Height(dialog);

  SendMessageW(dialog, WM_COMMAND, kErrorDetailsButtonId, 0);
  EXPECT_EQ(ItemText(dialog, kErrorDetailsButtonId), L"Details <<");
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, kErrorDetailsId)));
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, kErrorCopyButtonId)));
  int expanded = Height(dialog);
  EXPECT_GT(expanded, collapsed);
  // The details box follows the bottom edge, Copy stays below it.
  RECT details{}, copy{}, window{};
  GetWindowRect(GetDlgItem(dialog, kErrorDetailsId), &details);
  GetWindowRect(GetDlgItem(dialog, kErrorCopyButtonId), &copy);
  GetWindowRect(dialog, &window);
  EXPECT_GT(copy.top, details.bottom);
  EXPECT_LT(copy.bottom, window.bottom);

  SendMessageW(dialog, WM_COMMAND, kErrorDetailsButtonId, 0);
  EXPECT_EQ(ItemText(dialog, kErrorDetailsButtonId), L"Details >>");
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, kErrorDetailsId)));
  EXPECT_EQ(Height(dialog), collapsed);

  PostMessageW(dialog, WM_COMMAND, kErrorCloseId, 0);
  EXPECT_EQ(shown.Finish(), 1);
}

TEST(ErrorDialog, CopyPutsTheDetailsOnTheClipboard) {
  ShownDialog shown(L"m", L"copied details");
  HWND dialog = shown.dialog();
  ASSERT_NE(dialog, nullptr);
  SendMessageW(dialog, WM_COMMAND, kErrorDetailsButtonId, 0);
  SendMessageW(dialog, WM_COMMAND, kErrorCopyButtonId, 0);
  std::wstring clipboard;
  if (OpenClipboard(nullptr)) {
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
      if (auto* text = static_cast<const wchar_t*>(GlobalLock(data))) {
        clipboard = text;
        GlobalUnlock(data);
      }
    }
    CloseClipboard();
  }
  EXPECT_EQ(clipboard, L"copied details");
  // The selection is gone again.
  DWORD start = 0, end = 0;
  SendDlgItemMessageW(dialog, kErrorDetailsId, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, end);
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);  // Escape
  EXPECT_EQ(shown.Finish(), 2);
}

TEST(ErrorDialog, LongMessagesGrowTheDialogUpToThirtyLines) {
  std::wstring message = L"line";
  for (int i = 1; i < 40; ++i) message += L"\nline";
  ShownDialog shown(message, L"");
  HWND dialog = shown.dialog();
  ASSERT_NE(dialog, nullptr);
  RECT client{};
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.bottom, ClientHeightFor(dialog, 284));
  EXPECT_EQ(GetDlgItem(dialog, kErrorDetailsId), nullptr);
  EXPECT_EQ(GetDlgItem(dialog, kErrorDetailsButtonId), nullptr);
}

TEST(ErrorDialog, ReportLeavesOutDetailsThatRepeatTheMessage) {
  ShownDialog shown(L"same text", L"same text", true);
  HWND dialog = shown.dialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(TextOf(dialog), L"Error");
  EXPECT_EQ(ItemText(dialog, kErrorMessageId), L"same text");
  EXPECT_EQ(GetDlgItem(dialog, kErrorDetailsButtonId), nullptr);
}

}  // namespace
}  // namespace cv
