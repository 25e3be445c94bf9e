#include "entry/entry_window.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QCoreApplication>
#include <QDateEdit>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QTimeEdit>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <exception>
#include <utility>

#include "app/guarded.h"
#include "app/settings_store.h"
#include "app/window_placement.h"
#include "entry/duration_edit.h"
#include "entry/entry_menu.h"
#include "entry/list_fit.h"
#include "entry/list_rows.h"
#include "entry/picker_fields.h"
#include "entry/presence_check.h"
#include "entry/select_all_line_edit.h"
#include "entry/week_grid.h"
#include "timesheet/settings_keys.h"
#include "timesheet/week_start_date.h"
#include "ui/button_pair.h"
#include "ui/twips.h"
#include "ui/window_geometry.h"
#include "workbook/automation/typed_number_text.h"

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

// Spaces of the designed layout, in pixels (from its twips): margins at the
// window's edges, gaps between rows of controls, the height of a button and a field.
constexpr int kEdge = 8;           // 120
constexpr int kBottomEdge = 10;    // 150 under the tabs
constexpr int kButtonRowGap = 7;   // 105 between the two button rows
constexpr int kFieldGap = 7;       // 105 between two fields
constexpr int kLabelGap = 12;      // 180 between a caption and its field
constexpr int kButtonHeight = 27;  // 405
constexpr int kFieldHeight = 23;   // 345

QLabel* makeLabel(const QString& caption) {
    auto* label = new QLabel(caption);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

template <class Field>
Field* makeField() {
    auto* field = new Field;
    field->setMinimumHeight(kFieldHeight);
    return field;
}

// A caption in the left column of a form grid and its field beside it.
template <class Field>
Field* addField(QGridLayout* grid, int row, const QString& caption) {
    auto* field = makeField<Field>();
    grid->addWidget(makeLabel(caption), row, 0);
    grid->addWidget(field, row, 1);
    return field;
}

// Captions of the form grids stay as wide as they are (at least 1740 twips);
// the fields take the rest.
QGridLayout* makeFormGrid(QWidget* owner, const QMargins& margins) {
    auto* grid = new QGridLayout(owner);
    grid->setContentsMargins(margins);
    grid->setColumnMinimumWidth(0, twipsToPixels(1740));
    grid->setHorizontalSpacing(kLabelGap);
    grid->setVerticalSpacing(kFieldGap);
    grid->setColumnStretch(1, 1);
    return grid;
}

// Captions carry mnemonics that leave the letters of the menu bar's own
// (File, Edit, Help) free.
QPushButton* makeButton(const QString& caption) {
    auto* button = new QPushButton(caption);
    button->setFont(captionFont());
    button->setMinimumHeight(kButtonHeight);
    button->setAutoDefault(false);
    return button;
}

// A list on its page, its columns kept fitted to the list at the given
// widths (0 hides a column).
QTreeWidget* makeList(QWidget* page, const QStringList& headers, const QList<int>& widthsTwips) {
    auto* list = new QTreeWidget(page);
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
    list_fit::keepFitted(list, widths);
    return list;
}

}  // namespace

