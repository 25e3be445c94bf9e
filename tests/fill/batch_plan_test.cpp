// The batch's plan and parts, without running a timesheet: formats, shards,
// names over the whole list, the worker protocol, the progress text and the
// batch's arguments.
#include "fill/batch_plan.h"

#include <gtest/gtest.h>

#include <QSet>
#include <map>

#include "app/failure.h"
#include "fill/batch_command.h"
#include "fill/batch_progress.h"
#include "fill/batch_protocol.h"
#include "fill/fill_command.h"

namespace {

using namespace tallowby::fill;
using tallowby::timesheet_files::Described;
using tallowby::timesheet_files::Heading;

TEST(BatchPlanTest, FormatsAreCommaSeparatedOrRepeatedEachOnce) {
    EXPECT_EQ(parseFormats({}).formats, std::vector<OutputFormat>{OutputFormat::Xls});
    const ParsedFormats some = parseFormats({"pdf, XLS", "xlsx,pdf"});
    EXPECT_TRUE(some.error.isEmpty());
    EXPECT_EQ(some.formats, (std::vector<OutputFormat>{OutputFormat::Pdf, OutputFormat::Xls,
                                                       OutputFormat::Xlsx}));
    EXPECT_EQ(parseFormats({"xls,odt"}).error,
              "unknown format \"odt\" (the formats are xls, xlsx and pdf)");
    EXPECT_FALSE(parseFormats({"xls,"}).error.isEmpty());
}

TEST(BatchPlanTest, AShardIsKOfNFromZero) {
    const auto shard = parseShard("2/3");
    ASSERT_TRUE(shard);
    EXPECT_EQ(shard->index, 2);
    EXPECT_EQ(shard->count, 3);
    EXPECT_TRUE(parseShard("0/1"));
    for (const char* bad : {"3/3", "-1/3", "1/0", "1", "1/2/3", "a/b", "", "/"})
        EXPECT_FALSE(parseShard(bad)) << bad;
}

// The heading each name stands for; "bad" names no timesheet.
Described describeByName(const QString& path) {
    if (path.startsWith("bad")) return {std::nullopt, path + " is damaged."};
    const QString employee = path.section('.', 0, 0).section('-', 0, 0);
    return {Heading{employee, QDate(2021, 8, 30)}, {}};
}

TEST(BatchPlanTest, ShardsTogetherAreTheWholeBatchOnceWithTheSameNames) {
    QStringList files;
    for (int i = 0; i < 20; ++i)
        files << QStringLiteral("%1-%2.ini")
                     .arg(i % 4 == 0 ? "Ana" : QString("E%1").arg(i))
                     .arg(i, 2, 10, QChar('0'));
    files << "bad.ini";
    files.sort();
    const std::vector<BatchJob> whole = planBatch(files, describeByName, Shard{0, 1});
    ASSERT_EQ(whole.size(), 21u);
    std::map<QString, QString> nameOf;
    QSet<QString> names;
    for (const BatchJob& job : whole) {
        nameOf[job.input] = job.stem;
        if (job.refusal.isEmpty()) names.insert(job.stem);
    }
    EXPECT_EQ(names.size(), 20);  // unique, the bad file named none
    EXPECT_EQ(nameOf["Ana-00.ini"], "Timesheet Ana 2021-08-30");
    EXPECT_EQ(nameOf["Ana-04.ini"], "Timesheet Ana 2021-08-30 (2)");
    EXPECT_EQ(nameOf["Ana-16.ini"], "Timesheet Ana 2021-08-30 (5)");
    EXPECT_TRUE(nameOf["bad.ini"].isEmpty());

    for (const int count : {1, 2, 3, 7, 30}) {
        std::map<QString, int> seen;
        for (int k = 0; k < count; ++k)
            for (const BatchJob& job : planBatch(files, describeByName, Shard{k, count})) {
                ++seen[job.input];
                // Every shard comes to the whole batch's name, and positions
                // are those of the whole sorted list.
                EXPECT_EQ(job.stem, nameOf[job.input]);
                EXPECT_EQ(files.at(job.position), job.input);
                EXPECT_EQ(job.position % count, k);
            }
        EXPECT_EQ(seen.size(), static_cast<size_t>(files.size())) << count;
        for (const auto& [input, times] : seen) EXPECT_EQ(times, 1) << input.toStdString();
    }
}

TEST(BatchPlanTest, AFileThatIsNoTimesheetShiftsNoName) {
    const std::vector<BatchJob> jobs =
        planBatch({"Ana-1.ini", "bad.ini", "Ana-2.ini"}, describeByName, Shard{});
    ASSERT_EQ(jobs.size(), 3u);
    EXPECT_EQ(jobs[1].refusal, "bad.ini is damaged.");
    EXPECT_EQ(jobs[2].stem, "Timesheet Ana 2021-08-30 (2)");
}

TEST(BatchProtocolTest, MessagesOfAnyBytesComeBackWholeAndOnlyWhenComplete) {
    const QList<QByteArray> fields{"in/a,b:c.ini", QByteArray("line\nbreak\0nul,", 15), ""};
    const QByteArray message = batch_protocol::encode(fields);
    QByteArray stream = message + message;
    // Byte by byte, as a pipe may deliver it.
    QByteArray buffer;
    int taken = 0;
    for (const char byte : stream) {
        buffer.append(byte);
        if (const auto got = batch_protocol::take(buffer, 3)) {
            EXPECT_EQ(*got, fields);
            ++taken;
        }
    }
    EXPECT_EQ(taken, 2);
    EXPECT_TRUE(buffer.isEmpty());
    for (const QByteArray& bad : {QByteArray("x:abc,"), QByteArray("3:abcd"), QByteArray("-1:,"),
                                  QByteArray("99999999999:"), QByteArray(":,")}) {
        QByteArray b = bad;
        EXPECT_THROW(batch_protocol::take(b, 1), tallowby::Failure) << bad.constData();
    }
    QByteArray noLength(40, '7');
    EXPECT_THROW(batch_protocol::take(noLength, 1), tallowby::Failure);
}

TEST(BatchProgressTest, TheLineSaysDoneRateAndTimeLeft) {
    EXPECT_EQ(progressText(0, 50, 0.0), "0/50 done");
    EXPECT_EQ(progressText(10, 50, 4.0), "10/50 done, 2.5 per second, 0:16 left");
    EXPECT_EQ(progressText(1, 10000, 1.0), "1/10000 done, 1.0 per second, 2:46:39 left");
    EXPECT_EQ(progressText(50, 50, 10.0), "50/50 done, 5.0 per second");

    // On a terminal: drawn in place, cleared for messages, ended with a line break.
    QString shown;
    {
        QTextStream err(&shown);
        ProgressLine line(err, true, 2);
        line.print("tallowby-fill: a.ini:\n  notice\n");
        line.update(2);
        line.finish();
    }
    EXPECT_TRUE(
        shown.startsWith("\r0/2 done\x1b[K\r\x1b[Ktallowby-fill: a.ini:\n  notice\n\r0/2 done"))
        << shown.toStdString();
    EXPECT_TRUE(shown.contains("\r2/2 done")) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith("\n"));
    // Elsewhere: the messages and nothing else.
    QString plain;
    {
        QTextStream err(&plain);
        ProgressLine line(err, false, 2);
        line.update(1);
        line.print("tallowby-fill: a.ini:\n  notice\n");
        line.update(2);
        line.finish();
    }
    EXPECT_EQ(plain, "tallowby-fill: a.ini:\n  notice\n");
}

