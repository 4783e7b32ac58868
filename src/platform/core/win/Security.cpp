#include "platform/core/win/Security.h"

#include <sddl.h>

#include "platform/core/win/Handles.h"

namespace cv {

bool IsLocalSystem() {
  UniqueHandle token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) return false;
  DWORD size = 0;
  GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
  if (size == 0) return false;
  std::vector<BYTE> buffer(size);
  if (!GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size)) return false;
  auto* user = reinterpret_cast<TOKEN_USER*>(buffer.data());
  return IsWellKnownSid(user->User.Sid, WinLocalSystemSid) != FALSE;
}

SecurityDescriptorBuilder::~SecurityDescriptorBuilder() {
  if (acl_) LocalFree(acl_);
}

namespace {

// Looks the SID up to learn what kind of account it is.
bool LookupSidType(PSID sid, SID_NAME_USE& use, DWORD& error) {
  DWORD nameSize = 260, domainSize = 260;
  for (;;) {
    std::vector<wchar_t> name(nameSize), domain(domainSize);
    if (LookupAccountSidW(nullptr, sid, name.data(), &nameSize, domain.data(), &domainSize, &use)) return true;
    error = GetLastError();
    if (error != ERROR_INSUFFICIENT_BUFFER) return false;
  }
}

}  // namespace

DWORD SecurityDescriptorBuilder::AddAccount(const std::wstring& account, bool isSidString) {
  std::unique_ptr<BYTE[]> sid;
  SID_NAME_USE use = SidTypeUnknown;
  DWORD error = 0;
  if (isSidString) {
    PSID converted = nullptr;
    if (!ConvertStringSidToSidW(account.c_str(), &converted)) return GetLastError();
    UniqueLocal owner(converted);
    DWORD length = GetLengthSid(converted);
    sid.reset(new BYTE[length]);
    CopySid(length, sid.get(), converted);
    if (!LookupSidType(sid.get(), use, error)) return error;
  } else {
    DWORD sidSize = 68, domainSize = 260;
    for (;;) {
      sid.reset(new BYTE[sidSize]);
      std::vector<wchar_t> domain(domainSize);
      if (LookupAccountNameW(nullptr, account.c_str(), sid.get(), &sidSize, domain.data(), &domainSize, &use)) break;
      error = GetLastError();
      if (error != ERROR_INSUFFICIENT_BUFFER) return error;
    }
  }
  EXPLICIT_ACCESSW entry{};
  entry.grfAccessPermissions = GENERIC_ALL;
  entry.grfAccessMode = SET_ACCESS;
  entry.grfInheritance = NO_INHERITANCE;
  entry.Trustee.TrusteeForm = TRUSTEE_IS_SID;
  entry.Trustee.TrusteeType = static_cast<TRUSTEE_TYPE>(use);
  entry.Trustee.ptstrName = reinterpret_cast<LPWSTR>(sid.get());
  entries_.push_back(entry);
  sids_.push_back(std::move(sid));
  return ERROR_SUCCESS;
}

Result<PSECURITY_DESCRIPTOR> SecurityDescriptorBuilder::Build(PSECURITY_DESCRIPTOR base) {
  if (entries_.empty()) return Failure{ERROR_INVALID_PARAMETER};
  PACL baseAcl = nullptr;
  if (base) {
    BOOL present = FALSE, defaulted = FALSE;
    if (!GetSecurityDescriptorDacl(base, &present, &baseAcl, &defaulted)) return Failure{GetLastError()};
  }
  if (acl_) {
    LocalFree(acl_);
    acl_ = nullptr;
  }
  DWORD error = SetEntriesInAclW(static_cast<ULONG>(entries_.size()), entries_.data(), baseAcl, &acl_);
  if (error != ERROR_SUCCESS) return Failure{error};
  descriptor_.reset(new BYTE[SECURITY_DESCRIPTOR_MIN_LENGTH]);
  if (!InitializeSecurityDescriptor(descriptor_.get(), SECURITY_DESCRIPTOR_REVISION) ||
      !SetSecurityDescriptorDacl(descriptor_.get(), TRUE, acl_, FALSE)) {
    DWORD failed = GetLastError();
    descriptor_.reset();
    return Failure{failed};
  }
  return descriptor_.get();
}

}  // namespace cv