EntryWindow::EntryWindow(EntryWindowOptions options, QWidget* parent)
    : QWidget(parent, Qt::Window), options_(std::move(options)) {
    if (!options_.store) throw std::invalid_argument("Form1 needs a settings store");
    // The store tells the user once, at its first use, when its file cannot be used.
    options_.store->setProblemNotice([](const QString& text) { desktop::warnUser(text); });
    if (!options_.presenceCheck) options_.presenceCheck = &presence_check::checkEngineInstalled;
    if (!options_.endProgram) options_.endProgram = [] { QCoreApplication::exit(0); };
    if (!options_.today) options_.today = [] { return QDate::currentDate(); };
    for (RememberedFolder* folder : {&openFolder_, &saveFolder_, &importFolder_})
        folder->setStore(options_.store);
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
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);

    // Everything lies on one page inside a scroll area, so a window made
    // smaller than the page (a small or scaled screen) scrolls instead of
    // cutting controls off.
    body_ = new QWidget;
    body_->setObjectName(QStringLiteral("body"));
    body_->setAutoFillBackground(true);
    auto* column = new QVBoxLayout(body_);
    column->setContentsMargins(kEdge, kEdge, kEdge, kBottomEdge);
    column->setSpacing(0);

    startButton_ = makeButton(QStringLiteral("Start &Creating Template"));
    helpButton_ = makeButton(QStringLiteral("Hel&p"));
    sampleButton_ = makeButton(QStringLiteral("Load Sa&mple/Example Data"));
    column->addWidget(startButton_);
    column->addSpacing(kButtonRowGap);
    column->addLayout(buttonPair(helpButton_, 4560, sampleButton_, 4440, kEdge));
    column->addSpacing(5);  // 75

    buildGeneralFrame();
    column->addWidget(generalBox_);
    column->addSpacing(4);  // 60

    listTabs_ = new QTabWidget;
    listTabs_->tabBar()->setFont(captionFont());
    buildRatesPage();
    buildHoursPage();
    buildWeekPage();
    listTabs_->addTab(ratesPage_, QStringLiteral("Hour Rates"));
    listTabs_->addTab(hoursPage_, QStringLiteral("Employee Hours"));
    listTabs_->addTab(weekPage_, QStringLiteral("Week"));
    column->addWidget(listTabs_, 1);  // the lists take the room the window gains

    scroller_ = new QScrollArea;
    scroller_->setFrameShape(QFrame::NoFrame);
    scroller_->setWidgetResizable(true);
    scroller_->setWidget(body_);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroller_);
    menu_ = new EntryMenu(*this, lists_.undoStack());
    addTimesheetFileActions();
    addImportHoursAction();

    // The designed size; the window may be made smaller down to what the
    // page needs, and larger without bound.
    const QSize menuBar(0, menu_->menuBar()->sizeHint().height());
    setMinimumSize((body_->minimumSizeHint() + menuBar).boundedTo(designedSize()));
    resize(designedSize());
}

QSize EntryWindow::designedSize() {
    return {twipsToPixels(9360), twipsToPixels(9870)};
}

void EntryWindow::buildGeneralFrame() {
    generalBox_ = new QGroupBox(QStringLiteral("General Information"));
    generalBox_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    // Captions from 240, fields from 2160 to 285 short of the frame's right side.
    QGridLayout* grid = makeFormGrid(generalBox_, QMargins(13, 0, 16, 7));
    struct Field {
        const char* caption;
        SelectAllLineEdit** edit;
    };
    const Field fields[] = {
        {"Company Name:", &companyEdit_},    {"Address:", &addressEdit_},
        {"City, ST  ZIP Code:", &cityEdit_}, {"Phone:", &phoneEdit_},
        {"Employee Name:", &employeeEdit_},  {"Supervisor Name:", &supervisorEdit_}};
    int row = 0;
    for (const Field& f : fields)
        *f.edit = addField<SelectAllLineEdit>(grid, row++, QString::fromLatin1(f.caption));
    weekStartEdit_ = addField<DatePicker>(grid, row, QStringLiteral(" Week Start:"));
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
    QGridLayout* grid = makeFormGrid(ratesPage_, QMargins(16, 20, 23, 8));
    rateNameEdit_ = addField<SelectAllLineEdit>(grid, 0, QStringLiteral("Description:"));
    rateAmountEdit_ = addField<SelectAllLineEdit>(grid, 1, QStringLiteral("Rate:"));
    editRateButton_ = makeButton(QStringLiteral("Edi&t Selected"));
    addRateButton_ = makeButton(QStringLiteral("Add &Rate"));
    removeRateButton_ = makeButton(QStringLiteral("Remo&ve Rate"));
    auto* rateButtons = new QHBoxLayout;
    rateButtons->setSpacing(kEdge);
    for (QPushButton* b : {editRateButton_, addRateButton_, removeRateButton_})
        rateButtons->addWidget(b, 1);
    grid->addLayout(rateButtons, 2, 1);
    rateList_ =
        makeList(ratesPage_, {QStringLiteral("Description"), QStringLiteral("Rate")}, {4300, 2900});
    grid->addWidget(rateList_, 3, 0, 1, 2);
    grid->setRowStretch(3, 1);
}

