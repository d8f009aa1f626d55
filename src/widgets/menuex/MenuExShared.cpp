#include "widgets/menuex/MenuExShared.h"

#include "config/Log.h"
#include "platform/FileLookup.h"

void MenuExShared::LoadImages() {
    for (size_t i = 0; i < aImages.size(); ++i) {
        const std::string& strPath = req.images[i];
        if (strPath.empty())
            continue;
        // The images are named by the caller's skin directory; look them up the way every
        // other skin file is looked up, without regard to case.
        const auto nSlash = strPath.find_last_of('/');
        const std::string strDir = nSlash == std::string::npos ? "" : strPath.substr(0, nSlash + 1);
        const std::string strName =
            nSlash == std::string::npos ? strPath : strPath.substr(nSlash + 1);
        const std::string strReal = FileLookup::Resolve(strDir, strName);
        if (!aImages[i].load(QString::fromStdString(strReal)))
            LogPrint("Menu image not loaded: %s", strReal.c_str());
    }
}

bool MenuExShared::HasChildren(int nIndex) const {
    for (size_t i = 0; i < vEntries.size(); ++i)
        if (vbValid[i] && vEntries[i].nParent == nIndex)
            return true;
    return false;
}
