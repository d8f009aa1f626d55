#pragma once
// The session a velkinctl command works on: the installation, its macro stores and the
// profile store loaded as the program loads them at its first start, and the command line as
// the user who answers the session's questions.
#include <memory>
#include <string>

#include "cli/CliContext.h"
#include "session/Session.h"

// Questions are answered by --yes / --no, else on the terminal; without a terminal the
// answer is no, so nothing the user has is replaced unasked. A name the session asks for is
// the one given on the command line. Messages go to standard error.
class CCliSessionUi : public ISessionUi {
public:
    int m_nAnswer = -1;       // -1 ask, 0 no, 1 yes
    std::string m_strInput;   // the answer to a name prompt; empty cancels
    bool m_bQuietYes = false; // answer yes without printing the question (the command is it)

    void Message(const std::string& strText) override;
    bool AskYesNo(const std::string& strText) override;
    bool Input(const std::string& strPrompt, std::string& strOut) override;
    // Sets the answer from the two flags; exits with 2 when both are given.
    void SetAnswer(bool bYes, bool bNo);
};

// The program's macro stores, loaded once per process.
void LoadCliMacroStores(CCliContext& ctx);
// Loads the installation and the profiles as at the program's first start (default profiles
// when the data folder has none); with bMacros the macro stores too (commands that write or
// read files with macros, and applies). bChanging: the command changes the store, so an
// unusable pro.dct is kept aside first. Default profiles made here are saved
// at once when no store file stands in their way, so their ids stay the same from one
// command to the next.
std::unique_ptr<CSession> OpenCliSession(CCliContext& ctx, bool bChanging, bool bMacros);
// A profile by id or name; ends with status 1 and a message when there is none.
Profile& FindCliProfile(CSession& session, const std::string& strIdOrName);
// Saves the store; ends with status 1 naming the file when it could not be written.
void SaveCliSession(CSession& session);
// Prints {"dwId": "0x..."}, the id a command made.
void PrintIdJson(uint32_t dwId);
// Prints the message and ends with the status.
[[noreturn]] void CliFail(const std::string& strWhy, int nCode = 1);
