#pragma once

// A window test's run on a virtual screen of a given size: the offscreen
// platform reads its screens from a JSON file named in the platform's
// options ("offscreen:configfile=..."), so no display server is needed.

#include <QFile>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace tallowby::testing {

class VirtualScreen {
  public:
    // One screen of width x height device pixels at 96 dpi.
    VirtualScreen(int width, int height) : dir_(std::make_unique<QTemporaryDir>()) {
        QFile file(dir_->filePath("screens.json"));
        if (!file.open(QIODevice::WriteOnly)) return;
        file.write(QStringLiteral(R"({"screens": [{"name": "virtual", "x": 0, "y": 0, )"
                                  R"("width": %1, "height": %2, "logicalDpi": 96, )"
                                  R"("logicalBaseDpi": 96, "dpr": 1}]})")
                       .arg(width)
                       .arg(height)
                       .toUtf8());
        path_ = file.fileName();
    }

    bool ready() const { return !path_.isEmpty(); }

    // The environment of a child run on this screen at the given scale factor.
    void applyTo(QProcessEnvironment& environment, const QString& scaleFactor) const {
        environment.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + path_);
        environment.insert("QT_SCALE_FACTOR", scaleFactor);
    }

  private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString path_;
};

}  // namespace tallowby::testing
