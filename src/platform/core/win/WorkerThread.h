// Work that must not freeze the windows of the thread that waits for it.
#pragma once
#include <functional>

namespace cv {

// Runs work on a thread of its own while the calling thread keeps
// dispatching its messages, and returns when the work is done. An exception
// that escapes the work is thrown again here. False when no thread could be
// started: the work did not run.
bool RunOnWorkerThread(const std::function<void()>& work);

}  // namespace cv
