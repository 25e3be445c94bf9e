#pragma once

#include <QCursor>
#include <QDate>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

#include "app/store_write_failures.h"
#include "entry/window_pointer.h"
#include "timesheet/timesheet_record.h"
#include "timesheet/timesheet_store.h"
#include "ui/desktop.h"

class QAction;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QTimeEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace tallowby {

class Guarded;
class SelectAllLineEdit;
class SettingsStore;

// What the main window needs from its surroundings; tests replace the parts
// that would reach outside (the browser, the presence check, ending the program).
struct EntryWindowOptions {
    SettingsStore* store = nullptr;  // required; not owned
    QString programFolder;           // HAND-M.CUR here or in ../share/tallowby
    desktop::HomePageHooks homePage;
    std::function<void()> presenceCheck;  // default: presence_check::checkEngineInstalled
    std::function<void()> endProgram;     // default: leave the event loop
    std::function<QDate()> today;         // default: the current date
};

// The entry window: general fields, the hour-rate and employee-hours lists,
// the sample data. Creating it runs its load procedure.
class EntryWindow : public QWidget {
    Q_OBJECT
  public:
    explicit EntryWindow(EntryWindowOptions options, QWidget* parent = nullptr);
    ~EntryWindow() override;

    // The values the generation run reads, taken from the controls now.
    TimesheetRecord record() const;

    // Call after any change to either list (a command, sample data, a
    // relabelling): both lists go to the settings store at once, so a killed
    // program keeps everything up to the last change.
    void listsChanged();

    // Packs both lists and saves them as "Rates" and "Hours".
    void saveLists();

    // The closing query of every route that ends the program (the window's
    // own close, the preview's close): saves the lists and, when the store
    // still lacks changes, asks whether to close anyway. True: go on closing.
    bool mayClose();

    // Failed store writes of this session (only the first was shown).
    int storeWriteFailures() const { return storeFailures_.count(); }

    // "Start Creating Template" calls this; nothing happens until one is set.
    void setGenerationRunner(std::function<void()> runner);

    // The hourglass of a long operation; while it shows, hovering changes nothing.
    void setBusyCursor(bool busy);
    WindowPointer windowPointer() const { return pointer_; }
    bool hasCustomPointer() const { return customPointer_.has_value(); }

    // Controls, named as the rest of the program knows them.
    QPushButton* startButton_ = nullptr;   // Start Creating Template
    QPushButton* helpButton_ = nullptr;    // Help
    QPushButton* sampleButton_ = nullptr;  // Load Sample/Example Data
    QGroupBox* generalBox_ = nullptr;
    SelectAllLineEdit* companyEdit_ = nullptr;
    SelectAllLineEdit* addressEdit_ = nullptr;
    SelectAllLineEdit* cityEdit_ = nullptr;
    SelectAllLineEdit* phoneEdit_ = nullptr;
    SelectAllLineEdit* employeeEdit_ = nullptr;
    SelectAllLineEdit* supervisorEdit_ = nullptr;
    QDateEdit* weekStartEdit_ = nullptr;
    QTabWidget* listTabs_ = nullptr;
    QWidget* ratesPage_ = nullptr;  // "Hour Rates" page
    SelectAllLineEdit* rateNameEdit_ = nullptr;
    SelectAllLineEdit* rateAmountEdit_ = nullptr;
    QPushButton* editRateButton_ = nullptr;  // Edit Selected
    QTreeWidget* rateList_ = nullptr;
    QWidget* hoursPage_ = nullptr;  // "Employee Hours" page
    QComboBox* dayChoice_ = nullptr;
    QComboBox* rateChoice_ = nullptr;
    QTimeEdit* hoursEdit_ = nullptr;
    QPushButton* addHoursButton_ = nullptr;     // Add
    QPushButton* deleteHoursButton_ = nullptr;  // Delete Selected
    QTreeWidget* hoursList_ = nullptr;
    QAction* importHoursAction_ = nullptr;  // Import Hours from CSV…

    // File → "Import Hours from CSV…": asks for the file, then shows the import window.
    void importHoursFromCsv();
    // The import window for `path`; on Import its rows join the hours list
    // (and the week start moves when the user chose so), stored at once.
    void importHoursFrom(const QString& path);

    // Event procedures.
    void onHelpClicked();
    void onEditRateClicked();
    void onAddHoursClicked();
    void onDeleteHoursClicked();
    void onStartClicked();
    void onSampleClicked();
    void onRateClicked(QTreeWidgetItem* item);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

  private:
    void buildWindow();
    void buildGeneralFrame();
    void buildRatesPage();
    void buildHoursPage();
    void addImportHoursAction();
    void setTabOrder();
    void connectHandlers();
    void watchHover();

    void load();
    void unpackInto(Guarded& g, QTreeWidget* list,
                    const std::function<std::vector<QStringList>()>& read, int firstLine);
    void addDefaultRates(Guarded& g);

    // The two choices of the hours page, from the week start and the rate list.
    void fillDayChoice();
    void fillRateChoice();

    void saveField(const char* key, const QString& text);
    // One write of the settings store. A failure is shown only when it is the
    // session's first and `tell` is set; the title shows whether the store
    // holds every change.
    bool writeStore(const QString& what, const std::function<void(TimesheetStore&)>& write,
                    bool tell = true);
    void showStoreState();
    // The timesheet in the settings store: every load and save goes through it.
    TimesheetStore timesheet() const { return TimesheetStore(*options_.store); }
    void onWeekStartChanged();
    void onListTabChanged(int index);
    void setPointer(WindowPointer pointer);
    std::optional<HoverZone> zoneOf(QObject* watched, QEvent* event) const;

    EntryWindowOptions options_;
    QList<QWidget*> tabOrder_;
    std::function<void()> generationRunner_;
    std::optional<QCursor> customPointer_;
    WindowPointer pointer_ = WindowPointer::Arrow;
    bool centred_ = false;
    bool keepStoredDate_ = false;  // the date shown stands in for unreadable stored text
    bool restoring_ = false;       // the load fills the controls: nothing is written back
    bool running_ = false;         // a generation run is under way
    StoreWriteFailures storeFailures_;
};

}  // namespace tallowby
