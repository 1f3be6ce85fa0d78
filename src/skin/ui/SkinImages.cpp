#include "skin/ui/SkinImages.h"

namespace vorlan::skin {

namespace {

constexpr const char* kFiles[] = {
    "background.bmp",    "border.bmp",        "border2.bmp",      "border3.bmp",
    "button.bmp",        "button2.bmp",       "check box.bmp",    "check box2.bmp",
    "check box3.bmp",    "check box4.bmp",    "radio button.bmp", "radio button2.bmp",
    "radio button3.bmp", "radio button4.bmp", "expand.bmp",       "collapse.bmp",
};
static_assert(sizeof kFiles / sizeof kFiles[0] == static_cast<std::size_t>(SkinImage::Count));

// A memory DC with `bitmap` selected, put back on destruction.
class SourceDc {
public:
    SourceDc(HDC like, HBITMAP bitmap) : dc_(CreateCompatibleDC(like)) {
        if (dc_ != nullptr) old_ = SelectObject(dc_, bitmap);
    }
    ~SourceDc() {
        if (dc_ == nullptr) return;
        SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    SourceDc(const SourceDc&) = delete;
    SourceDc& operator=(const SourceDc&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
    HGDIOBJ old_ = nullptr;
};

}  // namespace

const char* SkinImageFile(SkinImage image) { return kFiles[static_cast<std::size_t>(image)]; }

SkinImages::~SkinImages() {
    for (HBITMAP bitmap : bitmaps_) {
        if (bitmap != nullptr) DeleteObject(bitmap);
    }
}

void SkinImages::Load(const std::string& folder) {
    for (std::size_t i = 0; i < bitmaps_.size(); ++i) {
        if (bitmaps_[i] != nullptr) DeleteObject(bitmaps_[i]);
        const std::string path = folder + "\\Images\\" + kFiles[i];
        bitmaps_[i] = static_cast<HBITMAP>(
            LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    }
}

COLORREF SkinImages::PixelOf(SkinImage image, int x, int y, COLORREF fallback) const {
    HBITMAP bitmap = Get(image);
    if (bitmap == nullptr) return fallback;
    SourceDc source(nullptr, bitmap);
    const COLORREF pixel = GetPixel(source.get(), x, y);
    return pixel == CLR_INVALID ? fallback : pixel;
}

void SkinImages::Draw(HDC dc, SkinImage image, int corner, const SlicePlan& plan) const {
    HBITMAP bitmap = Get(image);
    if (bitmap == nullptr) return;
    SourceDc source(dc, bitmap);
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    for (const SlicePiece& piece : plan.pieces) {
        const Rect& s = piece.source;
        const Rect& t = piece.target;
        if (s.width == t.width && s.height == t.height) {
            BitBlt(dc, t.x, t.y, t.width, t.height, source.get(), s.x, s.y, SRCCOPY);
        } else {
            StretchBlt(dc, t.x, t.y, t.width, t.height, source.get(), s.x, s.y, s.width, s.height, SRCCOPY);
        }
    }
    SetStretchBltMode(dc, oldMode);
    if (plan.fill.width > 0 && plan.fill.height > 0) {
        const COLORREF colour = GetPixel(source.get(), corner, corner);
        if (colour != CLR_INVALID) {
            HBRUSH brush = CreateSolidBrush(colour);
            RECT fill{plan.fill.x, plan.fill.y, plan.fill.x + plan.fill.width, plan.fill.y + plan.fill.height};
            FillRect(dc, &fill, brush);
            DeleteObject(brush);
        }
    }
}

void SkinImages::DrawNineSlice(HDC dc, SkinImage image, int corner, const RECT& target, bool fillCentre) const {
    Draw(dc, image, corner, NineSlice(corner, RectOf(target), fillCentre));
}

void SkinImages::DrawWhole(HDC dc, SkinImage image, int x, int y) const {
    HBITMAP bitmap = Get(image);
    if (bitmap == nullptr) return;
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    SourceDc source(dc, bitmap);
    BitBlt(dc, x, y, info.bmWidth, info.bmHeight, source.get(), 0, 0, SRCCOPY);
}

}  // namespace vorlan::skin
