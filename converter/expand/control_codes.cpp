#include "converter/expand/control_codes.h"

#include <cmath>

#include "common/text_helpers.h"
#include "common/value_helpers.h"

namespace parvex {
namespace {

constexpr char16_t kStretchDotHalf = u'\uFF65';  // "･"
constexpr char16_t kStretchDotFull = u'\u30FB';  // "・"

// ---------------------------------------------------------------------------
// Trimming of the end: stretch dots and a reserve code "^1".."^9" are taken
// off the text before it is scanned; they only lengthen or shorten the line.

struct TrimmedText {
  std::u16string_view body;
  bool halfDot = false;  // one "･" taken off
  bool halfDotAfterHalfWidth = false;
  int fullDotsAfterHalfWidth = 0;  // "・" taken off, by the width of the character before
  int fullDotsAfterFullWidth = 0;
  int reserve = 0;  // k of a trailing "^k", 0 for none
  bool reserveAfterHalfWidth = false;
};

TrimmedText TrimEnd(std::u16string_view s) {
  TrimmedText t;
  if (s.size() > 1 && s.back() == kStretchDotHalf) {
    s.remove_suffix(1);
    t.halfDot = true;
    t.halfDotAfterHalfWidth = IsHalfWidth(s.back());
  }
  while (s.size() > 1 && s.back() == kStretchDotFull) {
    s.remove_suffix(1);
    if (IsHalfWidth(s.back())) {
      ++t.fullDotsAfterHalfWidth;
    } else {
      ++t.fullDotsAfterFullWidth;
    }
  }
  if (s.size() > 2 && s[s.size() - 2] == u'^' && s.back() >= u'1' && s.back() <= u'9') {
    t.reserve = s.back() - u'0';
    t.reserveAfterHalfWidth = IsHalfWidth(s[s.size() - 3]);
    s.remove_suffix(2);
  }
  t.body = s;
  return t;
}

// ---------------------------------------------------------------------------
// Scanning: the trimmed text as ordinary characters and codes.

enum class Element {
  Ordinary,        // a character in a position of its own
  Raised,          // "^u": half size, raised
  Lowered,         // "^d": half size, on the baseline
  Centred,         // "^c": half size, centred
  SmallOver,       // "^o": half size over the upper part of the preceding character
  OverFull,        // "^n": full size over the preceding character
  OverBack08,      // "^B": full size, 0.8 pitch back
  OverBack06,      // "^b": full size, 0.6 pitch back
  TinyOver,        // "^w": one or two characters at 0.4 size
  UnderlineOn,     // "^_"
  StrikeOn,        // "^-"
  SlantOn,         // "^/"
  EndDecorations,  // "^#"
  PenColour,       // "^$" and the character after it
  LiteralOn,       // "^*"
  LiteralOff,      // "^^" in literal mode
  NoEffect,        // "^!", "^\", "^&", "^%"
};

struct ScanItem {
  Element kind;
  // The ordinary character, or the character(s) a code applies to (empty
  // when the text ends right after the code).
  std::u16string_view chars;
};

// Code units of the character at i: a valid surrogate pair is one character.
size_t CharLength(std::u16string_view s, size_t i) {
  return SurrogatePart(s, static_cast<std::ptrdiff_t>(i)) == 1 ? 2 : 1;
}

bool IsRaiseKind(Element k) {
  return k == Element::Raised || k == Element::Lowered || k == Element::Centred;
}

std::vector<ScanItem> Scan(std::u16string_view s) {
  std::vector<ScanItem> items;
  bool literal = false;
  bool ordinarySeen = false;
  size_t i = 0;
  // A code of two characters at i plus the character(s) that follow it.
  auto codeWith = [&](Element kind, size_t following) {
    const size_t from = std::min(i + 2, s.size());
    const size_t n = std::min(following, s.size() - from);
    items.push_back({kind, s.substr(from, n)});
    i = from + n;
  };
  auto nextChar = [&]() { return i + 2 < s.size() ? CharLength(s, i + 2) : 1; };
  while (i < s.size()) {
    if (s[i] == u'^' && i + 1 < s.size()) {
      const char16_t t = s[i + 1];
      if (literal) {
        if (t == u'^') {
          literal = false;
          codeWith(Element::LiteralOff, 0);
          continue;
        }
      } else {
        bool handled = true;
        switch (t) {
          case u'!':
          case u'\\':
          case u'&':
          case u'%':
            codeWith(Element::NoEffect, 0);
            break;
          case u'/':
            codeWith(Element::SlantOn, 0);
            break;
          case u'_':
            codeWith(Element::UnderlineOn, 0);
            break;
          case u'-':
            codeWith(Element::StrikeOn, 0);
            break;
          case u'#':
            codeWith(Element::EndDecorations, 0);
            break;
          case u'*':
            literal = true;
            codeWith(Element::LiteralOn, 0);
            break;
          case u'$':
            codeWith(Element::PenColour, nextChar());
            break;
          case u'u':
            codeWith(Element::Raised, nextChar());
            break;
          case u'd':
            codeWith(Element::Lowered, nextChar());
            break;
          case u'c':
            codeWith(Element::Centred, nextChar());
            break;
          default:
            handled = false;
        }
        if (handled) continue;
        // Overlays need a preceding character; before the first one they
        // are ordinary characters.
        if (ordinarySeen) {
          switch (t) {
            case u'o':
              codeWith(Element::SmallOver, nextChar());
              continue;
            case u'n':
              codeWith(Element::OverFull, nextChar());
              continue;
            case u'B':
              codeWith(Element::OverBack08, nextChar());
              continue;
            case u'b':
              codeWith(Element::OverBack06, nextChar());
              continue;
            case u'w': {
              const bool twoHalf =
                  i + 3 < s.size() && IsHalfWidth(s[i + 2]) && IsHalfWidth(s[i + 3]);
              codeWith(Element::TinyOver, twoHalf ? 2 : nextChar());
              continue;
            }
            default:
              break;
          }
        }
      }
    }
    const size_t n = CharLength(s, i);
    items.push_back({Element::Ordinary, s.substr(i, n)});
    ordinarySeen = true;
    i += n;
  }
  return items;
}

// ---------------------------------------------------------------------------
// Layout helpers.

struct Vec {
  double x = 0, y = 0;
};
Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y}; }
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
Vec operator*(double k, Vec a) { return {k * a.x, k * a.y}; }

