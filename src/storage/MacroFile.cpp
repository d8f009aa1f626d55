#include "storage/MacroFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

#include "config/Log.h"
#include "platform/FileLookup.h"
#include "storage/MacroCipher.h"
#include "storage/ProfileId.h"
#include "storage/WideField.h"

namespace {
uint32_t FirstWord(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
} // namespace

bool DecodeMacroBytes(const uint8_t* pData, size_t nLen, EMacroForm form, StMacro& out) {
    if (nLen < MACRO_FILE_SIZE)
        return false;
    uint8_t buf[MACRO_FILE_SIZE];
    std::memcpy(buf, pData, MACRO_FILE_SIZE);
    uint32_t dwFirst = FirstWord(buf);
    if (form == EMacroForm::PlainAllowed && dwFirst == MACRO_MAGIC) {
        std::memcpy(&out, buf, MACRO_FILE_SIZE);
        return true;
    }
    if (dwFirst == MACRO_LEGACY_MAGIC) {
        uint8_t rot[MACRO_FILE_SIZE];
        std::memcpy(rot, buf, MACRO_FILE_SIZE);
        RotateBytesLeft2(rot, MACRO_FILE_SIZE);
        StMacro rec;
        std::memcpy(&rec, rot, MACRO_FILE_SIZE);
        if (rec.dwMagic == MACRO_MAGIC && rec.dwId != 0) {
            out = rec;
            return true;
        }
    }
    TeaDecrypt(buf, MACRO_FILE_SIZE, g_MacroKey);
    std::memcpy(&out, buf, MACRO_FILE_SIZE);
    return out.dwMagic == MACRO_MAGIC;
}

void EncodeMacroBytes(const StMacro& rec, uint8_t out[MACRO_FILE_SIZE]) {
    std::memcpy(out, &rec, MACRO_FILE_SIZE);
    TeaEncrypt(out, MACRO_FILE_SIZE, g_MacroKey);
}

bool MacroMouseCodesAllowed(const StMacro& rec, int nMacroHasMsKey) {
    for (const MacroEvent& ev : rec.Events) {
        if (ev.byCode == 0)
            break;
        if (ev.byCode >= MACRO_CODE_LBUTTON && ev.byCode <= MACRO_CODE_WHEEL_DOWN) {
            int nBit = ev.byCode - MACRO_CODE_LBUTTON;
            if ((nMacroHasMsKey & (1 << nBit)) == 0)
                return false;
        }
    }
    return true;
}

EMacroRead ReadMacroFile(const std::string& strPath, EMacroForm form, int nMacroHasMsKey,
                         StMacro& out, int* pErr) {
    int fd = open(strPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (pErr)
            *pErr = errno;
        return EMacroRead::OpenFailed;
    }
    uint8_t buf[MACRO_FILE_SIZE];
    size_t nGot = 0;
    while (nGot < MACRO_FILE_SIZE) {
        ssize_t n = read(fd, buf + nGot, MACRO_FILE_SIZE - nGot);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (pErr)
                *pErr = n < 0 ? errno : 0;
            break;
        }
        nGot += static_cast<size_t>(n);
    }
    close(fd);
    if (nGot < MACRO_FILE_SIZE)
        return EMacroRead::ReadFailed;
    if (!DecodeMacroBytes(buf, MACRO_FILE_SIZE, form, out))
        return EMacroRead::NotMacro;
    if (!MacroMouseCodesAllowed(out, nMacroHasMsKey))
        return EMacroRead::Unsupported;
    return EMacroRead::Ok;
}

void NewMacroRecord(StMacro& out, const std::string& strName) {
    std::memset(&out, 0, sizeof(out));
    out.dwMagic = MACRO_MAGIC;
    out.dwId = NewMacroId();
    out.bAutoDelay = 1;
    out.nLoopMode = 0;
    out.wLoopCount = 1;
    out.byBufferId = 0;
    SetWideField(out.szName, MACRO_NAME_LEN, strName);
}

std::string MacroName(const StMacro& rec) {
    return GetWideField(rec.szName, MACRO_NAME_LEN);
}

void SetMacroName(StMacro& rec, const std::string& strName) {
    SetWideField(rec.szName, MACRO_NAME_LEN, strName);
}

