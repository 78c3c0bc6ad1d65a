// _CRT_RAND_S makes rand_s (the system's random numbers) visible.
#define _CRT_RAND_S
#include <stdlib.h>

#include "common/platform/win32_support.h"  // windows.h, before sddl.h

#include <sddl.h>

#include <string>
#include <system_error>

#include "common/platform/files.h"
#include "common/platform/private_folders.h"
#include "common/platform/process_info.h"
#include "common/platform/scratch_names.h"

namespace parvex::platform {

namespace {

std::string RandomPart() {
  static const char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::string r;
  for (std::size_t i = 0; i < detail::kPrivateFolderRandomChars; ++i) {
    unsigned value = 0;
    if (rand_s(&value) != 0) value = static_cast<unsigned>(GetTickCount64() * 2654435761u + i);
    r.push_back(kChars[value % (sizeof kChars - 1)]);
  }
  return r;
}

// A security descriptor that lets this user, and nobody else, at the folder
// and what it holds; empty when it cannot be made.
class OwnerOnlyAccess {
 public:
  OwnerOnlyAccess() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::string info(size, '\0');
    wchar_t* sid = nullptr;
    if (size != 0 && GetTokenInformation(token, TokenUser, info.data(), size, &size) &&
        ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(info.data())->User.Sid, &sid)) {
      // Protected (no inherited entries); full access for the user, passed
      // on to files and folders inside.
      const std::wstring sddl = std::wstring(L"D:P(A;OICI;FA;;;") + sid + L")";
      ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1,
                                                           &descriptor_, nullptr);
      LocalFree(sid);
    }
    CloseHandle(token);
  }
  ~OwnerOnlyAccess() {
    if (descriptor_ != nullptr) LocalFree(descriptor_);
  }
  OwnerOnlyAccess(const OwnerOnlyAccess&) = delete;
  OwnerOnlyAccess& operator=(const OwnerOnlyAccess&) = delete;

  SECURITY_ATTRIBUTES* Attributes() {
    if (descriptor_ == nullptr) return nullptr;
    attributes_.nLength = sizeof attributes_;
    attributes_.lpSecurityDescriptor = descriptor_;
    attributes_.bInheritHandle = FALSE;
    return &attributes_;
  }

 private:
  PSECURITY_DESCRIPTOR descriptor_ = nullptr;
  SECURITY_ATTRIBUTES attributes_{};
};

bool IsPlainFolder(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
         (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}

// Removes the entries of `folder`: files and links (never what a link
// points to); sub-folders stay.
void RemoveEntries(const std::filesystem::path& folder) {
  detail::ForEachEntry(folder, [&](const std::wstring& name, DWORD attributes) {
    if (IsPlainFolder(attributes)) return;
    RemoveFileEntry(folder / name);
  });
}

}  // namespace

Result<std::filesystem::path> CreatePrivateFolder(const std::filesystem::path& parent) {
  if (parent.empty()) return Fail("no folder for temporary files");
  OwnerOnlyAccess access;
  SECURITY_ATTRIBUTES* attributes = access.Attributes();
  if (attributes == nullptr) return Fail("cannot describe a folder for this user only");
  DWORD error = 0;
  // Another run may remove the shared parent when it finds it empty, just
  // between its creation here and the new folder's: create it again then.
  int parentAttempts = 0;
  for (int attempt = 0; attempt < 100 && parentAttempts < 5; ++attempt) {
    std::error_code ec;
    std::filesystem::create_directories(parent, ec);
    const std::filesystem::path folder =
        parent / (detail::PrivateFolderPrefix(CurrentProcessId()) + RandomPart());
    if (CreateDirectoryW(folder.c_str(), attributes)) return folder;
    error = GetLastError();
    if (error == ERROR_PATH_NOT_FOUND) {
      ++parentAttempts;
    } else if (error != ERROR_ALREADY_EXISTS) {
      break;
    }
  }
  return Fail("cannot create a folder in \"" + NarrowFromPath(parent) + "\": " + detail::ErrorText(error));
}

void RemovePrivateFolder(const std::filesystem::path& folder) {
  if (folder.empty() || !IsPlainFolder(GetFileAttributesW(folder.c_str()))) return;
  RemoveEntries(folder);
  RemoveDirectoryW(folder.c_str());
}

int RemoveAbandonedPrivateFolders(const std::filesystem::path& parent) {
  if (parent.empty()) return 0;
  int removed = 0;
  const std::int64_t self = CurrentProcessId();
  detail::ForEachEntry(parent, [&](const std::wstring& name, DWORD attributes) {
    const std::filesystem::path folder = parent / name;
    const std::int64_t pid = detail::PrivateFolderOwner(NarrowFromPath(name));
    if (pid < 0 || pid == self || detail::ProcessRunning(pid)) return;
    if (!IsPlainFolder(attributes) || !detail::OwnedByCurrentUser(folder)) return;
    RemoveEntries(folder);
    if (RemoveDirectoryW(folder.c_str())) ++removed;
  });
  return removed;
}

}  // namespace parvex::platform
