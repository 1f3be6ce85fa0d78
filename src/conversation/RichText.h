#pragma once

#include <string>
#include <vector>

#include "conversation/ViewBatch.h"

namespace vorlan::conversation {

// What a view's text is written in, as a rich-text document names it.
struct RichTextFont {
    std::string face;
    int halfPoints = 16;    // size in half points
    long twips = 160;       // the exact size, for the view to set afterwards
    int charset = 0;        // the font's character set
    unsigned codePage = 0;  // how bytes above 127 are read
};

// The runs as one rich-text (RTF) document, for a view that inserts a whole
// batch in one go rather than run by run: colours from a table, bold and
// underline switched per run, a line break ("\r\n", "\r" or "\n") as one
// paragraph, and every byte that RTF would read otherwise (controls, braces,
// backslashes, bytes above 127) escaped, so that the view holds the same
// characters as when each run is inserted as plain text.
std::string RichTextOf(const std::vector<PendingRun>& runs, const RichTextFont& font);

}  // namespace vorlan::conversation
