#pragma once
// How the session's operations talk to the user who started them. The program answers with
// its skinned boxes, velkinctl with its command line (--yes / --no, the names given as
// arguments) and standard error. Every call comes on the thread that runs the operation.
#include <string>

#include "storage/StorageUi.h"

class ISessionUi : public IStorageUi {
public:
    // Asks for a text (a profile name); true with a non-empty text in strOut, false when the
    // user cancelled.
    virtual bool Input(const std::string& strPrompt, std::string& strOut) = 0;
};
