#include "common/platform/win32_support.h"

#include <memory>
#include <vector>

#include "common/platform/codepage.h"

namespace parvex::platform::detail {

namespace {

constexpr long long kTicksPerSecond = 10000000;
// 100-nanosecond steps from 1601-01-01 to 1970-01-01.
constexpr long long kUnixEpochTicks = 116444736000000000LL;

bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// A token's SID of the given class (TokenUser or TokenOwner), copied.
std::vector<unsigned char> TokenSid(TOKEN_INFORMATION_CLASS what) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
  DWORD size = 0;
  GetTokenInformation(token, what, nullptr, 0, &size);
  std::vector<unsigned char> info(size);
  std::vector<unsigned char> sid;
  if (size != 0 && GetTokenInformation(token, what, info.data(), size, &size)) {
    PSID p = what == TokenUser ? reinterpret_cast<TOKEN_USER*>(info.data())->User.Sid
                               : reinterpret_cast<TOKEN_OWNER*>(info.data())->Owner;
    if (IsValidSid(p)) {
      const unsigned char* bytes = static_cast<const unsigned char*>(p);
      sid.assign(bytes, bytes + GetLengthSid(p));
    }
  }
  CloseHandle(token);
  return sid;
}

}  // namespace

std::string NarrowFromWide(std::u16string_view text) {
  std::string out;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (IsHigh(c) && i + 1 < text.size() && IsLow(text[i + 1])) {
      ++i;
      continue;
    }
    if (!IsHigh(c) && !IsLow(c)) continue;
    // An unpaired surrogate: the three bytes of its code unit.
    out += ToUtf8(text.substr(start, i - start));
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    start = i + 1;
  }
  out += ToUtf8(text.substr(start));
  return out;
}

std::u16string WideFromNarrow(std::string_view text) {
  std::u16string out;
  size_t start = 0;
  for (size_t i = 0; i + 2 < text.size(); ++i) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    const auto b1 = static_cast<unsigned char>(text[i + 1]);
    const auto b2 = static_cast<unsigned char>(text[i + 2]);
    // ED A0..BF 80..BF: the three-byte form of a surrogate code unit.
    if (b0 != 0xED || b1 < 0xA0 || b1 > 0xBF || (b2 & 0xC0) != 0x80) continue;
    out += FromUtf8(text.substr(start, i - start));
    out.push_back(static_cast<char16_t>(0xD000 | ((b1 & 0x3F) << 6) | (b2 & 0x3F)));
    i += 2;
    start = i + 1;
  }
  out += FromUtf8(text.substr(start));
  return out;
}

timespec TimespecFromFileTime(const FILETIME& ft) {
  const long long ticks =
      static_cast<long long>((static_cast<unsigned long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime) -
      kUnixEpochTicks;
  long long seconds = ticks / kTicksPerSecond;
  long long rest = ticks % kTicksPerSecond;
  if (rest < 0) {
    rest += kTicksPerSecond;
    --seconds;
  }
  timespec t{};
  t.tv_sec = static_cast<time_t>(seconds);
  t.tv_nsec = static_cast<long>(rest * 100);
  return t;
}

bool FileTimeFromTimespec(const timespec& t, FILETIME& ft) {
  constexpr long long kEarliest = -kUnixEpochTicks / kTicksPerSecond;
  constexpr long long kLatest = (0x7FFFFFFFFFFFFFFFLL - kUnixEpochTicks) / kTicksPerSecond - 1;
  const long long seconds = t.tv_sec;
  if (seconds < kEarliest || seconds > kLatest || t.tv_nsec < 0 || t.tv_nsec >= 1000000000) return false;
  const unsigned long long ticks = static_cast<unsigned long long>(
      seconds * kTicksPerSecond + t.tv_nsec / 100 + kUnixEpochTicks);
  ft.dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFFFFFFu);
  ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  return true;
}

std::string ErrorText(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
  std::u16string text;
  if (n != 0 && buffer != nullptr) text.assign(reinterpret_cast<const char16_t*>(buffer), n);
  if (buffer != nullptr) LocalFree(buffer);
  while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ' ||
                           text.back() == u'.'))
    text.pop_back();
  for (char16_t& c : text)
    if (c == u'\r' || c == u'\n') c = u' ';
  if (text.empty()) return "error " + std::to_string(error);
  return ToUtf8(text);
}

bool OwnedByCurrentUser(const std::filesystem::path& p) {
  DWORD size = 0;
  GetFileSecurityW(p.c_str(), OWNER_SECURITY_INFORMATION, nullptr, 0, &size);
  if (size == 0) return false;
  std::vector<unsigned char> descriptor(size);
  if (!GetFileSecurityW(p.c_str(), OWNER_SECURITY_INFORMATION, descriptor.data(), size, &size))
    return false;
  PSID owner = nullptr;
  BOOL defaulted = FALSE;
  if (!GetSecurityDescriptorOwner(descriptor.data(), &owner, &defaulted) || owner == nullptr ||
      !IsValidSid(owner))
    return false;
  for (TOKEN_INFORMATION_CLASS what : {TokenUser, TokenOwner}) {
    std::vector<unsigned char> sid = TokenSid(what);
    if (!sid.empty() && EqualSid(owner, sid.data())) return true;
  }
  return false;
}

bool ProcessRunning(std::int64_t pid) {
  if (pid <= 0 || pid > 0xFFFFFFFFLL) return false;
  HANDLE h = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
  if (h == nullptr) return GetLastError() == ERROR_ACCESS_DENIED;
  const bool running = WaitForSingleObject(h, 0) == WAIT_TIMEOUT;
  CloseHandle(h);
  return running;
}

}  // namespace parvex::platform::detail
