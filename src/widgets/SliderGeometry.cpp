#include "widgets/SliderGeometry.h"

#include <algorithm>
#include <cstdlib>

int SliderStepPos(int nLen, int nSteps, int k, const std::vector<int>& vScale) {
    if (!vScale.empty()) {
        if (k < 0)
            return vScale.front();
        if (k >= static_cast<int>(vScale.size()))
            return vScale.back();
        return vScale[static_cast<size_t>(k)];
    }
    if (nSteps <= 0)
        return 0;
    return (nLen / nSteps) * k;
}

int SliderStepAt(int nLen, int nSteps, int p, const std::vector<int>& vScale) {
    if (nSteps <= 0)
        return 0;
    int nStep = 0;
    if (!vScale.empty()) {
        int nBest = -1;
        const int nCount = std::min<int>(static_cast<int>(vScale.size()), nSteps + 1);
        for (int k = 0; k < nCount; ++k) {
            const int nDist = std::abs(vScale[static_cast<size_t>(k)] - p);
            if (nBest < 0 || nDist <= nBest) {
                nBest = nDist;
                nStep = k;
            }
        }
    } else if (nLen > 0) {
        const int f = nSteps * p / nLen;
        const int s = nLen / nSteps;
        nStep = std::abs((f + 1) * s - p) < std::abs(f * s - p) ? f + 1 : f;
    }
    return std::clamp(nStep, 0, nSteps);
}

std::vector<int> EvenMarkPositions(int nLen, int nMark, int nCount) {
    std::vector<int> v;
    if (nCount <= 0)
        return v;
    if (nCount == 1) {
        v.push_back(nLen / 2);
        return v;
    }
    const int nStep = (nLen - nMark) / (nCount - 1);
    if (nStep <= 0)
        return v;
    const int nHalf = nMark / 2;
    const int nRemain = (nLen - nHalf - (nCount - 1) * nStep) / 2;
    int nExtra = 0;
    for (int i = 0; i < nCount; ++i) {
        if (i % 2 == 1 && nExtra < nRemain)
            ++nExtra;
        v.push_back(nHalf + i * nStep + nExtra);
    }
    v.back() = nLen - nHalf;
    return v;
}
