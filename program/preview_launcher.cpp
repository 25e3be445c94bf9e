#include "program/preview_launcher.h"

#include <exception>

#include "app/report_locations.h"
#include "entry/entry_window.h"
#include "preview/preview_menu.h"
#include "preview/preview_window.h"
#include "timesheet/entry_placement.h"
#include "ui/desktop.h"
#include "ui/error_report_box.h"

namespace tallowby {

PreviewLauncher::PreviewLauncher(EntryWindow& mainWindow, QString programFolder)
    : main_(mainWindow), programFolder_(std::move(programFolder)) {}

PreviewLauncher::~PreviewLauncher() = default;

preview::PreviewWindow& PreviewLauncher::ensurePreview() {
    if (!preview_) {
        preview_ = std::make_unique<preview::PreviewWindow>(programFolder_);
        new preview::PreviewMenu(*preview_);  // owned by the window
        preview_->setMainWindow(&main_);
        preview_->setPlaceStore(main_.store());
        // Closing the preview ends the program: the lists typed this session
        // must reach the settings store on that route too, and unsaved
        // changes are asked about as on the main window's own close.
        preview_->setOnClosing([this] { return main_.mayClose(); });
    }
    return *preview_;
}

void PreviewLauncher::run() {
    // The private folder is made on the first run; when it cannot be, that is
    // the run's one failure.
    const PrivateTempFolder* folder = nullptr;
    try {
        folder = &sessionTempFolder();
    } catch (const std::exception& e) {
        error_report_box::show(QString::fromUtf8(e.what()), report_locations::kEntryWindow,
                               report_locations::kStartClicked, 100, &main_);
        return;
    }
    GenerationHooks hooks = extra_;
    hooks.setBusy = [this](bool busy) { main_.setBusyCursor(busy); };
    hooks.handOver = [this](const QImage& picture, const QString& resultPath) {
        ensurePreview().handOver(picture, resultPath);
    };
    hooks.hideMainWindow = [this] { main_.hide(); };
    // The run's failures are shown over the main window as they happen.
    hooks.reportFailure = error_report_box::shownOver(&main_);
    // The preview opens on the screen the main window is on.
    hooks.pictureRatio = main_.devicePixelRatioF();
    const GenerationResult result = runGeneration(main_.record(), *folder, hooks);
    // One message for all the entries that found no place, however many.
    if (!result.leftOut.empty()) {
        QWidget* parent = preview_ && result.handedOver ? static_cast<QWidget*>(preview_.get())
                                                        : static_cast<QWidget*>(&main_);
        desktop::warnUser(leftOutMessage(result.leftOut), parent);
    }
}

}  // namespace tallowby
