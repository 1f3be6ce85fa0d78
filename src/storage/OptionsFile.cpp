#include "storage/OptionsFile.h"

#include <array>
#include <variant>

#include "platform/Files.h"
#include "protocol/Framing.h"
#include "storage/SettingsWriter.h"
#include "storage/LineReader.h"

namespace vorlan::storage {

namespace {

using FlagLine = bool Options::*;
using NumberLine = int Options::*;
using TextLine = std::string Options::*;
using OptionLine = std::variant<FlagLine, NumberLine, TextLine>;

// The lines of the file, in file order.
constexpr std::array<OptionLine, 49> kOptionLines = {
    &Options::checkForNewVersion,
    &Options::startServer,
    &Options::connectToHost,
    &Options::host,
    &Options::reconnect,
    &Options::enablePopup,
    &Options::enablePopupSound,
    &Options::mainChatLogging,
    &Options::messageSound,
    &Options::privateChatLogging,
    &Options::timestamps,
    &Options::openLinksOnClick,
    &Options::closeWhenComplete,
    &Options::useSpecifiedBrowser,
    &Options::browserPath,
    &Options::useInternetExplorer,
    &Options::chatPort,
    &Options::mainServer1,
    &Options::mainServer2,
    &Options::mainWidth,
    &Options::mainHeight,
    &Options::serversPaneHeight,
    &Options::userPaneWidth,
    &Options::mainMaximized,
    &Options::privateWidth,
    &Options::privateHeight,
    &Options::privateMaximized,
    &Options::connectionsWidth,
    &Options::connectionsHeight,
    &Options::connectionsMaximized,
    &Options::banListWidth,
    &Options::banListHeight,
    &Options::banListMaximized,
    &Options::browseWidth,
    &Options::browseHeight,
    &Options::browseMaximized,
    &Options::serverAddress,
    &Options::sendBufferSizeText,
    &Options::sendModeClient,
    &Options::sendModeServer,
    &Options::sendPortRange,
    &Options::lastSendFolder,
    &Options::receivePortRange,
    &Options::lastSaveFolder,
    &Options::topic,
    &Options::clientPassword,
    &Options::superAdminPassword,
    &Options::normalAdminPassword,
    &Options::normalUserPassword,
};

constexpr bool EveryLineNamed() {
    for (const OptionLine& member : kOptionLines) {
        if (std::visit([](auto pointer) { return pointer == nullptr; }, member)) return false;
    }
    return true;
}
static_assert(EveryLineNamed(), "every one of the 49 lines needs its field");

void ReadFlag(const std::string& line, bool& flag) {
    if (line.empty()) return;
    if (line[0] == '0') flag = false;
    if (line[0] == '1') flag = true;
}

struct OptionReader {
    Options& options;
    const std::string& line;
    void operator()(FlagLine member) const { ReadFlag(line, options.*member); }
    void operator()(NumberLine member) const { options.*member = protocol::ReadDecimal(line); }
    void operator()(TextLine member) const { options.*member = line; }
};

struct OptionWriter {
    const Options& options;
    SettingsWriter& writer;
    void operator()(FlagLine member) const { writer.AddFlag(options.*member); }
    void operator()(NumberLine member) const { writer.AddNumber(options.*member); }
    void operator()(TextLine member) const { writer.AddText(options.*member); }
};

}  // namespace

void ParseOptions(std::string_view bytes, Options& options) {
    LineReader lines(bytes);
    for (const OptionLine& member : kOptionLines) {
        std::string line = lines.NextOrEmpty();
        std::visit(OptionReader{options, line}, member);
    }
}

std::string FormatOptions(const Options& options) {
    SettingsWriter writer;
    for (const OptionLine& member : kOptionLines) {
        std::visit(OptionWriter{options, writer}, member);
    }
    return writer.Bytes();
}

bool LoadOptions(const std::string& path, Options& options) {
    std::string bytes;
    if (!platform::ReadWholeFile(path, bytes)) return false;
    ParseOptions(bytes, options);
    return true;
}

bool SaveOptionsIfExists(const std::string& path, const Options& options) {
    return RewriteExistingFile(path, FormatOptions(options));
}

}  // namespace vorlan::storage