void EntryWindow::buildHoursPage() {
    hoursPage_ = new QWidget;
    hoursPage_->setObjectName(QStringLiteral("Frame5"));
    QGridLayout* grid = makeFormGrid(hoursPage_, QMargins(9, 20, 23, 8));
    grid->setColumnMinimumWidth(0, 115);  // fields from 2040
    dayChoice_ = addField<QComboBox>(grid, 0, QStringLiteral("Day:"));
    rateChoice_ = addField<QComboBox>(grid, 1, QStringLiteral("Type:"));
    for (QComboBox* combo : {dayChoice_, rateChoice_}) {
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        // "Wed" completes to the Wednesday of the week, "Over" to "Overtime".
        auto* completer = new QCompleter(combo->model(), combo);
        completer->setCaseSensitivity(Qt::CaseInsensitive);
        completer->setCompletionMode(QCompleter::InlineCompletion);
        combo->setCompleter(completer);
    }
    hoursEdit_ = makeField<DurationEdit>();
    hoursEdit_->setMinimumWidth(twipsToPixels(1575));
    hoursEdit_->setMaximumWidth(twipsToPixels(1575));
    grid->addWidget(makeLabel(QStringLiteral("Event Time")), 2, 0);
    grid->addWidget(hoursEdit_, 2, 1, Qt::AlignLeft);
    addHoursButton_ = makeButton(QStringLiteral("A&dd"));
    updateHoursButton_ = makeButton(QStringLiteral("&Update Selected"));
    deleteHoursButton_ = makeButton(QStringLiteral("De&lete Selected"));
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(kEdge);
    for (QPushButton* b : {addHoursButton_, updateHoursButton_, deleteHoursButton_})
        buttons->addWidget(b, 1);
    buttons->setContentsMargins(0, 0, 0, 5);  // the list starts at 2235
    grid->addLayout(buttons, 3, 1);
    hoursList_ = makeList(hoursPage_,
                          {QStringLiteral("Day"), QStringLiteral("Rate Type"),
                           QStringLiteral("Hours"), QStringLiteral("DN"), QStringLiteral("RN")},
                          {4200, 2800, 1440, 0, 0});
    hoursList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid->addWidget(hoursList_, 4, 0, 1, 2);
    grid->setRowStretch(4, 1);
}

void EntryWindow::buildWeekPage() {
    weekPage_ = new QWidget;
    weekPage_->setObjectName(QStringLiteral("WeekPage"));
    auto* column = new QVBoxLayout(weekPage_);
    column->setContentsMargins(9, 8, 9, 8);
    weekGrid_ = new WeekGrid(lists_, automation::TypedNumberReader(QLocale()), weekPage_);
    column->addWidget(weekGrid_, 1);
    newWeekButton_ = makeButton(QStringLiteral("&New Week"));
    auto* row = new QHBoxLayout;
    row->addWidget(newWeekButton_);
    row->addStretch(1);
    column->addLayout(row);
}

