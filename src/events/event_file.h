// The event file, events.xml: what a file's root holds as rows and loop count, and the writing of
// a table into it. Toolkit-free; the Mouse Events window calls these. Texts are copied unchanged
// both ways: their meaning is judged only when a row plays.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace store {
class XmlDocument;
class XmlNode;
} // namespace store

namespace events {

// Row indexes are 16-bit: a file or table of more rows is refused with a message.
inline constexpr std::size_t kMostRows = 32767;

// One Event element as read: a text is nullopt where its element is missing.
struct EventFields {
    std::optional<std::string> x, y, interval, clicks;
    std::string interval2; // empty where missing
    bool left = false;     // Button: 2, missing or no number is the right button
    bool range = false;    // Range: missing or a number other than 1 is unticked; no number ticks
};

// A row of the table on screen: missing texts take the new row's defaults.
struct TableRow {
    std::string x = "0", y = "0", interval = "1000", clicks = "1", interval2;
    bool left = true;
    bool range = false;
};

// The first row of a new or cleared table: like a row read from the file with nothing missing but
// its upper interval shows "1000".
TableRow NewTableRow();

// A row of the list an unattended run plays: missing texts stay empty.
struct EventRecord {
    std::string coordX, coordY, interval, clicks, interval2;
    int16_t button = 0; // 1 left, 0 right
    int16_t range = 0;
};

struct EventFileContent {
    std::string loop = "1";          // the root's first attribute when it is named "Loop"
    std::vector<EventFields> events; // one per child node of the root, comments included
};

enum class ReadProblem { None, TooManyRows };

// Reads a loaded document's root. Every child node is a row, whatever it is.
ReadProblem ReadEventFile(const store::XmlDocument& document, EventFileContent& content);

// "Loop Events" is ticked for a loop count whose leading number is not 1.
bool LoopTicked(std::string_view loop);

TableRow ToTableRow(const EventFields& fields);
EventRecord ToRecord(const EventFields& fields);
// A row of the table as the list holds it, for playing.
EventRecord ToRecord(const TableRow& row);

// Replaces every child of the loaded document's root by one Event element per row and sets its
// Loop attribute as the root's first, the one a load reads; the declaration, comments outside
// the root, the root's name and its other attributes (in their order) stay.
void WriteEventFile(store::XmlDocument& document, const std::vector<TableRow>& rows,
                    std::string_view loop);

// The four lines a new events.xml holds.
std::vector<std::string> EventFileSkeleton();

} // namespace events
