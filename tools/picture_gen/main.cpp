// picture_gen: draws the toolbox's built-in pictures and writes them under resources/, with a
// contact sheet of all of them at 1:1 in docs/pictures.png. Run from the repository root (see
// tools/make-pictures.sh); an optional argument names another root folder.
#include <windows.h>

#include <cstdio>
#include <string>

#include "tools/picture_gen/files.h"
#include "tools/picture_gen/pictures.h"

namespace {

using namespace pictures;

constexpr Rgba kPaper = Rgb(244, 246, 248);
constexpr Rgba kMidTone = Rgb(112, 140, 156);
constexpr Rgba kInk = Rgb(40, 48, 56);

void Checker(Canvas& c, Box box) {
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x)
            c.Set(x, y,
                  ((x - box.left) / 8 + (y - box.top) / 8) % 2 ? Rgb(255, 255, 255) : Rgb(222, 226, 230));
}

// Places `picture` at (x, y) over a backdrop: 0 checkerboard, 1 mid-tone, 2 white.
void Place(Canvas& sheet, const Canvas& picture, int x, int y, int backdrop) {
    const Box box{x, y, x + picture.width(), y + picture.height()};
    if (backdrop == 0) Checker(sheet, box);
    if (backdrop == 1) sheet.FillRect(box, kMidTone);
    if (backdrop == 2) sheet.FillRect(box, Rgb(255, 255, 255));
    sheet.Draw(picture, x, y);
}

void Caption(Canvas& sheet, int x, int y, const std::wstring& text) {
    DrawLabel(sheet, x, y, text, L"Tahoma", 12, false, kInk);
}

// Control-sheet cells as a user sees them: magenta keyed out over the white face.
Canvas KeyedOverWhite(const Canvas& controls) {
    Canvas out(controls.width(), controls.height());
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            const Rgba p = controls.Get(x, y);
            const bool key = p.r == 255 && p.g == 0 && p.b == 255;
            out.Set(x, y, key ? Rgb(255, 255, 255) : p);
        }
    return out;
}

Canvas ContactSheet(const Canvas& elements, const Canvas& controls, const Canvas& document,
                    const Canvas* const icons[5], const Canvas& skin) {
    Canvas sheet(870, 650);
    sheet.FillRect({0, 0, sheet.width(), sheet.height()}, kPaper);
    DrawLabel(sheet, 16, 10, L"Built-in pictures at 1:1", L"Tahoma", 15, true, kInk);

    Caption(sheet, 16, 40, L"Element sheet, PNG 205 x 260 RGBA");
    Place(sheet, elements, 16, 60, 0);
    Place(sheet, elements, 236, 60, 1);
    Caption(sheet, 236, 330, L"(over a mid-tone)");

    Caption(sheet, 16, 360, L"Control sheet, BMP 160 x 55");
    Place(sheet, controls, 16, 380, 2);
    Place(sheet, KeyedOverWhite(controls), 196, 380, 2);
    Caption(sheet, 196, 440, L"(magenta keyed out)");

    Caption(sheet, 16, 470, L"Document icon, 32 x 32");
    Place(sheet, document, 16, 490, 2);
    Place(sheet, document, 60, 490, 1);

    Caption(sheet, 460, 40, L"Toolbox icon, 64 / 48 / 32 / 24 / 16");
    int x = 460;
    for (int i = 0; i < 5; ++i) {
        Place(sheet, *icons[i], x, 60, 2);
        Place(sheet, *icons[i], x, 130, 1);
        x += icons[i]->width() + 12;
    }

    Caption(sheet, 460, 210, L"Default skin picture, JPEG 388 x 401");
    Place(sheet, skin, 460, 230, 2);
    return sheet;
}

bool Save(const std::string& root, const char* name, const std::string& bytes) {
    if (bytes.empty() || !WriteFile(root + "/" + name, bytes)) {
        std::fprintf(stderr, "picture_gen: could not write %s\n", name);
        return false;
    }
    std::printf("%-28s %7u bytes\n", name, unsigned(bytes.size()));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string root = argc > 1 ? argv[1] : ".";
    GdiplusSession gdiplus;
    if (!gdiplus.ok()) {
        std::fprintf(stderr, "picture_gen: GDI+ did not start\n");
        return 1;
    }
    const Canvas elements = ElementSheet();
    const Canvas controls = ControlSheet();
    const Canvas document = DocumentIcon();
    const Canvas skin = DefaultSkin();
    const Canvas icon64 = ToolboxIcon(64), icon48 = ToolboxIcon(48), icon32 = ToolboxIcon(32),
                 icon24 = ToolboxIcon(24), icon16 = ToolboxIcon(16);
    const Canvas* const icons[5] = {&icon64, &icon48, &icon32, &icon24, &icon16};

    const std::string jpeg = EncodeJpeg(skin, 90);
    bool ok = Save(root, "resources/element_sheet.png", EncodePng(elements));
    ok = Save(root, "resources/control_sheet.bmp", EncodeBmp24(controls)) && ok;
    ok = Save(root, "resources/document.ico", EncodeIco({&document})) && ok;
    ok = Save(root, "resources/default_skin.jpg", jpeg) && ok;
    ok = Save(root, "resources/toolbox.ico", EncodeIco({icons, icons + 5})) && ok;
    ok =
        Save(root, "docs/pictures.png", EncodePng(ContactSheet(elements, controls, document, icons, skin))) &&
        ok;
    return ok ? 0 : 1;
}
