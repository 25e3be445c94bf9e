#include "entry/entry_window.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTimeEdit>
#include <QTreeWidget>
#include <exception>
#include <utility>

#include "app/guarded.h"
#include "app/settings_store.h"
#include "entry/entry_labels.h"
#include "entry/list_fit.h"
#include "entry/list_rows.h"
#include "entry/picker_fields.h"
#include "entry/presence_check.h"
#include "entry/select_all_line_edit.h"
#include "timesheet/settings_keys.h"
#include "timesheet/week_start_date.h"
#include "ui/twips.h"

namespace tallowby {

namespace {

QFont windowFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(9);
    font.setBold(true);
    return font;
}

QFont captionFont() {
    QFont font = windowFont();
    font.setPointSizeF(11.25);
    return font;
}

// Labels keep their right edge where the layout puts it and grow leftwards
// when the face on this machine draws the caption wider than the original.
QLabel* addLabel(QWidget* parent, const QString& caption, int left, int top, int width,
                 int height) {
    auto* label = new QLabel(caption, parent);
    QRect r = twipsRect(left, top, width, height);
    const int needed = label->sizeHint().width();
    if (needed > r.width()) r.setLeft(r.right() + 1 - needed);
    label->setGeometry(r);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

// A caption and the field it names, both placed in twips, the caption first.
template <class Field>
Field* addField(QWidget* parent, const QString& caption, const QRect& captionTwips,
                const QRect& fieldTwips) {
    addLabel(parent, caption, captionTwips.x(), captionTwips.y(), captionTwips.width(),
             captionTwips.height());
    auto* field = new Field(parent);
    field->setGeometry(
        twipsRect(fieldTwips.x(), fieldTwips.y(), fieldTwips.width(), fieldTwips.height()));
    return field;
}

QPushButton* addButton(QWidget* parent, const QString& caption, const QRect& geometry) {
    auto* button = new QPushButton(caption, parent);
    button->setFont(captionFont());
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    return button;
}

// A list on its page, its columns kept fitted to the page at the given
// widths (0 hides a column).
QTreeWidget* addList(QWidget* page, const QStringList& headers, const QList<int>& widthsTwips,
                     const QRect& geometry) {
    auto* list = new QTreeWidget(page);
    list->setGeometry(geometry);
    list->setColumnCount(static_cast<int>(headers.size()));
    list->setHeaderLabels(headers);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->header()->setStretchLastSection(false);
    list->header()->setSectionsMovable(false);
    QList<int> widths;
    for (int i = 0; i < widthsTwips.size(); ++i) {
        widths << twipsToPixels(widthsTwips[i]);
        if (widthsTwips[i] == 0)
            list->setColumnHidden(i, true);  // kept in the rows and the stored text
        else
            list->setColumnWidth(i, widths.last());
    }
    list_fit::keepFitted(list, page, widths);
    return list;
}

}  // namespace

EntryWindow::EntryWindow(EntryWindowOptions options, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      options_(std::move(options)) {
    if (!options_.store) throw std::invalid_argument("Form1 needs a settings store");
    // The store tells the user once, at its first use, when its file cannot be used.
    options_.store->setProblemNotice([](const QString& text) { desktop::warnUser(text); });
    if (!options_.presenceCheck) options_.presenceCheck = &presence_check::checkEngineInstalled;
    if (!options_.endProgram) options_.endProgram = [] { QCoreApplication::exit(0); };
    if (!options_.today) options_.today = [] { return QDate::currentDate(); };
    buildWindow();
    setTabOrder();
    connectHandlers();
    watchHover();
    load();
}

EntryWindow::~EntryWindow() = default;

void EntryWindow::buildWindow() {
    setObjectName(QStringLiteral("Form1"));
    setFont(windowFont());
    setFixedSize(twipsToPixels(9360), twipsToPixels(9870));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);

    startButton_ =
        addButton(this, QStringLiteral("Start Creating Template"), twipsRect(120, 120, 9120, 405));
    helpButton_ = addButton(this, QStringLiteral("Help"), twipsRect(120, 630, 4560, 405));
    sampleButton_ = addButton(this, QStringLiteral("Load Sample/Example Data"),
                              twipsRect(4800, 630, 4440, 405));
    buildGeneralFrame();

    listTabs_ = new QTabWidget(this);
    listTabs_->setGeometry(twipsRect(120, 4665, 9120, 5055));
    listTabs_->tabBar()->setFont(captionFont());
    buildRatesPage();
    buildHoursPage();
    listTabs_->addTab(ratesPage_, QStringLiteral("Hour Rates"));
    listTabs_->addTab(hoursPage_, QStringLiteral("Employee Hours"));
    addImportHoursAction();
}

void EntryWindow::buildGeneralFrame() {
    generalBox_ = new QGroupBox(QStringLiteral("General Information"), this);
    generalBox_->setGeometry(twipsRect(120, 1110, 9120, 3495));
    struct Field {
        const char* caption;
        int top;
        SelectAllLineEdit** edit;
    };
    const Field fields[] = {
        {"Company Name:", 300, &companyEdit_},     {"Address:", 750, &addressEdit_},
        {"City, ST  ZIP Code:", 1200, &cityEdit_}, {"Phone:", 1650, &phoneEdit_},
        {"Employee Name:", 2100, &employeeEdit_},  {"Supervisor Name:", 2550, &supervisorEdit_}};
    for (const Field& f : fields)
        *f.edit =
            addField<SelectAllLineEdit>(generalBox_, QString::fromLatin1(f.caption),
                                        {240, f.top + 45, 1740, 225}, {2160, f.top, 6675, 345});
    weekStartEdit_ = addField<DatePicker>(generalBox_, QStringLiteral(" Week Start:"),
                                          {200, 3045, 1050, 225}, {2160, 3000, 6675, 345});
    weekStartEdit_->setDisplayFormat(QStringLiteral("dd-MMM-yyyy"));
    weekStartEdit_->setCalendarPopup(true);
    weekStartEdit_->setDate(options_.today());

    companyEdit_->setObjectName(QStringLiteral("txtName"));
    addressEdit_->setObjectName(QStringLiteral("txtLocation"));
    cityEdit_->setObjectName(QStringLiteral("txtCity"));
    phoneEdit_->setObjectName(QStringLiteral("txtPhone"));
    employeeEdit_->setObjectName(QStringLiteral("txtEmp"));
    supervisorEdit_->setObjectName(QStringLiteral("txtSVisor"));
    weekStartEdit_->setObjectName(QStringLiteral("dtpDate"));
}

void EntryWindow::buildRatesPage() {
    ratesPage_ = new QWidget;
    ratesPage_->setObjectName(QStringLiteral("Frame2"));
    rateNameEdit_ = addField<SelectAllLineEdit>(ratesPage_, QStringLiteral("Description:"),
                                                {240, 345, 1740, 225}, {2160, 300, 6555, 345});
    rateAmountEdit_ = addField<SelectAllLineEdit>(ratesPage_, QStringLiteral("Rate:"),
                                                  {240, 795, 1740, 225}, {2160, 750, 6555, 345});
    editRateButton_ =
        addButton(ratesPage_, QStringLiteral("Edit Selected"), twipsRect(2160, 1200, 6555, 405));
    rateList_ = addList(ratesPage_, {QStringLiteral("Description"), QStringLiteral("Rate")},
                        {4300, 2900}, twipsRect(255, 1680, 8460, 2850));
}

void EntryWindow::buildHoursPage() {
    hoursPage_ = new QWidget;
    hoursPage_->setObjectName(QStringLiteral("Frame5"));
    dayChoice_ = addField<QComboBox>(hoursPage_, QStringLiteral("Day:"), {1515, 345, 360, 225},
                                     {2040, 300, 6645, 345});
    rateChoice_ = addField<QComboBox>(hoursPage_, QStringLiteral("Type:"), {1425, 795, 450, 225},
                                      {2040, 750, 6645, 345});
    for (QComboBox* combo : {dayChoice_, rateChoice_}) {
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setCompleter(nullptr);
    }
    hoursEdit_ = addField<TimePicker>(hoursPage_, QStringLiteral("Event Time"),
                                      {945, 1245, 930, 225}, {2040, 1200, 1575, 345});
    hoursEdit_->setDisplayFormat(QStringLiteral("HH:mm"));
    hoursEdit_->setTime(QTime(0, 0));
    addHoursButton_ =
        addButton(hoursPage_, QStringLiteral("Add"), twipsRect(2070, 1650, 3240, 405));
    deleteHoursButton_ =
        addButton(hoursPage_, QStringLiteral("Delete Selected"), twipsRect(5450, 1650, 3240, 405));
    hoursList_ = addList(hoursPage_,
                         {QStringLiteral("Day"), QStringLiteral("Rate Type"),
                          QStringLiteral("Hours"), QStringLiteral("DN"), QStringLiteral("RN")},
                         {4200, 2800, 1440, 0, 0}, twipsRect(135, 2235, 8580, 2370));
}

void EntryWindow::setTabOrder() {
    tabOrder_ = {companyEdit_,    addressEdit_,    cityEdit_,       phoneEdit_,
                 employeeEdit_,   supervisorEdit_, weekStartEdit_,  rateNameEdit_,
                 rateAmountEdit_, editRateButton_, rateList_,       dayChoice_,
                 rateChoice_,     hoursEdit_,      addHoursButton_, deleteHoursButton_,
                 hoursList_,      startButton_,    listTabs_,       helpButton_,
                 sampleButton_};
    for (qsizetype i = 0; i + 1 < tabOrder_.size(); ++i)
        QWidget::setTabOrder(tabOrder_[i], tabOrder_[i + 1]);
}

// Qt's focus chain splits editable choices from their edit parts, so Tab and
// Shift+Tab walk the window's own order, skipping what is hidden or disabled.
bool EntryWindow::focusNextPrevChild(bool next) {
    qsizetype at = -1;
    for (QWidget* w = QApplication::focusWidget(); w && at < 0 && w != this; w = w->parentWidget())
        at = tabOrder_.indexOf(w);
    if (at < 0) return QWidget::focusNextPrevChild(next);
    const qsizetype n = tabOrder_.size();
    for (qsizetype step = 1; step < n; ++step) {
        QWidget* candidate = tabOrder_[((next ? at + step : at - step) % n + n) % n];
        if (candidate->isVisible() && candidate->isEnabled()) {
            candidate->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return true;
}

void EntryWindow::connectHandlers() {
    const std::pair<SelectAllLineEdit*, const char*> saved[] = {
        {companyEdit_, settings_keys::kCompany},   {addressEdit_, settings_keys::kAddress},
        {cityEdit_, settings_keys::kCity},         {phoneEdit_, settings_keys::kPhone},
        {employeeEdit_, settings_keys::kEmployee}, {supervisorEdit_, settings_keys::kSupervisor}};
    for (const auto& field : saved) {
        // A named copy: clang 14 cannot capture a structured binding.
        const char* key = field.second;
        connect(field.first, &QLineEdit::textChanged, this,
                [this, key](const QString& text) { saveField(key, text); });
    }
    connect(weekStartEdit_, &QDateEdit::dateChanged, this, [this] { onWeekStartChanged(); });
    connect(listTabs_, &QTabWidget::currentChanged, this,
            [this](int index) { onListTabChanged(index); });
    connect(rateList_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { onRateClicked(item); });
    connect(helpButton_, &QPushButton::clicked, this, [this] { onHelpClicked(); });
    connect(editRateButton_, &QPushButton::clicked, this, [this] { onEditRateClicked(); });
    connect(addHoursButton_, &QPushButton::clicked, this, [this] { onAddHoursClicked(); });
    connect(deleteHoursButton_, &QPushButton::clicked, this, [this] { onDeleteHoursClicked(); });
    connect(startButton_, &QPushButton::clicked, this, [this] { onStartClicked(); });
    connect(sampleButton_, &QPushButton::clicked, this, [this] { onSampleClicked(); });
}

// Handlers without a report of their own: a failure goes to the guarded
// statement that caused the change, if any; otherwise it is only logged.
namespace {
template <class F>
void unguarded(F&& body) {
    try {
        body();
    } catch (const std::exception& e) {
        const QString description = QString::fromUtf8(e.what());
        if (!Guarded::passToRunningStatement(description))
            qWarning("%s", qUtf8Printable(description));
    }
}
}  // namespace

void EntryWindow::saveField(const char* key, const QString& text) {
    if (restoring_) return;
    writeStore(TimesheetStore::valueName(QString::fromLatin1(key)),
               [&](TimesheetStore& store) { store.saveField(key, text); });
}

bool EntryWindow::writeStore(const QString& what, const std::function<void(TimesheetStore&)>& write,
                             bool tell) {
    bool written = true;
    try {
        TimesheetStore store = timesheet();
        write(store);
    } catch (const std::exception& e) {
        written = false;
        const auto message = storeFailures_.failed(QString::fromUtf8(e.what()), what);
        if (message && tell) desktop::warnUser(*message, this);
    }
    showStoreState();
    return written;
}

void EntryWindow::showStoreState() {
    const QString title = QStringLiteral("Tallowby");
    setWindowTitle(options_.store->hasUnsavedChanges()
                       ? title + QStringLiteral(" (") + StoreWriteFailures::titleMark() +
                             QLatin1Char(')')
                       : title);
}

void EntryWindow::listsChanged() {
    if (restoring_) return;
    writeStore(QStringLiteral("the hour rates and the hours list"), [&](TimesheetStore& store) {
        store.saveLists(list_rows::read(rateList_), list_rows::read(hoursList_));
    });
}

void EntryWindow::onWeekStartChanged() {
    unguarded([&] {
        if (!keepStoredDate_ && !restoring_)
            writeStore(TimesheetStore::valueName(QString::fromLatin1(settings_keys::kWeekStart)),
                       [&](TimesheetStore& store) { store.saveWeekStart(weekStartEdit_->date()); });
        fillDayChoice();
        // Entries keep their day index; their day texts follow the new dates.
        QStringList days;
        for (int i = 0; i < dayChoice_->count(); ++i) days << dayChoice_->itemText(i);
        entry_labels::relabel(hoursList_, 0, 3, days);
        listsChanged();
    });
}

void EntryWindow::onListTabChanged(int index) {
    unguarded([&] {
        if (!restoring_)
            writeStore(TimesheetStore::valueName(QString::fromLatin1(settings_keys::kListTab)),
                       [&](TimesheetStore& store) { store.saveListTab(index); });
        fillRateChoice();
    });
}

void EntryWindow::fillDayChoice() {
    dayChoice_->clear();
    const QDate start = weekStartEdit_->date();
    const QLocale locale;
    for (int i = 0; i <= 6; ++i)
        dayChoice_->addItem(week_start_date::dayChoiceText(start.addDays(i), locale));
    dayChoice_->setCurrentIndex(-1);
    dayChoice_->clearEditText();
}

void EntryWindow::fillRateChoice() {
    rateChoice_->clear();
    for (int i = 0; i < rateList_->topLevelItemCount(); ++i)
        rateChoice_->addItem(rateList_->topLevelItem(i)->text(0));
    rateChoice_->setCurrentIndex(-1);
    rateChoice_->clearEditText();
}

TimesheetRecord EntryWindow::record() const {
    TimesheetRecord r;
    r.company = companyEdit_->text();
    r.address = addressEdit_->text();
    r.city = cityEdit_->text();
    r.phone = phoneEdit_->text();
    r.employee = employeeEdit_->text();
    r.supervisor = supervisorEdit_->text();
    r.weekStart = weekStartEdit_->date();
    for (const QStringList& row : list_rows::read(rateList_))
        r.rates.push_back({row.value(0), row.value(1)});
    for (const QStringList& row : list_rows::read(hoursList_))
        r.hours.push_back({row.value(0), row.value(1), row.value(2), row.value(3), row.value(4)});
    return r;
}

void EntryWindow::setGenerationRunner(std::function<void()> runner) {
    generationRunner_ = std::move(runner);
}

void EntryWindow::setBusyCursor(bool busy) {
    setPointer(busy ? WindowPointer::Hourglass : WindowPointer::Arrow);
}

void EntryWindow::setPointer(WindowPointer pointer) {
    pointer_ = pointer;
    switch (pointer) {
        case WindowPointer::Arrow:
            setCursor(Qt::ArrowCursor);
            break;
        case WindowPointer::Hand:
            // Without the cursor file the custom pointer is the ordinary arrow.
            setCursor(customPointer_ ? *customPointer_ : QCursor(Qt::ArrowCursor));
            break;
        case WindowPointer::Hourglass:
            setCursor(Qt::WaitCursor);
            break;
    }
}

void EntryWindow::watchHover() {
    const QList<QWidget*> watched = {this,
                                     generalBox_,
                                     ratesPage_,
                                     hoursPage_,
                                     companyEdit_,
                                     addressEdit_,
                                     cityEdit_,
                                     phoneEdit_,
                                     employeeEdit_,
                                     supervisorEdit_,
                                     weekStartEdit_,
                                     rateList_,
                                     hoursList_,
                                     helpButton_,
                                     editRateButton_,
                                     addHoursButton_,
                                     deleteHoursButton_,
                                     startButton_,
                                     sampleButton_,
                                     rateList_->viewport(),
                                     hoursList_->viewport(),
                                     rateList_->header()->viewport(),
                                     hoursList_->header()->viewport()};
    for (QWidget* w : watched) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
    for (QLineEdit* inner : weekStartEdit_->findChildren<QLineEdit*>()) {
        inner->setMouseTracking(true);
        inner->installEventFilter(this);
    }
}

std::optional<HoverZone> EntryWindow::zoneOf(QObject* watched, QEvent* event) const {
    for (QPushButton* b : {helpButton_, editRateButton_, addHoursButton_, deleteHoursButton_,
                           startButton_, sampleButton_})
        if (watched == b) return HoverZone::Button;
    // Containers reset only over their own background, not over a child
    // whose movement reached them by propagation.
    const QWidget* const containers[] = {this, generalBox_, ratesPage_, hoursPage_};
    for (const QWidget* container : containers) {
        if (watched != container) continue;
        const auto* move = static_cast<QMouseEvent*>(event);
        if (container->childAt(move->position().toPoint())) return std::nullopt;
        return HoverZone::Resetting;
    }
    const auto* widget = qobject_cast<const QWidget*>(watched);
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (w == companyEdit_ || w == addressEdit_ || w == cityEdit_ || w == phoneEdit_ ||
            w == employeeEdit_ || w == supervisorEdit_ || w == weekStartEdit_ || w == rateList_ ||
            w == hoursList_)
            return HoverZone::Resetting;
        if (w == this) break;
    }
    return std::nullopt;
}

bool EntryWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        if (const auto zone = zoneOf(watched, event)) {
            const WindowPointer next = pointerAfterHover(pointer_, *zone);
            if (next != pointer_) setPointer(next);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void EntryWindow::showEvent(QShowEvent* event) {
    if (!centred_) {
        centred_ = true;
        if (const QScreen* s = screen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(s->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    QWidget::showEvent(event);
}

}  // namespace tallowby
