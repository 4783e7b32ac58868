#include "platform/core/win/ExceptionHandling.h"

#include <dbghelp.h>

#include <atomic>
#include <vector>

#include "platform/core/PathText.h"
#include "platform/core/Text.h"
#include "platform/core/win/ExceptionPresenter.h"
#include "platform/core/win/FileSystem.h"
#include "platform/core/win/CodePage.h"
#include "platform/core/win/SystemLibrary.h"
#include "platform/core/win/WorkerThread.h"

extern "C" {
[[noreturn]] void cv_throw_pending_seh();
void cv_seh_trampoline();
}

// The trampoline stands between the faulting function and the one that
// throws: the handler makes it look as if the faulting instruction had called
// it (return address = fault + 1, inside the faulting instruction, so the
// unwinder finds the handlers around it). It realigns the stack, which may
// be anything at a fault, and carries unwind information of its own.
#if defined(__x86_64__)
asm(R"(
  .text
  .globl cv_seh_trampoline
  .def cv_seh_trampoline; .scl 2; .type 32; .endef
  .seh_proc cv_seh_trampoline
cv_seh_trampoline:
  pushq %rbp
  .seh_pushreg %rbp
  movq %rsp, %rbp
  .seh_setframe %rbp, 0
  .seh_endprologue
  andq $-16, %rsp
  subq $32, %rsp
  call cv_throw_pending_seh
  int3
  .seh_endproc
)");
#elif defined(__i386__)
asm(R"(
  .text
  .globl _cv_seh_trampoline
  .def _cv_seh_trampoline; .scl 2; .type 32; .endef
_cv_seh_trampoline:
  .cfi_startproc
  pushl %ebp
  .cfi_def_cfa_offset 8
  .cfi_offset %ebp, -8
  movl %esp, %ebp
  .cfi_def_cfa_register %ebp
  andl $-16, %esp
  call _cv_throw_pending_seh
  int3
  .cfi_endproc
)");
#else
#error "no trampoline for this processor"
#endif

namespace cv {

namespace {

constexpr size_t kMaxFrames = 200;

// What the handler saves for the thread before it redirects it.
struct alignas(16) ThreadState {
  CONTEXT context;
  EXCEPTION_RECORD record;
  bool translating = false;
  bool haveContext = false;
};

// The handler reads the thread's state through a plain TLS slot: no
// allocation or lazy initialisation may happen inside it.
std::atomic<DWORD> tlsSlot{TLS_OUT_OF_INDEXES};
std::atomic<bool> filterInstalled{false};

ThreadState* CurrentState() {
  DWORD slot = tlsSlot.load();
  if (slot == TLS_OUT_OF_INDEXES) return nullptr;
  DWORD error = GetLastError();  // TlsGetValue clears it
  auto* state = static_cast<ThreadState*>(TlsGetValue(slot));
  SetLastError(error);
  return state;
}

// The image of the module this code is linked into, found once at install.
std::atomic<ULONG_PTR> imageBase{0};
std::atomic<ULONG_PTR> imageSize{0};

bool InProgramImage(ULONG_PTR address) {
  ULONG_PTR base = imageBase.load();
  return base != 0 && address >= base && address - base < imageSize.load();
}

void FindProgramImage() {
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          reinterpret_cast<LPCWSTR>(&FindProgramImage), &module))
    return;
  auto* bytes = reinterpret_cast<const BYTE*>(module);
  auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes);
  auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(bytes + dos->e_lfanew);
  imageSize.store(nt->OptionalHeader.SizeOfImage);
  imageBase.store(reinterpret_cast<ULONG_PTR>(module));
}

bool Translatable(DWORD code) {
  if (code == EXCEPTION_GUARD_PAGE || code == EXCEPTION_BREAKPOINT || code == EXCEPTION_SINGLE_STEP) return false;
  return !SehCodeName(code).empty();
}

