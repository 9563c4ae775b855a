#pragma once

#include <string>
#include <vector>

#include "document/radio_workflow.h"

namespace tarn {

// Radios programmed in a row, one client each: for every row the radio is read and kept,
// left alone when it holds the client already, else programmed and verified. A failed
// row stays current so that it can be tried again or skipped; Stop ends the row there.
class RadioQueue {
  public:
    enum class Result { Waiting, Verified, AlreadyHeld, Failed, Skipped, NotReached };
    struct Row {
        int client = -1;
        std::string name, serial, selcall;
        Result result = Result::Waiting;
        std::string reason;  // a failure in words (the workflow's report line)
        std::string time;    // of the last attempt, "10:32:05"
        int bytes = 0;       // programmed into the radio
    };

    RadioQueue(DatabaseDocument& document, const std::vector<int>& clients);

    const std::vector<Row>& rows() const { return rows_; }
    // The row to do next; -1 when the queue is through.
    int current() const { return current_; }
    bool finished() const { return current_ < 0; }
    // "Connect the radio for 'NAME' (serial S)" for the current row.
    std::string connectText() const;
    // Reads, compares and programs the current row's radio (the front end has asked for
    // it: setup.askToConnect is not used). Moves on unless it failed.
    const RadioReport& programCurrent(RadioSetup setup);
    // Leaves the current row (a failed one keeps its failure) and moves on.
    void skip();
    // Every row not done yet stays unprogrammed.
    void stop();
    // Every radio verified (or found holding its client already).
    bool allVerified() const;
    const RadioReport& lastReport() const { return last_; }

  private:
    void advance();

    DatabaseDocument& document_;
    std::vector<Row> rows_;
    int current_ = -1;
    RadioReport last_;
};

// "verified", "already held", "failed", "skipped", "not programmed".
const char* queueResultText(RadioQueue::Result result);
// "N of M radios verified".
std::string queueSummary(const std::vector<RadioQueue::Row>& rows);
// The report as CSV: Client,Serial,Selcall,Result,Reason,Time,Bytes (texts as the
// clients hold them).
std::string queueReportCsv(const std::vector<RadioQueue::Row>& rows);

}  // namespace tarn
