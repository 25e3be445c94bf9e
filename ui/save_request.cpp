#include "ui/save_request.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace tallowby::save_request {

namespace {
// The first pattern's extension: "Excel Files (*.xls)" gives "xls".
QString extensionOf(const QString& filter) {
    static const QRegularExpression pattern(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
    const QRegularExpressionMatch match = pattern.match(filter);
    return match.hasMatch() ? match.captured(1) : QString();
}

QString patternOf(const QString& filter) {
    const qsizetype open = filter.lastIndexOf(QLatin1Char('('));
    const qsizetype close = filter.lastIndexOf(QLatin1Char(')'));
    return open >= 0 && close > open ? filter.mid(open + 1, close - open - 1) : filter;
}
}  // namespace

QString withDefaultSuffix(const QString& name, const QString& filter) {
    const QString extension = extensionOf(filter);
    const QString fileName = QFileInfo(name).fileName();
    if (extension.isEmpty() || fileName.isEmpty()) return name;
    if (fileName.endsWith(QLatin1Char('.'))) return name + extension;
    if (!QFileInfo(fileName).suffix().isEmpty()) return name;
    return name + QLatin1Char('.') + extension;
}

QString pipeFilter(const QStringList& filters) {
    QString text;
    for (const QString& filter : filters)
        text += filter + QLatin1Char('|') + patternOf(filter) + QLatin1Char('|');
    return text;
}

QString confirmedTarget(QWidget* dialog, const SaveRequest& request, const QString& name,
                        int filterIndex) {
    if (name.isEmpty()) return {};
    const QString target = withDefaultSuffix(name, request.filters.value(filterIndex));
    if (QFileInfo::exists(target) && request.confirmOverwrite &&
        !request.confirmOverwrite(dialog, target))
        return {};
    return target;
}

QString startPath(const SaveRequest& request) {
    if (request.suggestedName.isEmpty()) return request.folder;
    if (request.folder.isEmpty()) return request.suggestedName;
    return QDir(request.folder).filePath(request.suggestedName);
}

}  // namespace tallowby::save_request