bool Differs(Vec a, Vec b) { return !SamePoint12(a.x, a.y, b.x, b.y); }

class Layout {
 public:
  Layout(const CodedTextStart& start, const std::array<int, 9>& pens)
      : start_(start), pens_(pens), pen_{start.X, start.Y}, runStart_(pen_),
        colour_(start.Colour), vertical_(start.Vertical), slanted_(start.Slanted) {
    const double a = start.AngleDeg * 3.14159265358979323846 / 180.0;
    along_ = {std::cos(a), std::sin(a)};
    up_ = {-along_.y, along_.x};
  }

  void Add(const ScanItem& item) {
    const double pw = start_.Pitch;
    const double ph = start_.Height;
    const bool horizontal = !start_.Vertical;
    switch (item.kind) {
      case Element::Ordinary:
        run_ += item.chars;
        pen_ = pen_ + pw * along_;
        break;
      case Element::Raised:
      case Element::Lowered:
      case Element::Centred: {
        if (item.chars.empty()) break;
        if (horizontal) {
          const double lift = item.kind == Element::Raised    ? 0.5 * ph
                              : item.kind == Element::Centred ? 0.25 * ph
                                                              : 0.0;
          const Vec q = pen_ + 0.25 * pw * along_ + lift * up_;
          Piece(item.chars, q, q + 0.5 * pw * along_, 0.5 * pw, 0.5 * ph);
          run_ += u' ';
          pen_ = pen_ + pw * along_;
        } else {
          const double shift = item.kind == Element::Centred   ? 0.25 * pw
                               : item.kind == Element::Lowered ? 0.5 * pw
                                                               : 0.0;
          const Vec q = pen_ - pw * along_ + ph * up_ + shift * along_;
          Piece(item.chars, q, q + 0.5 * pw * along_, 0.5 * pw, 0.5 * ph);
        }
        break;
      }
      case Element::SmallOver:
      case Element::OverFull:
      case Element::OverBack08:
      case Element::OverBack06: {
        if (item.chars.empty()) break;
        const double back = item.kind == Element::SmallOver    ? 0.75
                            : item.kind == Element::OverBack06 ? 0.6
                            : item.kind == Element::OverBack08 ? 0.8
                                                               : 1.0;
        Vec p = pen_ - back * pw * along_;
        if (item.kind == Element::SmallOver) {
          if (horizontal) p = p + 0.25 * ph * up_;
          Piece(item.chars, p, p + 0.5 * pw * along_, 0.5 * pw, 0.5 * ph);
        } else {
          Piece(item.chars, p, p + pw * along_, pw, ph);
        }
        break;
      }
      case Element::TinyOver: {
        if (item.chars.empty()) break;
        const double count = static_cast<double>(CharCount(item.chars));
        Vec p = pen_ - (count > 1 ? 0.9 : 0.7) * pw * along_;
        if (horizontal) p = p + 0.3 * ph * up_;
        Piece(item.chars, p, p + count * 0.4 * pw * along_, 0.4 * pw, 0.4 * ph);
        break;
      }
      case Element::UnderlineOn:
        if (!underline_) {
          underline_ = true;
          underlineStart_ = pen_;
        }
        break;
      case Element::StrikeOn:
        if (!strike_) {
          strike_ = true;
          strikeStart_ = pen_;
        }
        break;
      case Element::SlantOn:
        if (!vertical_ && !slanted_) {
          Flush();
          slanted_ = true;
        }
        break;
      case Element::EndDecorations:
        if (underline_) EmitUnderline();
        if (strike_) EmitStrike();
        underline_ = strike_ = false;
        Flush();
        vertical_ = start_.Vertical;
        slanted_ = start_.Slanted;
        break;
      case Element::PenColour: {
        if (item.chars.size() != 1 || item.chars[0] < u'1' || item.chars[0] > u'9') break;
        if (underline_) {
          EmitUnderline();
          underlineStart_ = pen_;
        }
        if (strike_) {
          EmitStrike();
          strikeStart_ = pen_;
        }
        Flush();
        colour_ = pens_[static_cast<size_t>(item.chars[0] - u'1')];
        break;
      }
      case Element::LiteralOn:
      case Element::LiteralOff:
      case Element::NoEffect:
        break;
    }
  }

