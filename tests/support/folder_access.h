// Whether a folder is closed to everyone but the user running the tests.
#pragma once

#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>
#include <string>
#endif

namespace parvex::testing {

// True when nobody but this user (and, on Windows, the system itself) has
// any access to `folder`. On Windows every entry of its access list that
// allows something must name this user or the system account: a folder that
// inherits its parent's list, which lets everyone read, fails. (Wine keeps
// no lists of its own and shows one built from the Unix permissions.)
inline bool ForThisUserOnly(const std::filesystem::path& folder) {
#ifdef _WIN32
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  char user[256];
  DWORD size = sizeof user;
  const bool known = GetTokenInformation(token, TokenUser, user, size, &size);
  CloseHandle(token);
  if (!known) return false;
  const PSID self = reinterpret_cast<TOKEN_USER*>(user)->User.Sid;
  PSID system = nullptr;
  if (!ConvertStringSidToSidW(L"S-1-5-18", &system)) return false;

  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  bool only = GetNamedSecurityInfoW(folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                    &dacl, nullptr, &descriptor) == ERROR_SUCCESS &&
              dacl != nullptr && dacl->AceCount > 0;
  for (DWORD i = 0; only && i < dacl->AceCount; ++i) {
    void* ace = nullptr;
    if (!GetAce(dacl, i, &ace)) {
      only = false;
    } else if (static_cast<ACE_HEADER*>(ace)->AceType == ACCESS_ALLOWED_ACE_TYPE) {
      PSID sid = &static_cast<ACCESS_ALLOWED_ACE*>(ace)->SidStart;
      only = EqualSid(sid, self) || EqualSid(sid, system);
    }
  }
  if (descriptor != nullptr) LocalFree(descriptor);
  LocalFree(system);
  return only;
#else
  return (std::filesystem::status(folder).permissions() & std::filesystem::perms::all) ==
         std::filesystem::perms::owner_all;
#endif
}

}  // namespace parvex::testing
