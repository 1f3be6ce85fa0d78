#include "ConsoleObserver.h"

#include <string>

#include "conversation/TimeText.h"
#include "platform/Clock.h"

namespace vorlan::tools {

void WriteLogLine(std::FILE* out, std::string_view text) {
    std::string line = "[" + conversation::LogTimestamp(platform::Now()) + "] ";
    line.append(text);
    line.push_back('\n');
    std::fwrite(line.data(), 1, line.size(), out);
    std::fflush(out);
}

void ConsoleObserver::OnServerNotice(std::string_view text) { WriteLogLine(out_, text); }

// There is no menu to update.
void ConsoleObserver::OnServerStateChanged(bool /*running*/, bool /*listening*/) {}

// The notice line has said it already; there is no window to pop up over.
void ConsoleObserver::OnServerPopupRequest(std::string_view /*text*/) {}

}  // namespace vorlan::tools
