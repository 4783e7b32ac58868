#include "platform/core/win/Logger.h"

#include <windows.h>
#include <shlobj.h>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

#include <atomic>
#include <optional>

#include "platform/core/LogFormat.h"
#include "platform/core/PathText.h"
#include "platform/core/win/FileSystem.h"
#include "platform/core/win/FolderResolution.h"
#include "platform/core/win/Handles.h"
#include "platform/core/win/Security.h"

namespace cv {

namespace {

std::atomic<bool> gLoggingEnabled{false};
// Set when the logger has been destroyed at exit; later lines are dropped.
std::atomic<bool> gLoggerGone{false};
std::atomic<LogOsLineSource> gOsLineSource{nullptr};

const wchar_t kLogsFolderName[] = L"CORVANE_LOGS";

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
  if (brand->empty()) return std::wstring();
  int length = MultiByteToWideChar(CP_THREAD_ACP, 0, brand->data(), static_cast<int>(brand->size()), nullptr, 0);
  std::wstring text(static_cast<size_t>(length > 0 ? length : 0), L'\0');
  if (length > 0)
    MultiByteToWideChar(CP_THREAD_ACP, 0, brand->data(), static_cast<int>(brand->size()), text.data(), length);
  return text;
}

void DebugOutput(const std::wstring& text) { OutputDebugStringW(text.c_str()); }

std::optional<std::wstring> CommonAppDataFolder() {
  if (std::optional<std::wstring> folder = ShellFolderFromIdList(CSIDL_COMMON_APPDATA)) return folder;
  using SHGetSpecialFolderPathFunction = BOOL(WINAPI*)(HWND, LPWSTR, int, BOOL);
  UniqueLibrary shell32 = LoadSystemLibrary(L"Shell32.dll");
  if (!shell32) return std::nullopt;
  auto getFolderPath = FindFunction<SHGetSpecialFolderPathFunction>(shell32.get(), "SHGetSpecialFolderPathW");
  wchar_t path[MAX_PATH] = {};
  if (!getFolderPath || !getFolderPath(nullptr, path, CSIDL_COMMON_APPDATA, FALSE)) return std::nullopt;
  return std::wstring(path);
}

// CORVANE_LOGS under the common application-data folder, open to every user
// so that runs under other accounts can add to the same logs.
std::wstring CommonLogsFolder() {
  std::optional<std::wstring> appData = CommonAppDataFolder();
  if (!appData || appData->empty()) return std::wstring();
  std::wstring folder = EnsureTrailingBackslash(*appData) + kLogsFolderName;
  if (IsFolder(folder)) return folder;
  SecurityDescriptorBuilder builder;
  if (!builder.AddAccount(L"Everyone", false)) return std::wstring();
  PSECURITY_DESCRIPTOR descriptor = builder.Build();
  if (!descriptor) return std::wstring();
  SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor, FALSE};
  if (!CreateDirectoryW(ToLongPath(folder).c_str(), &attributes) && GetLastError() != ERROR_ALREADY_EXISTS)
    return std::wstring();
  return folder;
}

std::wstring TempLogsFolder() {
  std::wstring temp = GetTempFolder();
  if (temp.empty()) return std::wstring();
  std::wstring folder = EnsureTrailingBackslash(temp) + kLogsFolderName;
  if (!CreateDirectoryW(ToLongPath(folder).c_str(), nullptr) && !IsFolder(folder)) return std::wstring();
  return folder;
}

// The places tried when the configured path cannot be opened, in order;
// empty when a place is not available.
std::wstring FallbackPath(int attempt) {
  std::wstring program = GetModulePath();
  if (program.empty()) return std::wstring();
  std::wstring fileName = LogFileNameFor(GetFileName(program));
  std::wstring folder;
  switch (attempt) {
    case 0:
      folder = CommonLogsFolder();
      break;
    case 1:
      return LogFileNameFor(program);
    case 2:
      folder = TempLogsFolder();
      break;
    default:
      return std::wstring();
  }
  return folder.empty() ? std::wstring() : folder + L"\\" + fileName;
}

constexpr int kFallbackCount = 3;

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
      if (path_.empty()) {
        // A place that is not available is skipped: the next may still take the log.
        while (path_.empty() && attempt < kFallbackCount) path_ = FallbackPath(attempt++);
        if (path_.empty()) return false;
      }
      HANDLE file = CreateFileW(ToLongPath(path_).c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr);
      DWORD state = GetLastError();  // tells a created file from a reused one
      file_.reset(file);
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
