#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vellmore::testing {

// The records of a CSV text as libcsv reads them in strict RFC 4180 mode; none where the text
// is not well-formed CSV or its records differ in length.
using Records = std::vector<std::vector<std::string>>;
std::optional<Records> readCsv(const std::string& text);

// What an SVG chart shows, as libxml2 reads it: every <text> and the hour lines' x; none where
// the document is not well-formed XML.
struct SvgText
{
    std::string content, fill, anchor;
    double x = 0, y = 0;
    bool bold = false;
};
struct Svg
{
    std::vector<SvgText> texts;
    std::vector<double> hourLines;
};
std::optional<Svg> readSvg(const std::string& text);

} // namespace vellmore::testing
