#include "chainer/win/InstallerMutex.h"

#include <string>

#include "platform/core/win/Handles.h"
#include "platform/core/win/WorkerThread.h"

namespace cv {

namespace {

// Runs on a thread of its own: a successful wait makes the waiting thread the
// owner, and the Windows Installer grants most accounts SYNCHRONIZE only, so
// ReleaseMutex may be refused. A thread that ends gives up every mutex it
// owns, so once this thread has ended the process owns nothing.
bool WaitAndLetGo(const std::wstring& name) {
  UniqueHandle mutex(OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, name.c_str()));
  bool canRelease = static_cast<bool>(mutex);
  if (!mutex && GetLastError() == ERROR_ACCESS_DENIED) mutex.reset(OpenMutexW(SYNCHRONIZE, FALSE, name.c_str()));
  if (!mutex) return GetLastError() == ERROR_FILE_NOT_FOUND;
  DWORD result = WaitForSingleObject(mutex.get(), INFINITE);
  // An abandoned mutex is owned too.
  if ((result == WAIT_OBJECT_0 || result == WAIT_ABANDONED) && canRelease) ReleaseMutex(mutex.get());
  return result == WAIT_OBJECT_0;
}

}  // namespace

bool WaitForInstallerMutex(const wchar_t* name) {
  bool free = false;
  const std::wstring mutexName = name;
  // Windows of this thread keep answering while an installation runs.
  if (!RunOnWorkerThread([&] { free = WaitAndLetGo(mutexName); })) return false;
  return free;
}

}  // namespace cv