  ControlCodeLayout Finish() {
    if (underline_) EmitUnderline();
    if (strike_) EmitStrike();
    if (!run_.empty() && Differs(runStart_, pen_))
      Piece(run_, runStart_, pen_, start_.Pitch, start_.Height);
    return std::move(out_);
  }

 private:
  void Piece(std::u16string_view text, Vec from, Vec to, double w, double h) {
    out_.Pieces.push_back({std::u16string(text), from.x, from.y, to.x, to.y, w, h, 0,
                           start_.AngleDeg, colour_, vertical_, slanted_});
  }

  void Line(Vec from, Vec to) {
    out_.Lines.push_back({colour_, from.x, from.y, to.x, to.y});
  }

  // The run so far becomes a piece that ends a tenth of a pitch before the
  // pen; the next run starts a tenth after it, so neighbouring pieces keep
  // apart. With nothing to write the run start stays where it is.
  void Flush() {
    if (run_.empty() || !Differs(runStart_, pen_)) return;
    const double gap = 0.1 * start_.Pitch;
    Piece(run_, runStart_, pen_ - gap * along_, start_.Pitch, start_.Height);
    run_.clear();
    runStart_ = pen_ + gap * along_;
  }

  void EmitUnderline() {
    if (!Differs(underlineStart_, pen_)) return;
    const Vec drop = -0.1 * start_.Height * up_;
    Line(underlineStart_ + drop, pen_ + drop);
  }

  void EmitStrike() {
    if (!Differs(strikeStart_, pen_)) return;
    const Vec lift = 0.5 * start_.Height * up_;
    Line(strikeStart_ + lift, pen_ + lift);
  }

