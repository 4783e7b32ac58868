// Account checks and security descriptors that grant full access to accounts.
#pragma once
#include <windows.h>
#include <aclapi.h>

#include <memory>
#include <string>
#include <vector>

namespace cv {

// True when the process runs as LocalSystem (S-1-5-18); failures count as false.
bool IsLocalSystem();

class SecurityDescriptorBuilder {
 public:
  SecurityDescriptorBuilder() = default;
  ~SecurityDescriptorBuilder();
  SecurityDescriptorBuilder(const SecurityDescriptorBuilder&) = delete;
  SecurityDescriptorBuilder& operator=(const SecurityDescriptorBuilder&) = delete;

  // Adds a GENERIC_ALL entry for an account name or a SID string.
  bool AddAccount(const std::wstring& account, bool isSidString);
  // Merges the entries into base's access list (or an empty one). Owned by the builder.
  PSECURITY_DESCRIPTOR Build(PSECURITY_DESCRIPTOR base = nullptr);
  DWORD LastError() const { return lastError_; }

 private:
  std::vector<std::unique_ptr<BYTE[]>> sids_;
  std::vector<EXPLICIT_ACCESSW> entries_;
  PACL acl_ = nullptr;
  std::unique_ptr<BYTE[]> descriptor_;
  DWORD lastError_ = 0;
};

}  // namespace cv
