#pragma once
// Every image of the demo skin: its file name (relative to the skin folder) and how it is
// drawn. A window that needs a new image adds a line here.
#include <QImage>
#include <functional>
#include <string>
#include <vector>

struct SkinImageSpec {
    std::string strName;
    std::function<QImage()> fnDraw;
};

// The images of a skin folder.
std::vector<SkinImageSpec> SkinFolderImages();
// The message box's images, which live in the installation's "skins" folder whatever skin
// is chosen.
std::vector<SkinImageSpec> MessageBoxImages();
