#pragma once

// Shared by the preview window's Qt tests: a prompter that answers from a
// script and records what was asked, pictures of a chosen size, and mouse
// events sent straight to a widget.

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <QWidget>
#include <deque>

#include "app/prompter.h"

namespace harness {

struct Asked {
    QString caption;
    QString text;
    tallowby::Prompter::Icon icon;
    tallowby::Prompter::Buttons buttons;
};

class ScriptedPrompter : public tallowby::Prompter {
  public:
    ScriptedPrompter() { tallowby::setPrompter(this); }
    ~ScriptedPrompter() override { tallowby::setPrompter(nullptr); }

    Answer message(QWidget*, const QString& caption, const QString& text, Icon icon,
                   Buttons buttons) override {
        messages.push_back({caption, text, icon, buttons});
        if (buttons == Buttons::Ok) return Answer::Ok;
        if (answers.empty()) return Answer::No;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    QString saveFileName(QWidget*, const QString& title, const QString& filter) override {
        dialogs.push_back({title, filter});
        if (fileNames.empty()) return {};
        const QString name = fileNames.front();
        fileNames.pop_front();
        return name;
    }
    bool openUrl(const QUrl&) override { return false; }

    // The error reports shown so far.
    QStringList reports() const {
        QStringList texts;
        for (const Asked& m : messages)
            if (m.caption == QLatin1String("Application Error")) texts << m.text;
        return texts;
    }

    std::vector<Asked> messages;
    std::vector<std::pair<QString, QString>> dialogs;
    std::deque<Answer> answers;
    std::deque<QString> fileNames;
};

// A picture of the given size in pixels: a gradient with a dark frame, so
// scaled drawings can be told apart.
inline QImage picture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, 128));
    QPainter painter(&image);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, width - 1, height - 1);
    return image;
}

inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}

inline QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

inline void mouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button,
                  Qt::MouseButtons held) {
    const QPointF local(at);
    QMouseEvent event(type, local, target->mapToGlobal(local), button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// Press, one move by (dx, dy) pixels, release: positions are relative to
// the picture box, which moves during the drag.
inline void drag(QWidget* box, QPoint from, QPoint by, Qt::MouseButton button = Qt::LeftButton) {
    mouse(box, QEvent::MouseButtonPress, from, button, button);
    mouse(box, QEvent::MouseMove, from + by, Qt::NoButton, button);
    mouse(box, QEvent::MouseButtonRelease, from, button, Qt::NoButton);
}

}  // namespace harness
