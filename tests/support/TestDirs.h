#pragma once
// A temporary folder per test, removed afterwards, with helpers to write files into it.
#include <string>

class CTempDir {
public:
    CTempDir();
    ~CTempDir();
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;
    // The folder with a trailing '/'.
    const std::string& Path() const { return m_strPath; }
    // Writes a file (parent folders are created); returns its full path.
    std::string Write(const std::string& strRel, const std::string& strContent) const;
    std::string Read(const std::string& strRel) const;

private:
    std::string m_strPath;
};
