// The frame around one run of the program.
#pragma once
#include <cstdint>
#include <functional>

namespace cv {

// Runs the program's life (start to clean-up) and gives its exit code.
// Nothing the run could not finish may read as success to the package that
// started us: an exception that escapes ends the run with 1 (logged when
// the log is on), after the clean-up of the objects it unwound.
int32_t RunGuarded(const std::function<int32_t()>& run);

}  // namespace cv
