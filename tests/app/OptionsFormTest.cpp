#include <gtest/gtest.h>

#include "app/OptionsForm.h"

namespace vorlan::app {
namespace {

TEST(OptionsForm, ApplyCopiesTheFlagsAndTrimsTheTextsAndTouchesNothingElse) {
    storage::Options options;
    options.chatPort = 4242;
    options.topic = "kept";
    options.privateWidth = 555;
    OptionsForm form = OptionsFormFrom(options);
    form.checkForNewVersion = true;
    form.startServer = true;
    form.connectToHost = true;
    form.host = " \t example.org \r\n";
    form.reconnect = false;
    form.enablePopup = false;
    form.enablePopupSound = true;
    form.mainChatLogging = false;
    form.messageSound = true;
    form.privateChatLogging = false;
    form.timestamps = false;
    form.openLinksOnClick = true;
    form.closeWhenComplete = true;
    form.useSpecifiedBrowser = true;
    form.browserPath = "  C:\\Program Files\\Browser\\b.exe ";
    form.useInternetExplorer = false;

    ApplyOptionsForm(form, options);

    EXPECT_TRUE(options.checkForNewVersion);
    EXPECT_TRUE(options.startServer);
    EXPECT_TRUE(options.connectToHost);
    EXPECT_EQ(options.host, "example.org");
    EXPECT_FALSE(options.reconnect);
    EXPECT_FALSE(options.enablePopup);
    EXPECT_TRUE(options.enablePopupSound);
    EXPECT_FALSE(options.mainChatLogging);
    EXPECT_TRUE(options.messageSound);
    EXPECT_FALSE(options.privateChatLogging);
    EXPECT_FALSE(options.timestamps);
    EXPECT_TRUE(options.openLinksOnClick);
    EXPECT_TRUE(options.closeWhenComplete);
    EXPECT_TRUE(options.useSpecifiedBrowser);
    EXPECT_EQ(options.browserPath, "C:\\Program Files\\Browser\\b.exe");
    EXPECT_FALSE(options.useInternetExplorer);
    EXPECT_EQ(options.chatPort, 4242);
    EXPECT_EQ(options.topic, "kept");
    EXPECT_EQ(options.privateWidth, 555);

    // A form filled from these options and applied again changes nothing.
    const storage::Options before = options;
    ApplyOptionsForm(OptionsFormFrom(before), options);
    EXPECT_EQ(options.host, before.host);
    EXPECT_EQ(options.browserPath, before.browserPath);

    form.host = "   ";
    ApplyOptionsForm(form, options);
    EXPECT_EQ(options.host, "");
}

TEST(OptionsForm, BrowserChoicesActAsRadioButtonsThatMayBothBeOff) {
    OptionsForm form;
    form.useSpecifiedBrowser = false;
    form.useInternetExplorer = true;

    ClickInternetExplorer(form);  // already checked: nothing changes
    EXPECT_FALSE(form.useSpecifiedBrowser);
    EXPECT_TRUE(form.useInternetExplorer);

    ClickSpecifiedBrowser(form);
    EXPECT_TRUE(form.useSpecifiedBrowser);
    EXPECT_FALSE(form.useInternetExplorer);

    form.useSpecifiedBrowser = false;  // both off, as an options file may have them
    ClickInternetExplorer(form);
    EXPECT_FALSE(form.useSpecifiedBrowser);
    EXPECT_TRUE(form.useInternetExplorer);

    form.useSpecifiedBrowser = true;  // both on: a click on either changes nothing
    ClickSpecifiedBrowser(form);
    ClickInternetExplorer(form);
    EXPECT_TRUE(form.useSpecifiedBrowser);
    EXPECT_TRUE(form.useInternetExplorer);
}

}  // namespace
}  // namespace vorlan::app
