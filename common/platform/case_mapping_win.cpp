#include <windows.h>

#include <climits>

#include "common/platform/case_mapping.h"

namespace parvex::platform {

namespace {

// The invariant locale's simple case mapping, which maps each UTF-16 code
// unit (and each surrogate pair) to one of the same length. Should the
// system ever answer with another length, the text stays as it is rather
// than move every index after the change.
std::u16string MapCase(std::u16string_view s, DWORD flag) {
  if (s.empty() || s.size() > INT_MAX) return std::u16string(s);
  std::u16string out(s.size(), u'\0');
  const int n = LCMapStringEx(LOCALE_NAME_INVARIANT, flag, reinterpret_cast<LPCWSTR>(s.data()),
                              static_cast<int>(s.size()), reinterpret_cast<LPWSTR>(out.data()),
                              static_cast<int>(out.size()), nullptr, nullptr, 0);
  if (n != static_cast<int>(s.size())) return std::u16string(s);
  return out;
}

}  // namespace

std::u16string UpperCase(std::u16string_view s) { return MapCase(s, LCMAP_UPPERCASE); }

std::u16string LowerCase(std::u16string_view s) { return MapCase(s, LCMAP_LOWERCASE); }

}  // namespace parvex::platform