LONG CALLBACK VectoredHandler(EXCEPTION_POINTERS* pointers) {
  ThreadState* state = CurrentState();
  if (!state || state->translating || !pointers || !pointers->ExceptionRecord || !pointers->ContextRecord)
    return EXCEPTION_CONTINUE_SEARCH;
  const EXCEPTION_RECORD& record = *pointers->ExceptionRecord;
  if (!Translatable(record.ExceptionCode)) return EXCEPTION_CONTINUE_SEARCH;
  CONTEXT* context = pointers->ContextRecord;
#if defined(__x86_64__)
  ULONG_PTR& pc = context->Rip;
  ULONG_PTR& sp = context->Rsp;
#else
  ULONG_PTR& pc = reinterpret_cast<ULONG_PTR&>(context->Eip);
  ULONG_PTR& sp = reinterpret_cast<ULONG_PTR&>(context->Esp);
#endif
  bool push;
  if (InProgramImage(pc)) {
    push = true;
  } else if (record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION && record.NumberParameters >= 2 &&
             record.ExceptionInformation[0] == 8 && InProgramImage(*reinterpret_cast<ULONG_PTR*>(sp))) {
    // A call to a bad address: the caller's return address is on the stack
    // already, as for a call that threw.
    push = false;
  } else {
    return EXCEPTION_CONTINUE_SEARCH;
  }
  state->translating = true;
  state->record = record;
  state->record.ExceptionRecord = nullptr;
  state->context = *context;
  state->haveContext = true;
  if (push) {
    sp -= sizeof(ULONG_PTR);
    *reinterpret_cast<ULONG_PTR*>(sp) = pc + 1;
  }
  pc = reinterpret_cast<ULONG_PTR>(&cv_seh_trampoline);
  return EXCEPTION_CONTINUE_EXECUTION;
}

void EnsureHandlerInstalled() {
  static const bool installed = [] {
    DWORD slot = TlsAlloc();
    if (slot == TLS_OUT_OF_INDEXES) return false;
    tlsSlot.store(slot);
    FindProgramImage();
    return AddVectoredExceptionHandler(1, VectoredHandler) != nullptr;
  }();
  (void)installed;
}

// The trace of the exception this thread translated last.
std::wstring CurrentExceptionTrace() {
  ThreadState* state = CurrentState();
  std::wstring trace;
  if (state && state->haveContext) AppendStackTrace(trace, &state->context, kMaxFrames);
  return trace;
}

// The symbol functions, looked up once; the library stays loaded.
struct SymbolLibrary {
  decltype(&SymSetOptions) setOptions = nullptr;
  decltype(&SymInitializeW) initialize = nullptr;
  decltype(&SymSetSearchPathW) setSearchPath = nullptr;
  decltype(&SymCleanup) cleanup = nullptr;
  decltype(&SymFromAddr) fromAddress = nullptr;
  decltype(&SymGetLineFromAddr64) lineFromAddress = nullptr;
  decltype(&StackWalk64) stackWalk = nullptr;
  PFUNCTION_TABLE_ACCESS_ROUTINE64 functionTableAccess = nullptr;
  PGET_MODULE_BASE_ROUTINE64 moduleBase = nullptr;
  bool complete = false;
};

const SymbolLibrary& Symbols() {
  static const SymbolLibrary symbols = [] {
    SymbolLibrary s;
    HMODULE module = LoadSystemLibrary(L"dbghelp.dll").release();
    if (!module) return s;
    s.setOptions = FindFunction<decltype(s.setOptions)>(module, "SymSetOptions");
    s.initialize = FindFunction<decltype(s.initialize)>(module, "SymInitializeW");
    s.setSearchPath = FindFunction<decltype(s.setSearchPath)>(module, "SymSetSearchPathW");
    s.cleanup = FindFunction<decltype(s.cleanup)>(module, "SymCleanup");
    s.fromAddress = FindFunction<decltype(s.fromAddress)>(module, "SymFromAddr");
    s.lineFromAddress = FindFunction<decltype(s.lineFromAddress)>(module, "SymGetLineFromAddr64");
    s.stackWalk = FindFunction<decltype(s.stackWalk)>(module, "StackWalk64");
    s.functionTableAccess = FindFunction<PFUNCTION_TABLE_ACCESS_ROUTINE64>(module, "SymFunctionTableAccess64");
    s.moduleBase = FindFunction<PGET_MODULE_BASE_ROUTINE64>(module, "SymGetModuleBase64");
    s.complete = s.setOptions && s.initialize && s.setSearchPath && s.cleanup && s.fromAddress &&
                 s.lineFromAddress && s.stackWalk && s.functionTableAccess && s.moduleBase;
    return s;
  }();
  return symbols;
}

