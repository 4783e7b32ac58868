// Real faults on a thread with the translator become SehException objects
// with their text, sub-kind and place; stack traces come from the system's
// symbol library.
#include "platform/core/win/ExceptionHandling.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <thread>

namespace cv {
namespace {

// Addresses the compiler cannot see through.
volatile uintptr_t nullAddress = 0;
volatile uintptr_t badAddress = 0x10;
volatile int zero = 0;
volatile int sink = 0;

struct Counted {
  explicit Counted(int& count) : count_(count) {}
  ~Counted() { ++count_; }
  int& count_;
};

__attribute__((noinline)) int ReadAt(uintptr_t address) { return *reinterpret_cast<volatile int*>(address); }
__attribute__((noinline)) void WriteAt(uintptr_t address) { *reinterpret_cast<volatile int*>(address) = 1; }
// The quotient is stored: an unused division by zero may be dropped.
__attribute__((noinline)) void Divide(int value) { sink = value / zero; }

// A fault inside a function with a destructor to run on the way out.
__attribute__((noinline)) void WriteWithCleanup(uintptr_t address, int& destroyed) {
  Counted counted(destroyed);
  WriteAt(address);
}

// Runs a fault on a fresh thread with the translator and hands back what it threw.
bool CatchOnThread(const std::function<void()>& fault, SehException& caught) {
  bool gotIt = false;
  std::thread([&] {
    ExceptionHandlingScope scope(ExceptionHandlingScope::TopLevelFilter::Leave);
    try {
      fault();
    } catch (const SehException& e) {
      caught = e;
      gotIt = true;
    }
  }).join();
  return gotIt;
}

bool InThisProgram(uint64_t address) {
  auto base = reinterpret_cast<uintptr_t>(GetModuleHandleW(nullptr));
  auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
  return address >= base && address - base < nt->OptionalHeader.SizeOfImage;
}

uint64_t AddressInText(const std::wstring& text) {
  size_t at = text.find(L"at address [0x");
  return at == std::wstring::npos ? 0 : std::wcstoull(text.c_str() + at + 14, nullptr, 16);
}

TEST(SehTranslation, FaultsBecomeSehExceptions) {
  struct Case {
    const char* what;
    std::function<void()> fault;
    int32_t kind;
    std::wstring start;
  } cases[] = {
      {"read of 0", [] { ReadAt(nullAddress); }, kSehAvReadNullPtr,
       L"[SEH_AV_READ_NULLPTR] ACCESS_VIOLATION (0xc0000005) at address [0x"},
      {"read of 0x10", [] { ReadAt(badAddress); }, kSehAvReadBadPtr,
       L"[SEH_AV_READ_BADPTR] ACCESS_VIOLATION (0xc0000005) at address [0x"},
      {"write to 0", [] { WriteAt(nullAddress); }, kSehAvWriteNullPtr,
       L"[SEH_AV_WRITE_NULLPTR] ACCESS_VIOLATION (0xc0000005) at address [0x"},
      {"write to 0x10", [] { WriteAt(badAddress); }, kSehAvWriteBadPtr,
       L"[SEH_AV_WRITE_BADPTR] ACCESS_VIOLATION (0xc0000005) at address [0x"},
      {"division by zero", [] { Divide(7); }, kSehGeneric,
       L"[SEH_GENERIC] INT_DIVIDE_BY_ZERO (0xc0000094) at address [0x"},
  };
  for (const Case& c : cases) {
    SehException caught(L"", 0, -1, L"");
    ASSERT_TRUE(CatchOnThread(c.fault, caught)) << c.what;
    EXPECT_EQ(caught.SehKind(), c.kind) << c.what;
    EXPECT_EQ(caught.GetKind(), kExceptionSeh);
    EXPECT_EQ(caught.Text().rfind(c.start, 0), 0u) << c.what << ": " << testing::PrintToString(caught.Text());
    // The address is that of the faulting instruction, in this program.
    EXPECT_TRUE(InThisProgram(AddressInText(caught.Text()))) << c.what;
    EXPECT_NE(caught.Text().find(kStackTraceHeader), std::wstring::npos) << c.what;
    // Without a program database the place is the translator's own.
    EXPECT_FALSE(caught.File().empty());
    if (caught.File() == kExceptionHandlingSource) {
      EXPECT_EQ(caught.Line(), 91);
    }
  }
}

TEST(SehTranslation, UnwindsThroughDestructorsAndKeepsTheThreadUsable) {
  int destroyed = 0;
  SehException caught(L"", 0, -1, L"");
  bool again = false;
  std::thread([&] {
    ExceptionHandlingScope scope(ExceptionHandlingScope::TopLevelFilter::Leave);
    try {
      WriteWithCleanup(nullAddress, destroyed);
    } catch (const SehException& e) {
      caught = e;
    }
    // A second fault on the same thread is translated as well.
    try {
      Divide(1);
    } catch (const SehException&) {
      again = true;
    }
  }).join();
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(caught.SehKind(), kSehAvWriteNullPtr);
  EXPECT_TRUE(again);
}

TEST(SehTranslation, GuardedThreadReportsACrashAsFailure) {
  EXPECT_TRUE(RunOnGuardedThread([] {}));
  EXPECT_FALSE(RunOnGuardedThread([] { WriteAt(nullAddress); }));
  EXPECT_FALSE(RunOnGuardedThread([] { throw std::runtime_error("x"); }));
}

__attribute__((noinline)) void Recurse(int depth, std::wstring& trace) {
  if (depth == 0) {
    CONTEXT context{};
    RtlCaptureContext(&context);
    AppendStackTrace(trace, &context, 200);
    return;
  }
  Recurse(depth - 1, trace);
  asm volatile("");  // keeps the call from becoming a jump
}

size_t FrameLines(const std::wstring& trace) {
  size_t count = 0;
  for (size_t at = trace.find(L"\r\n[0x"); at != std::wstring::npos; at = trace.find(L"\r\n[0x", at + 1)) ++count;
  return count - 1;
}

TEST(StackTrace, SymbolLibraryWalksTheStack) {
  std::wstring shallow = L"before";
  Recurse(3, shallow);
  ASSERT_EQ(shallow.rfind(L"before\r\n*** Stack Trace (x86) ***\r\n\r\n[0x", 0), 0u) << testing::PrintToString(shallow);
  EXPECT_GE(FrameLines(shallow), 4u);
  EXPECT_EQ(shallow.find(kMoreFramesLine), std::wstring::npos);
  wchar_t base[64];
  swprintf(base, 64, L"[0x%.8llx]  MODULE_BASE_ADDRESS\r\n",
           static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(GetModuleHandleW(nullptr))));
  EXPECT_EQ(shallow.substr(shallow.size() - wcslen(base)), base);

  std::wstring deep;
  Recurse(260, deep);
  EXPECT_EQ(FrameLines(deep), 200u);
  EXPECT_NE(deep.find(std::wstring(L"\r\n") + kMoreFramesLine + L"[0x"), std::wstring::npos);

  std::wstring none = L"x";
  AppendStackTrace(none, nullptr, 200);
  EXPECT_EQ(none, L"x");
}

TEST(ErrorText, SystemMessagesAndDecimalFallback) {
  std::wstring text = FormatErrorText(ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(text.empty());
  EXPECT_NE(text, L"2");
  EXPECT_EQ(FormatErrorText(0xE0000025), L"-536870875");
}

}  // namespace
}  // namespace cv
