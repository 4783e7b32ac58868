#include "platform/core/win/Handles.h"

#include <objbase.h>

namespace cv {

ComScope::ComScope(DWORD model) : uninitialize_(CoInitializeEx(nullptr, model) == S_OK) {}

ComScope::~ComScope() {
  if (uninitialize_) CoUninitialize();
}

}  // namespace cv
