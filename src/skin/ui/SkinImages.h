#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "skin/NineSlice.h"

namespace vorlan::skin {

// The skin's bitmaps, in the order they are loaded.
enum class SkinImage {
    Background,
    Border,
    Border2,
    Border3,
    Button,
    Button2,
    CheckBox1,
    CheckBox2,
    CheckBox3,
    CheckBox4,
    Radio1,
    Radio2,
    Radio3,
    Radio4,
    Expand,
    Collapse,
    Count
};

// The bitmaps of the "Images" folder, read once at start-up and kept for the
// whole run. A missing or unreadable file leaves its image empty, and an empty
// image draws nothing.
class SkinImages {
public:
    SkinImages() = default;
    ~SkinImages();
    SkinImages(const SkinImages&) = delete;
    SkinImages& operator=(const SkinImages&) = delete;

    // `folder` is the program folder; the files are "\Images\<name>.bmp" in it.
    void Load(const std::string& folder);
    HBITMAP Get(SkinImage image) const { return bitmaps_[static_cast<std::size_t>(image)]; }
    // The colour of a pixel of an image; `fallback` when it is missing.
    COLORREF PixelOf(SkinImage image, int x, int y, COLORREF fallback) const;

    // Copies `plan` of `image` into `dc`; the centre fill uses the image's pixel (corner, corner).
    void Draw(HDC dc, SkinImage image, int corner, const SlicePlan& plan) const;
    void DrawNineSlice(HDC dc, SkinImage image, int corner, const RECT& target, bool fillCentre) const;
    // Copies the whole image unscaled to (x, y).
    void DrawWhole(HDC dc, SkinImage image, int x, int y) const;

private:
    std::array<HBITMAP, static_cast<std::size_t>(SkinImage::Count)> bitmaps_{};
};

const char* SkinImageFile(SkinImage image);
inline Rect RectOf(const RECT& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

}  // namespace vorlan::skin
