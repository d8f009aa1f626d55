#include "widgets/SkinImage.h"

#include <QPainter>
#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <unordered_map>
#include <unordered_set>

#include "config/GlobalVar.h"
#include "config/Log.h"
#include "platform/FileLookup.h"

namespace {

// Decoded skin images by path. The layout asks for the same few images many times over
// (every button loads its normal and hover states, headers and buttons share files), and
// decoding a PNG costs far more than looking it up. An entry counts only while the file
// keeps its size and time, so a skin changed on disk is read again. A path being decoded
// (by a prefetch thread, say) is decoded once: others wait for it.
struct CCachedImage {
    std::uintmax_t nSize = 0;
    std::filesystem::file_time_type tWrite;
    QImage img;
};
constexpr size_t kMaxCached = 256;
std::mutex g_mtxCache;
std::condition_variable g_cvDecoded;
std::unordered_map<std::string, CCachedImage> g_cache;
std::unordered_set<std::string> g_setDecoding;
std::atomic<int> g_nDecodes{0};

} // namespace

QImage LoadSkinImage(const std::string& strDir, const std::string& strName) {
    if (strName.empty())
        return QImage();
    const std::string strPath = FileLookup::Resolve(strDir, strName);
    std::error_code ec;
    const std::filesystem::path path(strPath);
    const std::uintmax_t nSize = std::filesystem::file_size(path, ec);
    const auto tWrite =
        ec ? std::filesystem::file_time_type() : std::filesystem::last_write_time(path, ec);
    const bool bStat = !ec;
    if (bStat) {
        std::unique_lock<std::mutex> lock(g_mtxCache);
        g_cvDecoded.wait(lock, [&] { return g_setDecoding.count(strPath) == 0; });
        auto it = g_cache.find(strPath);
        if (it != g_cache.end() && it->second.nSize == nSize && it->second.tWrite == tWrite)
            return it->second.img;
        g_setDecoding.insert(strPath);
    }
    QImage img;
    // A file whose size could be read exists and is no folder.
    const bool bLoaded = bStat && img.load(QString::fromStdString(strPath));
    if (bLoaded) {
        ++g_nDecodes;
        // One pixel format for every image keeps painting fast and alpha right.
        // (In place: Qt converts within the buffer several times faster than into a new one.)
        img.convertTo(QImage::Format_ARGB32_Premultiplied);
    } else {
        LogPrint("Skin image not loaded: %s", strPath.c_str());
        img = QImage();
    }
    if (bStat) {
        {
            std::lock_guard<std::mutex> lock(g_mtxCache);
            g_setDecoding.erase(strPath);
            if (bLoaded) {
                if (g_cache.size() >= kMaxCached)
                    g_cache.clear();
                g_cache[strPath] = CCachedImage{nSize, tWrite, img};
            }
        }
        g_cvDecoded.notify_all();
    }
    return img;
}

int SkinImageDecodes() {
    return g_nDecodes.load();
}

CSkinPrefetch::CSkinPrefetch(std::string strDir, std::vector<std::string> vNames)
    : m_thread([strDir = std::move(strDir), vNames = std::move(vNames)] {
          for (const std::string& strName : vNames)
              LoadSkinImage(strDir, strName);
      }) {}

CSkinPrefetch::~CSkinPrefetch() {
    m_thread.join();
}

QImage LoadSkinFile(const std::string& strName) {
    return LoadSkinImage(GetSkinDir(gVar), strName);
}

bool SkinFileExists(const std::string& strDir, const std::string& strName) {
    return !strName.empty() && FileLookup::Exists(FileLookup::Resolve(strDir, strName));
}

QImage CutImagePiece(const QImage& img, const QRect& rc) {
    if (img.isNull() || rc.isEmpty())
        return QImage();
    // QImage::copy fills the parts outside the source with zero (transparent) pixels.
    return img.copy(rc).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}
