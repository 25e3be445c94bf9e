// The scheduler examples of the README and docs/, run here as the plain
// commands they hand to each machine: the Slurm script as each array task
// would run it, the Kubernetes Job's command as each indexed pod would, and
// the GNU parallel line as each ssh login would. Each way must make the whole
// batch exactly once, with the names of the batch run on one machine.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include "tests/fill/fill_process.h"
#include "tests/support/generated_timesheets.h"

namespace {

using tallowby::testing::FillOutcome;
using tallowby::testing::readFile;
using tallowby::testing::runFill;
using tallowby::testing::runProgram;

QString sourceFile(const char* relative) {
    return QString::fromUtf8(tallowby::test_paths::kSourceDir) + "/" + relative;
}

class BatchSchedulersTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        input = dir.filePath("timesheets");
        tallowby::testing::writeTimesheets(input, 20);
        const FillOutcome whole = runFill({"--batch", "--out", dir.filePath("whole"), input});
        ASSERT_EQ(whole.exitCode, 0) << whole.err.toStdString();
        wholeBatch = made("whole");
        ASSERT_EQ(wholeBatch.size(), 20);
    }
    QStringList made(const QString& folder) const {
        return QDir(dir.filePath(folder)).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    // The environment a machine of the scheduler gives the command: the
    // built tallowby-fill first on the PATH, the test's folders.
    QStringList machine(const QString& out, const QStringList& more) const {
        const QString tool = QFileInfo(QString::fromUtf8(tallowby::test_paths::kFillTool)).path();
        return QStringList{"PATH=" + tool + ":" + qEnvironmentVariable("PATH"),
                           "TIMESHEETS=" + input, "OUT=" + dir.filePath(out)} +
               more;
    }

    QTemporaryDir dir;
    QString input;
    QStringList wholeBatch;
};

TEST_F(BatchSchedulersTest, TheSlurmArrayJobsTasksMakeTheWholeBatch) {
    const QString script = sourceFile("docs/slurm-batch.sh");
    const QString text = QString::fromUtf8(readFile(script));
    const auto array = QRegularExpression("#SBATCH --array=0-(\\d+)").match(text);
    ASSERT_TRUE(array.hasMatch());
    const int tasks = array.captured(1).toInt() + 1;
    EXPECT_EQ(tasks, 3);
    for (int task = 0; task < tasks; ++task) {
        const FillOutcome o =
            runProgram("/bin/bash", {script}, "C.UTF-8",
                       machine("slurm", {QStringLiteral("SLURM_ARRAY_TASK_ID=%1").arg(task),
                                         QStringLiteral("SLURM_ARRAY_TASK_COUNT=%1").arg(tasks),
                                         "SLURM_CPUS_PER_TASK=2"}));
        EXPECT_EQ(o.exitCode, 0) << o.err.toStdString();
    }
    EXPECT_EQ(made("slurm"), wholeBatch);
}

TEST_F(BatchSchedulersTest, TheKubernetesIndexedJobsPodsMakeTheWholeBatch) {
    const QString yaml = QString::fromUtf8(readFile(sourceFile("docs/kubernetes-batch.yaml")));
    const auto completions = QRegularExpression("\\n  completions: (\\d+)\\n").match(yaml);
    const auto shards = QRegularExpression("name: SHARDS\\n\\s+value: \"(\\d+)\"").match(yaml);
    const auto command = QRegularExpression("\\n\\s+args:\\n\\s+- (.*)\\n").match(yaml);
    ASSERT_TRUE(completions.hasMatch() && shards.hasMatch() && command.hasMatch());
    EXPECT_TRUE(yaml.contains("completionMode: Indexed"));
    EXPECT_TRUE(yaml.contains("command: [\"/bin/sh\", \"-c\"]"));
    EXPECT_EQ(shards.captured(1), completions.captured(1));
    const int pods = completions.captured(1).toInt();
    for (int pod = 0; pod < pods; ++pod) {
        const FillOutcome o =
            runProgram("/bin/sh", {"-c", command.captured(1)}, "C.UTF-8",
                       machine("kubernetes", {QStringLiteral("JOB_COMPLETION_INDEX=%1").arg(pod),
                                              "SHARDS=" + shards.captured(1)}));
        EXPECT_EQ(o.exitCode, 0) << o.err.toStdString();
    }
    EXPECT_EQ(made("kubernetes"), wholeBatch);
}

TEST_F(BatchSchedulersTest, TheReadmesGnuParallelLinesLoginsMakeTheWholeBatch) {
    // The README's line, continuation joined: parallel OPTIONS COMMAND ::: ARGS.
    QString readme = QString::fromUtf8(readFile(sourceFile("README.md")));
    readme.replace("\\\n", " ");
    const auto line =
        QRegularExpression("\\n +parallel [^\\n]*?(tallowby-fill [^\\n]*) ::: ([^\\n]*)\\n")
            .match(readme);
    ASSERT_TRUE(line.hasMatch());
    const QString command = line.captured(1).simplified();
    const QStringList logins = line.captured(2).simplified().split(' ');
    EXPECT_EQ(logins.size(), 3);
    EXPECT_TRUE(command.contains("{}"));
    for (const QString& arg : logins) {
        QString one = command;
        const FillOutcome o = runProgram("/bin/sh", {"-c", one.replace("{}", arg)}, "C.UTF-8",
                                         machine("parallel", {}));
        EXPECT_EQ(o.exitCode, 0) << o.err.toStdString();
    }
    EXPECT_EQ(made("parallel"), wholeBatch);
}

}  // namespace
