#pragma once
// The keyboard's panels as the main window holds them; each still shows only its name.
#include <vector>

#include "panels/PanelBase.h"

// Keyboard picture: its keys are marked, it picks keys for the function picker and the
// light panel, and while its light-effect preview reacts it takes the keys pressed.
class CKBColorDlg : public CPanelBase {
public:
    static constexpr int kKeyMarks = 150;
    enum : int { PICTURE_KEYS = 1, PICTURE_COLOURS = 2 };

    explicit CKBColorDlg(QWidget* pParent)
        : CPanelBase(pParent, "CKBColorDlg", QSize(380, 380)), m_vMarks(kKeyMarks, false) {}

    void SetPictureMode(int nMode) {
        m_nMode = nMode;
        update();
    }
    int PictureMode() const { return m_nMode; }
    void SetKeyMark(int nKey, bool b) {
        if (nKey >= 0 && nKey < kKeyMarks)
            m_vMarks[static_cast<size_t>(nKey)] = b;
    }
    void ClearKeyMarks() { m_vMarks.assign(kKeyMarks, false); }
    int KeyMarkCount() const {
        int n = 0;
        for (bool b : m_vMarks)
            n += b ? 1 : 0;
        return n;
    }

    // A key being captured for a key field: presses go here as virtual-key codes.
    void SetCapturing(bool b) { m_bCapturing = b; }
    bool IsCapturing() const { return m_bCapturing; }
    void OnCapturedKey(int nVk) { m_vCaptured.push_back(nVk); }
    // The light-effect preview reacting to key presses.
    void SetReacting(bool b) { m_bReacting = b; }
    bool IsReacting() const { return m_bReacting; }
    void OnPreviewKey(int nVk) { m_vPreview.push_back(nVk); }

    const std::vector<int>& CapturedKeys() const { return m_vCaptured; }
    const std::vector<int>& PreviewKeys() const { return m_vPreview; }

private:
    int m_nMode = PICTURE_KEYS;
    std::vector<bool> m_vMarks;
    bool m_bCapturing = false;
    bool m_bReacting = false;
    std::vector<int> m_vCaptured, m_vPreview;
};

// Keyboard lighting; the picture's key choices in colour mode reach it as messages.
class CLedKbDlg_816Std : public CPanelBase {
public:
    explicit CLedKbDlg_816Std(QWidget* pParent)
        : CPanelBase(pParent, "CLedKbDlg_816Std", QSize(245, 300)) {}
    // Messages 1153 and 1154 of the picture, passed on by the window.
    void OnPictureMessage(uint32_t nMsg, uintptr_t wParam, intptr_t lParam) {
        m_vMsgs.push_back({nMsg, wParam, lParam});
    }
    struct Msg {
        uint32_t nMsg;
        uintptr_t wParam;
        intptr_t lParam;
    };
    const std::vector<Msg>& PictureMessages() const { return m_vMsgs; }

private:
    std::vector<Msg> m_vMsgs;
};
