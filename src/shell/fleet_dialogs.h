#pragma once

#include <vector>

class QWidget;

namespace tarn {

class DatabaseWindow;
class FrameWindow;

// Client > Identify radio: reads the radio, names the client of the open databases it
// holds (or the closest ones) and offers to open, compare or replace from there.
void identifyRadio(FrameWindow& frame);
// Client > Program selected radios: the queue window for the clients, one radio each.
void programRadiosInRow(DatabaseWindow& window, const std::vector<int>& clients);
// Client > History: every backup of the client, to compare with it or restore.
void showClientHistory(DatabaseWindow& window, int client);

}  // namespace tarn
