#include "platform/core/ExceptionHandling.h"

#include <atomic>

#include "platform/core/Text.h"

namespace cv {

namespace {

struct CodeName {
  uint32_t code;
  const wchar_t* name;
};

constexpr CodeName kCodeNames[] = {
    {0xC0000005, L"ACCESS_VIOLATION"},
    {0x80000001, L"GUARD_PAGE"},
    {0x80000002, L"DATATYPE_MISALIGNMENT"},
    {0x80000003, L"BREAKPOINT"},
    {0x80000004, L"SINGLE_STEP"},
    {0xC0000006, L"IN_PAGE_ERROR"},
    {0xC0000008, L"INVALID_HANDLE"},
    {0xC000001D, L"ILLEGAL_INSTRUCTION"},
    {0xC0000025, L"NONCONTINUABLE_EXCEPTION"},
    {0xC0000026, L"INVALID_DISPOSITION"},
    {0xC000008C, L"ARRAY_BOUNDS_EXCEEDED"},
    {0xC000008D, L"FLT_DENORMAL_OPERAND"},
    {0xC000008E, L"FLT_DIVIDE_BY_ZERO"},
    {0xC000008F, L"FLT_INEXACT_RESULT"},
    {0xC0000090, L"FLT_INVALID_OPERATION"},
    {0xC0000091, L"FLT_OVERFLOW"},
    {0xC0000092, L"FLT_STACK_CHECK"},
    {0xC0000093, L"FLT_UNDERFLOW"},
    {0xC0000094, L"INT_DIVIDE_BY_ZERO"},
    {0xC0000095, L"INT_OVERFLOW"},
    {0xC0000096, L"PRIV_INSTRUCTION"},
    {0xC00000FD, L"STACK_OVERFLOW"},
};

// Lower-case hexadecimal with at least minDigits digits, as "%.8x" writes it.
std::wstring Hex(uint64_t value, int minDigits) {
  static const wchar_t kDigits[] = L"0123456789abcdef";
  std::wstring digits;
  do {
    digits.insert(digits.begin(), kDigits[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  if (static_cast<int>(digits.size()) < minDigits) digits.insert(0, minDigits - digits.size(), L'0');
  return digits;
}

// "(0x%.8x) at address [0x%.8Ix]\r\n"
std::wstring CodeAndAddress(uint32_t code, uint64_t address) {
  return L"(0x" + Hex(code, 8) + L") at address [0x" + Hex(address, 8) + L"]\r\n";
}

std::atomic<CurrentTraceSource> currentTraceSource{nullptr};

}  // namespace

const wchar_t kStackTraceHeader[] = L"\r\n*** Stack Trace (x86) ***\r\n\r\n";
const wchar_t kMoreFramesLine[] = L"<--------------------MORE--FRAMES-------------------->\r\n";
const wchar_t kExceptionHandlingSource[] = L"platform\\core\\ExceptionHandling";

std::wstring ExceptionKindName(int32_t kind) {
  static const wchar_t* const kNames[] = {
      L"EXCEPTION_STD", L"EXCEPTION_UNHANDLED", L"EXCEPTION_GENERIC",          L"EXCEPTION_WIN32",
      L"EXCEPTION_CMD", L"EXCEPTION_XML_PARSE", L"EXCEPTION_ERROR_SIGNALING", L"EXCEPTION_SEH",
  };
  if (kind < 0 || kind > kExceptionSeh) return L"Exception ???";
  return kNames[kind];
}

std::wstring SehKindName(int32_t sehKind) {
  static const wchar_t* const kNames[] = {
      L"SEH_GENERIC",         L"SEH_AV_READ_NULLPTR", L"SEH_AV_READ_BADPTR", L"SEH_AV_WRITE_NULLPTR",
      L"SEH_AV_WRITE_BADPTR", L"SEH_AV_DEP_NULLPTR",  L"SEH_AV_DEP_BADPTR",
  };
  if (sehKind < 0 || sehKind > kSehAvDepBadPtr) return kNames[0];
  return kNames[sehKind];
}

std::wstring SehCodeName(uint32_t code) {
  for (const CodeName& entry : kCodeNames)
    if (entry.code == code) return entry.name;
  return std::wstring();
}

int32_t ClassifySehException(uint32_t code, const std::vector<uint64_t>& parameters) {
  if (code != kAccessViolationCode || parameters.size() < 2) return kSehGeneric;
  bool null = parameters[1] == 0;
  switch (parameters[0]) {
    case 0: return null ? kSehAvReadNullPtr : kSehAvReadBadPtr;
    case 1: return null ? kSehAvWriteNullPtr : kSehAvWriteBadPtr;
    case 8: return null ? kSehAvDepNullPtr : kSehAvDepBadPtr;
    default: return kSehGeneric;
  }
}

std::wstring FormatSehLine(uint32_t code, uint64_t address) {
  std::wstring name = SehCodeName(code);
  return (name.empty() ? std::wstring(L"Unknown SEH Exception") : name) + L" " + CodeAndAddress(code, address);
}

std::wstring FormatFrameLine(const StackFrame& frame) {
  std::wstring line = L"[0x" + Hex(frame.address, 8) + L"]  ";
  line += frame.symbol.empty() ? std::wstring(L"-----") : frame.symbol + L"()";
  if (frame.line != 0) {
    size_t slash = frame.sourceFile.rfind(L'\\');
    line += L" -> " + (slash == std::wstring::npos ? frame.sourceFile : frame.sourceFile.substr(slash + 1)) + L":" +
            std::to_wstring(frame.line);
  }
  return line + L"\r\n";
}

std::wstring FormatStackTrace(const std::vector<StackFrame>& frames, size_t maxFrames, uint64_t moduleBase) {
  std::wstring trace = kStackTraceHeader;
  for (size_t i = 0; i < frames.size() && i < maxFrames; ++i) {
    trace += FormatFrameLine(frames[i]);
    if (i + 1 == maxFrames) trace += kMoreFramesLine;
  }
  return trace + L"[0x" + Hex(moduleBase, 8) + L"]  MODULE_BASE_ADDRESS\r\n";
}

SourceLocation LocationFromTrace(const std::wstring& trace) {
  SourceLocation fallback{kExceptionHandlingSource, kTranslatorFallbackLine};
  size_t header = trace.find(kStackTraceHeader);
  if (header == std::wstring::npos) return fallback;
  size_t start = header + (sizeof kStackTraceHeader / sizeof(wchar_t) - 1);
  size_t end = trace.find(L"\r\n", start);
  std::wstring frame = trace.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
  size_t arrow = frame.find(L" -> ");
  if (arrow == std::wstring::npos) return fallback;
  size_t colon = frame.rfind(L':');
  if (colon == std::wstring::npos || colon < arrow + 4) return fallback;
  std::wstring digits = frame.substr(colon + 1);
  if (digits.empty()) return fallback;
  int32_t line = 0;
  for (wchar_t c : digits) {
    if (!IsDecimalDigit(c) || line > 100000000) return fallback;
    line = line * 10 + (c - L'0');
  }
  std::wstring file = TrimWhiteSpace(frame.substr(arrow + 4, colon - arrow - 4));
  if (file.empty()) return fallback;
  return SourceLocation{file, line};
}

std::wstring ComposeSehText(int32_t sehKind, uint32_t code, uint64_t address, const std::wstring& trace) {
  return L"[" + SehKindName(sehKind) + L"] " + FormatSehLine(code, address) + trace;
}

std::wstring ComposeUnhandledDetails(bool haveException, uint32_t code, uint64_t address, const std::wstring& trace) {
  std::wstring details = L"[" + ExceptionKindName(kExceptionUnhandled) + L"] ";
  if (haveException) details += CodeAndAddress(code, address);
  return details + trace;
}

void SetCurrentTraceSource(CurrentTraceSource source) { currentTraceSource.store(source); }

Exception::Exception(std::wstring text, std::wstring file, int32_t line)
    : text_(std::move(text)), file_(std::move(file)), line_(line) {}

void Exception::Throw() const { throw *this; }

IException* Exception::Clone(bool withStackTrace) const {
  auto* copy = new Exception(*this);
  if (withStackTrace) copy->AppendCurrentTrace();
  return copy;
}

int32_t Exception::GetKind() const { return kExceptionGeneric; }

void Exception::GetKindName(std::wstring& name) const { name = ExceptionKindName(GetKind()); }

void Exception::AppendCurrentTrace() {
  if (text_.find(kStackTraceHeader) != std::wstring::npos) return;
  CurrentTraceSource source = currentTraceSource.load();
  std::wstring trace = source ? source() : std::wstring();
  if (!trace.empty()) text_ += L"\r\n" + trace;
}

SehException::SehException(std::wstring file, int32_t line, int32_t sehKind, std::wstring text)
    : Exception(std::move(text), std::move(file), line), sehKind_(sehKind) {}

void SehException::Throw() const { throw *this; }

IException* SehException::Clone(bool withStackTrace) const {
  auto* copy = new SehException(*this);
  if (withStackTrace) copy->AppendCurrentTrace();
  return copy;
}

int32_t SehException::GetKind() const { return kExceptionSeh; }

void SehException::GetKindName(std::wstring& name) const { name = SehKindName(sehKind_); }

void ThrowHResult(int32_t hresult) { throw HResultException{hresult}; }

}  // namespace cv
