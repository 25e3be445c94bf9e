#pragma once

// Shared by the preview window's Qt tests: the scripted prompter (one that
// also records the save dialogs' folders and suggestions), pictures of a
// chosen size, files, and mouse events sent straight to a widget.

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>
#include <memory>

#include "preview/preview_window.h"
#include "tests/support/file_bytes.h"
#include "tests/support/scripted_prompter.h"

namespace harness {

using ScriptedPrompter = tallowby::testing::ScriptedPrompter;
using Asked = ScriptedPrompter::Message;
using tallowby::testing::readFile;

// Also records where each save dialog opened and the file it suggested, then
// answers as the scripted prompter does.
class RecordingPrompter : public ScriptedPrompter {
  public:
    QString saveFileNameIn(QWidget* parent, const QString& title, const QString& filter,
                           const QString& folder) override {
        folders << folder;
        return saveFileName(parent, title, filter);
    }
    QString saveFileNameSuggesting(QWidget* parent, const QString& title, const QString& filter,
                                   const QString& suggested) override {
        suggestions << suggested;
        return saveFileName(parent, title, filter);
    }
    QString saveFile(QWidget* parent, const tallowby::SaveRequest& request) override {
        folders << request.folder;
        return ScriptedPrompter::saveFile(parent, request);
    }
    QStringList folders;
    QStringList suggestions;
};

// What a window test that scripts no answers holds for its whole run: a
// prompter that answers any message box (so none blocks and none reaches the
// screen) and a folder for the files it hands over.
struct UnattendedRun {
    ScriptedPrompter prompter;
    QTemporaryDir dir;
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

// A preview window that finds no hover cursor file.
inline std::unique_ptr<tallowby::preview::PreviewWindow> plainWindow() {
    return std::make_unique<tallowby::preview::PreviewWindow>(QStringLiteral("/nonexistent"));
}

// One handed a small picture (300 x 200 pixels) and the result workbook `file`.
inline std::unique_ptr<tallowby::preview::PreviewWindow> windowHolding(const QString& file) {
    auto form = plainWindow();
    form->handOver(picture(300, 200), file);
    return form;
}

inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
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
