#include "platform/core/win/Logger.h"

#include <windows.h>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

#include <atomic>
#include <optional>

#include "platform/core/LogFormat.h"
#include "platform/core/win/CodePage.h"
#include "platform/core/win/Handles.h"
#include "platform/core/win/LogFolders.h"

namespace cv {

namespace {

std::atomic<bool> gLoggingEnabled{false};
// Set when the logger has been destroyed at exit; later lines are dropped.
std::atomic<bool> gLoggerGone{false};
std::atomic<LogOsLineSource> gOsLineSource{nullptr};

std::wstring CpuBrand() {
  uint32_t registers[12] = {};
  uint32_t highest = 0;
#if defined(__i386__) || defined(__x86_64__)
  highest = __get_cpuid_max(0x80000000u, nullptr);
  for (uint32_t i = 0; i < 3 && highest >= 0x80000004u; ++i)
    __get_cpuid(0x80000002u + i, &registers[4 * i], &registers[4 * i + 1], &registers[4 * i + 2],
                &registers[4 * i + 3]);
#endif
  std::optional<std::string> brand = CpuBrandFromCpuid(highest, registers);
  if (!brand) return kUnknownCpu;
  return WideFromCodePage(*brand, CP_THREAD_ACP);
}

void DebugOutput(const std::wstring& text) { OutputDebugStringW(text.c_str()); }

class Logger {
 public:
  Logger() { InitializeCriticalSection(&lock_); }
  ~Logger() {
    try {
      if (gLoggingEnabled) WriteLine(kLogFooter);
    } catch (...) {
    }
    EnterCriticalSection(&lock_);
    gLoggerGone = true;
    file_.reset();
    LeaveCriticalSection(&lock_);
    DeleteCriticalSection(&lock_);
  }
  Logger(const Logger&) = delete;
  Logger& operator=(const Logger&) = delete;

  void SetLogFile(const std::wstring& path) {
    Locked locked(lock_);
    DebugOutput(L"Logger::SetLogFile( " + path + L" ) while OLD path is:" + path_);
    if (!file_) path_ = path;
  }

  void WriteLine(const std::wstring& message) {
    Locked locked(lock_);
    if (!file_ && !Open()) return;
    SYSTEMTIME now{};
    GetLocalTime(&now);
    Write(LogLine({now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond}, message));
  }

 private:
  class Locked {
   public:
    explicit Locked(CRITICAL_SECTION& lock) : lock_(lock) { EnterCriticalSection(&lock_); }
    ~Locked() { LeaveCriticalSection(&lock_); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

   private:
    CRITICAL_SECTION& lock_;
  };

  // Tries the configured path, then the fallbacks; false when no place takes the file.
  bool Open() {
    for (int attempt = 0;;) {
      LogLocation location{path_, false};
      if (path_.empty()) {
        // A place that is not available is skipped: the next may still take the log.
        while (location.path.empty() && attempt < kLogFallbackCount)
          location = FallbackLogLocation(attempt++, RunningAccountFacts());
        if (location.path.empty()) return false;
        path_ = location.path;
      }
      DWORD state = 0;  // tells a created file from a reused one
      file_ = OpenLogFile(location, state);
      if (!file_) {
        DebugOutput(L"LOGGER->failed to create LOG at:" + path_);
        path_.clear();
        continue;
      }
      std::wstring header;
      if (state == ERROR_ALREADY_EXISTS) {
        DebugOutput(L"LOGGER->Reusing LOG file at:" + path_ + L"\r\n");
        SetFilePointerEx(file_.get(), LARGE_INTEGER{}, nullptr, FILE_END);
      } else if (state == ERROR_SUCCESS) {
        DebugOutput(L"LOGGER->Creating LOG file at:" + path_ + L"\r\n");
        header = L"\xFEFF";  // the byte-order mark only at the start of a new file
      } else {
        file_.reset();
        return false;
      }
      LogOsLineSource osLine = gOsLineSource;
      Write(header + LogHeaderBlock(osLine ? osLine() : std::wstring(), CpuBrand()));
      return true;
    }
  }

  // One write and one flush per line, so that a line is on disk whole as soon
  // as it is written. Results are not looked at: a line that cannot be
  // written is lost.
  void Write(const std::wstring& text) {
    DWORD written = 0;
    WriteFile(file_.get(), text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written, nullptr);
    FlushFileBuffers(file_.get());
  }

  CRITICAL_SECTION lock_;
  std::wstring path_;
  UniqueFile file_;
};

// Made on first use, during the run, so that it is destroyed at exit before
// the process-wide values it reads while it writes its footer.
Logger& TheLogger() {
  static Logger logger;
  return logger;
}

}  // namespace

bool LoggingEnabled() { return gLoggingEnabled; }

void SetLogOsLineSource(LogOsLineSource source) { gOsLineSource = source; }

void EnableLogging() {
  TheLogger();
  gLoggingEnabled = true;
}

void SetLogFile(const std::wstring& path) {
  if (gLoggerGone) return;
  try {
    TheLogger().SetLogFile(path);
  } catch (...) {
    // Out of memory while composing: the log is no reason to stop the program.
  }
}

void WriteLine(const std::wstring& message) {
  if (gLoggerGone) return;
  try {
    TheLogger().WriteLine(message);
  } catch (...) {
  }
}

}  // namespace cv
