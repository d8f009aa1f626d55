#include "platform/FileLookup.h"

#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileLookup {

bool Exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

bool IsDirectory(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

static std::string FindInDir(const std::string& strDir, const std::string& strName) {
    DIR* pDir = opendir(strDir.empty() ? "." : strDir.c_str());
    if (!pDir)
        return std::string();
    std::string strFound;
    while (dirent* pEnt = readdir(pDir)) {
        if (strcasecmp(pEnt->d_name, strName.c_str()) == 0) {
            strFound = pEnt->d_name;
            break;
        }
    }
    closedir(pDir);
    return strFound;
}

std::string Resolve(const std::string& dir, const std::string& rel) {
    std::string strRel = rel;
    for (char& c : strRel)
        if (c == '\\')
            c = '/';
    std::string strFull = dir + strRel;
    if (Exists(strFull))
        return strFull;

    std::string strCur = dir;
    size_t nStart = 0;
    while (nStart <= strRel.size()) {
        size_t nEnd = strRel.find('/', nStart);
        std::string strPart =
            strRel.substr(nStart, nEnd == std::string::npos ? std::string::npos : nEnd - nStart);
        bool bLast = nEnd == std::string::npos;
        if (!strPart.empty()) {
            std::string strExact = strCur + strPart;
            if (Exists(strExact)) {
                strCur = strExact;
            } else {
                std::string strFound = FindInDir(strCur, strPart);
                if (strFound.empty())
                    return strCur + strRel.substr(nStart);
                strCur += strFound;
            }
        }
        if (bLast)
            break;
        strCur += '/';
        nStart = nEnd + 1;
    }
    return strCur;
}

std::optional<std::vector<uint8_t>> ReadAll(const std::string& path) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::vector<uint8_t> vData;
    struct stat st;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
        vData.reserve(static_cast<size_t>(st.st_size));
    uint8_t buf[65536];
    for (;;) {
        ssize_t n = read(fd, buf, sizeof(buf));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            close(fd);
            return std::nullopt;
        }
        if (n == 0)
            break;
        vData.insert(vData.end(), buf, buf + n);
    }
    close(fd);
    return vData;
}

bool WriteAtomic(const std::string& path, const void* pData, size_t nLen) {
    std::string strTmp = path + ".tmp-XXXXXX";
    int fd = mkstemp(strTmp.data());
    if (fd < 0)
        return false;
    const uint8_t* p = static_cast<const uint8_t*>(pData);
    size_t nLeft = nLen;
    bool bOk = true;
    while (nLeft > 0) {
        ssize_t n = write(fd, p, nLeft);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            bOk = false;
            break;
        }
        p += n;
        nLeft -= static_cast<size_t>(n);
    }
    // mkstemp creates 0600; the user's files are readable like their other documents.
    if (bOk)
        (void)fchmod(fd, 0644);
    if (bOk && fsync(fd) != 0)
        bOk = false;
    if (close(fd) != 0)
        bOk = false;
    if (bOk && rename(strTmp.c_str(), path.c_str()) != 0)
        bOk = false;
    if (!bOk)
        unlink(strTmp.c_str());
    return bOk;
}

bool MakeDir(const std::string& path) {
    std::string strPath = path;
    while (strPath.size() > 1 && strPath.back() == '/')
        strPath.pop_back();
    if (mkdir(strPath.c_str(), 0755) == 0)
        return true;
    if (errno != EEXIST)
        return false;
    if (IsDirectory(strPath))
        return true;
    errno = ENOTDIR; // a file stands where the folder should be: say so, not "exists"
    return false;
}

} // namespace FileLookup
