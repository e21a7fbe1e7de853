// Any bytes taken as events.xml: a file that loads reads into rows without fault, and the rows and
// loop count written back read again the same (texts with a visible character and no control
// characters exactly; the XML layout may change blanks and line ends around them).
#include "events/event_file.h"
#include "fuzz_support.h"
#include "store/xml_document.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace {

bool Comparable(const std::string& text) {
    const bool visible = std::any_of(text.begin(), text.end(), [](char c) { return c > ' '; });
    const bool control =
        std::any_of(text.begin(), text.end(), [](char c) { return c >= 0 && c < ' '; });
    return visible && !control;
}

void ExpectSameText(const std::string& before, const std::string& after) {
    if (Comparable(before))
        fuzz::Expect(before == after);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    store::XmlDocument document;
    if (!document.loadBytes(std::string_view(reinterpret_cast<const char*>(data), size)))
        return 0;
    events::EventFileContent content;
    if (events::ReadEventFile(document, content) != events::ReadProblem::None)
        return 0;
    std::vector<events::TableRow> rows;
    for (const events::EventFields& fields : content.events) {
        rows.push_back(events::ToTableRow(fields));
        events::ToRecord(fields);
    }
    events::LoopTicked(content.loop);
    events::WriteEventFile(document, rows, content.loop);

    store::XmlDocument again;
    fuzz::Expect(again.loadBytes(document.bytes()));
    events::EventFileContent read;
    fuzz::Expect(events::ReadEventFile(again, read) == events::ReadProblem::None);
    fuzz::Expect(read.events.size() == rows.size());
    ExpectSameText(content.loop, read.loop);
    for (size_t i = 0; i < rows.size(); ++i) {
        const events::TableRow row = events::ToTableRow(read.events[i]);
        fuzz::Expect(row.left == rows[i].left && row.range == rows[i].range);
        for (const auto member :
             {&events::TableRow::x, &events::TableRow::y, &events::TableRow::interval,
              &events::TableRow::clicks, &events::TableRow::interval2})
            ExpectSameText(rows[i].*member, row.*member);
    }
    return 0;
}
