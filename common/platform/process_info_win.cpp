#include "common/platform/win32_support.h"  // windows.h, before shellapi.h

#include <shellapi.h>

#include <memory>

#include "common/platform/files.h"
#include "common/platform/process_info.h"

namespace parvex::platform {

namespace {

// The default value of HKEY_CLASSES_ROOT\`key` as text, environment
// variables expanded; empty when the key or a text value is missing.
std::wstring ClassesRootDefault(const std::wstring& key) {
  DWORD type = 0;
  DWORD size = 0;
  constexpr DWORD kTextValues = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
  if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, kTextValues, &type, nullptr, &size) !=
          ERROR_SUCCESS ||
      size == 0)
    return {};
  std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
  size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
  if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, kTextValues, &type, value.data(), &size) !=
      ERROR_SUCCESS)
    return {};
  value.resize(wcsnlen(value.c_str(), value.size()));
  if (type != REG_EXPAND_SZ) return value;
  const DWORD needed = ExpandEnvironmentStringsW(value.c_str(), nullptr, 0);
  if (needed == 0) return value;
  std::wstring expanded(needed, L'\0');
  if (ExpandEnvironmentStringsW(value.c_str(), expanded.data(), needed) == 0) return value;
  expanded.resize(wcsnlen(expanded.c_str(), expanded.size()));
  return expanded;
}

}  // namespace

std::vector<std::string> CommandLineArguments(int, char**) {
  int count = 0;
  std::unique_ptr<LPWSTR, decltype(&LocalFree)> args(CommandLineToArgvW(GetCommandLineW(), &count),
                                                     &LocalFree);
  std::vector<std::string> out;
  if (!args) return out;
  for (int i = 1; i < count; ++i) {
    const std::wstring_view arg(args.get()[i]);
    out.push_back(detail::NarrowFromWide(std::u16string(arg.begin(), arg.end())));
  }
  return out;
}

std::int64_t CurrentProcessId() { return GetCurrentProcessId(); }

std::filesystem::path ExecutablePath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) {
      buffer.resize(n);
      return std::filesystem::path(buffer);
    }
    if (buffer.size() >= 32768) return {};
    buffer.resize(buffer.size() * 2);
  }
}

std::filesystem::path DefaultJwwFolder() { return std::filesystem::path(L"C:\\jww"); }

// The programs are unpacked from their archive into a folder of the user's
// choice and keep their settings there.
std::filesystem::path SettingsFolderFor(const std::filesystem::path& programFolder, const std::filesystem::path&) {
  return programFolder;
}

std::filesystem::path SettingsFolder() { return ExecutableFolder(); }

std::filesystem::path AssociatedJwwFolder() {
  const std::wstring type = ClassesRootDefault(L".jww");
  if (type.empty()) return {};
  const std::wstring command = ClassesRootDefault(type + L"\\shell\\open\\command");
  const std::u16string program = ProgramOfOpenCommand(std::u16string(command.begin(), command.end()));
  // A program without a full path says nothing about where Jw_cad lies.
  const std::filesystem::path path = PathFromText(program);
  if (!path.is_absolute()) return {};
  return path.parent_path();
}

std::filesystem::path PathFromWindowsText(std::u16string_view text) { return PathFromText(text); }

}  // namespace parvex::platform
