// The wait for the Windows Installer mutex, on mutexes of the test's own:
// whatever the access the caller gets, it must not own the mutex afterwards.
#include "chainer/win/InstallerMutex.h"

#include <gtest/gtest.h>
#include <sddl.h>

#include <string>
#include <thread>

#include "platform/core/win/Handles.h"

using cv::UniqueHandle;
using cv::UniqueLocal;

namespace {

std::wstring UniqueMutexName(const wchar_t* stem) {
  static int counter = 0;
  return std::wstring(L"Global\\cvtest-") + stem + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
         std::to_wstring(++counter);
}

// The SID string of the process's user.
std::wstring CurrentUserSid() {
  UniqueHandle token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) return std::wstring();
  BYTE buffer[512];
  DWORD size = 0;
  if (!GetTokenInformation(token.get(), TokenUser, buffer, sizeof(buffer), &size)) return std::wstring();
  wchar_t* text = nullptr;
  if (!ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &text)) return std::wstring();
  UniqueLocal owner(text);
  return text;
}

// The mutex as the Windows Installer makes it, created and held by a thread
// of the test: the access list grants the process's user the given rights
// only (the creator's own handle has every right).
class HeldMutex {
 public:
  HeldMutex(const std::wstring& name, DWORD grantedAccess) {
    std::wstring sddl = L"D:(A;;" + std::to_wstring(grantedAccess) + L";;;" + CurrentUserSid() + L")";
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &descriptor, nullptr))
      return;
    UniqueLocal owner(descriptor);
    SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor, FALSE};
    mutex_.reset(CreateMutexW(&attributes, FALSE, name.c_str()));
  }
  HANDLE Get() const { return mutex_.get(); }

  // Takes the mutex on a thread of its own, which releases it after the
  // delay, or ends without releasing it (abandoning it).
  void HoldFor(DWORD milliseconds, bool abandon) {
    HANDLE taken = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    holder_ = std::thread([this, milliseconds, abandon, taken] {
      WaitForSingleObject(mutex_.get(), INFINITE);
      SetEvent(taken);
      Sleep(milliseconds);
      if (!abandon) ReleaseMutex(mutex_.get());
    });
    WaitForSingleObject(taken, INFINITE);
    CloseHandle(taken);
  }
  void Join() {
    if (holder_.joinable()) holder_.join();
  }
  ~HeldMutex() { Join(); }

  // What another thread gets when it tries to take the mutex at once.
  DWORD TakeAtOnceOnAnotherThread() const {
    DWORD result = WAIT_FAILED;
    std::thread other([&] {
      result = WaitForSingleObject(mutex_.get(), 0);
      if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED) ReleaseMutex(mutex_.get());
    });
    other.join();
    return result;
  }

 private:
  UniqueHandle mutex_;
  std::thread holder_;
};

bool Taken(DWORD result) { return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED; }

}  // namespace

TEST(InstallerMutex, AbsentMutexMeansFree) {
  EXPECT_TRUE(cv::WaitForInstallerMutex(UniqueMutexName(L"absent").c_str()));
}

TEST(InstallerMutex, BadNameIsAFailure) {
  // An open error other than "not found" ends the run with 1.
  EXPECT_FALSE(cv::WaitForInstallerMutex(L"Global\\no\\such\\namespace"));
}

// Wine checks the mutex's access list on OpenMutexW as Windows does:
// SYNCHRONIZE | MUTEX_MODIFY_STATE is refused with ERROR_ACCESS_DENIED and
// ReleaseMutex on a SYNCHRONIZE-only handle fails, so the second case takes
// the SYNCHRONIZE-only path.
TEST(InstallerMutex, WaitsWhileHeldAndLeavesTheMutexFreeForOthers) {
  const struct {
    const char* what;
    DWORD granted;
  } cases[] = {
      {"full access", SYNCHRONIZE | MUTEX_MODIFY_STATE},
      {"SYNCHRONIZE only, as the Windows Installer grants", SYNCHRONIZE},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::wstring name = UniqueMutexName(L"held");
    HeldMutex mutex(name, c.granted);
    ASSERT_TRUE(mutex.Get());
    if (c.granted == SYNCHRONIZE) {
      UniqueHandle probe(OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, name.c_str()));
      ASSERT_FALSE(probe) << "the access list is not enforced: the SYNCHRONIZE-only path is not reached";
    }

    // A window of the waiting thread must keep answering during the wait.
    HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    mutex.HoldFor(1500, false);
    bool answered = false;
    std::thread prober([&] {
      DWORD_PTR ignored = 0;
      Sleep(200);
      answered = SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 1000, &ignored) != 0;
    });
    DWORD start = GetTickCount();
    EXPECT_TRUE(cv::WaitForInstallerMutex(name.c_str()));
    EXPECT_GE(GetTickCount() - start, 1000u) << "returned while the mutex was held";
    prober.join();
    mutex.Join();
    DestroyWindow(window);
    EXPECT_TRUE(answered) << "the wait froze the thread's windows";
    // Released where the rights allow it; else given up when the waiting thread ended.
    DWORD taken = mutex.TakeAtOnceOnAnotherThread();
    EXPECT_TRUE(Taken(taken)) << taken;
    if (c.granted != SYNCHRONIZE) {
      EXPECT_EQ(taken, static_cast<DWORD>(WAIT_OBJECT_0));
    }
  }
}

TEST(InstallerMutex, AbandonedMutexIsAFailureAndIsNotKept) {
  for (DWORD granted : {static_cast<DWORD>(SYNCHRONIZE | MUTEX_MODIFY_STATE), static_cast<DWORD>(SYNCHRONIZE)}) {
    SCOPED_TRACE(granted);
    std::wstring name = UniqueMutexName(L"abandoned");
    HeldMutex mutex(name, granted);
    ASSERT_TRUE(mutex.Get());
    mutex.HoldFor(0, true);
    mutex.Join();
    EXPECT_FALSE(cv::WaitForInstallerMutex(name.c_str()));
    EXPECT_TRUE(Taken(mutex.TakeAtOnceOnAnotherThread()));
  }
}
