#include "manpage/man_page.h"

#include <algorithm>
#include <cctype>
#include <utility>
#include <vector>

namespace tarn::man {
namespace {

std::vector<std::string> lines(std::string_view text) {
    std::vector<std::string> result;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        result.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return result;
}

std::size_t indentOf(const std::string& line) {
    return std::min(line.find_first_not_of(' '), line.size());
}

std::string trimmed(const std::string& line) {
    const std::size_t first = indentOf(line);
    const std::size_t last = line.find_last_not_of(" \t\r");
    return first > last || last == std::string::npos ? "" : line.substr(first, last - first + 1);
}

bool startsWith(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
}

// Text as roff shows it: backslashes and the minus signs of options kept, and no line taken
// for a request.
std::string escaped(std::string_view text) {
    std::string result = !text.empty() && (text[0] == '.' || text[0] == '\'') ? "\\&" : "";
    for (char c : text) {
        if (c == '\\')
            result += "\\e";
        else if (c == '-')
            result += "\\-";
        else
            result += c;
    }
    return result;
}

// A synopsis or an option's term: options (and a leading subcommand) bold, what the user
// fills in italic, brackets and bars plain.
std::string formatted(std::string_view words, bool boldFirst) {
    std::string result, word;
    int depth = 0;
    bool first = boldFirst;
    auto flush = [&] {
        if (word.empty()) return;
        const bool bold = word[0] == '-' || (first && depth == 0);
        result += (bold ? "\\fB" : "\\fI") + escaped(word) + "\\fR";
        word.clear();
        first = false;
    };
    for (char c : words) {
        if (std::string_view(" []()|,").find(c) == std::string_view::npos) {
            word += c;
            continue;
        }
        flush();
        depth += c == '[' || c == '(' ? 1 : c == ']' || c == ')' ? -1 : 0;
        result += c;
    }
    flush();
    return result;
}

struct Extra {
    std::vector<std::pair<std::string, std::string>> sections;  // in the order given
    std::string take(const std::string& name) {
        for (auto it = sections.begin(); it != sections.end(); ++it)
            if (it->first == name) {
                std::string text = std::move(it->second);
                sections.erase(it);
                return text;
            }
        return {};
    }
};

Extra parseExtra(std::string_view text) {
    Extra extra;
    for (const std::string& line : lines(text)) {
        if (line.size() > 2 && line.front() == '[' && line.back() == ']')
            extra.sections.emplace_back(line.substr(1, line.size() - 2), "");
        else if (!extra.sections.empty() && !(line.empty() && extra.sections.back().second.empty()))
            extra.sections.back().second += line + "\n";
    }
    for (auto& [name, body] : extra.sections)
        body.erase(body.find_last_not_of('\n') + 1), body += '\n';
    return extra;
}

}  // namespace

std::string manPage(const PageHeading& heading, std::string_view help, std::string_view extraText) {
    Extra extra = parseExtra(extraText);
    const std::vector<std::string> text = lines(help);
    std::size_t i = 0;
    while (i < text.size() && trimmed(text[i]).empty()) ++i;

    // The synopsis: the usage line and the program's lines below it.
    std::vector<std::string> synopsis;
    std::string usage = i < text.size() ? trimmed(text[i]) : "";
    std::transform(usage.begin(), usage.begin() + std::min<std::size_t>(6, usage.size()),
                   usage.begin(), [](unsigned char c) { return std::tolower(c); });
    if (startsWith(usage, "usage:")) {
        std::string first = trimmed(usage.substr(6));
        if (!first.empty()) synopsis.push_back(first);
        for (++i; i < text.size() && indentOf(text[i]) > 0 && !trimmed(text[i]).empty(); ++i) {
            const std::string line = trimmed(text[i]);
            if (startsWith(line, heading.program) || synopsis.empty())
                synopsis.push_back(line);
            else
                synopsis.back() += " " + line;
        }
    }

    std::string description = extra.take("DESCRIPTION"), options;
    std::string* out = &description;
    std::size_t entryColumn = 0;  // where the current entry's description starts; 0: none
    bool newParagraph = !description.empty();
    std::string previous;
    for (; i < text.size(); ++i) {
        const std::string line = trimmed(text[i]);
        const std::size_t indent = indentOf(text[i]);
        if (line.empty()) {
            newParagraph = true, entryColumn = 0;
            continue;
        }
        if (indent == 0 && line.back() == ':' && line.size() < 72) {
            out = &options;
            if (line != "Options:")
                options += ".SS " + escaped(line.substr(0, line.size() - 1)) + "\n";
            newParagraph = false, entryColumn = 0;
            continue;
        }
        if (out == &options && indent > 0) {
            if (entryColumn > 0 && indent >= entryColumn) {
                options += escaped(line) + "\n";
                continue;
            }
            const std::size_t gap = line.find("  ");
            options += ".TP\n" + formatted(line.substr(0, gap), false) + "\n";
            if (gap != std::string::npos) {
                const std::size_t start = line.find_first_not_of(' ', gap);
                options += escaped(line.substr(start)) + "\n";
                entryColumn = indent + start;
            } else {
                entryColumn = indent + 1;
            }
            continue;
        }
        // Running text: a line at the margin after a full stop begins a paragraph.
        if (indent == 0 && !previous.empty() && previous.back() == '.') newParagraph = true;
        if (newParagraph || entryColumn > 0) *out += ".PP\n";
        newParagraph = false, entryColumn = 0;
        *out += escaped(line) + "\n";
        previous = line;
    }

    std::string upper = heading.program;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    std::string page = ".TH " + escaped(upper) + " 1 \"" + heading.date + "\" \"" + heading.source +
                       "\" \"User Commands\"\n";
    const std::string name = extra.take("NAME");
    page += ".SH NAME\n" + (name.empty() ? escaped(heading.program) + "\n" : name);
    if (!synopsis.empty()) {
        page += ".SH SYNOPSIS\n";
        for (std::size_t n = 0; n < synopsis.size(); ++n) {
            std::string words =
                synopsis[n].substr(std::min(synopsis[n].find(' '), synopsis[n].size()));
            page += (n ? ".br\n" : "") + (".B " + escaped(heading.program)) + "\n" +
                    formatted(trimmed(words), true) + "\n";
        }
    }
    if (!description.empty()) page += ".SH DESCRIPTION\n" + description;
    if (!options.empty()) page += ".SH OPTIONS\n" + options;
    for (const auto& [section, body] : extra.sections) page += ".SH " + section + "\n" + body;
    return page;
}

}  // namespace tarn::man
