#pragma once
// Shows the platform message boxes of the core ("Wrong rect num", title "Error") as real
// boxes. Without a display (offscreen tests) they go to standard error instead of waiting.
#include "platform/MessageBox.h"

class CGuiMessageBoxSink : public IMessageBoxSink {
public:
    void Show(const std::string& strTitle, const std::string& strText) override;
};
