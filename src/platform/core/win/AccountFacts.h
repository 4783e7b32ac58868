// Who the process runs as, where that decides what is safe to do. Tests pass
// their own facts to simulate LocalSystem or an elevated process.
#pragma once

namespace cv {

class IAccountFacts {
 public:
  virtual ~IAccountFacts() = default;
  virtual bool IsLocalSystem() const = 0;
  // Runs with the rights of the administrators: elevated, or a member of
  // the group whose membership is in force (UAC off).
  virtual bool IsElevated() const = 0;
};

// The facts of this process, asked of its token on every call.
const IAccountFacts& RunningAccountFacts();

}  // namespace cv
