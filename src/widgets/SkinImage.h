#pragma once
// Loading skin images and converting the program's colour values for painting.
#include <QColor>
#include <QImage>
#include <QRect>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

// Loads dir + name (looked up without regard to case, '\\' or '/' separators). A missing or
// unreadable file gives a null image (width 0) and a log line; callers decide what to show.
// Safe from any thread.
QImage LoadSkinImage(const std::string& strDir, const std::string& strName);
// How many images were decoded from files so far (each file once while it is unchanged).
int SkinImageDecodes();

// Decodes skin images on a thread of its own, so that start-up can do other work (its
// fonts, its devices) meanwhile; a LoadSkinImage of a file being prefetched waits for that
// decode instead of repeating it. The destructor waits for the thread.
class CSkinPrefetch {
public:
    CSkinPrefetch(std::string strDir, std::vector<std::string> vNames);
    ~CSkinPrefetch();
    CSkinPrefetch(const CSkinPrefetch&) = delete;
    CSkinPrefetch& operator=(const CSkinPrefetch&) = delete;

private:
    std::thread m_thread;
};

// Loads a file from the current skin directory of gVar.
QImage LoadSkinFile(const std::string& strName);
// Whether dir + name exists (same lookup as LoadSkinImage).
bool SkinFileExists(const std::string& strDir, const std::string& strName);
// A piece of a larger image (the part of a background under a control). Parts outside the
// image are transparent; an empty rectangle or a null image gives a null image.
QImage CutImagePiece(const QImage& img, const QRect& rc);

// 0x00BBGGRR colour values (red in the low byte) to QColor and back.
inline QColor ColorFromRef(uint32_t clr) {
    return QColor(clr & 0xFF, (clr >> 8) & 0xFF, (clr >> 16) & 0xFF);
}
inline uint32_t RefFromColor(const QColor& c) {
    return static_cast<uint32_t>(c.red()) | (static_cast<uint32_t>(c.green()) << 8) |
           (static_cast<uint32_t>(c.blue()) << 16);
}
// 0xAARRGGBB values (the fills of the tree controls) to QColor.
inline QColor ColorFromArgb(uint32_t argb) {
    return QColor((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF, (argb >> 24) & 0xFF);
}
