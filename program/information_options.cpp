#include "program/information_options.h"

#include "app/build_config.h"

namespace tallowby::information_options {

QString versionText() {
    return QStringLiteral("tallowby %1\n").arg(QLatin1String(build::kVersion));
}

QString helpText() {
    return QStringLiteral(
        "Usage: tallowby [--help] [--version]\n"
        "\n"
        "Opens the Tallowby window: type a week's hours, make the timesheet workbook\n"
        "(.xls), preview it and save it. What you type is kept in\n"
        "$XDG_CONFIG_HOME/Marrowick/Marrowick.ini (~/.config/Marrowick/Marrowick.ini).\n"
        "Qt's own options, such as -platform NAME, are accepted.\n"
        "\n"
        "  --help, -h       show this text and exit\n"
        "  --version, -v    show the version and exit\n"
        "\n"
        "tallowby-fill makes the same workbook from the command line.\n");
}

std::optional<QString> answer(const QStringList& arguments) {
    // The first of the two that appears wins, as with most programs.
    for (const QString& arg : arguments) {
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) return helpText();
        if (arg == QLatin1String("--version") || arg == QLatin1String("-v")) return versionText();
    }
    return std::nullopt;
}

}  // namespace tallowby::information_options
