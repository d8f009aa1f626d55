#pragma once
// CComboBtn: a skinned button that opens a skinned menu of choices and shows the chosen one
// as its caption. A click only opens the menu (no clicked signal); a chosen entry is
// reported once, as the command message to the parent (wParam = the button's id).
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "widgets/PngBtn.h"

class CComboBtn : public CPngBtn {
    Q_OBJECT
public:
    static constexpr int kMaxLists = 4;
    static constexpr int kMaxItems = 20;

    struct Item {
        uint32_t dwValue;
        std::string strText;
    };

    explicit CComboBtn(QWidget* pParent = nullptr, int nId = 0);
    ~CComboBtn() override;

    // Adds to one of the four lists; refused (false) beyond 20 items or for a bad list.
    bool AddItem(int nList, uint32_t dwValue, const std::string& strText);
    void ClearList(int nList);
    void SetCurList(int nList);
    int CurList() const { return m_nCurList; }
    int ItemCount(int nList) const;
    // Position in the list in use; negative clears the choice.
    void SelectByPos(int nPos);
    // Searches the list in use; false when the value is not there.
    bool SelectByValue(uint32_t dwValue);
    int SelectedPos() const { return m_nSel; }
    // The selected item's value, 0xFFFFFFFF (-1) when none is selected.
    uint32_t SelectedValue() const { return m_dwSelValue; }
    void SetMenuWidth(int n) { m_nMenuWidth = n; }
    void SetShowTips(bool b) { m_bTips = b; }
    // Opens the menu as a click does (tests, keyboard).
    void OpenMenu();
    // Where the menu opens for this many items on a screen of this usable height, in global
    // coordinates: below the button, or above it when it would not fit.
    QPoint MenuPosition(int nItems, int nScreenBottom) const;

protected:
    void OnClicked() override;
    bool event(QEvent* pEvent) override;

private:
    std::array<std::vector<Item>, kMaxLists> m_aLists;
    int m_nCurList = 0;
    int m_nSel = -1;
    uint32_t m_dwSelValue = 0xFFFFFFFFu;
    int m_nMenuWidth = 0;
    bool m_bTips = false;
};
