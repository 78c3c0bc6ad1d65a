// Numbers: tolerant comparison, snapping, rounding, angle normalisation and
// colour packing. Every function is pure and never throws; non-finite input
// gives the documented fall-back instead of looping or trapping.
#pragma once

#include <cmath>
#include <cstdint>
#include <initializer_list>

namespace parvex {

// Tolerance of "the same value" across the programs: coordinates, lengths
// and scales within it of each other are the same (SameValue12).
inline constexpr double kTolerance12 = 1e-12;
// The finer tolerance of angles, ratios and the digits of DXF reals: values
// within it of each other, or of 0, are the same; DXF reals keep their digits
// down to it.
inline constexpr double kTolerance14 = 1e-14;

// True when none of the values is NaN or infinite: a record read from a
// file may hold anything, and only finite values go on.
inline bool Finite(std::initializer_list<double> values) {
  for (double v : values)
    if (!std::isfinite(v)) return false;
  return true;
}

// v when it is finite, else `otherwise`.
inline double FiniteOr(double v, double otherwise) { return std::isfinite(v) ? v : otherwise; }

// sign(x) * trunc(|x| / step + 0.5) * step with step 1e-12. Non-finite
// values are returned unchanged.
double SnapTo1e12(double x);

// Rounds x to `places` decimals (1..9; any other count means 0 decimals).
// mode 0 cuts, 1 rounds up (away from zero), anything else rounds half away
// from zero.
double RoundDecimals(double x, int places, int mode);

bool SameValue12(double a, double b);
bool SamePoint12(double x1, double y1, double x2, double y2);
double Distance(double x1, double y1, double x2, double y2);

// Brings d into [0, 360). A result within 1e-10 of 0 or of 360 becomes 0.
// Infinite, NaN, or values so large that 360 no longer changes them give 0.
double NormalizeDeg(double d);

// Brings d into [0, 360) and returns it when it is farther than tol from
// both 0 and 360, else 0. Same fall-back as NormalizeDeg.
double NormalizeDegTol(double tol, double d);

// 0xFFRRGGBB from the three components (modulo 2^32).
std::uint32_t RgbToAlphaColor(std::int64_t r, std::int64_t g, std::int64_t b);

// A colour as Jw_cad stores it (red in the low byte) to 0xFFRRGGBB.
std::uint32_t ColorRefToAlphaColor(std::int32_t v);

}  // namespace parvex
