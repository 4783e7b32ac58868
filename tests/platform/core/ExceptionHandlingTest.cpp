// The texts of translated structured exceptions, stack traces and
// unhandled-exception reports, composed from given facts.
#include "platform/core/ExceptionHandling.h"

#include <gtest/gtest.h>

#include <memory>

namespace cv {
namespace {

TEST(ExceptionTexts, KindAndSubKindNames) {
  const std::pair<int32_t, const wchar_t*> kinds[] = {
      {0, L"EXCEPTION_STD"},   {1, L"EXCEPTION_UNHANDLED"}, {2, L"EXCEPTION_GENERIC"},
      {3, L"EXCEPTION_WIN32"}, {4, L"EXCEPTION_CMD"},       {5, L"EXCEPTION_XML_PARSE"},
      {6, L"EXCEPTION_ERROR_SIGNALING"}, {7, L"EXCEPTION_SEH"}, {8, L"Exception ???"}, {-1, L"Exception ???"},
  };
  for (const auto& [kind, name] : kinds) EXPECT_EQ(ExceptionKindName(kind), name) << kind;
  const std::pair<int32_t, const wchar_t*> subKinds[] = {
      {0, L"SEH_GENERIC"},         {1, L"SEH_AV_READ_NULLPTR"}, {2, L"SEH_AV_READ_BADPTR"},
      {3, L"SEH_AV_WRITE_NULLPTR"}, {4, L"SEH_AV_WRITE_BADPTR"}, {5, L"SEH_AV_DEP_NULLPTR"},
      {6, L"SEH_AV_DEP_BADPTR"},   {7, L"SEH_GENERIC"},         {-3, L"SEH_GENERIC"},
  };
  for (const auto& [kind, name] : subKinds) EXPECT_EQ(SehKindName(kind), name) << kind;
}

TEST(ExceptionTexts, AccessViolationsAreClassifiedByOperationAndAddress) {
  struct Case {
    uint32_t code;
    std::vector<uint64_t> parameters;
    int32_t kind;
  } cases[] = {
      {0xC0000005, {0, 0}, kSehAvReadNullPtr},     {0xC0000005, {0, 0x10}, kSehAvReadBadPtr},
      {0xC0000005, {1, 0}, kSehAvWriteNullPtr},    {0xC0000005, {1, 0xdead0000}, kSehAvWriteBadPtr},
      {0xC0000005, {8, 0}, kSehAvDepNullPtr},      {0xC0000005, {8, 0x401000}, kSehAvDepBadPtr},
      {0xC0000005, {2, 0}, kSehGeneric},           {0xC0000005, {0}, kSehGeneric},
      {0xC0000094, {0, 0}, kSehGeneric},           {0xC0000006, {1, 0}, kSehGeneric},
  };
  for (const Case& c : cases) EXPECT_EQ(ClassifySehException(c.code, c.parameters), c.kind) << c.code;
}

TEST(ExceptionTexts, TranslatedLines) {
  struct Case {
    int32_t kind;
    uint32_t code;
    uint64_t address;
    const wchar_t* text;
  } cases[] = {
      {kSehAvReadNullPtr, 0xC0000005, 0x00401234,
       L"[SEH_AV_READ_NULLPTR] ACCESS_VIOLATION (0xc0000005) at address [0x00401234]\r\n"},
      {kSehAvWriteNullPtr, 0xC0000005, 0x5, L"[SEH_AV_WRITE_NULLPTR] ACCESS_VIOLATION (0xc0000005) at address [0x00000005]\r\n"},
      {kSehGeneric, 0xC0000094, 0x0040abcd, L"[SEH_GENERIC] INT_DIVIDE_BY_ZERO (0xc0000094) at address [0x0040abcd]\r\n"},
      {kSehGeneric, 0xC00000FD, 0x77001000, L"[SEH_GENERIC] STACK_OVERFLOW (0xc00000fd) at address [0x77001000]\r\n"},
      {kSehGeneric, 0xE06D7363, 0x7ff612345678,
       L"[SEH_GENERIC] Unknown SEH Exception (0xe06d7363) at address [0x7ff612345678]\r\n"},
      {kSehGeneric, 0x80000002, 0x1, L"[SEH_GENERIC] DATATYPE_MISALIGNMENT (0x80000002) at address [0x00000001]\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(ComposeSehText(c.kind, c.code, c.address, L""), c.text);
  EXPECT_EQ(ComposeSehText(kSehGeneric, 0xC0000096, 0x10, L"TRACE"),
            L"[SEH_GENERIC] PRIV_INSTRUCTION (0xc0000096) at address [0x00000010]\r\nTRACE");
}

TEST(ExceptionTexts, EveryTableCodeHasItsName) {
  const std::pair<uint32_t, const wchar_t*> names[] = {
      {0xC0000005, L"ACCESS_VIOLATION"}, {0x80000001, L"GUARD_PAGE"}, {0x80000003, L"BREAKPOINT"},
      {0x80000004, L"SINGLE_STEP"}, {0xC0000006, L"IN_PAGE_ERROR"}, {0xC0000008, L"INVALID_HANDLE"},
      {0xC000001D, L"ILLEGAL_INSTRUCTION"}, {0xC0000025, L"NONCONTINUABLE_EXCEPTION"},
      {0xC0000026, L"INVALID_DISPOSITION"}, {0xC000008C, L"ARRAY_BOUNDS_EXCEEDED"},
      {0xC000008D, L"FLT_DENORMAL_OPERAND"}, {0xC000008E, L"FLT_DIVIDE_BY_ZERO"}, {0xC000008F, L"FLT_INEXACT_RESULT"},
      {0xC0000090, L"FLT_INVALID_OPERATION"}, {0xC0000091, L"FLT_OVERFLOW"}, {0xC0000092, L"FLT_STACK_CHECK"},
      {0xC0000093, L"FLT_UNDERFLOW"}, {0xC0000095, L"INT_OVERFLOW"}, {0xC0000000, L""}, {0x20474343, L""},
  };
  for (const auto& [code, name] : names) EXPECT_EQ(SehCodeName(code), name) << code;
}

std::vector<StackFrame> Frames(size_t count) {
  std::vector<StackFrame> frames(count);
  for (size_t i = 0; i < count; ++i) frames[i].address = 0x1000 + i;
  return frames;
}

size_t CountFrameLines(const std::wstring& trace) {
  size_t count = 0;
  for (size_t at = trace.find(L"\r\n[0x"); at != std::wstring::npos; at = trace.find(L"\r\n[0x", at + 1)) ++count;
  return count - 1;  // the module base line
}

TEST(StackTraceText, FrameLines) {
  EXPECT_EQ(FormatFrameLine({0x401000, L"", L"", 0}), L"[0x00401000]  -----\r\n");
  EXPECT_EQ(FormatFrameLine({0x401000, L"Run", L"", 0}), L"[0x00401000]  Run()\r\n");
  EXPECT_EQ(FormatFrameLine({0x140001234, L"cv::Chainer::Run", L"C:\\src\\chainer\\win\\Chainer.cpp", 42}),
            L"[0x140001234]  cv::Chainer::Run() -> Chainer.cpp:42\r\n");
  EXPECT_EQ(FormatFrameLine({0x401000, L"", L"Main.cpp", 7}), L"[0x00401000]  ----- -> Main.cpp:7\r\n");
}

TEST(StackTraceText, FramesBeyondTheLimitEndInTheMoreLine) {
  EXPECT_EQ(FormatStackTrace({}, 200, 0x400000),
            L"\r\n*** Stack Trace (x86) ***\r\n\r\n[0x00400000]  MODULE_BASE_ADDRESS\r\n");
  EXPECT_EQ(FormatStackTrace(Frames(2), 200, 0x400000),
            L"\r\n*** Stack Trace (x86) ***\r\n\r\n[0x00001000]  -----\r\n[0x00001001]  -----\r\n"
            L"[0x00400000]  MODULE_BASE_ADDRESS\r\n");
  for (size_t count : {size_t{199}, size_t{200}, size_t{201}}) {
    std::wstring trace = FormatStackTrace(Frames(count), 200, 0x400000);
    EXPECT_EQ(CountFrameLines(trace), std::min<size_t>(count, 200)) << count;
    EXPECT_EQ(trace.find(kMoreFramesLine) != std::wstring::npos, count >= 200) << count;
  }
  std::wstring trace = FormatStackTrace(Frames(200), 200, 0x400000);
  EXPECT_NE(trace.find(L"[0x000010c7]  -----\r\n<--------------------MORE--FRAMES-------------------->\r\n"
                       L"[0x00400000]  MODULE_BASE_ADDRESS\r\n"),
            std::wstring::npos);
}

TEST(StackTraceText, LocationComesFromTheFirstFrameWithASourcePart) {
  struct Case {
    std::wstring trace;
    std::wstring file;
    int32_t line;
  } cases[] = {
      {FormatStackTrace({{0x401000, L"Crash", L"C:\\src\\Crash.cpp", 17}}, 1, 0x400000), L"Crash.cpp", 17},
      {FormatStackTrace({{0x401000, L"Crash", L"", 0}}, 1, 0x400000), kExceptionHandlingSource, 91},
      {FormatStackTrace({}, 1, 0x400000), kExceptionHandlingSource, 91},
      {L"", kExceptionHandlingSource, 91},
      {std::wstring(kStackTraceHeader) + L"[0x1]  f() ->  My File.cpp :12\r\n", L"My File.cpp", 12},
      {std::wstring(kStackTraceHeader) + L"[0x1]  f() -> File.cpp:\r\n", kExceptionHandlingSource, 91},
      {std::wstring(kStackTraceHeader) + L"[0x1]  f() -> File.cpp:1x\r\n", kExceptionHandlingSource, 91},
  };
  for (const Case& c : cases) {
    SourceLocation location = LocationFromTrace(c.trace);
    EXPECT_EQ(location.file, c.file) << c.trace;
    EXPECT_EQ(location.line, c.line) << c.trace;
  }
}

TEST(StackTraceText, UnhandledDetails) {
  EXPECT_EQ(ComposeUnhandledDetails(true, 0xC0000005, 0x401234, L"TRACE"),
            L"[EXCEPTION_UNHANDLED] (0xc0000005) at address [0x00401234]\r\nTRACE");
  EXPECT_EQ(ComposeUnhandledDetails(false, 0, 0, L""), L"[EXCEPTION_UNHANDLED] ");
}

std::wstring FakeTrace() { return FormatStackTrace({{0x401000, L"Fault", L"", 0}}, 200, 0x400000); }

TEST(ProgramExceptions, KindsNamesAndCopies) {
  SehException seh(L"Crash.cpp", 17, kSehAvWriteNullPtr, L"[SEH_AV_WRITE_NULLPTR] text");
  EXPECT_EQ(seh.GetKind(), kExceptionSeh);
  std::wstring name;
  seh.GetKindName(name);
  EXPECT_EQ(name, L"SEH_AV_WRITE_NULLPTR");
  EXPECT_EQ(seh.Code(), static_cast<int32_t>(0xE0010064));
  Exception generic(L"text", L"File.cpp", 3);
  EXPECT_EQ(generic.GetKind(), kExceptionGeneric);
  generic.GetKindName(name);
  EXPECT_EQ(name, L"EXCEPTION_GENERIC");

  // Throw keeps the most-derived type even through the interface.
  const IException& asInterface = seh;
  try {
    asInterface.Throw();
    FAIL();
  } catch (const SehException& thrown) {
    EXPECT_EQ(thrown.SehKind(), kSehAvWriteNullPtr);
    EXPECT_EQ(thrown.Line(), 17);
  }

  SetCurrentTraceSource(FakeTrace);
  std::unique_ptr<IException> plain(seh.Clone(false));
  EXPECT_EQ(static_cast<SehException&>(*plain).Text(), seh.Text());
  std::unique_ptr<IException> traced(seh.Clone(true));
  EXPECT_EQ(traced->GetKind(), kExceptionSeh);
  EXPECT_EQ(static_cast<SehException&>(*traced).Text(), seh.Text() + L"\r\n" + FakeTrace());
  // A text that carries a trace gets no second one.
  std::unique_ptr<IException> again(static_cast<SehException&>(*traced).Clone(true));
  EXPECT_EQ(static_cast<SehException&>(*again).Text(), static_cast<SehException&>(*traced).Text());
  SetCurrentTraceSource(nullptr);
}

TEST(ProgramExceptions, HResultsTravelAlone) {
  const int32_t codes[] = {kE_FAIL, kE_OUTOFMEMORY, kE_INVALIDARG, kE_BOUNDS};
  for (int32_t code : codes) {
    try {
      ThrowHResult(code);
      FAIL();
    } catch (const HResultException& e) {
      EXPECT_EQ(e.hresult, code);
    }
  }
  EXPECT_EQ(static_cast<uint32_t>(kE_BOUNDS), 0x8000000Bu);
}

}  // namespace
}  // namespace cv
