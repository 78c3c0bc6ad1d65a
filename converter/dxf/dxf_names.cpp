#include "converter/dxf/dxf_names.h"

#include <algorithm>

#include "common/number_text.h"
#include "common/platform/codepage.h"
#include "converter/dxf/dxf_text.h"

namespace parvex {
namespace {

bool ForbiddenInName(char16_t c) {
  switch (c) {
    case u'<': case u'>': case u'/': case u'\\': case u'"': case u':':
    case u';': case u'?': case u'*': case u'|': case u'=': case u'`':
      return true;
    default:
      return false;
  }
}

// $ - _ digits and Latin letters, half- or full-width.
bool InR12NameSet(char16_t c) {
  if (c == u'$' || c == u'-' || c == u'_') return true;
  if ((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z')) {
    return true;
  }
  if (c == 0xFF04 || c == 0xFF0D || c == 0xFF3F) return true;  // ＄ － ＿
  if (c >= 0xFF10 && c <= 0xFF19) return true;
  if ((c >= 0xFF21 && c <= 0xFF3A) || (c >= 0xFF41 && c <= 0xFF5A)) return true;
  return false;
}

bool IsSpace(char16_t c) { return c == u' ' || c == 0x3000; }

bool IsSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDFFF; }

}  // namespace

int DxfNameMaxWidth(DxfVersion ver) { return ver == DxfVersion::R12 ? 31 : 255; }

std::u16string CleanDxfName(std::u16string_view name, DxfVersion ver, DxfNameKind kind,
                            std::u16string_view fallback) {
  std::u16string s;
  s.reserve(name.size());
  // The leading '*' of a block name, put back in front once the rest is clean.
  char16_t lead = 0;
  const bool block = kind == DxfNameKind::Block || kind == DxfNameKind::AnonymousBlock;
  for (std::size_t i = 0; i < name.size(); ++i) {
    char16_t c = name[i];
    if (c < 0x20 || c == 0x7F) continue;
    if (ver == DxfVersion::R12 && IsSpace(c)) continue;
    if (c == u'*' && block && lead == 0 && std::all_of(s.begin(), s.end(), IsSpace)) {
      lead = kind == DxfNameKind::AnonymousBlock ? u'*' : u'_';
      continue;
    }
    if (ForbiddenInName(c)) continue;
    if (ver == DxfVersion::R12) {
      if (!InR12NameSet(c)) continue;
    } else if (ver == DxfVersion::R2000) {
      // One code unit at a time: a surrogate pair has no code page 932 form.
      if (IsSurrogate(c) || !platform::FitsCp932(std::u16string_view(&name[i], 1))) c = u'_';
    } else if (IsSurrogate(c)) {
      // Keep valid pairs for UTF-8; drop a lone half.
      bool pairStart = c <= 0xDBFF && i + 1 < name.size() && name[i + 1] >= 0xDC00 &&
                       name[i + 1] <= 0xDFFF;
      if (pairStart) {
        s.push_back(c);
        s.push_back(name[++i]);
      }
      continue;
    }
    s.push_back(c);
  }
  if (ver != DxfVersion::R12) {
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && IsSpace(s[b])) ++b;
    while (e > b && IsSpace(s[e - 1])) --e;
    s = s.substr(b, e - b);
  }
  if (s.empty()) return std::u16string(fallback);
  if (lead != 0) s.insert(s.begin(), lead);
  return dxftext::CopyWidth(s, DxfNameMaxWidth(ver));
}

std::u16string DxfNameKey(std::u16string_view name, DxfVersion ver) {
  if (ver == DxfVersion::R2007) return dxftext::UpperText(name);
  std::u16string s = ver == DxfVersion::R12 ? dxftext::UpperText(name) : std::u16string(name);
  return dxftext::UpperText(platform::DecodeCp932(platform::EncodeCp932(s)));
}

std::u16string MakeUniqueDxfName(std::u16string_view name, DxfVersion ver,
                                 const std::function<bool(const std::u16string&)>& taken) {
  std::u16string cand(name);
  if (!taken(DxfNameKey(cand, ver))) return cand;
  const int room = DxfNameMaxWidth(ver) - 1;  // width left beside "_"
  for (int i = 1; i <= 99999; ++i) {
    std::u16string suffix = IntToText(i);
    cand = dxftext::CopyWidth(name, room - static_cast<int>(suffix.size()));
    cand += u'_';
    cand += suffix;
    if (!taken(DxfNameKey(cand, ver))) return cand;
  }
  return cand;
}

}  // namespace parvex
