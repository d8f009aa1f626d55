#pragma once
// Slider arithmetic: where each step sits on a track and which step a pixel selects.
#include <vector>

// Pixel position of step k (0 <= k <= nSteps) on a track of nLen pixels: the k-th scale
// position when scale positions are given, else (nLen / nSteps) * k.
int SliderStepPos(int nLen, int nSteps, int k, const std::vector<int>& vScale);
// Step selected by pixel p: with scale positions the nearest one (the later step on equal
// distance), else the nearer of the two evenly spaced steps around p. Kept in 0..nSteps.
int SliderStepAt(int nLen, int nSteps, int p, const std::vector<int>& vScale);
// Evenly spaced centres of nCount marks of size nMark on a track of nLen pixels: the first at
// nMark / 2, the last at nLen - nMark / 2, the pixels left over spread over the odd-numbered
// marks. Empty when the marks do not fit (the caller reports it).
std::vector<int> EvenMarkPositions(int nLen, int nMark, int nCount);
