// Scratch folders, UTF-16 files and program runs for the tests under Wine.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/PathText.h"
#include "platform/core/Text.h"
#include "platform/core/win/FileSystem.h"
#include "platform/core/win/Handles.h"
#include "platform/core/win/ProcessExecution.h"

namespace cvtest {

// A fresh folder under the temporary folder, deleted with everything in it.
class ScratchFolder {
 public:
  ScratchFolder() {
    static unsigned counter = 0;
    path_ = cv::GetTempFolder() + L"cvtest-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter) + L"-" + std::to_wstring(GetTickCount());
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~ScratchFolder() {
    cv::DeleteFolderTree(path_);
    RemoveDirectoryW(path_.c_str());
  }
  const std::wstring& Path() const { return path_; }
  std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

inline bool WriteBytes(const std::wstring& path, const std::string& bytes) {
  cv::UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

inline std::string ReadBytes(const std::wstring& path) {
  cv::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
  if (!file) return std::string();
  std::string bytes;
  char buffer[65536];
  DWORD read = 0;
  while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
  return bytes;
}

// The text as UTF-16LE bytes, with the byte-order mark when asked.
inline std::string Utf16Le(const std::wstring& text, bool bom = true) {
  std::string bytes = bom ? std::string("\xFF\xFE", 2) : std::string();
  for (wchar_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>((c >> 8) & 0xFF));
  }
  return bytes;
}

inline bool WriteUtf16File(const std::wstring& path, const std::wstring& text) { return WriteBytes(path, Utf16Le(text)); }

// The UTF-16LE text of a file after its byte-order mark; empty when the file
// or the mark is missing (a log file, say).
inline std::wstring ReadUtf16File(const std::wstring& path) {
  std::string bytes = ReadBytes(path);
  if (bytes.size() < 2 || bytes.compare(0, 2, "\xFF\xFE") != 0) return std::wstring();
  return cv::WideFromUtf16Le(reinterpret_cast<const uint8_t*>(bytes.data()) + 2, bytes.size() - 2);
}

// Makes folder the current one while the scope lives.
class CurrentFolder {
 public:
  explicit CurrentFolder(const std::wstring& folder) {
    wchar_t old[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, old);
    old_ = old;
    SetCurrentDirectoryW(folder.c_str());
  }
  ~CurrentFolder() { SetCurrentDirectoryW(old_.c_str()); }
  CurrentFolder(const CurrentFolder&) = delete;
  CurrentFolder& operator=(const CurrentFolder&) = delete;

 private:
  std::wstring old_;
};

// Wine's msiexec, quiet: its exit code, or 0x10000 plus the start error.
inline uint32_t Msiexec(const std::wstring& arguments) {
  cv::ProcessOutcome outcome = cv::RunProcessAndWait(L"", L"msiexec.exe " + arguments + L" /qn");
  return outcome.Started() ? outcome.exitCode.value_or(0) : 0x10000 + outcome.startError;
}

inline std::wstring FolderOfThisProgram() { return cv::GetParentFolder(cv::GetModulePath()); }

// A program built beside the test executables.
inline std::wstring BuiltProgram(const std::wstring& name) { return FolderOfThisProgram() + L"\\" + name; }

// Starts a program with a command line and waits for it; returns its exit
// code, or -2 when it could not start, or -3 when it did not end in time.
inline int64_t RunProgram(const std::wstring& program, const std::wstring& arguments = L"",
                          DWORD timeoutMs = 60000, const std::wstring& folder = L"") {
  std::wstring commandLine = L"\"" + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &info))
    return -2;
  cv::UniqueHandle process(info.hProcess), thread(info.hThread);
  if (WaitForSingleObject(process.get(), timeoutMs) != WAIT_OBJECT_0) {
    TerminateProcess(process.get(), 99);
    return -3;
  }
  DWORD code = 0;
  GetExitCodeProcess(process.get(), &code);
  return static_cast<int32_t>(code);
}

}  // namespace cvtest
