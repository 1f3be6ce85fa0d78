// The notifier's rules: which pop-ups show, which sounds play, and the sound
// rule's file checks. The window that slides the pop-up is a recording here.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/Notifier.h"
#include "support/TempFolder.h"

namespace vorlan::app {
namespace {

struct RecordingPopup : PopupView, SoundPlayer {
    std::string folder;
    bool visible = false;
    std::vector<PopupRequest> shown;
    std::vector<std::string> played;  // paths after the program folder
    bool IsPopupVisible() const override { return visible; }
    void ShowPopup(const PopupRequest& request) override { shown.push_back(request); }
    void PlayWave(const std::string& path) override {
        played.push_back(path.starts_with(folder) ? path.substr(folder.size()) : path);
    }
};

class NotifierTest : public ::testing::Test {
protected:
    test::TempFolder folder;
    storage::Options options;
    RecordingPopup window;
    Notifier notifier{options, folder.Path().string(), window, window};

    void SetUp() override {
        window.folder = folder.Path().string();
        std::filesystem::create_directories(folder.Path() / "Sounds");
        for (const char* name : {"popup.wav", "message.wav"}) std::ofstream(folder.Path() / "Sounds" / name) << "RIFF";
        options.enablePopupSound = options.messageSound = true;
    }
};

TEST_F(NotifierTest, PopupsFollowTheirOptionAndForceWhileOnlyAFreshOrdinaryPopupSounds) {
    notifier.ShowPopup("Bob has joined the server.", 0, 0);
    notifier.ShowPopup("Bob says: hi", 0, 3);
    window.visible = true;
    notifier.ShowPopup("Carl has joined the server.", 0, 0);  // replaces the visible one: no sound
    window.visible = false;
    notifier.ShowPopup("Vorlan 1.18 is available", 1, 0);  // an update notice never sounds
    options.enablePopup = false;
    notifier.ShowPopup("Dee has joined the server.", 0, 0);
    notifier.ShowPopup("Vorlan 1.19 is available", 1, 0);  // shown with pop-ups off
    EXPECT_EQ(window.shown, (std::vector<PopupRequest>{{"Bob has joined the server.", 0, false},
                                                       {"Bob says: hi", 3, false},
                                                       {"Carl has joined the server.", 0, false},
                                                       {"Vorlan 1.18 is available", 0, true},
                                                       {"Vorlan 1.19 is available", 0, true}}));
    EXPECT_EQ(window.played, (std::vector<std::string>{"\\Sounds\\popup.wav", "\\Sounds\\popup.wav"}));

    options.enablePopup = true, options.enablePopupSound = false;
    notifier.ShowPopup("Eve has joined the server.", 0, 0);
    EXPECT_EQ(window.played.size(), 2u);
}

TEST_F(NotifierTest, TheMessageSoundFollowsItsOptionAndAMissingOrFolderSoundIsSkipped) {
    notifier.PlayMessageSound();
    options.messageSound = false;
    notifier.PlayMessageSound();
    EXPECT_EQ(window.played, (std::vector<std::string>{"\\Sounds\\message.wav"}));

    options.messageSound = true;
    std::filesystem::remove(folder.Path() / "Sounds" / "message.wav");
    std::filesystem::remove(folder.Path() / "Sounds" / "popup.wav");
    std::filesystem::create_directories(folder.Path() / "Sounds" / "popup.wav");  // a folder of that name
    notifier.PlayMessageSound();
    notifier.ShowPopup("Bob has joined the server.", 0, 0);
    EXPECT_EQ(window.played.size(), 1u);
    EXPECT_EQ(window.shown.size(), 1u) << "a silent pop-up still shows";
}

}  // namespace
}  // namespace vorlan::app
