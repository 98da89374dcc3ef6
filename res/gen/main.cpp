// Draws the tracker's skin bitmaps, its About logo, its icons and the
// viewer's image strips into the folder named on the command line:
//   Skins\*.bmp  logo.bmp  icons\tracking.ico  icons\stopped.ico  icons\product.ico
//   viewer\navigator.bmp  viewer\toolbar.bmp  viewer\menu_images.bmp
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "image_files.h"
#include "pictures.h"

namespace fs = std::filesystem;

namespace {

bool ok = true;

void Bmp(const fs::path& path, const Canvas& pic)
{
    if (!WriteBmp24(path.string(), pic)) {
        std::fprintf(stderr, "cannot write %s\n", path.string().c_str());
        ok = false;
    }
}

void Ico(const fs::path& path, IconKind kind)
{
    std::vector<IcoImage> images;
    for (int bits : {4, 8, 32})
        for (int size : {48, 32, 24, 16})
            images.push_back({Icon(kind, size, bits == 4), bits});
    if (!WriteIco(path.string(), images)) {
        std::fprintf(stderr, "cannot write %s\n", path.string().c_str());
        ok = false;
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s output-folder\n", argv[0]);
        return 2;
    }
    const fs::path out = argv[1];
    fs::create_directories(out / "Skins");
    fs::create_directories(out / "icons");
    fs::create_directories(out / "viewer");

    // "stoped" is the name the tracker opens.
    Bmp(out / "Skins" / "ind_set.bmp", SkinCell(true));
    Bmp(out / "Skins" / "ind_clr.bmp", SkinCell(false));
    Bmp(out / "Skins" / "start.bmp", SkinStartButton(false));
    Bmp(out / "Skins" / "start_act.bmp", SkinStartButton(true));
    Bmp(out / "Skins" / "stop.bmp", SkinStopButton(false));
    Bmp(out / "Skins" / "stop_act.bmp", SkinStopButton(true));
    Bmp(out / "Skins" / "hide.bmp", SkinHideButton(false));
    Bmp(out / "Skins" / "hide_act.bmp", SkinHideButton(true));
    Bmp(out / "Skins" / "stoped.bmp", SkinStoppedFace());
    Bmp(out / "logo.bmp", Logo());

    Ico(out / "icons" / "tracking.ico", IconKind::Tracking);
    Ico(out / "icons" / "stopped.ico", IconKind::Stopped);
    Ico(out / "icons" / "product.ico", IconKind::Product);

    // Edges are blended onto the colours the images are shown on: the
    // navigator's panel, a light button face, a light menu.
    Bmp(out / "viewer" / "navigator.bmp", NavigatorStrip());
    Bmp(out / "viewer" / "toolbar.bmp", ToolbarStrip(32, 0xE4E2DE));
    Bmp(out / "viewer" / "menu_images.bmp", ToolbarStrip(16, 0xF2F2F2));
    return ok ? 0 : 1;
}
