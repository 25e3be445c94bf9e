#include "program/information_options.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include "tests/support/test_paths.h"

namespace tallowby {
namespace {

// The version as the top CMakeLists.txt states it, read independently of the build.
QString projectVersion() {
    QFile f(QString::fromUtf8(test_paths::kSourceDir) + "/CMakeLists.txt");
    if (!f.open(QIODevice::ReadOnly)) return {};
    const auto m = QRegularExpression(R"(project\(\s*Tallowby\s+VERSION\s+([0-9.]+))")
                       .match(QString::fromUtf8(f.readAll()));
    return m.hasMatch() ? m.captured(1) : QString();
}

TEST(InformationOptions, VersionAndHelpAreAnsweredOtherArgumentsAreNot) {
    const QString version = projectVersion();
    ASSERT_FALSE(version.isEmpty());
    EXPECT_EQ(information_options::answer({"--version"}), "tallowby " + version + "\n");
    EXPECT_EQ(information_options::answer({"-v"}), "tallowby " + version + "\n");
    for (const QStringList& args : {QStringList{"--help"}, QStringList{"-h"},
                                    QStringList{"-platform", "xcb", "--help", "--version"}})
        EXPECT_EQ(information_options::answer(args), information_options::helpText());
    EXPECT_EQ(information_options::answer({"--version", "--help"}),
              information_options::versionText());
    for (const QStringList& args : {QStringList{}, QStringList{"-platform", "offscreen"},
                                    QStringList{"--versions"}, QStringList{"help"}})
        EXPECT_FALSE(information_options::answer(args).has_value()) << args.join(' ').toStdString();
    EXPECT_TRUE(information_options::helpText().contains("--version"));
}

// The built program answers without a display: with a platform that does not
// exist, making the application object would abort the process.
TEST(InformationOptions, TheWindowProgramAnswersWithoutOpeningAWindow) {
    for (const char* option : {"--version", "--help"}) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "no-such-platform");
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        process.setProcessEnvironment(env);
        process.start(QString::fromUtf8(test_paths::kBinaryDir) + "/tallowby", {option});
        ASSERT_TRUE(process.waitForFinished(30000)) << option;
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << option;
        EXPECT_EQ(process.exitCode(), 0) << option;
        const QString out = QString::fromLocal8Bit(process.readAllStandardOutput());
        if (QByteArray(option) == "--version")
            EXPECT_EQ(out, "tallowby " + projectVersion() + "\n");
        else
            EXPECT_TRUE(out.startsWith("Usage: tallowby")) << out.toStdString();
        EXPECT_TRUE(process.readAllStandardError().isEmpty()) << option;
    }
}

}  // namespace
}  // namespace tallowby
