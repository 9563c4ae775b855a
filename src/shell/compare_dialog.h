#pragma once

class QString;
class QWidget;

namespace tarn {

class ClientRecord;
struct ImageComparison;

// What the dealer chose in the dialog "Compare with radio".
enum class CompareChoice { Close, ReplaceClient, WriteClient };

// Shows the differences between a client and the image read from the radio (or that there
// are none) in a read-only list, which can be saved as text or printed, and asks what to
// do: replace the client with the radio's image, write the client to the radio, or nothing.
// Asks for a printer and prints the text as it is.
void printPlainText(QWidget* parent, const QString& text);

CompareChoice askAfterComparison(QWidget* parent, const ImageComparison& comparison,
                                 const ClientRecord& client);

}  // namespace tarn
