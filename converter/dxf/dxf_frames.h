// The drawing-frame finder: candidate horizontal and vertical frame lines,
// the rectangles closed by them and the frames added directly, in paper
// millimetres about the paper's centre (the drawing's own coordinates);
// then, for a point, a segment, a curve or a quadrilateral, the frame that
// holds it. The mapping owns one finder per conversion and decides which
// lines are candidates and which frames are added (mapping_frames.cpp);
// the model lays out one layout per frame (TDXFmodel::SetLgp).
//
// Work is bounded whatever the drawing holds: the rectangle search stops
// after kFrameSearchWork comparisons (the rectangles found so far stay),
// and at most kMaxFrames frames are kept after sorting, as many layouts as
// a CAD program accepts in one drawing.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "common/conversion_settings.h"

namespace parvex {

struct TJwZumenWakuWork {
  int no = 0;  // candidates: 0 while free, else the frame they closed; frames: the sort key
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

inline constexpr std::size_t kMaxFrames = 255;
inline constexpr std::size_t kFrameSearchWork = 50'000'000;

class DxfFrameFinder {
 public:
  // Empties the candidate lines, and the frames too when `frames` is set.
  void InitZwhv(bool frames);
  // Candidate lines, end points as given. A line with a coordinate that is
  // not finite can close no rectangle and is not kept.
  void Zw_AddH(double x1, double y1, double x2, double y2);
  void Zw_AddV(double x1, double y1, double x2, double y2);
  // Appends a frame with sort key n from the corners (x1, y1) and (x2, y2)
  // (note the order of the arguments), stored with x1 <= x2 and y1 <= y2.
  void Zw_AddW(int n, double x1, double x2, double y1, double y2);

  // Closes rectangles among the free candidates and appends them as
  // frames with key 0. Corners match when both coordinates differ by at
  // most 1e-8. For each free horizontal line h in order, the first free
  // vertical line v whose end meets h's end leads to the first free
  // horizontal k (not h) meeting v's other end, then to the first free
  // vertical l (not v) meeting k's other end; when l's other end meets
  // h's start the rectangle (x from h, y from v) is a frame and the four
  // lines are used up. The first closing choice in list order wins.
  void Zw_SearchBox();

  // R12 keeps only the first frame found (its one paper space); then the
  // frames are sorted by key, frames of equal key staying in the order
  // they were found, and cut to kMaxFrames.
  void Zw_SortN(DxfVersion ver);

  // Index of the first frame that holds the geometry, -1 for none. A point
  // is held when it lies strictly inside (within 1e-12 of an edge counts
  // as outside); a segment when a piece of it of non-zero length lies
  // inside; a quadrilateral (corners in boundary order) when one of its
  // edges does; a curve (centre, radius, ratio of the axes, start and
  // sweep in degrees, axis angle in degrees; a sweep of 0 or 360 is the
  // whole curve) when one of its four chords between quarter points does,
  // or, for a whole curve, when the frame holds its centre.
  int Zw_ClipTen(double px, double py) const;
  int Zw_ClipLine(double px1, double py1, double px2, double py2) const;
  int Zw_ClipArc(double px, double py, double pr, double ph, double ps, double pd,
                 double pk) const;
  int Zw_ClipSquare(double px1, double py1, double px2, double py2, double px3, double py3,
                    double px4, double py4) const;

  std::span<const TJwZumenWakuWork> Frames() const { return frames_; }
  std::span<const TJwZumenWakuWork> Horizontal() const { return horizontal_; }
  std::span<const TJwZumenWakuWork> Vertical() const { return vertical_; }

 private:
  std::vector<TJwZumenWakuWork> horizontal_;  // candidate horizontal lines
  std::vector<TJwZumenWakuWork> vertical_;    // candidate vertical lines
  std::vector<TJwZumenWakuWork> frames_;
};

}  // namespace parvex
