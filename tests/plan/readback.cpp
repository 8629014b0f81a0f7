#include "plan/readback.h"

#include <csv.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstdlib>
#include <memory>

namespace vellmore::testing {
namespace {

struct CsvReading
{
    Records records;
    std::vector<std::string> record;
};

std::string attribute(xmlNode* node, const char* name)
{
    xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    const std::string text = value ? reinterpret_cast<const char*>(value) : "";
    xmlFree(value);
    return text;
}

} // namespace

std::optional<Records> readCsv(const std::string& text)
{
    csv_parser parser;
    csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI | CSV_EMPTY_IS_NULL);
    CsvReading reading;
    const auto field = [](void* data, size_t size, void* to) {
        static_cast<CsvReading*>(to)->record.emplace_back(data ? static_cast<char*>(data) : "",
                                                          data ? size : 0);
    };
    const auto end = [](int, void* to) {
        auto* r = static_cast<CsvReading*>(to);
        r->records.push_back(std::move(r->record));
        r->record.clear();
    };
    const bool read =
        csv_parse(&parser, text.data(), text.size(), field, end, &reading) == text.size() &&
        csv_fini(&parser, field, end, &reading) == 0;
    csv_free(&parser);
    if (!read)
        return std::nullopt;
    for (const auto& record : reading.records) {
        if (record.size() != reading.records.front().size())
            return std::nullopt;
    }
    return reading.records;
}

std::optional<Svg> readSvg(const std::string& text)
{
    const std::unique_ptr<xmlDoc, void (*)(xmlDoc*)> doc(
        xmlReadMemory(text.data(), static_cast<int>(text.size()), "chart.svg", nullptr,
                      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING),
        xmlFreeDoc);
    if (!doc)
        return std::nullopt;
    Svg svg;
    for (xmlNode* node = xmlDocGetRootElement(doc.get())->children; node; node = node->next) {
        const std::string name =
            node->type == XML_ELEMENT_NODE ? reinterpret_cast<const char*>(node->name) : "";
        if (name == "text") {
            xmlChar* content = xmlNodeGetContent(node);
            svg.texts.push_back({reinterpret_cast<const char*>(content), attribute(node, "fill"),
                                 attribute(node, "text-anchor"),
                                 std::atof(attribute(node, "x").c_str()),
                                 std::atof(attribute(node, "y").c_str()),
                                 attribute(node, "font-weight") == "bold"});
            xmlFree(content);
        } else if (name == "line" && attribute(node, "x1") == attribute(node, "x2")) {
            svg.hourLines.push_back(std::atof(attribute(node, "x1").c_str()));
        }
    }
    return svg;
}

} // namespace vellmore::testing