  CodedTextStart start_;
  const std::array<int, 9>& pens_;
  Vec along_, up_;
  Vec pen_;
  Vec runStart_;
  std::u16string run_;
  int colour_;
  bool vertical_;
  bool slanted_;
  bool underline_ = false;
  bool strike_ = false;
  Vec underlineStart_, strikeStart_;
  ControlCodeLayout out_;
};

}  // namespace

bool CheckMojiExp2(std::u16string_view s) {
  if (s.size() <= 2) return false;
  if (s.back() == kStretchDotFull || s.back() == kStretchDotHalf) return true;
  static constexpr std::u16string_view kCodeLetters = u"!/_-#\\&%*^udcowbBn123456789";
  for (size_t i = 0; i + 1 < s.size(); ++i) {
    if (s[i] != u'^') continue;
    const char16_t t = s[i + 1];
    if (kCodeLetters.find(t) != std::u16string_view::npos) return true;
    if (t == u'$' && i + 2 < s.size() && s[i + 2] >= u'1' && s[i + 2] <= u'9') return true;
  }
  return false;
}

std::u16string GetMojiExp2Str(std::u16string_view s) {
  std::u16string r;
  for (const ScanItem& item : Scan(TrimEnd(s).body))
    if (item.kind == Element::Ordinary) r += item.chars;
  return r;
}

double GetMojiExp2Len(bool vertical, std::u16string_view s, double pd, double pw) {
  const TrimmedText t = TrimEnd(s);
  // Half-width characters take half a width and half a spacing, except in
  // vertical writing, where every character is a full square.
  const bool halfDot = !vertical && t.halfDotAfterHalfWidth;
  const bool halfReserve = !vertical && t.reserveAfterHalfWidth;
  const int fullDotsAfterHalf = vertical ? 0 : t.fullDotsAfterHalfWidth;
  const int fullDotsAfterFull =
      t.fullDotsAfterFullWidth + (vertical ? t.fullDotsAfterHalfWidth : 0);

  double extra = 0;
  if (t.halfDot) extra += pw / 2 + (halfDot ? pd / 2 : pd);
  extra += fullDotsAfterHalf * (pw + pd / 2) + fullDotsAfterFull * (pw + pd);
  double reserve = 0;
  if (t.reserve > 0)
    reserve = t.reserve * pw / 2 + (t.reserve - 1) * pd / 2 + (halfReserve ? pd / 2 : pd);

  auto isHalf = [vertical](std::u16string_view c) {
    return !vertical && c.size() == 1 && IsHalfWidth(c[0]);
  };
  double q = 0;
  bool hasPrevious = false;
  bool previousHalf = false;
  for (const ScanItem& item : Scan(t.body)) {
    if (item.kind == Element::Ordinary) {
      if (hasPrevious) q += previousHalf ? pd / 2 : pd;
      q += isHalf(item.chars) ? pw / 2 : pw;
      hasPrevious = true;
      previousHalf = isHalf(item.chars);
    } else if (!vertical && IsRaiseKind(item.kind) && !item.chars.empty()) {
      // A raised, lowered or centred character takes a half-width place
      // after the previous character, without becoming the previous one.
      if (hasPrevious) q += previousHalf ? pd / 2 : pd;
      q += pw / 2;
    }
  }
  if (reserve > kTolerance14) q = q - reserve > pw ? q - reserve : pw;
  return q + extra;
}

int ControlCodePositions(bool vertical, std::u16string_view s) {
  int n = 0;
  for (const ScanItem& item : Scan(TrimEnd(s).body)) {
    if (item.kind == Element::Ordinary) ++n;
    if (!vertical && IsRaiseKind(item.kind) && !item.chars.empty()) ++n;
  }
  return n;
}

ControlCodeLayout GetMojiExp2exp(const CodedTextStart& start, std::u16string_view s,
                                 const std::array<int, 9>& penColours) {
  Layout layout(start, penColours);
  for (const ScanItem& item : Scan(TrimEnd(s).body)) layout.Add(item);
  return layout.Finish();
}

}  // namespace parvex
