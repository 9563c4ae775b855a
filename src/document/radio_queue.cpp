#include "document/radio_queue.h"

#include <algorithm>

#include "document/database_document.h"
#include "document/radio_run.h"
#include "model/message_texts.h"
#include "model/user_feedback.h"
#include "radio/radio_texts.h"

namespace tarn {
namespace {

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

}  // namespace

RadioQueue::RadioQueue(DatabaseDocument& document, const std::vector<int>& clients)
    : document_(document) {
    for (const int index : clients) {
        const ClientRecord* client = document.database().client(index);
        if (!client) continue;
        Row row;
        row.client = index;
        row.name = nameOf(*client);
        row.serial = serialOf(*client);
        row.selcall = selcallOf(*client);
        rows_.push_back(std::move(row));
    }
    current_ = rows_.empty() ? -1 : 0;
}

std::string RadioQueue::connectText() const {
    if (finished()) return {};
    const Row& row = rows_[std::size_t(current_)];
    return fillIn(radio_text::kConnectRadioFor, {row.name, row.serial});
}

const RadioReport& RadioQueue::programCurrent(RadioSetup setup) {
    if (finished()) return last_;
    Row& row = rows_[std::size_t(current_)];
    setup.askToConnect = false;
    setup.backupBeforeWrite = true;  // what each radio held is kept, and an identical one left
    setup.skipWhenHeld = true;
    last_ = programRadio(document_, row.client, setup);
    row.time = timeOfDay(nowOf(setup), "%H:%M:%S");
    row.bytes = 0;
    row.reason.clear();
    if (last_.succeeded() && last_.alreadyHeld) {
        row.result = Result::AlreadyHeld;
    } else if (last_.succeeded()) {
        row.result = Result::Verified;
        row.bytes = kImageSize;
    } else {
        row.result = Result::Failed;
        row.reason = last_.text;
        // Refused before any exchange: its message box said why, the report line nothing.
        if (row.reason.empty() && document_.database().clientHasNoChannels(row.client))
            row.reason = msg::kNoChannelsDefined;
        // Programmed but not verified: the bytes went out all the same.
        if (last_.outcome.verified != RadioOutcome::Verify::NotRun) row.bytes = kImageSize;
        return last_;
    }
    advance();
    return last_;
}

void RadioQueue::skip() {
    if (finished()) return;
    Row& row = rows_[std::size_t(current_)];
    if (row.result == Result::Waiting) row.result = Result::Skipped;
    advance();
}

void RadioQueue::stop() {
    for (Row& row : rows_) {
        if (row.result == Result::Waiting) row.result = Result::NotReached;
    }
    current_ = -1;
}

bool RadioQueue::allVerified() const {
    return std::all_of(rows_.begin(), rows_.end(), [](const Row& row) {
        return row.result == Result::Verified || row.result == Result::AlreadyHeld;
    });
}

void RadioQueue::advance() {
    ++current_;
    if (current_ >= static_cast<int>(rows_.size())) current_ = -1;
}

const char* queueResultText(RadioQueue::Result result) {
    switch (result) {
        case RadioQueue::Result::Verified:
            return radio_text::kQueueVerified;
        case RadioQueue::Result::AlreadyHeld:
            return radio_text::kQueueAlreadyHeld;
        case RadioQueue::Result::Failed:
            return radio_text::kQueueFailed;
        case RadioQueue::Result::Skipped:
            return radio_text::kQueueSkipped;
        case RadioQueue::Result::Waiting:
        case RadioQueue::Result::NotReached:
            break;
    }
    return radio_text::kQueueNotReached;
}

std::string queueSummary(const std::vector<RadioQueue::Row>& rows) {
    const auto verified = std::count_if(rows.begin(), rows.end(), [](const RadioQueue::Row& r) {
        return r.result == RadioQueue::Result::Verified ||
               r.result == RadioQueue::Result::AlreadyHeld;
    });
    return fillIn(radio_text::kQueueSummary,
                  {std::to_string(verified), std::to_string(rows.size())});
}

std::string queueReportCsv(const std::vector<RadioQueue::Row>& rows) {
    std::string csv = "Client,Serial,Selcall,Result,Reason,Time,Bytes\r\n";
    for (const RadioQueue::Row& row : rows) {
        for (const std::string& field :
             {row.name, row.serial, row.selcall, std::string(queueResultText(row.result)),
              row.reason, row.time}) {
            csv += csvField(field);
            csv += ',';
        }
        csv += std::to_string(row.bytes);
        csv += "\r\n";
    }
    return csv;
}

}  // namespace tarn
