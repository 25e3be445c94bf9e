#pragma once

#include <QString>
#include <memory>

#include "timesheet/generation_run.h"

namespace tallowby {

class EntryWindow;

namespace preview {
class PreviewWindow;
}

// Connects "Start Creating Template" to the generation run and hands its
// result to the preview window, which it creates at the first hand-over and
// keeps for the rest of the program.
class PreviewLauncher {
  public:
    PreviewLauncher(EntryWindow& mainWindow, QString programFolder);
    ~PreviewLauncher();

    // The generation run for the main window's timesheet as it stands now.
    void run();

    // The preview window, once a run has handed over.
    preview::PreviewWindow* preview() const { return preview_.get(); }

    // Hooks a test may replace (template bytes, digit draws).
    GenerationHooks& extraHooks() { return extra_; }

  private:
    preview::PreviewWindow& ensurePreview();

    EntryWindow& main_;
    QString programFolder_;
    std::unique_ptr<preview::PreviewWindow> preview_;
    GenerationHooks extra_;
};

}  // namespace tallowby
