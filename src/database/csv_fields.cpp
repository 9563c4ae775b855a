// Splitting CSV text into records and fields, line by line, as it is read.
#include "database/csv_fields.h"

#include <algorithm>
#include <cstring>

namespace tarn {
namespace {

// The most lines one record may span; a quoted field still open after them was no quoted
// field but a text that starts with a quote.
constexpr std::size_t kRecordLines = 64;

enum class Split { Done, Open, Broken };

// Splits one record's text (its lines joined by LF) into fields. Open: a quoted field has
// not ended yet (it may go on in the next line). Broken: a quoted field ended on another
// line than it started but not at a comma or the end. With `plain`, a quoted field that is
// open or not well ended is read as plain text up to the next comma (for one line only).
Split splitFields(std::string_view text, bool plain, std::vector<std::string>& fields) {
    fields.clear();
    std::size_t at = 0;
    for (;;) {
        std::string field;
        bool quoted = false;
        if (at < text.size() && text[at] == '"') {
            std::size_t i = at + 1;
            bool closed = false;
            for (; i < text.size() && !closed; ++i) {
                if (text[i] != '"') {
                    field += text[i];
                } else if (i + 1 < text.size() && text[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    closed = true;
                }
            }
            if (closed && (i == text.size() || text[i] == ',')) {
                quoted = true;
                at = i;
            } else if (!closed && !plain) {
                return Split::Open;
            } else if (!plain && text.substr(at, i - at).find('\n') != std::string_view::npos) {
                return Split::Broken;
            }
        }
        if (!quoted) {
            const std::size_t comma = std::min(text.find(',', at), text.size());
            field.assign(text.substr(at, comma - at));
            at = comma;
        }
        fields.push_back(std::move(field));
        if (at >= text.size()) return Split::Done;
        ++at;  // past the comma; a comma at the end is followed by an empty field
    }
}

}  // namespace

bool CsvRecord::empty() const {
    return std::all_of(fields.begin(), fields.end(),
                       [](const std::string& f) { return f.empty(); });
}

std::string CsvRecord::joined(std::size_t from, std::size_t to) const {
    std::string text;
    for (std::size_t i = from; i < to && i < fields.size(); ++i) {
        if (i > from) text += ',';
        text += fields[i];
    }
    return text;
}

CsvSplitter::CsvSplitter(std::function<void(const CsvRecord&)> onRecord)
    : onRecord_(std::move(onRecord)) {}

void CsvSplitter::feed(std::string_view bytes) {
    while (!bytes.empty()) {
        const std::size_t end = std::min(bytes.find('\n'), bytes.size());
        const std::string_view piece = bytes.substr(0, end);
        lineNul_ = lineNul_ || std::memchr(piece.data(), 0, piece.size()) != nullptr;
        const std::size_t room = kCsvLineLimit + 1 - std::min(line_.size(), kCsvLineLimit + 1);
        line_.append(piece.substr(0, room));  // one byte more than the limit: a CR may follow
        lineLong_ = lineLong_ || piece.size() > room;
        if (end == bytes.size()) return;
        bytes.remove_prefix(end + 1);
        endLine();
    }
}

void CsvSplitter::finish() {
    if (!line_.empty() || lineNul_ || lineLong_) endLine();
    while (!pending_.empty()) flush(true);
}

void CsvSplitter::endLine() {
    if (!line_.empty() && line_.back() == '\r') line_.pop_back();
    lineLong_ = lineLong_ || line_.size() > kCsvLineLimit;
    if (pending_.empty()) pendingFrom_ = lineNumber_ + 1;
    ++lineNumber_;
    pending_.push_back({std::move(line_), lineNul_, lineLong_});
    line_.clear();
    lineNul_ = lineLong_ = false;
    flush(false);
}

void CsvSplitter::flush(bool atEnd) {
    CsvRecord& record = record_;  // reused: its fields keep their room from line to line
    record.line = pendingFrom_;
    std::string joined;
    if (pending_.size() > 1) {
        for (const Line& line : pending_) joined += line.text + '\n';
        joined.pop_back();
    }
    const std::string_view text = pending_.size() > 1 ? joined : pending_.front().text;
    const Split split = splitFields(text, false, record.fields);
    if (split == Split::Open && !atEnd && pending_.size() < kRecordLines &&
        text.size() <= kCsvLineLimit)
        return;  // the quoted field may end in the next line
    std::size_t used = pending_.size();
    if (split != Split::Done) {  // its first line alone, the open quote a character
        splitFields(pending_.front().text, true, record.fields);
        used = 1;
    }
    record.nul = record.tooLong = false;
    for (std::size_t i = 0; i < used; ++i) {
        record.nul = record.nul || pending_[i].nul;
        record.tooLong = record.tooLong || pending_[i].tooLong;
    }
    std::vector<Line> rest(std::make_move_iterator(pending_.begin() + long(used)),
                           std::make_move_iterator(pending_.end()));
    pending_.clear();
    onRecord_(record);
    // The lines after it start records of their own.
    int number = record.line + int(used);
    for (Line& line : rest) {
        if (pending_.empty()) pendingFrom_ = number;
        ++number;
        pending_.push_back(std::move(line));
        flush(false);
    }
}

}  // namespace tarn
