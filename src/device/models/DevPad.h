#pragma once
// Model of the lit mouse pad: an apply writes the pad's lighting from the profile's pad
// region as one 26-byte general block.
#include "device/hid/DrvPad.h"
#include "device/models/HidDev.h"

class CDevPad : public CHidDev {
public:
    CDevPad(CGlobalVar& var, CHidLib* pLib = nullptr, CMacroStore* pMacros = nullptr);

    void FillDefault(Profile& pro) override;
    int ApplySetting(CApplySnapshot& snap, IProgressSink* pWnd, uint32_t nMsg, int nFlag) override;
    using CHidDev::ApplySetting;

    CDrvPad& DrvPad() const { return static_cast<CDrvPad&>(*m_pDrv); }
};

// The general block for a pad effect record (bytes 2..25; bytes 0..1, the pad's code, are
// left as they are). Returns 0 when the profile's effect index lies outside the records.
int BuildPadGeneral(const PadSettings& pad, uint8_t byGeneral[PAD_GENERAL_LEN]);
