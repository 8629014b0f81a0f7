#include "form/pagejson.h"

#include "form/layout.h"
#include "platform/jsonwriter.h"

#include <algorithm>

namespace vellmore::form {
namespace {

const char* kindName(Kind kind)
{
    switch (kind) {
    case Kind::Label:
        return "Label";
    case Kind::Link:
        return "Link";
    case Kind::TextBox:
        return "TextBox";
    case Kind::Button:
        return "Button";
    case Kind::Selector:
        return "Selector";
    }
    return "Label";
}

const char* alignName(Align align)
{
    return align == Align::Right ? "Right" : align == Align::Centre ? "Centre" : "Left";
}

} // namespace

std::string controlsJson()
{
    const std::vector<Control> order = tabOrder();
    platform::JsonWriter out;
    out.beginArray();
    for (const ControlDef& def : controls()) {
        out.beginObject();
        out.key("id").fixed(static_cast<int>(def.id), 0);
        out.key("name").value(def.name);
        out.key("kind").value(kindName(def.kind));
        out.key("text").value(def.text);
        out.key("tabIndex").fixed(def.tabIndex, 0);
        const auto place = std::find(order.begin(), order.end(), def.id);
        if (place == order.end())
            out.key("tabOrder").null();
        else
            out.key("tabOrder").fixed(static_cast<double>(place - order.begin()), 0);
        out.key("align").value(alignName(def.align));
        out.key("blue").value(def.blue);
        if (def.names)
            out.key("names").fixed(static_cast<int>(*def.names), 0);
        else
            out.key("names").null();
        out.key("twips").beginObject();
        out.key("left").fixed(def.twips.left, 0);
        out.key("top").fixed(def.twips.top, 0);
        out.key("width").fixed(def.twips.width, 0);
        out.key("height").fixed(def.twips.height, 0);
        out.endObject();
        out.endObject();
    }
    out.endArray();
    return out.finish();
}

std::string entriesJson(const std::vector<std::string>& entries)
{
    std::string out = "[";
    for (size_t i = 0; i < entries.size(); ++i)
        out += (i ? "," : "") + platform::jsonString(entries[i]);
    return out + "]";
}

} // namespace vellmore::form
