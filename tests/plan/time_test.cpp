// Local time in the night's plan, whatever the offset: the rows fall on the step's whole minutes
// of local time and the chart's hour lines on local hours; every instant from 1900 to 2100 is
// shown as a clock time, the last half minute before midnight as 00:00 of the next day.
#include "plan/night.h"
#include "settings/loader.h"
#include "settings/settingsfile.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vellmore::plan {
namespace {

// Seconds from the local midnight before an instant (local time is UTC + offset minutes),
// counted from the epoch by whole days, as the calendar has no other rule.
double sinceLocalMidnight(double t, int offsetMinutes)
{
    const double local = t + offsetMinutes * 60;
    return local - std::floor(local / 86400) * 86400;
}

TEST(PlanTime, PutsRowsOnTheStepsLocalMinutesAndHourLinesOnLocalHours)
{
    const table::ExposureTable table =
        table::buildTable(settings::parseSettings(settings::defaultContent()), {}).table;
    const int offsets[] = {5 * 60 + 30,    5 * 60 + 45,    9 * 60 + 30,
                           -(3 * 60 + 30), -(9 * 60 + 30), 12 * 60 + 45};
    for (const int offset : offsets) {
        for (const int step : {7, 25, 60}) {
            // Each site near the middle of its offset's zone, so the night is a night.
            const NightPlan plan =
                planNight(table, {{20, offset / 4.0, 0}, {1961, 3, 14}, offset, step, true});
            SCOPED_TRACE(sky::offsetText(offset) + " every " + std::to_string(step) + " minutes");
            const double midnight = sky::instantOf({1961, 3, 14}, 0, offset);
            EXPECT_EQ(sinceLocalMidnight(midnight, offset), 0);
            for (const PlanObject& object : plan.objects) {
                ASSERT_TRUE(!object.body || !object.rows.empty()) << object.row->name;
                for (const PlanRow& row : object.rows)
                    EXPECT_EQ(std::fmod(row.time - midnight, step * 60.0), 0)
                        << sky::isoUtc(row.time);
            }
            ASSERT_FALSE(plan.chartHours.empty());
            EXPECT_LT(plan.chartHours.front() - plan.start, 3600);
            EXPECT_LT(plan.end - plan.chartHours.back(), 3600);
            for (size_t i = 0; i < plan.chartHours.size(); ++i) {
                EXPECT_NEAR(std::fmod(sinceLocalMidnight(plan.chartHours[i], offset), 3600), 0,
                            1e-6);
                if (i) {
                    EXPECT_NEAR(plan.chartHours[i] - plan.chartHours[i - 1], 3600, 1e-6);
                }
            }
        }
    }
}

// A local time far from the site's own puts local noon in the dark; the night is still the one
// from the next sunset to the sunrise after it, not a polar night.
TEST(PlanTime, PlansTheNightAfterLocalNoonWhateverTheOffset)
{
    const table::ExposureTable table =
        table::buildTable(settings::parseSettings(settings::defaultContent()), {}).table;
    for (const int offset : {0, -12 * 60, 14 * 60}) {
        const NightPlan plan = planNight(table, {{-33.87, 151.21, 58}, {2026, 12, 7}, offset, 60});
        ASSERT_TRUE(plan.polar.empty()) << plan.polar;
        const double noon = sky::instantOf({2026, 12, 7}, 12 * 60, offset);
        EXPECT_GT(*plan.sunset, noon);
        EXPECT_LT(*plan.sunset, noon + 86400);
        // Sydney's December night: about 9 hours long.
        EXPECT_NEAR(*plan.sunrise - *plan.sunset, 9.3 * 3600, 0.5 * 3600);
    }
}

TEST(PlanTime, ShowsEveryInstantFrom1900To2100AsAClockTime)
{
    const double first = sky::instantOf({1900, 1, 1}, 0, 0),
                 last = sky::instantOf({2100, 12, 31}, 0, 0);
    const struct
    {
        double second;
        const char* shown;
    } nearMidnight[] = {{-31, "23:59"}, {-30, "00:00"}, {-1, "00:00"}, {-0.001, "00:00"},
                        {0, "00:00"},   {29, "00:00"},  {31, "00:01"}};
    for (const int offset : {-14 * 60, -(9 * 60 + 30), 0, 5 * 60 + 45, 14 * 60}) {
        for (double day = first; day <= last; day += 86400) {
            const double midnight = day - offset * 60;
            for (const auto& [second, shown] : nearMidnight)
                ASSERT_EQ(localClock(midnight + second, offset), shown) << sky::isoUtc(midnight);
            const double t =
                midnight + 12 * 3600 + 34 * 60 + std::fmod(std::fabs(day / 86400), 60); // 12:34:ss
            ASSERT_EQ(localClock(t, offset),
                      std::fmod(std::fabs(day / 86400), 60) < 30 ? "12:34" : "12:35");
        }
    }
}

} // namespace
} // namespace vellmore::plan
