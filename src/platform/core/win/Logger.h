// The process-wide log: one UTF-16LE file, a header block per process and one
// time-stamped line per message. Callers test LoggingEnabled() before they
// compose a message.
#pragma once
#include <string>

namespace cv {

bool LoggingEnabled();
void EnableLogging();
// Gives the line about the machine in each header block ("OS Version: ...",
// without line end). The program sets it before it writes its first line.
using LogOsLineSource = std::wstring (*)();
void SetLogOsLineSource(LogOsLineSource source);
// Where the log goes; ignored once the file is open.
void SetLogFile(const std::wstring& path);
// Adds the time stamp and the line end. Never fails towards the caller.
void WriteLine(const std::wstring& message);

}  // namespace cv
