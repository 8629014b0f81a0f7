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
    const auto& label5 = defs[8];
    EXPECT_EQ(label5["name"], "Label5");
    EXPECT_EQ(label5["names"], 9);
    EXPECT_EQ(label5["text"], "K:");
    EXPECT_EQ(defs[11]["tabOrder"], 5);
    EXPECT_TRUE(defs[27]["names"].is_null());
    EXPECT_TRUE(defs[27]["tabOrder"].is_null());
    EXPECT_EQ(defs[25]["kind"], "Selector");
    EXPECT_EQ(defs[25]["tabOrder"], 7);
    EXPECT_EQ(defs[28]["align"], "Centre");
    EXPECT_EQ(defs[28]["blue"], true);
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
