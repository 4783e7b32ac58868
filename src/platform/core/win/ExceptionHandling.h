// Structured exceptions (access violations, divisions by zero) as C++
// exceptions on the threads that ask for it, stack traces through the
// system's symbol library, and the process-wide report of anything nothing
// else handled.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "platform/core/ExceptionHandling.h"

namespace cv {

// GCC has no per-thread translator: a vectored handler sends a fault on a
// thread that installed it to a function that throws the SehException, as if
// the faulting instruction had called it. Only faults in the program's own
// code are translated (system code keeps its own handlers), and only the
// fault codes of the table, not breakpoints, single steps or guard pages.
// Needs -fnon-call-exceptions for faults inside functions with handlers or
// destructors.
[[noreturn]] void TranslateSehException(unsigned int code, EXCEPTION_POINTERS* pointers);

// Installs the translator on the calling thread for the scope's life; with
// the filter, the first such scope in the process also installs
// TopLevelExceptionFilter for good.
class ExceptionHandlingScope {
 public:
  enum class TopLevelFilter { Install, Leave };
  explicit ExceptionHandlingScope(TopLevelFilter filter);
  ~ExceptionHandlingScope();
  ExceptionHandlingScope(const ExceptionHandlingScope&) = delete;
  ExceptionHandlingScope& operator=(const ExceptionHandlingScope&) = delete;

 private:
  void* previous_;
};

// Reports an exception nothing handled in the error dialog; Windows then ends
// the process with the exception's code.
LONG WINAPI TopLevelExceptionFilter(EXCEPTION_POINTERS* pointers);

// Appends the symbolic stack trace from a thread context (nothing without
// one, or without the symbol library).
void AppendStackTrace(std::wstring& text, const CONTEXT* context, size_t maxFrames);

// Runs work on a thread of its own with the translator installed and waits
// for it (the waiting thread's messages dispatched meanwhile); false when the
// work threw (a crash included) or the thread did not start.
bool RunOnGuardedThread(const std::function<void()>& work);

// The system's message for a Windows error, with its line end; the code in
// signed decimal when the system has none.
std::wstring FormatErrorText(uint32_t code);

}  // namespace cv
