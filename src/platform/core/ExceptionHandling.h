// The program's exceptions and the texts of its crash reports. Composing the
// texts is kept apart from the Windows machinery that gathers the facts
// (win/ExceptionHandling.h), so every text can be checked without a crash.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace cv {

// Kinds of exception, as reports name them.
enum ExceptionKind : int32_t {
  kExceptionStd = 0,
  kExceptionUnhandled = 1,
  kExceptionGeneric = 2,
  kExceptionWin32 = 3,
  kExceptionCmd = 4,
  kExceptionXmlParse = 5,
  kExceptionErrorSignaling = 6,
  kExceptionSeh = 7,
};
std::wstring ExceptionKindName(int32_t kind);

// What a structured exception was, as far as an access violation tells.
enum SehKind : int32_t {
  kSehGeneric = 0,
  kSehAvReadNullPtr = 1,
  kSehAvReadBadPtr = 2,
  kSehAvWriteNullPtr = 3,
  kSehAvWriteBadPtr = 4,
  kSehAvDepNullPtr = 5,
  kSehAvDepBadPtr = 6,
};
std::wstring SehKindName(int32_t sehKind);

constexpr uint32_t kAccessViolationCode = 0xC0000005;
constexpr uint32_t kStackOverflowCode = 0xC00000FD;
// The code of every exception the program creates.
constexpr int32_t kProgramExceptionCode = static_cast<int32_t>(0xE0010064);

// The name of a structured exception code ("ACCESS_VIOLATION"); empty for a
// code the program does not know.
std::wstring SehCodeName(uint32_t code);
// The sub-kind from an access violation's parameters (operation 0 read,
// 1 write, 8 execute; the address). Other codes, or too few parameters: generic.
int32_t ClassifySehException(uint32_t code, const std::vector<uint64_t>& parameters);

// "ACCESS_VIOLATION (0xc0000005) at address [0x00401234]\r\n", or the
// "Unknown SEH Exception" line for a code not in the table.
std::wstring FormatSehLine(uint32_t code, uint64_t address);

// One frame of a stack walk. An empty symbol means the symbol handler did not
// know the address; a line of 0 means no source line.
struct StackFrame {
  uint64_t address = 0;
  std::wstring symbol;
  std::wstring sourceFile;
  int32_t line = 0;
};

extern const wchar_t kStackTraceHeader[];
extern const wchar_t kMoreFramesLine[];

std::wstring FormatFrameLine(const StackFrame& frame);
// The header, one line per frame, the MORE line when the walk stopped at
// maxFrames, and the module base line.
std::wstring FormatStackTrace(const std::vector<StackFrame>& frames, size_t maxFrames, uint64_t moduleBase);

struct SourceLocation {
  std::wstring file;
  int32_t line = 0;
};
// Where the program stands when a structured exception gives no better place.
extern const wchar_t kExceptionHandlingSource[];
constexpr int32_t kTranslatorFallbackLine = 91;
constexpr int32_t kTranslatorNoPointersLine = 116;
// The source part (" -> file:line") of the first frame of a trace; the
// translator's own place when the frame has none.
SourceLocation LocationFromTrace(const std::wstring& trace);

// The full text of a translated structured exception: "[SUB_KIND] " + the
// line + the trace.
std::wstring ComposeSehText(int32_t sehKind, uint32_t code, uint64_t address, const std::wstring& trace);
// The details of an unhandled-exception report; without the exception's facts
// only the kind prefix.
std::wstring ComposeUnhandledDetails(bool haveException, uint32_t code, uint64_t address, const std::wstring& trace);

class IException {
 public:
  // Throws a copy as its own most-derived type.
  virtual void Throw() const = 0;
  virtual IException* Clone(bool withStackTrace) const = 0;
  virtual int32_t GetKind() const = 0;
  virtual ~IException() = default;
};

class Exception : public IException {
 public:
  Exception(std::wstring text, std::wstring file, int32_t line);
  void Throw() const override;
  IException* Clone(bool withStackTrace) const override;
  int32_t GetKind() const override;
  virtual void GetKindName(std::wstring& name) const;

  const std::wstring& Text() const { return text_; }
  int32_t Code() const { return code_; }
  const std::wstring& File() const { return file_; }
  int32_t Line() const { return line_; }

 protected:
  // Appends the stack trace of the exception being handled, unless the text has one.
  void AppendCurrentTrace();

 private:
  std::wstring text_;
  int32_t code_ = kProgramExceptionCode;
  std::wstring file_;
  int32_t line_ = 0;
};

class SehException : public Exception {
 public:
  SehException(std::wstring file, int32_t line, int32_t sehKind, std::wstring text);
  void Throw() const override;
  IException* Clone(bool withStackTrace) const override;
  int32_t GetKind() const override;
  void GetKindName(std::wstring& name) const override;

  int32_t SehKind() const { return sehKind_; }

 private:
  int32_t sehKind_ = kSehGeneric;
};

// The stack trace of the exception being handled on this thread (empty when
// there is none). The Windows part installs the source; elsewhere there is none.
using CurrentTraceSource = std::wstring (*)();
void SetCurrentTraceSource(CurrentTraceSource source);

// What the string and container code throws when memory runs out or an index
// lies outside a list: an HRESULT and nothing else.
struct HResultException {
  int32_t hresult;
};
constexpr int32_t kE_FAIL = static_cast<int32_t>(0x80004005);
constexpr int32_t kE_OUTOFMEMORY = static_cast<int32_t>(0x8007000E);
constexpr int32_t kE_INVALIDARG = static_cast<int32_t>(0x80070057);
constexpr int32_t kE_BOUNDS = static_cast<int32_t>(0x8000000B);
[[noreturn]] void ThrowHResult(int32_t hresult);

}  // namespace cv
