#include "app/application_title.h"

#include <QCoreApplication>

namespace tallowby {

namespace {
QString g_applicationTitle = QStringLiteral("Tallowby");
}

QString applicationTitleFrom(const QString& productName) {
    QString title = productName;
    while (title.size() > 40) {
        const qsizetype blank = title.lastIndexOf(QLatin1Char(' '));
        if (blank < 0) {
            title.truncate(40);
            break;
        }
        title.truncate(blank);
    }
    return title;
}

void setApplicationTitle() {
    g_applicationTitle = applicationTitleFrom(QStringLiteral("Tallowby"));
    QCoreApplication::setApplicationName(g_applicationTitle);
}

QString applicationTitle() {
    return g_applicationTitle;
}

}  // namespace tallowby
