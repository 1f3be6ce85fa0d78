// Judges arbitrary bytes as the update server's answer: a notice, when there
// is one, names a version of digits and dots and ends with the fixed sentence.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "update/UpdateNotice.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view response(reinterpret_cast<const char*>(data), size);
    const auto notice = vorlan::update::UpdateNoticeFor(response);
    if (!notice) return 0;
    constexpr std::string_view kSentence = " is available for download. Click here for more information.";
    if (!notice->starts_with("Vorlan") || !notice->ends_with(kSentence)) std::abort();
    const std::string_view version = std::string_view(*notice).substr(6, notice->size() - 6 - kSentence.size());
    if (version.empty() || version == "1.17" || version.find_first_not_of("0123456789.") != std::string_view::npos)
        std::abort();
    return 0;
}
