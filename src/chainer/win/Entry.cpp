#include "chainer/win/Entry.h"

#include <cstdio>
#include <exception>
#include <string>

#include "platform/core/ExceptionHandling.h"
#include "platform/core/win/CodePage.h"
#include "platform/core/win/Logger.h"

namespace cv {

namespace {

constexpr int32_t kFailedRun = 1;

void LogEscapedException(const char* what) {
  if (!LoggingEnabled()) return;
  WriteLine(L"Unhandled exception: " + WideFromCodePage(what, CP_ACP));
}

}  // namespace

int32_t RunGuarded(const std::function<int32_t()>& run) {
  try {
    return run();
  } catch (const std::exception& exception) {
    LogEscapedException(exception.what());
  } catch (const HResultException& exception) {
    char code[16];
    snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(exception.hresult));
    LogEscapedException(code);
  } catch (...) {
    LogEscapedException("unknown");
  }
  return kFailedRun;
}

}  // namespace cv
