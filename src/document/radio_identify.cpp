#include "document/radio_identify.h"

#include <algorithm>
#include <cstring>

#include "document/database_document.h"
#include "document/radio_run.h"
#include "model/user_feedback.h"
#include "radio/radio_texts.h"

namespace tarn {
namespace {

constexpr int kHeaderSize = kSlotSize;  // the options and the selcall

// Better first: exact, same selcall, fewer channels, header alike.
bool better(const IdentityMatch& a, const IdentityMatch& b) {
    if (a.exact != b.exact) return a.exact;
    if (a.sameSelcall != b.sameSelcall) return a.sameSelcall;
    if (a.channelsDiffering != b.channelsDiffering)
        return a.channelsDiffering < b.channelsDiffering;
    return !a.headerDiffers && b.headerDiffers;
}

IdentityMatch measure(const RadioImage& client, const RadioImage& radio,
                      const std::string& radioSelcall, const ClientRecord& record) {
    IdentityMatch match;
    match.exact = client == radio;
    if (match.exact) {
        match.sameSelcall = true;
        return match;
    }
    match.headerDiffers = std::memcmp(client.data(), radio.data(), kHeaderSize) != 0;
    match.sameSelcall = selcallOf(record) == radioSelcall;
    for (int n = 1; n <= kChannelCount; ++n) {
        const std::size_t at = std::size_t(n) * kSlotSize;
        match.channelsDiffering +=
            std::memcmp(client.data() + at, radio.data() + at, kSlotSize) != 0;
    }
    return match;
}

}  // namespace

std::vector<IdentityMatch> matchImage(const std::vector<DatabaseDocument*>& documents,
                                      const RadioImage& image, std::size_t limit) {
    ClientRecord radio;
    radio.image() = image;
    const std::string radioSelcall = selcallOf(radio);
    std::vector<IdentityMatch> best;
    for (DatabaseDocument* document : documents) {
        const ClientDatabase& db = document->database();
        for (int index = 0; index < db.clientCount(); ++index) {
            const ClientRecord& client = *db.client(index);
            IdentityMatch match = measure(client.image(), image, radioSelcall, client);
            if (best.size() == limit && !better(match, best.back())) continue;
            match.document = document;
            match.client = index;
            best.insert(std::upper_bound(best.begin(), best.end(), match, better), match);
            if (best.size() > limit) best.pop_back();
        }
    }
    return best;
}

std::string matchText(const IdentityMatch& match) {
    const ClientRecord& client = *match.document->database().client(match.client);
    const std::string file = match.document->fileName().filename().string();
    if (match.exact)
        return fillIn(radio_text::kIdentifiedExactly, {nameOf(client), serialOf(client), file});
    return fillIn(radio_text::kIdentifiedClosest,
                  {nameOf(client), serialOf(client), file,
                   match.sameSelcall ? radio_text::kSameSelcall : radio_text::kOtherSelcall,
                   std::to_string(match.channelsDiffering)});
}

IdentifyReport identifyRadio(const std::vector<DatabaseDocument*>& documents,
                             const RadioSetup& setup) {
    IdentifyReport result;
    Run run({}, setup, RadioTask::Read);
    RadioReport& report = run.report();
    RadioImage image{};
    const bool read =
        run.link().readRadio(setup.owner, image.data(), kImageSize,
                             ExchangeOptions{setup.askToConnect, nullptr, "Identify"});
    run.takeOutcome();
    if (!read) {
        report.text = readReport(report.outcome, "", kImageSize, 0, "");
        result.radio = report;
        return result;
    }
    report.radioImage = image;
    result.matches = matchImage(documents, image);
    // The backup goes by the client the radio holds; an unknown radio's by its selcall.
    ClientRecord named;
    std::filesystem::path database = "unidentified";
    if (!result.matches.empty() && result.matches.front().exact) {
        const IdentityMatch& found = result.matches.front();
        named = *found.document->database().client(found.client);
        database = databasePathOf(*found.document);
    } else {
        named.image() = image;
        named.setName(("selcall " + selcallOf(named)).c_str());
    }
    Backups(database, setup, report).keep(BackupKind::Radio, named, &image);
    result.text =
        result.matches.empty() ? radio_text::kNoClientToMatch : matchText(result.matches.front());
    result.radio = report;
    return result;
}

}  // namespace tarn
