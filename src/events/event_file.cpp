#include "events/event_file.h"

#include "runtime/conversions.h"
#include "store/xml_document.h"

namespace events {
namespace {

std::optional<std::string> ChildText(const store::XmlNode& event, std::string_view name) {
    const store::XmlNode child = event.selectSingleNode(name);
    if (!child)
        return std::nullopt;
    return child.text();
}

EventFields ReadEvent(const store::XmlNode& event) {
    EventFields fields;
    fields.x = ChildText(event, "Coordx");
    fields.y = ChildText(event, "Coordy");
    fields.interval = ChildText(event, "ClickIntervalinms");
    fields.clicks = ChildText(event, "Clicks");
    fields.interval2 = ChildText(event, "ClickInterval2inms").value_or("");
    if (const auto button = ChildText(event, "Button")) {
        const auto number = runtime::NumberFromText(*button);
        fields.left = number && *number != 2;
    }
    if (const auto range = ChildText(event, "Range")) {
        const auto number = runtime::NumberFromText(*range);
        fields.range = !number || *number == 1;
    }
    return fields;
}

void AppendEventElement(store::XmlDocument& document, store::XmlNode& root, const TableRow& row) {
    store::XmlNode event = root.appendChild(document.createNode("Event"));
    const std::pair<const char*, std::string> children[] = {
        {"Coordx", row.x},
        {"Coordy", row.y},
        {"Button", row.left ? "1" : "2"},
        {"ClickIntervalinms", row.interval},
        {"Clicks", row.clicks},
        {"Range", row.range ? "1" : "0"},
        {"ClickInterval2inms", row.interval2},
    };
    for (const auto& [name, text] : children)
        event.appendChild(document.createNode(name)).setText(text);
}

} // namespace

ReadProblem ReadEventFile(const store::XmlDocument& document, EventFileContent& content) {
    const store::XmlNode root = document.documentElement();
    content = {};
    const store::XmlNamedNodeMap attributes = root.attributes();
    if (attributes.length() > 0 && attributes.item(0).nodeName() == "Loop")
        content.loop = attributes.item(0).text();
    const store::XmlNodeList children = root.childNodes();
    if (children.length() > kMostRows)
        return ReadProblem::TooManyRows;
    content.events.reserve(children.length());
    for (const store::XmlNode& child : children)
        content.events.push_back(ReadEvent(child));
    return ReadProblem::None;
}

bool LoopTicked(std::string_view loop) {
    return runtime::Val(loop) != 1;
}

TableRow NewTableRow() {
    TableRow row;
    row.interval2 = "1000";
    return row;
}

TableRow ToTableRow(const EventFields& fields) {
    TableRow row;
    row.x = fields.x.value_or(row.x);
    row.y = fields.y.value_or(row.y);
    row.interval = fields.interval.value_or(row.interval);
    row.clicks = fields.clicks.value_or(row.clicks);
    row.interval2 = fields.interval2;
    row.left = fields.left;
    row.range = fields.range;
    return row;
}

EventRecord ToRecord(const EventFields& fields) {
    return {fields.x.value_or(""),        fields.y.value_or(""), fields.interval.value_or(""),
            fields.clicks.value_or(""),   fields.interval2,      int16_t(fields.left ? 1 : 0),
            int16_t(fields.range ? 1 : 0)};
}

EventRecord ToRecord(const TableRow& row) {
    return {row.x,
            row.y,
            row.interval,
            row.clicks,
            row.interval2,
            int16_t(row.left ? 1 : 0),
            int16_t(row.range ? 1 : 0)};
}

void WriteEventFile(store::XmlDocument& document, const std::vector<TableRow>& rows,
                    std::string_view loop) {
    store::XmlNode root = document.documentElement();
    while (const store::XmlNode child = root.firstChild())
        root.removeChild(child);
    for (const TableRow& row : rows)
        AppendEventElement(document, root, row);
    store::XmlNode attribute = document.createAttribute("Loop");
    attribute.setText(loop);
    root.attributes().setFirstNamedItem(attribute);
}

std::vector<std::string> EventFileSkeleton() {
    return {"<?xml version=\"1.0\"?>",
            "<!-- Do not change this file yourself, or else you may cause the application to "
            "malfunction! -->",
            "<Events Loop=\"1\">", "</Events>"};
}

} // namespace events
