#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>

#include "fill/fill_command.h"

namespace {

QtMessageHandler qtDefaultHandler = nullptr;

// Standard error is where this tool tells the user about the timesheets;
// Qt's note that a session has no runtime folder (usual under cron, ssh and
// schedulers, and said once by every batch worker) says nothing about them.
void withoutRuntimeFolderNote(QtMsgType type, const QMessageLogContext& context,
                              const QString& message) {
    if (type == QtWarningMsg &&
        message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))
        return;
    if (qtDefaultHandler) qtDefaultHandler(type, context, message);
}

}  // namespace

int main(int argc, char** argv) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    // Arguments, --help and --version are dealt with before any Qt platform is loaded.
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const auto parsed = tallowby::fill::parseArguments(arguments);
    if (!parsed.options) {
        err << "tallowby-fill: " << parsed.error << "\n\n" << tallowby::fill::usage();
        return 2;
    }
    if (parsed.options->help) {
        out << tallowby::fill::usage();
        return 0;
    }
    if (parsed.options->version) {
        out << tallowby::fill::versionText();
        return 0;
    }
    // Drawing the sheet needs fonts but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qtDefaultHandler = qInstallMessageHandler(withoutRuntimeFolderNote);
    QGuiApplication app(argc, argv);
    return tallowby::fill::run(*parsed.options, err);
}
