#include "chainer/win/Entry.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "platform/core/ExceptionHandling.h"

using namespace cv;

TEST(Entry, EscapedExceptionsEndTheRunWithOneAfterUnwinding) {
  EXPECT_EQ(RunGuarded([] { return -1; }), -1);
  EXPECT_EQ(RunGuarded([] { return 0; }), 0);

  bool cleanedUp = false;
  struct CleanUp {
    bool& done;
    ~CleanUp() { done = true; }
  };
  EXPECT_EQ(RunGuarded([&]() -> int32_t {
              CleanUp cleanUp{cleanedUp};
              throw std::bad_alloc();
            }),
            1);
  EXPECT_TRUE(cleanedUp) << "objects of the run are destroyed before the process ends";
  EXPECT_EQ(RunGuarded([]() -> int32_t { throw std::runtime_error("x"); }), 1);
  EXPECT_EQ(RunGuarded([]() -> int32_t { throw 42; }), 1);
  EXPECT_EQ(RunGuarded([]() -> int32_t { ThrowHResult(kE_BOUNDS); }), 1);
}
