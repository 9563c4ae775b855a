#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tarn {

// One record of a CSV file: its fields, and the line it starts on.
struct CsvRecord {
    int line = 0;  // 1 is the first line of the file
    std::vector<std::string> fields;
    bool nul = false;      // a NUL byte was in it
    bool tooLong = false;  // a line of it was longer than kCsvLineLimit (and was cut there)

    // No characters, or nothing but empty fields (",,," as a spreadsheet pads a row).
    bool empty() const;
    // Fields `from` up to `to` joined again by commas: the text of a line that is one field
    // (a name, the dealer text), whether a spreadsheet quoted it or the export wrote its
    // commas as they are.
    std::string joined(std::size_t from, std::size_t to) const;
};

// The longest line kept; longer ones are cut (no line of an export comes near it).
inline constexpr std::size_t kCsvLineLimit = 4096;

// Splits a byte stream, fed in pieces of any size, into records. Quoting follows RFC 4180:
// a field that starts with a quote may hold commas, doubled quotes and line breaks. A
// quote anywhere else is a character, and so is the opening quote of a field that does
// not end as a quoted field must (at a comma or the end of its line, within 64 lines):
// the export writes its texts as they are, and such a text stays as it was written.
// Lines end with LF or CR LF; a lone CR is a character. Memory is bounded by one record.
class CsvSplitter {
  public:
    explicit CsvSplitter(std::function<void(const CsvRecord&)> onRecord);
    void feed(std::string_view bytes);
    void finish();

  private:
    void endLine();
    void flush(bool atEnd);

    std::function<void(const CsvRecord&)> onRecord_;
    std::string line_;  // the physical line being read
    bool lineNul_ = false, lineLong_ = false;
    int lineNumber_ = 0;  // of the last line ended
    // Lines of a record whose quoted field has not ended yet.
    struct Line {
        std::string text;
        bool nul, tooLong;
    };
    std::vector<Line> pending_;
    int pendingFrom_ = 0;  // the line number of pending_[0]
    CsvRecord record_;
};

}  // namespace tarn
