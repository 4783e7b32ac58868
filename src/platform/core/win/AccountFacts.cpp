#include "platform/core/win/AccountFacts.h"

#include <windows.h>

#include "platform/core/win/Handles.h"
#include "platform/core/win/Security.h"

namespace cv {

namespace {

bool TokenIsElevated() {
  UniqueHandle token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) return false;
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  return GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof(elevation), &size) &&
         elevation.TokenIsElevated != 0;
}

bool AdministratorsInForce() {
  BYTE sid[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof(sid);
  if (!CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &size)) return false;
  BOOL member = FALSE;
  // A group that is only there to deny access does not count.
  return CheckTokenMembership(nullptr, sid, &member) && member;
}

class RunningProcessAccount final : public IAccountFacts {
 public:
  bool IsLocalSystem() const override { return cv::IsLocalSystem(); }
  bool IsElevated() const override { return TokenIsElevated() || AdministratorsInForce(); }
};

}  // namespace

const IAccountFacts& RunningAccountFacts() {
  static const RunningProcessAccount facts;
  return facts;
}

}  // namespace cv
