// The skin on real windows under Wine: a dialog's buttons and labels taken
// over by the skin, the mouse and keyboard rules of a skinned check box, the
// images read from a folder (the window fill and a push button's face), and a
// missing image drawing nothing. Skipped without a display.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "app/ui/MainDialogIds.h"
#include "skin/ui/Skin.h"
#include "ui/Dialog.h"

namespace vorlan::skin {
namespace {

constexpr int kCheckId = 500;

// The About template with an automatic check box added, recording its commands.
class SkinnedDialog : public ui::Dialog {
public:
    std::vector<std::pair<int, int>> commands;

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM) override {
        if (message == WM_INITDIALOG) {
            CreateWindowExA(0, "BUTTON", "Check", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 10, 120, 120, 16, handle(),
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCheckId)), nullptr, nullptr);
            return TRUE;
        }
        if (message == WM_COMMAND) {
            commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        }
        return FALSE;
    }
};

void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

LPARAM At(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

// A 24-bit bitmap file of one colour, `size` pixels square.
void WriteBitmap(const std::string& path, int size, COLORREF colour) {
    const int stride = (size * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = size;
    info.biHeight = size;
    info.biPlanes = 1;
    info.biBitCount = 24;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(stride * size);
    std::string pixels(static_cast<std::size_t>(stride * size), '\0');
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            char* p = &pixels[static_cast<std::size_t>(y * stride + x * 3)];
            p[0] = static_cast<char>(GetBValue(colour));
            p[1] = static_cast<char>(GetGValue(colour));
            p[2] = static_cast<char>(GetRValue(colour));
        }
    FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info, sizeof info, 1, out);
    std::fwrite(pixels.data(), 1, pixels.size(), out);
    std::fclose(out);
}

class SkinControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        skin_.LoadImages("C:\\no such folder");  // every image missing
        ui::InstallWindowSkin(&skin_);
        if (!dialog_.CreateModeless(GetModuleHandleA(nullptr), IDD_ABOUT_DIALOG, nullptr)) {
            GTEST_SKIP() << "no window can be created (no display)";
        }
        ShowWindow(dialog_.handle(), SW_SHOWNA);
        check_ = GetDlgItem(dialog_.handle(), kCheckId);
        Pump();
    }
    void TearDown() override {
        if (dialog_.handle() != nullptr) DestroyWindow(dialog_.handle());
        ui::InstallWindowSkin(nullptr);
    }
    int Clicks() const {
        int clicks = 0;
        for (const auto& [id, code] : dialog_.commands) clicks += id == kCheckId && code == BN_CLICKED;
        return clicks;
    }
    bool Pressed() const { return (SendMessageA(check_, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; }

    Skin skin_;
    SkinnedDialog dialog_;
    HWND check_ = nullptr;
};

TEST_F(SkinControlsTest, ButtonsAndLabelsAreTakenOverAndPaintWithoutImages) {
    const auto systemButton = GetClassLongPtrA(check_, GCLP_WNDPROC);
    EXPECT_NE(GetWindowLongPtrA(check_, GWLP_WNDPROC), systemButton);
    EXPECT_NE(GetWindowLongPtrA(GetDlgItem(dialog_.handle(), IDC_ABOUT_CLOSE), GWLP_WNDPROC), systemButton);
    // Missing images: everything still paints, and the fill falls back to the system's face colour.
    RedrawWindow(dialog_.handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_EQ(skin_.FillColour(), GetSysColor(COLOR_BTNFACE));
}

TEST_F(SkinControlsTest, CheckBoxDraggedOffAndBackClicksOnce) {
    SendMessageA(check_, WM_MOUSEMOVE, 0, At(5, 5));
    SendMessageA(check_, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    EXPECT_TRUE(Pressed());
    SendMessageA(check_, WM_MOUSEMOVE, MK_LBUTTON, At(-30, 5));
    EXPECT_FALSE(Pressed());  // shows its unpressed image again
    EXPECT_EQ(SendMessageA(check_, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    SendMessageA(check_, WM_MOUSEMOVE, MK_LBUTTON, At(5, 5));
    EXPECT_TRUE(Pressed());
    SendMessageA(check_, WM_LBUTTONUP, 0, At(5, 5));
    Pump();
    EXPECT_EQ(Clicks(), 1);
    EXPECT_EQ(SendMessageA(check_, BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST(SkinImagesTest, ImagesComeFromTheFolderAndTheFillFromTheBackgroundsMiddle) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "vorlan-skin-test-" + std::to_string(GetCurrentProcessId());
    const std::string images = folder + "\\Images";
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA(images.c_str(), nullptr);
    WriteBitmap(images + "\\background.bmp", 33, RGB(10, 200, 30));
    WriteBitmap(images + "\\button.bmp", 21, RGB(200, 20, 40));
    Skin skin;
    skin.LoadImages(folder);
    DeleteFileA((images + "\\background.bmp").c_str());
    DeleteFileA((images + "\\button.bmp").c_str());
    RemoveDirectoryA(images.c_str());
    RemoveDirectoryA(folder.c_str());
    EXPECT_EQ(skin.FillColour(), RGB(10, 200, 30));
    EXPECT_NE(skin.images().Get(SkinImage::Button), nullptr);
    EXPECT_EQ(skin.images().Get(SkinImage::Button2), nullptr);  // missing: empty
    EXPECT_EQ(skin.images().PixelOf(SkinImage::Button, 10, 10, 0), RGB(200, 20, 40));

    // A push button's face is the nine-slice of its image, centre filled.
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP target = CreateCompatibleBitmap(screen, 80, 30);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, target);
    skin.images().DrawNineSlice(dc, SkinImage::Button, kButtonCorner, RECT{0, 0, 80, 30}, true);
    EXPECT_EQ(GetPixel(dc, 40, 15), RGB(200, 20, 40));
    EXPECT_EQ(GetPixel(dc, 79, 29), RGB(200, 20, 40));
    // A missing image leaves the target as it was.
    RECT all{0, 0, 80, 30};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    skin.images().DrawNineSlice(dc, SkinImage::Button2, kButtonCorner, all, true);
    EXPECT_EQ(GetPixel(dc, 40, 15), RGB(255, 255, 255));
    SelectObject(dc, old);
    DeleteObject(target);
    DeleteDC(dc);
}

}  // namespace
}  // namespace vorlan::skin
