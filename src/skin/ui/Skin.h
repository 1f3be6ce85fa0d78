#pragma once

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <string>

#include "skin/SkinButton.h"
#include "skin/ui/SkinImages.h"
#include "storage/Records.h"
#include "ui/WindowSkin.h"

namespace vorlan::skin {

// The program's look: the images of the "Images" folder, the 27 colours and
// the skin's fonts, owned by the main window for the whole run and installed
// into the window bases, so that every dialog, button, label and tree of the
// program is drawn through it.
class Skin : public ui::WindowSkin {
public:
    Skin();
    ~Skin() override;
    Skin(const Skin&) = delete;
    Skin& operator=(const Skin&) = delete;

    // Start-up: the images from the program folder, then the colours file's colours.
    void LoadImages(const std::string& programFolder);
    void SetColours(const storage::Colors& colours);
    // The 32-pixel icon a minimised window draws when it has none of its own.
    void SetIcon(HICON large) { icon_ = large; }

    const SkinImages& images() const { return images_; }
    // Colour k (1..27) of the colours file.
    COLORREF Colour(int k) const;
    // The window fill: background.bmp's pixel (16, 16).
    COLORREF FillColour() const { return fillColour_; }
    HBRUSH FillBrush() const { return fillBrush_; }
    HFONT PushButtonFont() const { return pushFont_; }
    HFONT CheckButtonFont() const { return checkFont_; }
    // A title label's font ("Recently used servers:").
    HFONT TitleLabelFont() const { return titleFont_; }

    // The window background of `window` into `dc`, shifted by (dx, dy) (a child
    // repeating its parent's background behind itself).
    void PaintBackground(HWND window, HDC dc, const ui::DialogLook& look, int dx = 0, int dy = 0) const;
    // Single pixels every second pixel along the four sides.
    static void DrawDottedRectangle(HDC dc, const RECT& rect, COLORREF colour);

    // ui::WindowSkin
    void DressDialog(HWND dialog) override;
    std::optional<INT_PTR> DialogMessage(HWND dialog, const ui::DialogLook& look, UINT message, WPARAM wParam,
                                         LPARAM lParam) override;
    void DressTree(HWND tree) override;
    std::optional<LRESULT> TreeCustomDraw(const NMTVCUSTOMDRAW& draw, std::uint32_t itemColour) override;

private:
    void PaintIcon(HWND window);
    void DrawTreeColumn(const NMTVCUSTOMDRAW& draw);

    SkinImages images_;
    std::array<COLORREF, 27> colours_{};
    COLORREF fillColour_ = RGB(236, 240, 245);
    HBRUSH fillBrush_ = nullptr;
    HFONT pushFont_ = nullptr;
    HFONT checkFont_ = nullptr;
    HFONT titleFont_ = nullptr;
    HICON icon_ = nullptr;
};

inline constexpr int kBackgroundCorner = 16;
inline constexpr int kSmallBand = 10;
inline constexpr int kPanelCorner = 10;
inline constexpr int kFrameCorner = 4;
inline constexpr int kButtonCorner = 10;
inline constexpr int kGlyphSize = 15;
// How far the thin frame sits outside a tree or text control.
inline constexpr int kFrameOutset = 2;

HFONT MakeSkinFont(const char* face, int height, int weight);

}  // namespace vorlan::skin
