#pragma once

#include <string>
#include <string_view>

namespace tarn::man {

// What the page's heading line names besides the program.
struct PageHeading {
    std::string program;  // tarn-cli
    std::string source;   // Tarn DataBase 3.0.1.0
    std::string date;     // 2026-12-07
};

// The man page (section 1, roff) of a program made from its --help text, so that every
// command and option the help lists is in the page:
// - "Usage: PROGRAM ..." (any case), with further synopsis lines indented below it that
//   start with the program's name, becomes SYNOPSIS (a deeper-indented line continues one);
// - the text up to the first heading is the DESCRIPTION: a line that starts at the margin
//   after a full stop begins a new paragraph, indented lines continue one;
// - a line at the margin ending in ":" ("Options:", "Memory (default: ...):") opens OPTIONS,
//   each further heading a subsection; under them "  TERM  description" lines are
//   entries, lines indented to the description go on with it.
// `extra` holds what the help does not say, in help2man's include format: "[NAME]" (the
// name line), "[DESCRIPTION]" (put before the help's description) and any other
// "[SECTION]" (appended in order), each followed by roff text.
std::string manPage(const PageHeading& heading, std::string_view help, std::string_view extra);

}  // namespace tarn::man
