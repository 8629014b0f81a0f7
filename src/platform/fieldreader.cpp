#include "platform/fieldreader.h"

namespace vellmore::platform {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

} // namespace

FieldReader::FieldReader(std::string_view bytes) : m_bytes(bytes)
{
    if (m_bytes.substr(0, 3) == "\xEF\xBB\xBF")
        m_pos = 3;
}

std::string FieldReader::next()
{
    while (m_pos < m_bytes.size() && isBlank(m_bytes[m_pos]))
        ++m_pos;
    if (atEnd())
        return {};

    std::string field;
    if (m_bytes[m_pos] == '"') {
        const size_t start = m_pos + 1;
        size_t close = m_bytes.find('"', start);
        if (close == std::string_view::npos)
            close = m_bytes.size();
        field.assign(m_bytes.substr(start, close - start));
        m_pos = close < m_bytes.size() ? close + 1 : close;
        while (m_pos < m_bytes.size() && m_bytes[m_pos] != ',' && !isLineEnd(m_bytes[m_pos]))
            ++m_pos;
    } else {
        const size_t start = m_pos;
        while (m_pos < m_bytes.size() && m_bytes[m_pos] != ',' && !isLineEnd(m_bytes[m_pos]))
            ++m_pos;
        size_t end = m_pos;
        while (end > start && isBlank(m_bytes[end - 1]))
            --end;
        field.assign(m_bytes.substr(start, end - start));
    }
    skipSeparator();
    return field;
}

void FieldReader::skipSeparator()
{
    if (atEnd())
        return;
    if (m_bytes[m_pos] == ',') {
        ++m_pos;
    } else if (m_bytes[m_pos] == '\r') {
        ++m_pos;
        if (m_pos < m_bytes.size() && m_bytes[m_pos] == '\n')
            ++m_pos;
    } else if (m_bytes[m_pos] == '\n') {
        ++m_pos;
    }
}

} // namespace vellmore::platform
