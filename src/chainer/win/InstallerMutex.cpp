#include "chainer/win/InstallerMutex.h"

#include <memory>
#include <string>

#include "platform/core/win/Handles.h"
#include "platform/core/win/ProcessExecution.h"

namespace cv {

namespace {

struct MutexWait {
  std::wstring name;
};

// Runs on a thread of its own: a successful wait makes the waiting thread the
// owner, and the Windows Installer grants most accounts SYNCHRONIZE only, so
// ReleaseMutex may be refused. A thread that ends gives up every mutex it
// owns, so once this thread has ended the process owns nothing.
DWORD WINAPI WaitOnOwnThread(void* parameter) {
  std::unique_ptr<MutexWait> wait(static_cast<MutexWait*>(parameter));
  UniqueHandle mutex(OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, wait->name.c_str()));
  bool canRelease = static_cast<bool>(mutex);
  if (!mutex && GetLastError() == ERROR_ACCESS_DENIED) mutex.reset(OpenMutexW(SYNCHRONIZE, FALSE, wait->name.c_str()));
  if (!mutex) return GetLastError() == ERROR_FILE_NOT_FOUND ? 1 : 0;
  DWORD result = WaitForSingleObject(mutex.get(), INFINITE);
  // An abandoned mutex is owned too.
  if ((result == WAIT_OBJECT_0 || result == WAIT_ABANDONED) && canRelease) ReleaseMutex(mutex.get());
  return result == WAIT_OBJECT_0 ? 1 : 0;
}

}  // namespace

bool WaitForInstallerMutex(const wchar_t* name) {
  auto wait = std::make_unique<MutexWait>();
  wait->name = name;
  UniqueHandle thread(CreateThread(nullptr, 0, WaitOnOwnThread, wait.get(), 0, nullptr));
  if (!thread) return false;
  wait.release();  // the thread owns it now
  // Windows of this thread keep answering while an installation runs.
  if (!WaitWithMessagePump(thread.get()) && WaitForSingleObject(thread.get(), INFINITE) != WAIT_OBJECT_0) return false;
  DWORD free = 0;
  return GetExitCodeThread(thread.get(), &free) && free == 1;
}

}  // namespace cv
