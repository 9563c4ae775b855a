#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "document/radio_workflow.h"

namespace tarn {

// A client of an open database measured against an image from a radio.
struct IdentityMatch {
    DatabaseDocument* document = nullptr;
    int client = -1;
    bool exact = false;        // the radio holds this client's image byte for byte
    bool sameSelcall = false;  // the radio answers to this client's selcall
    int channelsDiffering = 0;
    bool headerDiffers = false;  // options or selcall
};

// The clients of `documents` closest to `image`, best first, at most `limit`: exact
// matches, then those with the radio's selcall, then by fewer channels differing.
std::vector<IdentityMatch> matchImage(const std::vector<DatabaseDocument*>& documents,
                                      const RadioImage& image, std::size_t limit = 5);
// "The radio holds exactly 'X' (serial S) of fleet.tdb", or how close it is.
std::string matchText(const IdentityMatch& match);

struct IdentifyReport {
    RadioReport radio;  // the read, its image and its backup
    std::vector<IdentityMatch> matches;
    std::string text;  // the best match in words (empty when the read failed)
};

// Reads the radio, keeps what it holds as a backup (named after the client it holds
// exactly, if any) and finds its client among the open documents. Nothing changes: the
// front end offers to open, compare or replace from here (replaceClientWithImage).
IdentifyReport identifyRadio(const std::vector<DatabaseDocument*>& documents,
                             const RadioSetup& setup);

}  // namespace tarn
