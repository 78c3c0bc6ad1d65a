#include "converter/jww/jww_archive.h"

#include <cmath>
#include <string_view>
#include <utility>

#include "common/platform/codepage.h"
#include "common/value_helpers.h"

namespace parvex {
namespace {

constexpr size_t kMaxClassNameBytes = 2048;
// A block definition needs at least its tag, its 25-byte record (old
// files), an empty name and a member count.
constexpr size_t kMinBlockDefBytes = 2 + 25 + 1 + 2;

std::u16string RemoveControlChars(std::u16string s) {
  size_t w = 0;
  for (char16_t c : s)
    if (c >= 0x20) s[w++] = c;
  s.resize(w);
  return s;
}

}  // namespace

void SanitiseMojiSize(double& sizeX, double& sizeY, double& spacing) {
  sizeX = FiniteOr(sizeX, 3.0);
  sizeY = FiniteOr(sizeY, 3.0);
  spacing = FiniteOr(spacing, 0.0);
}

// ---- strings ----------------------------------------------------------------

bool JwwArchive::ReadStringBytes(std::u16string* out) {
  if (out) out->clear();
  uint8_t len8 = 0;
  if (!in_.U8(len8)) return false;
  size_t len = len8;
  bool wide = false;
  if (len8 == 255) {
    uint16_t w = 0;
    in_.U16(w);
    if (w != 0xFFFE) {
      len = w;
    } else {
      wide = true;
      if (mojiEncode_ == 0) mojiEncode_ = 1;
      uint8_t l2 = 0;
      in_.U8(l2);
      len = l2;
      if (l2 == 255) {
        uint16_t w2 = 0;
        in_.U16(w2);
        len = w2;
      }
    }
  }
  size_t want = wide ? 2 * len : len;
  size_t got = 0;
  const uint8_t* p = in_.TakeUpTo(want, got);
  if (out == nullptr) return got == want;
  if (wide) {
    out->reserve(got / 2);
    for (size_t i = 0; i + 1 < got; i += 2) {
      char16_t c = static_cast<char16_t>(p[i] | (p[i + 1] << 8));
      if (c == 0) break;
      out->push_back(c);
    }
  } else {
    size_t n = 0;
    while (n < got && p[n] != 0) ++n;
    bool ascii = true;
    for (size_t i = 0; i < n && ascii; ++i) ascii = p[i] < 0x80;
    if (ascii) {
      out->assign(p, p + n);
    } else {
      *out = platform::DecodeCp932(std::string_view(reinterpret_cast<const char*>(p), n));
    }
  }
  return got == want;
}

std::u16string JwwArchive::ReadText() {
  std::u16string s;
  ReadStringBytes(&s);
  return s;
}

std::u16string JwwArchive::ReadCleanText() { return RemoveControlChars(ReadText()); }

void JwwArchive::SkipText() { ReadStringBytes(nullptr); }

bool JwwArchive::ReadCount(int32_t& count) {
  uint16_t w = 0;
  if (!in_.U16(w)) return false;
  if (w != 0xFFFF) {
    count = w;
    return true;
  }
  return in_.I32(count);
}

// ---- records ----------------------------------------------------------------

const uint8_t* JwwArchive::DecodeAttr(const uint8_t* p, TEntJwwAttr& att) const {
  att.lGroup = LoadLE<uint32_t>(p);
  att.nPenStyle = p[4];
  att.nPenColor = LoadLE<uint16_t>(p + 5);
  p += 7;
  if (version_ > 350) {
    att.nPenWidth = LoadLE<uint16_t>(p);
    p += 2;
  } else {
    att.nPenWidth = 0;
  }
  att.nLayer = LoadLE<uint16_t>(p);
  att.nGLayer = LoadLE<uint16_t>(p + 2);
  att.sFlg = LoadLE<uint16_t>(p + 4);
  return p + 6;
}

bool JwwArchive::ReadAttr(TEntJwwAttr& att) {
  att = TEntJwwAttr{};
  const uint8_t* p = in_.Take(AttrBytes());
  if (p == nullptr) return false;
  DecodeAttr(p, att);
  return true;
}

bool JwwArchive::ReadLine(TEntJwwLine& e) {
  const uint8_t* p = in_.Take(AttrBytes() + 32);
  if (p == nullptr) return false;
  p = DecodeAttr(p, e.att);
  e.start_x = LoadLE<double>(p);
  e.start_y = LoadLE<double>(p + 8);
  e.end_x = LoadLE<double>(p + 16);
  e.end_y = LoadLE<double>(p + 24);
  return true;
}

bool JwwArchive::ReadEnko(TEntJwwEnko& e) {
  const uint8_t* p = in_.Take(AttrBytes() + 60);
  if (p == nullptr) return false;
  p = DecodeAttr(p, e.att);
  e.start_x = LoadLE<double>(p);
  e.start_y = LoadLE<double>(p + 8);
  e.dHankei = LoadLE<double>(p + 16);
  e.radKaishiKaku = LoadLE<double>(p + 24);
  e.radEnkoKaku = LoadLE<double>(p + 32);
  e.radKatamukiKaku = LoadLE<double>(p + 40);
  e.dHenpeiRitsu = LoadLE<double>(p + 48);
  e.bZenEnFlg = LoadLE<uint32_t>(p + 56);
  return true;
}

bool JwwArchive::ReadTenOf(TEntJwwTen& e, bool dimensionPoint) {
  const uint8_t* p = in_.Take(AttrBytes() + 20);
  if (p == nullptr) return false;
  p = DecodeAttr(p, e.att);
  e.start_x = LoadLE<double>(p);
  e.start_y = LoadLE<double>(p + 8);
  e.bKariten = LoadLE<uint32_t>(p + 16);
  e.nCode = 0;
  e.radKaitenKaku = 0.0;
  e.dBairitsu = dimensionPoint ? 0.0 : 1.0;
  if (e.att.nPenStyle == 100) {
    // The coded point's extra fields; a short read leaves them zero.
    e.dBairitsu = 0.0;
    in_.U32(e.nCode);
    in_.F64(e.radKaitenKaku);
    in_.F64(e.dBairitsu);
  }
  return true;
}

bool JwwArchive::ReadTen(TEntJwwTen& e) { return ReadTenOf(e, false); }

bool JwwArchive::ReadMoji(TEntJwwMoji& e, bool keepText) {
  const uint8_t* p = in_.Take(AttrBytes() + 68);
  if (p == nullptr) return false;
  p = DecodeAttr(p, e.att);
  e.start_x = LoadLE<double>(p);
  e.start_y = LoadLE<double>(p + 8);
  e.end_x = LoadLE<double>(p + 16);
  e.end_y = LoadLE<double>(p + 24);
  e.nMojiShu = LoadLE<uint32_t>(p + 32);
  e.dSizeX = LoadLE<double>(p + 36);
  e.dSizeY = LoadLE<double>(p + 44);
  e.dKankaku = LoadLE<double>(p + 52);
  e.degKakudo = LoadLE<double>(p + 60);
  SanitiseMojiSize(e.dSizeX, e.dSizeY, e.dKankaku);
  if (keepText) {
    e.strFontName = ReadCleanText();
    e.str = ReadCleanText();
  } else {
    SkipText();
    SkipText();
  }
  return true;
}

bool JwwArchive::ReadSunpo(TEntJwwSunpo& e, bool keepText) {
  // Only the text part and (from 420) the last reference point decide
  // whether the dimension is kept; other parts cut short stay zero.
  ReadAttr(e.att);
  if (!ReadLine(e.Sen)) e.Sen = TEntJwwLine{};
  if (!ReadMoji(e.Moji, keepText)) return false;
  if (version_ >= 420) {
    e.bSxfMode = 0;
    in_.U16(e.bSxfMode);
    if (!ReadLine(e.Ho1)) e.Ho1 = TEntJwwLine{};
    if (!ReadLine(e.Ho2)) e.Ho2 = TEntJwwLine{};
    for (TEntJwwTen* t : {&e.Te1, &e.Te2, &e.Kt1}) {
      if (!ReadTenOf(*t, true)) {
        *t = TEntJwwTen{};
        t->dBairitsu = 0.0;
      }
    }
    return ReadTenOf(e.Kt2, true);
  }
  // Older files have no SXF parts: they take the dimension's attributes
  // and zero geometry.
  e.bSxfMode = 0;
  e.Ho1 = TEntJwwLine{};
  e.Ho1.att = e.att;
  e.Ho2 = e.Ho1;
  TEntJwwTen pt;
  pt.att = e.att;
  pt.att.nPenStyle = 0;
  pt.dBairitsu = 0.0;
  e.Te1 = e.Te2 = e.Kt1 = e.Kt2 = pt;
  return true;
}

bool JwwArchive::ReadSolid(TEntJwwSolid& e) {
  const uint8_t* p = in_.Take(AttrBytes() + 64);
  if (p == nullptr) return false;
  p = DecodeAttr(p, e.att);
  e.start_x = LoadLE<double>(p);
  e.start_y = LoadLE<double>(p + 8);
  e.end_x = LoadLE<double>(p + 16);
  e.end_y = LoadLE<double>(p + 24);
  e.DPoint2_x = LoadLE<double>(p + 32);
  e.DPoint2_y = LoadLE<double>(p + 40);
  e.DPoint3_x = LoadLE<double>(p + 48);
  e.DPoint3_y = LoadLE<double>(p + 56);
  e.Color = 0;
  if (e.att.nPenColor == 10) in_.U32(e.Color);
  return true;
}

bool JwwArchive::ReadBlock(TEntJwwBlock& e) {
  const uint8_t* p = in_.Take(AttrBytes() + 44);
  if (p == nullptr) return false;
  p = DecodeAttr(p, e.att);
  e.DPKijunTen_x = LoadLE<double>(p);
  e.DPKijunTen_y = LoadLE<double>(p + 8);
  e.dBairitsuX = LoadLE<double>(p + 16);
  e.dBairitsuY = LoadLE<double>(p + 24);
  e.radKaitenKaku = LoadLE<double>(p + 32);
  e.nNumber = LoadLE<uint32_t>(p + 40);
  return true;
}

// ---- object tags and the class map --------------------------------------------

bool ReadObjectTag(ByteReader& in, ObjectTag& tag) {
  uint16_t t = 0;
  if (!in.U16(t)) return false;
  if (t == 0xFFFF) {
    uint16_t schema = 0, len = 0;
    if (!in.U16(schema) || !in.U16(len)) return false;
    if (len >= kMaxClassNameBytes) return false;
    const uint8_t* p = in.Take(len);
    if (p == nullptr) return false;
    size_t n = 0;
    while (n < len && p[n] != 0) ++n;
    tag.kind = ObjectTag::kNewClass;
    tag.className.assign(reinterpret_cast<const char*>(p), n);
    return true;
  }
  tag.kind = ObjectTag::kClassRef;
  if (t == 0x7FFF) {
    int32_t v = 0;
    if (!in.I32(v)) return false;
    uint32_t u = static_cast<uint32_t>(v);
    tag.classIndex = u >= 0x80000000u ? static_cast<int64_t>(u) - 0x80000000LL : v;
  } else {
    tag.classIndex = static_cast<int64_t>(t) - 0x8000;
  }
  return true;
}

int32_t ObjectMap::KindOf(int64_t index) const {
  for (int32_t k = kJwwBlock; k >= kJwwLine; --k)
    if (classIndex[k] == index) return k;
  return kJwwNone;
}

int32_t KindOfClassName(const std::string& name) {
  static constexpr std::pair<std::string_view, int32_t> kNames[] = {
      {"CDataSen", kJwwLine},     {"CDataEnko", kJwwEnko},   {"CDataTen", kJwwTen},
      {"CDataMoji", kJwwMoji},    {"CDataSunpou", kJwwSunpo}, {"CDataSolid", kJwwSolid},
      {"CDataBlock", kJwwBlock},
  };
  for (const auto& [n, k] : kNames)
    if (name == n) return k;
  return kJwwNone;
}

// ---- entity lists -------------------------------------------------------------

namespace {

// One pass over an entity list. Without a target it only counts the records
// of each kind that would be kept, so that the storing pass can reserve.
Status EntityListPass(JwwArchive& ar, ObjectMap& map, int32_t count,
                      const EntityListTarget* target, std::array<size_t, 8>& kept) {
  ByteReader& in = ar.In();
  int32_t counted = 0;
  int32_t filled = 0;
  const bool store = target != nullptr;
  auto readInto = [&](auto& vec, auto read) -> int32_t {
    using Rec = typename std::remove_reference_t<decltype(vec)>::value_type;
    if (!store) {
      Rec tmp;
      return read(tmp) ? 0 : -1;
    }
    vec.emplace_back();
    if (!read(vec.back())) {
      vec.pop_back();
      return -1;
    }
    return static_cast<int32_t>(vec.size() - 1);
  };
  std::vector<TEntJwwLine> noLine;
  std::vector<TEntJwwEnko> noEnko;
  std::vector<TEntJwwTen> noTen;
  std::vector<TEntJwwMoji> noMoji;
  std::vector<TEntJwwSunpo> noSunpo;
  std::vector<TEntJwwSolid> noSolid;
  std::vector<TEntJwwBlock> noBlock;

  while (counted < count) {
    ObjectTag tag;
    if (!ReadObjectTag(in, tag)) {
      // The input ended before all stated objects (or a class name was
      // absurdly long): nothing more can be read.
      return Fail(kErrFileIo);
    }
    int32_t kind;
    if (tag.kind == ObjectTag::kNewClass) {
      kind = KindOfClassName(tag.className);
      if (kind == kJwwNone) return Fail(kErrFileIo);
      map.classIndex[kind] = map.mapIndex++;
    } else {
      kind = map.KindOf(tag.classIndex);
      if (kind == kJwwNone) continue;  // reads nothing, counts nothing
    }
    int32_t index = -1;
    switch (kind) {
      case kJwwLine:
        index = readInto(store ? *target->line : noLine, [&](TEntJwwLine& e) { return ar.ReadLine(e); });
        break;
      case kJwwEnko:
        index = readInto(store ? *target->enko : noEnko, [&](TEntJwwEnko& e) { return ar.ReadEnko(e); });
        break;
      case kJwwTen:
        index = readInto(store ? *target->ten : noTen, [&](TEntJwwTen& e) { return ar.ReadTen(e); });
        break;
      case kJwwMoji:
        index = readInto(store ? *target->moji : noMoji,
                         [&](TEntJwwMoji& e) { return ar.ReadMoji(e, store); });
        break;
      case kJwwSunpo:
        index = readInto(store ? *target->sunpo : noSunpo,
                         [&](TEntJwwSunpo& e) { return ar.ReadSunpo(e, store); });
        break;
      case kJwwSolid:
        index = readInto(store ? *target->solid : noSolid, [&](TEntJwwSolid& e) { return ar.ReadSolid(e); });
        break;
      case kJwwBlock:
        index = readInto(store ? *target->block : noBlock, [&](TEntJwwBlock& e) { return ar.ReadBlock(e); });
        break;
    }
    if (index >= 0) {
      ++kept[kind];
      if (store) (*target->order)[filled++] = TEntJwwNo{kind, index};
    }
    // A dropped record still counts and takes its map index.
    ++counted;
    ++map.mapIndex;
  }
  return Ok();
}

}  // namespace

Status ReadEntityList(JwwArchive& ar, ObjectMap& map, int32_t count, const EntityListTarget& target) {
  if (count <= 0) return Ok();
  ByteReader& in = ar.In();
  const size_t start = in.Position();
  const ObjectMap mapAtStart = map;
  std::array<size_t, 8> kept{};
  // The counting pass fails where the storing pass does, which reports it.
  (void)EntityListPass(ar, map, count, nullptr, kept);
  // Second pass from the same place and map state, now storing.
  in.Seek(start);
  map = mapAtStart;
  target.line->reserve(target.line->size() + kept[kJwwLine]);
  target.enko->reserve(target.enko->size() + kept[kJwwEnko]);
  target.ten->reserve(target.ten->size() + kept[kJwwTen]);
  target.moji->reserve(target.moji->size() + kept[kJwwMoji]);
  target.sunpo->reserve(target.sunpo->size() + kept[kJwwSunpo]);
  target.solid->reserve(target.solid->size() + kept[kJwwSolid]);
  target.block->reserve(target.block->size() + kept[kJwwBlock]);
  kept = {};
  return EntityListPass(ar, map, count, &target, kept);
}

Status ReadBlockDefs(JwwArchive& ar, ObjectMap& map, int32_t& statedCount,
                     std::vector<TEntJwwBlockDef>& defs) {
  ByteReader& in = ar.In();
  statedCount = 0;
  uint16_t w = 0;
  if (!in.U16(w)) return Fail(kErrFileIo);
  if (w == 0) return Ok();
  int32_t n2 = w;
  if (w == 0xFFFF && !in.I32(n2)) return Fail(kErrFileIo);
  statedCount = n2;
  if (n2 < 0 || static_cast<size_t>(n2) > in.Remaining() / kMinBlockDefBytes) return Fail(kErrFileIo);
  defs.reserve(static_cast<size_t>(n2));
  for (int32_t d = 1; d <= n2; ++d) {
    ObjectTag tag;
    if (!ReadObjectTag(in, tag)) return Fail(kErrFileIo);
    // The definition class is not checked by name; a new class only takes
    // a map index.
    if (tag.kind == ObjectTag::kNewClass) ++map.mapIndex;

    const uint8_t* p = in.Take(ar.AttrBytes() + 12);
    if (p == nullptr) return Fail(kErrFileIo);
    TEntJwwBlockDef& def = defs.emplace_back();
    {
      // Attributes are decoded by the archive; re-read them from the bytes.
      ByteReader rec(std::span<const uint8_t>(p, ar.AttrBytes() + 12));
      uint8_t dummy = 0;
      JwwArchive recAr(rec, ar.Version(), dummy);
      recAr.ReadAttr(def.att);
      rec.U32(def.nNumber);
      rec.U32(def.bRefferd);
      rec.U32(def.dtime);
    }
    if (static_cast<int32_t>(def.dtime) < 0) {
      in.Skip(8);  // long time stamp
      def.dtime = static_cast<uint32_t>(d);
    }
    def.strName = ar.ReadCleanText();
    int32_t n = 0;
    if (!ar.ReadCount(n) || n < 0 ||
        static_cast<size_t>(n) > in.Remaining() / kMinObjectBytes) {
      return Fail(kErrFileIo);
    }
    def.N = n;
    def.mNo.assign(static_cast<size_t>(n), TEntJwwNo{});
    ++map.mapIndex;
    EntityListTarget target{&def.mNo,  &def.mLine,  &def.mEnko,  &def.mTen,
                            &def.mMoji, &def.mSunpo, &def.mSolid, &def.mBlock};
    if (Status list = ReadEntityList(ar, map, n, target); !list) return list;
  }
  return Ok();
}

}  // namespace parvex