// The symbol handler is not thread-safe.
CRITICAL_SECTION& TraceLock() {
  static CRITICAL_SECTION lock = [] {
    CRITICAL_SECTION section;
    InitializeCriticalSection(&section);
    return section;
  }();
  return lock;
}

std::wstring Widen(const char* text) { return WideFromCodePage(text, CP_ACP); }

std::vector<StackFrame> WalkStack(const SymbolLibrary& s, const CONTEXT& start, size_t maxFrames) {
  HANDLE process = GetCurrentProcess();
  CONTEXT context = start;  // the walk changes it
  STACKFRAME64 walk{};
#if defined(__x86_64__)
  DWORD machine = IMAGE_FILE_MACHINE_AMD64;
  walk.AddrPC.Offset = context.Rip;
  walk.AddrFrame.Offset = context.Rbp;
  walk.AddrStack.Offset = context.Rsp;
#else
  DWORD machine = IMAGE_FILE_MACHINE_I386;
  walk.AddrPC.Offset = context.Eip;
  walk.AddrFrame.Offset = context.Ebp;
  walk.AddrStack.Offset = context.Esp;
#endif
  walk.AddrPC.Mode = walk.AddrFrame.Mode = walk.AddrStack.Mode = AddrModeFlat;
  std::vector<StackFrame> frames;
  alignas(SYMBOL_INFO) char buffer[sizeof(SYMBOL_INFO) + 2000];
  while (frames.size() < maxFrames &&
         s.stackWalk(machine, process, GetCurrentThread(), &walk, &context, nullptr, s.functionTableAccess,
                     s.moduleBase, nullptr)) {
    StackFrame frame;
    frame.address = walk.AddrPC.Offset;
    auto* symbol = reinterpret_cast<SYMBOL_INFO*>(buffer);
    ZeroMemory(buffer, sizeof buffer);
    symbol->SizeOfStruct = sizeof(SYMBOL_INFO);
    symbol->MaxNameLen = 2000;
    DWORD64 displacement = 0;
    if (s.fromAddress(process, frame.address, &displacement, symbol)) frame.symbol = Widen(symbol->Name);
    IMAGEHLP_LINE64 line{};
    line.SizeOfStruct = sizeof line;
    DWORD lineDisplacement = 0;
    if (s.lineFromAddress(process, frame.address, &lineDisplacement, &line) && line.FileName) {
      frame.sourceFile = Widen(line.FileName);
      frame.line = static_cast<int32_t>(line.LineNumber);
    }
    frames.push_back(std::move(frame));
  }
  return frames;
}

}  // namespace

void AppendStackTrace(std::wstring& text, const CONTEXT* context, size_t maxFrames) {
  if (!context) return;
  CRITICAL_SECTION& lock = TraceLock();
  EnterCriticalSection(&lock);
  const SymbolLibrary& s = Symbols();
  HANDLE process = GetCurrentProcess();
  if (s.complete) {
    s.setOptions(SYMOPT_UNDNAME | SYMOPT_DEFERRED_LOADS | SYMOPT_LOAD_LINES | SYMOPT_DEBUG);
    if (s.initialize(process, nullptr, TRUE)) {
      std::wstring program = GetModulePath();
      size_t slash = program.rfind(L'\\');
      std::wstring folder = slash == std::wstring::npos ? std::wstring() : program.substr(0, slash);
      if (s.setSearchPath(process, folder.c_str())) {
        std::vector<StackFrame> frames = WalkStack(s, *context, maxFrames);
        text += FormatStackTrace(frames, maxFrames, reinterpret_cast<ULONG_PTR>(GetModuleHandleW(nullptr)));
      }
      s.cleanup(process);
    }
  }
  LeaveCriticalSection(&lock);
}

