#include "platform/core/win/WorkerThread.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace cv;

TEST(WorkerThread, RunsElsewhereAndHandsBackWhatEscapes) {
  DWORD worker = 0;
  EXPECT_TRUE(RunOnWorkerThread([&] { worker = GetCurrentThreadId(); }));
  EXPECT_NE(worker, 0u);
  EXPECT_NE(worker, GetCurrentThreadId());
  EXPECT_THROW(RunOnWorkerThread([] { throw std::runtime_error("from the worker"); }), std::runtime_error);
}
