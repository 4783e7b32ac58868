// Account checks and security descriptors that grant full access to accounts.
#pragma once
#include <windows.h>
#include <aclapi.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/core/Result.h"

namespace cv {

// True when the process runs as LocalSystem (S-1-5-18); failures count as false.
bool IsLocalSystem();

class SecurityDescriptorBuilder {
 public:
  SecurityDescriptorBuilder() = default;
  ~SecurityDescriptorBuilder();
  SecurityDescriptorBuilder(const SecurityDescriptorBuilder&) = delete;
  SecurityDescriptorBuilder& operator=(const SecurityDescriptorBuilder&) = delete;

  // Adds a GENERIC_ALL entry for an account name or a SID string; 0 or the
  // Windows error (nothing is added then).
  DWORD AddAccount(const std::wstring& account, bool isSidString);
  // Merges the entries into base's access list (or an empty one). Owned by
  // the builder. ERROR_INVALID_PARAMETER when no account was added.
  Result<PSECURITY_DESCRIPTOR> Build(PSECURITY_DESCRIPTOR base = nullptr);

 private:
  std::vector<std::unique_ptr<BYTE[]>> sids_;
  std::vector<EXPLICIT_ACCESSW> entries_;
  PACL acl_ = nullptr;
  std::unique_ptr<BYTE[]> descriptor_;
};

}  // namespace cv
