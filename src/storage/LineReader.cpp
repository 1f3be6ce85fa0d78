#include "storage/LineReader.h"

namespace vorlan::storage {

namespace {

std::string WithoutCarriageReturns(std::string_view text) {
    std::string line;
    line.reserve(text.size());
    for (char c : text) {
        if (c != '\r') line.push_back(c);
    }
    return line;
}

}  // namespace

bool LineReader::ReadLine(std::string& line) {
    if (finished_) {
        line.clear();
        return false;
    }
    std::size_t end = rest_.find('\n');
    if (end == std::string_view::npos) {
        line = WithoutCarriageReturns(rest_);
        rest_ = {};
        finished_ = true;
    } else {
        line = WithoutCarriageReturns(rest_.substr(0, end));
        rest_.remove_prefix(end + 1);
    }
    return true;
}

std::string LineReader::NextOrEmpty() {
    std::string line;
    ReadLine(line);
    return line;
}

}  // namespace vorlan::storage
