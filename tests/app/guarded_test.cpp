#include "app/guarded.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <stdexcept>
#include <vector>

#include "app/error_report.h"
#include "app/failure.h"

namespace tallowby {
namespace {

// Collects what a Guarded reports, as the texts of the error reports.
struct Reports {
    struct Report {
        QString text;
    };
    std::vector<Report> messages;
    FailureSink sink() {
        return [this](const StatementFailure& f) { messages.push_back({error_report::text(f)}); };
    }
};

QString reportFor(const char* description, int line) {
    return error_report::text(QString::fromUtf8(description), QStringLiteral("Form1"),
                              QStringLiteral("PushButton3_Click"), line);
}

TEST(Guarded, TwoFailuresGiveTwoReportsAndTheProcedureRunsToItsEnd) {
    Reports reports;
    Guarded g(QStringLiteral("Form1"), QStringLiteral("PushButton3_Click"), reports.sink());
    QStringList ran;
    g.run(100, [&] { ran << "100"; });
    g.run(102, [&] { throw Failure("Type mismatch"); });
    g.run(104, [&] { ran << "104"; });
    g.run(106, [&] { throw std::runtime_error("Overflow"); });
    g.run(108, [&] { ran << "108"; });

    EXPECT_EQ(ran, (QStringList{"100", "104", "108"}));
    ASSERT_EQ(reports.messages.size(), 2u);
    EXPECT_EQ(reports.messages[0].text, reportFor("Type mismatch", 102));
    EXPECT_EQ(reports.messages[1].text, reportFor("Overflow", 106));
    EXPECT_EQ(g.failures(), 2);
}

TEST(Guarded, FailingConditionEntersItsThenBranch) {
    Reports reports;
    Guarded g(QStringLiteral("Form1"), QStringLiteral("PushButton3_Click"), reports.sink());
    bool thenBranch = false;
    bool elseBranch = false;
    if (g.test(100, []() -> bool { throw Failure("Object required"); }))
        thenBranch = g.run(102, [] {});
    else
        elseBranch = true;
    EXPECT_TRUE(thenBranch);
    EXPECT_FALSE(elseBranch);
    ASSERT_EQ(reports.messages.size(), 1u);
    EXPECT_EQ(reports.messages[0].text, reportFor("Object required", 100));
}

TEST(Guarded, ConditionThatHoldsOrNotIsPassedThroughWithoutReport) {
    Reports reports;
    Guarded g(QStringLiteral("Form1"), QStringLiteral("PushButton3_Click"), reports.sink());
    EXPECT_TRUE(g.test(100, [] { return true; }));
    EXPECT_FALSE(g.test(102, [] { return false; }));
    EXPECT_TRUE(reports.messages.empty());
}

TEST(Guarded, FailingLoopHeaderRunsTheBodyWithTheFallbackBound) {
    Reports reports;
    Guarded g(QStringLiteral("Form1"), QStringLiteral("PushButton3_Click"), reports.sink());
    int bodies = 0;
    const int count = g.value(
        146, []() -> int { throw Failure("Invalid use of Null"); }, 1);
    for (int i = 0; i < count; ++i) g.run(148, [&] { ++bodies; });
    EXPECT_EQ(bodies, 1);
    ASSERT_EQ(reports.messages.size(), 1u);
    EXPECT_EQ(reports.messages[0].text, reportFor("Invalid use of Null", 146));
}

TEST(Guarded, AnythingThrownIsReportedNotPropagated) {
    Reports reports;
    Guarded g(QStringLiteral("Form1"), QStringLiteral("PushButton3_Click"), reports.sink());
    EXPECT_FALSE(g.run(110, [] { throw 42; }));
    ASSERT_EQ(reports.messages.size(), 1u);
    EXPECT_TRUE(reports.messages[0].text.contains(QStringLiteral("at line 110")));
}

TEST(Guarded, HandlerFailureIsReportedAtTheStatementThatTriggeredIt) {
    Reports reports;
    Guarded g(QStringLiteral("Form1"), QStringLiteral("PushButton3_Click"), reports.sink());
    bool afterHandler = false;
    g.run(100, [&] {
        // A change handler without its own report fails midway through the statement.
        EXPECT_TRUE(Guarded::passToRunningStatement(QStringLiteral("Permission denied")));
        afterHandler = true;
    });
    g.run(102, [] {});
    EXPECT_TRUE(afterHandler);
    ASSERT_EQ(reports.messages.size(), 1u);
    EXPECT_EQ(reports.messages[0].text, reportFor("Permission denied", 100));
}

TEST(Guarded, HandlerFailureOutsideAnyStatementIsLeftToTheHandler) {
    Reports reports;
    EXPECT_FALSE(Guarded::passToRunningStatement(QStringLiteral("Permission denied")));
    Guarded g(QStringLiteral("Form1"), QStringLiteral("PushButton3_Click"), reports.sink());
    g.run(100, [] {});
    EXPECT_FALSE(Guarded::passToRunningStatement(QStringLiteral("late")));
    EXPECT_TRUE(reports.messages.empty());
}

TEST(Guarded, NestedProcedureReportsWithItsOwnLocation) {
    Reports reports;
    Guarded outer(QStringLiteral("Form1"), QStringLiteral("PushButton7_Click"), reports.sink());
    outer.run(142, [&reports] {
        Guarded inner(QStringLiteral("Form1"), QStringLiteral("Form_QueryUnload"), reports.sink());
        inner.run(120, [] { throw Failure("Disk full"); });
        EXPECT_TRUE(Guarded::passToRunningStatement(QStringLiteral("inner done")));
    });
    ASSERT_EQ(reports.messages.size(), 2u);
    EXPECT_TRUE(
        reports.messages[0].text.contains(QStringLiteral("Form1.Form_QueryUnload at line 120")));
    EXPECT_TRUE(
        reports.messages[1].text.contains(QStringLiteral("Form1.PushButton7_Click at line 142")));
}

TEST(Guarded, ALoopFailingThousandsOfTimesGivesOneReportWithTheCount) {
    Reports reports;
    Guarded g(QStringLiteral("Form1"), QStringLiteral("PushButton3_Click"), reports.sink());
    int passes = 0;
    {
        Guarded::Repeated loop(g);
        for (int i = 0; i < 5000; ++i) {
            g.run(154, [&] {
                ++passes;
                throw Failure("Index out of bounds");
            });
            // Another cause in the same loop, now and then: counted apart.
            if (i % 1000 == 0) g.run(156, [&] { throw Failure("Overflow"); });
        }
        EXPECT_TRUE(reports.messages.empty());  // nothing shows while the loop runs
    }
    g.run(158, [&] { throw Failure("Type mismatch"); });

    EXPECT_EQ(passes, 5000);
    EXPECT_EQ(g.failures(), 5006);
    ASSERT_EQ(reports.messages.size(), 3u);
    EXPECT_EQ(reports.messages[0].text,
              reportFor("Index out of bounds (this happened 5000 times)", 154));
    EXPECT_EQ(reports.messages[1].text, reportFor("Overflow (this happened 5 times)", 156));
    EXPECT_EQ(reports.messages[2].text, reportFor("Type mismatch", 158));
}

TEST(Guarded, AFailureThatHappensOnceInALoopIsReportedAsAlways) {
    Reports reports;
    Guarded g(QStringLiteral("Form1"), QStringLiteral("PushButton3_Click"), reports.sink());
    {
        Guarded::Repeated outer(g);
        for (int i = 0; i < 3; ++i) {
            Guarded::Repeated inner(g);  // nested scopes report when the outer one ends
            g.run(160, [&] {
                if (i == 1) throw Failure("Type mismatch");
            });
            g.run(162, [&] {
                if (i == 2) throw std::runtime_error("Index out of bounds");
            });
        }
    }
    ASSERT_EQ(reports.messages.size(), 2u);
    EXPECT_EQ(reports.messages[0].text, reportFor("Type mismatch", 160));
    EXPECT_EQ(reports.messages[1].text, reportFor("Index out of bounds", 162));
}

}  // namespace
}  // namespace tallowby
