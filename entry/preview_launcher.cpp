#include "entry/preview_launcher.h"

#include <exception>

#include "app/error_report.h"
#include "app/main_module.h"
#include "app/prompter.h"
#include "entry/form1.h"
#include "preview/form2.h"
#include "workbook/run/entry_placement.h"
#include "preview/preview_menu.h"

namespace tallowby {

PreviewLauncher::PreviewLauncher(Form1& mainWindow, QString programFolder)
    : main_(mainWindow), programFolder_(std::move(programFolder)) {}

PreviewLauncher::~PreviewLauncher() = default;

Form2& PreviewLauncher::ensurePreview() {
    if (!preview_) {
        preview_ = std::make_unique<Form2>(programFolder_);
        new preview::PreviewMenu(*preview_);  // owned by the window
        preview_->setMainWindow(&main_);
        // Closing the preview ends the program: the lists typed this session
        // must reach the settings store on that route too.
        preview_->setOnClosing([this] { main_.saveLists(); });
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
        error_report::show(QString::fromUtf8(e.what()), QStringLiteral("Form1"),
                           QStringLiteral("PushButton6_Click"), 100, &main_);
        return;
    }
    GenerationHooks hooks = extra_;
    hooks.setBusy = [this](bool busy) { main_.setBusyCursor(busy); };
    hooks.handOver = [this](const QImage& picture, const QString& resultPath) {
        ensurePreview().handOver(picture, resultPath);
    };
    hooks.hideMainWindow = [this] { main_.hide(); };
    hooks.reportParent = &main_;
    // The preview opens on the screen the main window is on.
    hooks.pictureRatio = main_.devicePixelRatioF();
    const GenerationResult result = runGeneration(main_.record(), *folder, hooks);
    // One message for all the entries that found no place, however many.
    if (!result.leftOut.empty()) {
        QWidget* parent = preview_ && result.handedOver ? static_cast<QWidget*>(preview_.get())
                                                        : static_cast<QWidget*>(&main_);
        prompter().message(parent, Main::AppTitle(), leftOutMessage(result.leftOut),
                           Prompter::Icon::Warning, Prompter::Buttons::Ok);
    }
}

}  // namespace tallowby
