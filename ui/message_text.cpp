#include "ui/message_text.h"

#include <QRegularExpression>

namespace tallowby::message_text {

QString linkedText(const QString& text) {
    static const QRegularExpression address(QStringLiteral("https?://[^\\s<>\"]+"));
    const QRegularExpressionMatch match = address.match(text);
    if (!match.hasMatch()) return {};
    const QString url = match.captured(0);
    const QString link =
        QStringLiteral("<a href=\"%1\">%2</a>").arg(url.toHtmlEscaped(), url.toHtmlEscaped());
    // nowrap keeps the sentence and its address on one line.
    return QStringLiteral("<p style=\"white-space:nowrap\">%1%2%3</p>")
        .arg(text.left(match.capturedStart()).toHtmlEscaped(), link,
             text.mid(match.capturedEnd()).toHtmlEscaped());
}

}  // namespace tallowby::message_text
