#include "form/pagejson.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace vellmore::form {
namespace {

TEST(PageJson, GivesEachControlAsTheTableHasIt)
{
    const auto defs = nlohmann::json::parse(controlsJson());
    ASSERT_EQ(defs.size(), 29u);
    // Label5 names txtK; txtISO is the sixth stop of the tab order; Label13 names nothing.
    const auto pick = [&defs](size_t i, const char* key) { return defs[i][key].dump(); };
    EXPECT_EQ(pick(8, "name") + pick(8, "names") + pick(8, "text"), R"("Label5"9.0"K:")");
    EXPECT_EQ(pick(11, "tabOrder") + pick(25, "tabOrder") + pick(27, "tabOrder"), "5.07.0null");
    EXPECT_EQ(pick(27, "names") + pick(25, "kind") + pick(28, "align") + pick(28, "blue"),
              R"(null"Selector""Centre"true)");
    EXPECT_EQ(defs[22]["twips"], nlohmann::json::parse(R"({"left": 3360, "top": 240, "width": 1335,
                                                          "height": 375})"));
}

TEST(PageJson, QuotesEntriesInAnyScript)
{
    EXPECT_EQ(entriesJson({}), "[]");
    EXPECT_EQ(entriesJson({"Mond \xc3\xa9", "a\"b", "\x01"}),
              "[\"Mond \xc3\xa9\",\"a\\\"b\",\"\\u0001\"]");
}

} // namespace
} // namespace vellmore::form
