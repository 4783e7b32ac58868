#include "platform/core/win/WorkerThread.h"

#include <windows.h>

#include <exception>

#include "platform/core/win/Handles.h"
#include "platform/core/win/ProcessExecution.h"

namespace cv {

namespace {

struct Job {
  const std::function<void()>* work;
  std::exception_ptr escaped;
};

DWORD WINAPI RunJob(void* parameter) {
  auto* job = static_cast<Job*>(parameter);
  try {
    (*job->work)();
  } catch (...) {
    job->escaped = std::current_exception();
  }
  return 0;
}

}  // namespace

bool RunOnWorkerThread(const std::function<void()>& work) {
  Job job{&work, nullptr};
  UniqueHandle thread(CreateThread(nullptr, 0, RunJob, &job, 0, nullptr));
  if (!thread) return false;
  // The job lives on this stack: whatever the pumping wait says, the thread
  // must have ended before we return.
  if (!WaitWithMessagePump(thread.get())) WaitForSingleObject(thread.get(), INFINITE);
  if (job.escaped) std::rethrow_exception(job.escaped);
  return true;
}

}  // namespace cv
