#pragma once
// How the storage operations that a user starts talk to that user: the program shows its
// skinned boxes, velkinctl prints and asks on the terminal (or takes --yes / --no).
#include <string>

class IStorageUi {
public:
    virtual ~IStorageUi() = default;
    virtual void Message(const std::string& strText) = 0;
    // True for yes.
    virtual bool AskYesNo(const std::string& strText) = 0;
};