void EntryWindow::setTabOrder() {
    tabOrder_ = {companyEdit_,    addressEdit_,       cityEdit_,          phoneEdit_,
                 employeeEdit_,   supervisorEdit_,    weekStartEdit_,     rateNameEdit_,
                 rateAmountEdit_, editRateButton_,    addRateButton_,     removeRateButton_,
                 rateList_,       dayChoice_,         rateChoice_,        hoursEdit_,
                 addHoursButton_, updateHoursButton_, deleteHoursButton_, hoursList_,
                 weekGrid_,       newWeekButton_,     startButton_,       listTabs_,
                 helpButton_,     sampleButton_};
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
    const std::pair<SelectAllLineEdit*, QString TimesheetRecord::*> kept[] = {
        {companyEdit_, &TimesheetRecord::company},
        {addressEdit_, &TimesheetRecord::address},
        {cityEdit_, &TimesheetRecord::city},
        {phoneEdit_, &TimesheetRecord::phone},
        {employeeEdit_, &TimesheetRecord::employee},
        {supervisorEdit_, &TimesheetRecord::supervisor}};
    for (const auto& entry : kept) {
        // A named copy: clang 14 cannot capture a structured binding.
        QString TimesheetRecord::*field = entry.second;
        connect(entry.first, &QLineEdit::textChanged, this,
                [this, field](const QString& text) { lists_.setGeneralField(field, text); });
    }
    connect(&lists_, &TimesheetLists::changed, this,
            [this](TimesheetLists::Parts parts) { onListsChanged(parts); });
    connect(rateList_, &QTreeWidget::currentItemChanged, this, [this] { showCurrentRate(); });
    connect(hoursList_, &QTreeWidget::itemSelectionChanged, this,
            [this] { onHoursSelectionChanged(); });
    connect(addRateButton_, &QPushButton::clicked, this, [this] { onAddRateClicked(); });
    connect(removeRateButton_, &QPushButton::clicked, this, [this] { onRemoveRateClicked(); });
    connect(updateHoursButton_, &QPushButton::clicked, this, [this] { onUpdateHoursClicked(); });
    connect(newWeekButton_, &QPushButton::clicked, this, [this] { onNewWeek(); });
    connect(menu_->newWeekAction(), &QAction::triggered, this, [this] { onNewWeek(); });
    connect(menu_->quitAction(), &QAction::triggered, this, [this] { close(); });
    connect(menu_->helpAction(), &QAction::triggered, this, [this] { onHelpClicked(); });
    hoursList_->addAction(menu_->deleteAction());
    connect(menu_->deleteAction(), &QAction::triggered, this, [this] { onDeleteHoursClicked(); });
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
    QString title = QStringLiteral("Tallowby");
    if (!timesheetFile_.isEmpty())
        title += QStringLiteral(" - ") + QFileInfo(timesheetFile_).fileName();
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
        if (listsLoaded_) lists_.setWeekStart(weekStartEdit_->date());
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
    fillRateChoiceFrom(lists_.rates());
}

void EntryWindow::fillRateChoiceFrom(const std::vector<RateEntry>& rates) {
    rateChoice_->clear();
    for (const RateEntry& rate : rates) rateChoice_->addItem(rate.description);
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
                                     body_,
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
                                     addRateButton_,
                                     removeRateButton_,
                                     updateHoursButton_,
                                     newWeekButton_,
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
    for (QPushButton* b :
         {helpButton_, editRateButton_, addRateButton_, removeRateButton_, addHoursButton_,
          updateHoursButton_, deleteHoursButton_, newWeekButton_, startButton_, sampleButton_})
        if (watched == b) return HoverZone::Button;
    // Containers reset only over their own background, not over a child
    // whose movement reached them by propagation.
    const QWidget* const containers[] = {this, body_, generalBox_, ratesPage_, hoursPage_};
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
    if (!placed_) {
        placed_ = true;
        window_geometry::place(this, options_.store->value(window_placement::kEntryWindowKey));
    }
    QWidget::showEvent(event);
}

// The window is hidden when the preview opens and when it closes: both keep
// its place for the next start.
void EntryWindow::hideEvent(QHideEvent* event) {
    unguarded([&] {
        const QString place = window_geometry::currentPlace(this);
        if (options_.store->value(window_placement::kEntryWindowKey) != place)
            options_.store->setValue(window_placement::kEntryWindowKey, place);
    });
    QWidget::hideEvent(event);
}

}  // namespace tallowby
