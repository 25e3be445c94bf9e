#pragma once

#include <QCursor>
#include <QDate>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

#include "app/main_module.h"
#include "entry/window_pointer.h"
#include "workbook/run/timesheet_record.h"

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
struct Form1Options {
    SettingsStore* store = nullptr;  // required; not owned
    QString programFolder;           // x/o.cjs; HAND-M.CUR here or in ../share/tallowby
    Main::HomePageHooks homePage;
    std::function<void()> presenceCheck;  // default: IsInstalled::CheckExcelInstalled
    std::function<void()> endProgram;     // default: leave the event loop
    std::function<QDate()> today;         // default: the current date
};

// The entry window: general fields, the hour-rate and employee-hours lists,
// the sample data. Creating it runs its load procedure.
class Form1 : public QWidget {
    Q_OBJECT
  public:
    explicit Form1(Form1Options options, QWidget* parent = nullptr);
    ~Form1() override;

    // The values the generation run reads, taken from the controls now.
    TimesheetRecord record() const;

    // Packs both lists and saves them as "Rates" and "Hours". Every route that
    // ends the program calls it (the window's own close, the preview's close).
    void saveLists();

    // "Start Creating Template" calls this; nothing happens until one is set.
    void setGenerationRunner(std::function<void()> runner);

    // The hourglass of a long operation; while it shows, hovering changes nothing.
    void setBusyCursor(bool busy);
    WindowPointer windowPointer() const { return pointer_; }
    bool hasCustomPointer() const { return customPointer_.has_value(); }

    void FillDayList();
    void FillTypeList();

    // Controls, named as the rest of the program knows them.
    QPushButton* PushButton6 = nullptr;  // Start Creating Template
    QPushButton* PushButton1 = nullptr;  // Help
    QPushButton* PushButton7 = nullptr;  // Load Sample/Example Data
    QGroupBox* Frame1 = nullptr;
    SelectAllLineEdit* txtName = nullptr;
    SelectAllLineEdit* txtLocation = nullptr;
    SelectAllLineEdit* txtCity = nullptr;
    SelectAllLineEdit* txtPhone = nullptr;
    SelectAllLineEdit* txtEmp = nullptr;
    SelectAllLineEdit* txtSVisor = nullptr;
    QDateEdit* dtpDate = nullptr;
    QTabWidget* TabControl1 = nullptr;
    QWidget* Frame2 = nullptr;  // "Hour Rates" page
    SelectAllLineEdit* txtType = nullptr;
    SelectAllLineEdit* txtRate = nullptr;
    QPushButton* PushButton2 = nullptr;  // Edit Selected
    QTreeWidget* ListView1 = nullptr;
    QWidget* Frame5 = nullptr;  // "Employee Hours" page
    QComboBox* Combo1 = nullptr;
    QComboBox* Combo2 = nullptr;
    QTimeEdit* dtpTime = nullptr;
    QPushButton* PushButton3 = nullptr;  // Add
    QPushButton* PushButton4 = nullptr;  // Delete Selected
    QTreeWidget* ListView2 = nullptr;

    // Event procedures.
    void PushButton1_Click();
    void PushButton2_Click();
    void PushButton3_Click();
    void PushButton4_Click();
    void PushButton6_Click();
    void PushButton7_Click();
    void ListView1_ItemClick(QTreeWidgetItem* item);

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
    void setTabOrder();
    void connectHandlers();
    void watchHover();

    void Form_Load();
    void ApplySkin();
    void unpackInto(Guarded& g, QTreeWidget* list, const QString& text, int firstLine);
    void addDefaultRates(Guarded& g);

    void saveField(const QString& key, const QString& text);
    void dtpDate_Change();
    void TabControl1_SelectedChanged(int index);
    void setPointer(WindowPointer pointer);
    std::optional<HoverZone> zoneOf(QObject* watched, QEvent* event) const;

    Form1Options options_;
    QList<QWidget*> tabOrder_;
    std::function<void()> generationRunner_;
    std::optional<QCursor> customPointer_;
    WindowPointer pointer_ = WindowPointer::Arrow;
    bool centred_ = false;
    bool keepStoredDate_ = false;  // the date shown stands in for unreadable stored text
};

}  // namespace tallowby
