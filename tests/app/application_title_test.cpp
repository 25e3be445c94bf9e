#include "app/application_title.h"

#include <gtest/gtest.h>

namespace tallowby {
namespace {

TEST(ApplicationTitle, ShortNamesStayLongOnesAreCutAtTheirLastBlanks) {
    EXPECT_EQ(applicationTitleFrom("Tallowby"), "Tallowby");
    const QString forty(40, QLatin1Char('x'));
    EXPECT_EQ(applicationTitleFrom(forty), forty);
    EXPECT_EQ(applicationTitleFrom("Tallowby Weekly Employee Timesheet Maker Deluxe Edition"),
              "Tallowby Weekly Employee Timesheet Maker");
    // No blank to cut at: the first 40 characters.
    EXPECT_EQ(applicationTitleFrom(QString(50, QLatin1Char('y'))), QString(40, QLatin1Char('y')));
}

TEST(ApplicationTitle, SetGivesTheProductName) {
    setApplicationTitle();
    EXPECT_EQ(applicationTitle(), "Tallowby");
}

}  // namespace
}  // namespace tallowby