TEST(BatchCommandTest, AJobsMessagesStandIndentedUnderItsFile) {
    EXPECT_EQ(jobReport("in/a.ini", "Tallowby: first\nsecond\n\ntallowby-fill: fourth\n"),
              "tallowby-fill: in/a.ini:\n  Tallowby: first\n  second\n\n  fourth\n");
}

TEST(BatchArgumentsTest, TheBatchsOptionsAndTheirMistakes) {
    const ParsedArguments parsed =
        parseArguments({"--batch", "a.ini", "--out", "out", "--format", "pdf", "--format", "xls",
                        "-j3", "--shard", "1/4", "folder", "--", "-odd.ini"});
    ASSERT_TRUE(parsed.options) << parsed.error.toStdString();
    const FillOptions& o = *parsed.options;
    EXPECT_TRUE(o.batch);
    EXPECT_EQ(o.inputs, (QStringList{"a.ini", "folder", "-odd.ini"}));
    EXPECT_EQ(o.outDir, "out");
    EXPECT_EQ(o.formats, (std::vector<OutputFormat>{OutputFormat::Pdf, OutputFormat::Xls}));
    EXPECT_EQ(o.jobs, 3);
    EXPECT_EQ(o.shard.index, 1);
    EXPECT_EQ(o.shard.count, 4);
    EXPECT_EQ(parseArguments({"--batch", "-j", "2", "x"}).options->jobs, 2);

    const std::pair<QStringList, QString> mistakes[] = {
        {{"--batch"}, "--batch needs timesheet files or folders"},
        {{"--batch", "a.ini", "--xls", "a.xls"}, "instead of --xls"},
        {{"--batch", "a.ini", "--settings", "s.ini"}, "instead of --xls"},
        {{"--batch", "a.ini", "-j", "0"}, "-j needs a number of jobs"},
        {{"--batch", "a.ini", "-jx"}, "-j needs a number of jobs"},
        {{"--batch", "a.ini", "--shard", "3/3"}, "--shard needs K/N"},
        {{"--batch", "a.ini", "--format", "doc"}, "unknown format \"doc\""},
        {{"--batch", "a.ini", "--out"}, "--out needs a folder"},
        {{"--batch", "a.ini", "--date-column", "D"}, "need --import-hours"},
        {{"--xls", "a.xls", "b.ini"}, "timesheet files are for --batch"},
        {{"--xls", "a.xls", "--shard", "0/2"}, "need --batch"},
        {{"--xls", "a.xls", "--out", "o"}, "need --batch"},
    };
    for (const auto& [arguments, why] : mistakes) {
        const ParsedArguments p = parseArguments(arguments);
        EXPECT_FALSE(p.options) << arguments.join(' ').toStdString();
        EXPECT_TRUE(p.error.contains(why)) << p.error.toStdString();
    }
    // The single run is as it was.
    EXPECT_TRUE(parseArguments({"--xls", "a.xls", "--settings", "s.ini"}).options);
}

}  // namespace
