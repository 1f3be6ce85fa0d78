// The options dialog's form and the main window's layout.
#include <gtest/gtest.h>

#include "app/MainLayout.h"
#include "app/OptionsForm.h"
#include "storage/OptionsFile.h"

namespace vorlan::app {
namespace {

using storage::Options;

// Each box flipped alone flips its own option and nothing else; texts are trimmed.
TEST(OptionsForm, ApplyCopiesEachFlagToItsOwnOptionAndTrimsTheTexts) {
    Options options;
    options.chatPort = 4242, options.topic = "kept", options.privateWidth = 555;
    const std::pair<bool OptionsForm::*, bool Options::*> flags[] = {
        {&OptionsForm::checkForNewVersion, &Options::checkForNewVersion},
        {&OptionsForm::startServer, &Options::startServer},
        {&OptionsForm::connectToHost, &Options::connectToHost},
        {&OptionsForm::reconnect, &Options::reconnect},
        {&OptionsForm::enablePopup, &Options::enablePopup},
        {&OptionsForm::enablePopupSound, &Options::enablePopupSound},
        {&OptionsForm::mainChatLogging, &Options::mainChatLogging},
        {&OptionsForm::messageSound, &Options::messageSound},
        {&OptionsForm::privateChatLogging, &Options::privateChatLogging},
        {&OptionsForm::timestamps, &Options::timestamps},
        {&OptionsForm::openLinksOnClick, &Options::openLinksOnClick},
        {&OptionsForm::closeWhenComplete, &Options::closeWhenComplete},
        {&OptionsForm::useSpecifiedBrowser, &Options::useSpecifiedBrowser},
        {&OptionsForm::useInternetExplorer, &Options::useInternetExplorer},
    };
    for (const auto& [formFlag, optionFlag] : flags) {
        OptionsForm form = OptionsFormFrom(options);
        Options expected = options;
        form.*formFlag = !(form.*formFlag);
        expected.*optionFlag = !(expected.*optionFlag);
        ApplyOptionsForm(form, options);
        EXPECT_EQ(storage::FormatOptions(options), storage::FormatOptions(expected));
    }
    OptionsForm form = OptionsFormFrom(options);
    form.host = " \t example.org \r\n";
    form.browserPath = "  C:\\Program Files\\b.exe ";
    ApplyOptionsForm(form, options);
    EXPECT_EQ(options.host + "|" + options.browserPath, "example.org|C:\\Program Files\\b.exe");
    form.host = "   ";
    ApplyOptionsForm(form, options);
    EXPECT_EQ(options.host, "");
}

// The browser pair acts as radio buttons that may both be off (or, from a file, both on).
TEST(OptionsForm, BrowserChoicesActAsRadioButtons) {
    const struct {
        bool specified, explorer;
        void (*click)(OptionsForm&);
        bool specifiedAfter, explorerAfter;
    } cases[] = {
        {false, true, ClickInternetExplorer, false, true},  {false, true, ClickSpecifiedBrowser, true, false},
        {false, false, ClickInternetExplorer, false, true}, {false, false, ClickSpecifiedBrowser, true, false},
        {true, true, ClickSpecifiedBrowser, true, true},    {true, true, ClickInternetExplorer, true, true},
    };
    for (const auto& c : cases) {
        OptionsForm form;
        form.useSpecifiedBrowser = c.specified, form.useInternetExplorer = c.explorer;
        c.click(form);
        EXPECT_EQ(std::pair(form.useSpecifiedBrowser, form.useInternetExplorer),
                  std::pair(c.specifiedAfter, c.explorerAfter));
    }
}

bool Overlap(const ControlRect& a, const ControlRect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

TEST(MainLayout, PlacesTheControlsByThePaneSizesWithoutOverlapOrNegativeSizes) {
    const MainLayout layout = ComputeMainLayout(744, 502, 80, 160);
    EXPECT_EQ(layout.serversTree, (ControlRect{30, 46, 684, 80}));
    EXPECT_EQ(layout.chatView, (ControlRect{26, 155, 522, 300}));
    EXPECT_EQ(layout.inputLine, (ControlRect{30, 459, 514, 13}));
    EXPECT_EQ(layout.userTree, (ControlRect{554, 159, 160, 313}));
    const ControlRect rects[] = {layout.serversTree, layout.chatView, layout.inputLine, layout.userTree};
    for (std::size_t i = 0; i < 4; ++i) {
        for (std::size_t j = i + 1; j < 4; ++j) EXPECT_FALSE(Overlap(rects[i], rects[j])) << i << " " << j;
    }
    const MainLayout tiny = ComputeMainLayout(0, 0, 80, 160);
    EXPECT_EQ(tiny.serversTree.width + tiny.chatView.width + tiny.chatView.height + tiny.userTree.height, 0);
    EXPECT_EQ(tiny.userTree.width, 160);
    EXPECT_EQ(std::pair(MainMinimumTrackingSize(80, 160).width, MainMinimumTrackingSize(80, 160).height),
              std::pair(310, 290));
}

}  // namespace
}  // namespace vorlan::app