bool MakeSureFolderExist(const std::string& strPath) {
    size_t nSlash = strPath.find_last_of('/');
    if (nSlash == std::string::npos)
        return true;
    std::string strDir = strPath.substr(0, nSlash);
    if (strDir.empty() || FileLookup::IsDirectory(strDir))
        return true;
    size_t nPos = 0;
    while (nPos < strDir.size()) {
        size_t nNext = strDir.find('/', nPos + 1);
        std::string strLevel = strDir.substr(0, nNext);
        if (!strLevel.empty() && !FileLookup::IsDirectory(strLevel) &&
            !FileLookup::MakeDir(strLevel))
            return false;
        if (nNext == std::string::npos)
            break;
        nPos = nNext;
    }
    return FileLookup::IsDirectory(strDir);
}

bool MyCreateFile(const std::string& strPath, const void* pData, size_t nLen) {
    errno = 0;
    if (FileLookup::WriteAtomic(strPath, pData, nLen))
        return true;
    if (MakeSureFolderExist(strPath)) {
        errno = 0;
        if (FileLookup::WriteAtomic(strPath, pData, nLen))
            return true;
    }
    LogPrint("MyCreateFile: %s, error=0x%x", strPath.c_str(), static_cast<unsigned>(errno));
    return false;
}

bool save_macro_to_file_mcb(const std::string& strPath, const StMacro& rec, bool bBullet) {
    StMacro copy = rec;
    copy.dwDirty &= ~MACRO_DIRTY_BITS;
    if (bBullet)
        copy.byKind = MACRO_KIND_CONVERTED;
    uint8_t buf[MACRO_FILE_SIZE];
    EncodeMacroBytes(copy, buf);
    if (!MyCreateFile(strPath, buf, sizeof(buf))) {
        LogPrint("save_macro_to_file_mcb: CreateFile err=0x%x, %s", static_cast<unsigned>(errno),
                 strPath.c_str());
        return false;
    }
    return true;
}

bool MyCopyFile(const std::string& strNew, const std::string& strExisting, bool bConvert) {
    if (bConvert) {
        StMacro rec;
        // The source is a macro of the ordinary folder, so its plain form is accepted too.
        EMacroRead res = ReadMacroFile(strExisting, EMacroForm::PlainAllowed, 0x7F, rec);
        if (res != EMacroRead::Ok) {
            LogPrint("MyCopyFile: %s, error=0x%x", strExisting.c_str(), static_cast<unsigned>(res));
            return false;
        }
        return save_macro_to_file_mcb(strNew, rec, true);
    }
    if (FileLookup::Exists(strNew)) {
        LogPrint("MyCopyFile: %s, error=0x%x", strNew.c_str(), static_cast<unsigned>(EEXIST));
        return false;
    }
    auto data = FileLookup::ReadAll(strExisting);
    if (!data) {
        LogPrint("MyCopyFile: %s, error=0x%x", strExisting.c_str(), static_cast<unsigned>(errno));
        return false;
    }
    return MyCreateFile(strNew, data->data(), data->size());
}

bool CheckMacroName(std::string& strName) {
    static const char kRefused[] = "/\\?+=-*&%!#";
    for (unsigned char c : strName) {
        if (c < 0x20 || c == 0x7F || std::strchr(kRefused, c) != nullptr)
            return false;
    }
    size_t nDot = strName.find_last_of('.');
    if (nDot != std::string::npos)
        strName.erase(nDot);
    if (strName.find_first_not_of('.') == std::string::npos)
        return false;
    return true;
}

std::string SafeNameFromFile(const std::string& strName) {
    std::string str = strName;
    for (char& c : str) {
        unsigned char u = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || u < 0x20 || u == 0x7F)
            c = '_';
    }
    for (char& c : str) {
        if (c != '.' && c != '$')
            break;
        c = '_';
    }
    if (str.empty())
        str.assign(1, '_'); // assigning a literal trips a false -Wrestrict in GCC 12 release builds
    return str;
}

std::string FileTitle(const std::string& strPath) {
    size_t nSlash = strPath.find_last_of('/');
    std::string strName = nSlash == std::string::npos ? strPath : strPath.substr(nSlash + 1);
    size_t nDot = strName.find_last_of('.');
    if (nDot != std::string::npos)
        strName.erase(nDot);
    return strName;
}
