#include "support/TestDirs.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

CTempDir::CTempDir() {
    std::string strTemplate =
        (std::filesystem::temp_directory_path() / "velkin-test-XXXXXX").string();
    if (!mkdtemp(strTemplate.data()))
        throw std::runtime_error("mkdtemp failed");
    m_strPath = strTemplate + "/";
}

CTempDir::~CTempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_strPath, ec);
}

std::string CTempDir::Write(const std::string& strRel, const std::string& strContent) const {
    std::filesystem::path p = m_strPath + strRel;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream f(p, std::ios::binary);
    f << strContent;
    return p.string();
}

std::string CTempDir::Read(const std::string& strRel) const {
    std::ifstream f(m_strPath + strRel, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}
