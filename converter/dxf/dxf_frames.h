// The drawing-frame finder's work lists, in a unit of their own: candidate
// horizontal and vertical frame lines and the frames themselves, in paper
// millimetres about the paper's centre (the drawing's own coordinates).
// The mapping owns one finder per conversion; the model takes the frames
// when it lays out one layout per frame (TDXFmodel::SetLgp).
#pragma once

#include <span>
#include <vector>

namespace parvex {

struct TJwZumenWakuWork {
  int no = 0;  // candidates: 0 while free; frames: the sort key
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

class DxfFrameFinder {
 public:
  // Empties the candidate lines, and the frames too when `frames` is set.
  void InitZwhv(bool frames);
  // Appends a frame with sort key n from the corners (x1, y1) and (x2, y2)
  // (note the order of the arguments), stored with x1 <= x2 and y1 <= y2.
  void Zw_AddW(int n, double x1, double x2, double y1, double y2);

  std::span<const TJwZumenWakuWork> Frames() const { return frames_; }

 private:
  std::vector<TJwZumenWakuWork> horizontal_;  // candidate horizontal lines
  std::vector<TJwZumenWakuWork> vertical_;    // candidate vertical lines
  std::vector<TJwZumenWakuWork> frames_;
};

}  // namespace parvex
