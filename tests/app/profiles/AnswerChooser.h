#pragma once
// Answers the file dialogs of export and import with a path the test chose, and records
// the file names the program proposed.
#include <string>
#include <vector>

#include "app/profiles/FileChooser.h"

class CAnswerChooser : public IFileChooser {
public:
    std::string SaveFile(const std::string& p, const std::string&, const std::string&) override {
        vProposed.push_back(p);
        return strAnswer;
    }
    std::string OpenFile(const std::string& p, const std::string&, const std::string&) override {
        vProposed.push_back(p);
        return strAnswer;
    }
    std::string strAnswer;
    std::vector<std::string> vProposed;
};