void TranslateSehException(unsigned int code, EXCEPTION_POINTERS* pointers) {
  if (!pointers || !pointers->ExceptionRecord)
    throw SehException(kExceptionHandlingSource, kTranslatorNoPointersLine, kSehGeneric, L"Unidentified SEH Exception !");
  const EXCEPTION_RECORD& record = *pointers->ExceptionRecord;
  auto address = reinterpret_cast<ULONG_PTR>(record.ExceptionAddress);
  std::wstring trace;
  AppendStackTrace(trace, pointers->ContextRecord, kMaxFrames);
  std::vector<uint64_t> parameters(record.ExceptionInformation,
                                   record.ExceptionInformation + std::min<DWORD>(record.NumberParameters, 2));
  int32_t sehKind = ClassifySehException(code, parameters);
  std::wstring top;
  AppendStackTrace(top, pointers->ContextRecord, 1);
  SourceLocation location = LocationFromTrace(top);
  throw SehException(location.file, location.line, sehKind, ComposeSehText(sehKind, code, address, trace));
}

extern "C" void cv_throw_pending_seh() {
  ThreadState* state = CurrentState();
  EXCEPTION_POINTERS pointers{&state->record, &state->context};
  try {
    TranslateSehException(state->record.ExceptionCode, &pointers);
  } catch (...) {
    // Faults while throwing are translated again from here on.
    state->translating = false;
    throw;
  }
}

ExceptionHandlingScope::ExceptionHandlingScope(TopLevelFilter filter) : previous_(nullptr) {
  EnsureHandlerInstalled();
  SetCurrentTraceSource(CurrentExceptionTrace);
  DWORD slot = tlsSlot.load();
  if (slot != TLS_OUT_OF_INDEXES) {
    previous_ = TlsGetValue(slot);
    TlsSetValue(slot, new ThreadState());
  }
  if (filter == TopLevelFilter::Install && !filterInstalled.exchange(true))
    SetUnhandledExceptionFilter(TopLevelExceptionFilter);
}

ExceptionHandlingScope::~ExceptionHandlingScope() {
  DWORD slot = tlsSlot.load();
  if (slot == TLS_OUT_OF_INDEXES) return;
  delete static_cast<ThreadState*>(TlsGetValue(slot));
  TlsSetValue(slot, previous_);
}

LONG WINAPI TopLevelExceptionFilter(EXCEPTION_POINTERS* pointers) {
  bool haveException = pointers && pointers->ExceptionRecord;
  std::wstring trace;
  if (pointers) AppendStackTrace(trace, pointers->ContextRecord, kMaxFrames);
  std::wstring details = ComposeUnhandledDetails(
      haveException, haveException ? pointers->ExceptionRecord->ExceptionCode : 0,
      haveException ? reinterpret_cast<ULONG_PTR>(pointers->ExceptionRecord->ExceptionAddress) : 0, trace);
  // The message would be string 65001, which the program's table lacks.
  const wchar_t* resource = nullptr;
  int length = LoadStringW(GetModuleHandleW(nullptr), 65001, reinterpret_cast<LPWSTR>(&resource), 0);
  std::wstring message = length > 0 ? std::wstring(resource, static_cast<size_t>(length)) : std::wstring();
  ReportError(nullptr, message, details, ExceptionKindName(kExceptionUnhandled),
              SourceLocation{kExceptionHandlingSource, 0});
  return EXCEPTION_EXECUTE_HANDLER;
}

bool RunOnGuardedThread(const std::function<void()>& work) {
  bool completed = false;
  bool ran = RunOnWorkerThread([&] {
    ExceptionHandlingScope scope(ExceptionHandlingScope::TopLevelFilter::Leave);
    try {
      work();
      completed = true;
    } catch (...) {
      // A crash too: the translator made it an exception on this thread.
    }
  });
  return ran && completed;
}

std::wstring FormatErrorText(uint32_t code) {
  wchar_t* buffer = nullptr;
  DWORD length = FormatMessageW(
      FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr, code,
      LANG_USER_DEFAULT, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
  UniqueLocal owner(buffer);
  if (length == 0 || !buffer) return FormatText(L"%d", static_cast<int>(code));
  return std::wstring(buffer, length);
}

}  // namespace cv
