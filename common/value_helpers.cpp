#include "common/value_helpers.h"

#include <cmath>

namespace parvex {

namespace {

double SnapTo(double x, double step) {
  if (!std::isfinite(x)) return x;
  double v = std::trunc(std::fabs(x) / step + 0.5) * step;
  return x < 0 ? -v : v;
}

// Brings d into [0, 360) by whole turns. Returns false when d cannot be
// brought there by adding or subtracting 360 (NaN, infinity, or so large
// that a turn is below its precision).
bool WrapDeg(double& d) {
  if (!std::isfinite(d)) return false;
  if (d + 360.0 == d || d - 360.0 == d) return false;
  // Large magnitudes are reduced in one step; the remainder is exact.
  if (std::fabs(d) >= 36000.0) d = std::fmod(d, 360.0);
  while (d < 0) d += 360.0;
  while (d >= 360.0) d -= 360.0;
  return true;
}

}  // namespace

double SnapTo1e12(double x) { return SnapTo(x, kTolerance12); }

double RoundDecimals(double x, int places, int mode) {
  double f = 1;
  if (places >= 1 && places <= 9) f = std::pow(10.0, places);
  double v = std::fabs(x) * f;
  if (mode == 1) {
    v += 0.9999999999;
  } else if (mode != 0) {
    v += 0.5;
  }
  double r = std::trunc(v) / f;
  return x < 0 ? -r : r;
}

bool SameValue12(double a, double b) { return std::fabs(a - b) <= kTolerance12; }

bool SamePoint12(double x1, double y1, double x2, double y2) {
  return std::fabs(x1 - x2) <= kTolerance12 && std::fabs(y1 - y2) <= kTolerance12;
}

double Distance(double x1, double y1, double x2, double y2) {
  double dx = x1 - x2;
  double dy = y1 - y2;
  return std::sqrt(dx * dx + dy * dy);
}

double NormalizeDeg(double d) {
  if (!WrapDeg(d)) return 0;
  if (std::fabs(d) <= 1e-10 || std::fabs(d - 360.0) <= 1e-10) return 0;
  return d;
}

double NormalizeDegTol(double tol, double d) {
  if (!WrapDeg(d)) return 0;
  if (d > tol && std::fabs(d - 360.0) > tol) return d;
  return 0;
}

std::uint32_t RgbToAlphaColor(std::int64_t r, std::int64_t g, std::int64_t b) {
  std::uint64_t v = 0xFF000000ull + static_cast<std::uint64_t>(r) * 65536u +
                    static_cast<std::uint64_t>(g) * 256u + static_cast<std::uint64_t>(b);
  return static_cast<std::uint32_t>(v);
}

std::uint32_t ColorRefToAlphaColor(std::int32_t v) {
  // Truncating division with the remainder taking the dividend's sign.
  std::int64_t r = v % 256;
  std::int64_t g = (v / 256) % 256;
  std::int64_t b = (v / 65536) % 256;
  return RgbToAlphaColor(r, g, b);
}

}  // namespace parvex
