#include "entry/form1.h"

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
#include "app/week_start_date.h"
#include "entry/list_fit.h"
#include "entry/entry_labels.h"
#include "entry/list_rows.h"
#include "entry/picker_fields.h"
#include "entry/select_all_line_edit.h"
#include "entry/twips.h"
#include "workbook/automation/is_installed.h"

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

QPushButton* addButton(QWidget* parent, const QString& caption, const QRect& geometry) {
    auto* button = new QPushButton(caption, parent);
    button->setFont(captionFont());
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    return button;
}

QTreeWidget* addList(QWidget* parent, const QStringList& headers, const QList<int>& widthsTwips,
                     const QRect& geometry) {
    auto* list = new QTreeWidget(parent);
    list->setGeometry(geometry);
    list->setColumnCount(static_cast<int>(headers.size()));
    list->setHeaderLabels(headers);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->header()->setStretchLastSection(false);
    list->header()->setSectionsMovable(false);
    for (int i = 0; i < widthsTwips.size(); ++i) {
        if (widthsTwips[i] == 0)
            list->setColumnHidden(i, true);  // kept in the rows and the stored text
        else
            list->setColumnWidth(i, twipsToPixels(widthsTwips[i]));
    }
    return list;
}

}  // namespace

Form1::Form1(Form1Options options, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      options_(std::move(options)) {
    if (!options_.store) throw std::invalid_argument("Form1 needs a settings store");
    if (!options_.presenceCheck) options_.presenceCheck = &IsInstalled::CheckExcelInstalled;
    if (!options_.endProgram) options_.endProgram = [] { QCoreApplication::exit(0); };
    if (!options_.today) options_.today = [] { return QDate::currentDate(); };
    buildWindow();
    setTabOrder();
    connectHandlers();
    watchHover();
    Form_Load();
}

Form1::~Form1() = default;

void Form1::buildWindow() {
    setObjectName(QStringLiteral("Form1"));
    setFont(windowFont());
    setFixedSize(twipsToPixels(9360), twipsToPixels(9870));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);

    PushButton6 =
        addButton(this, QStringLiteral("Start Creating Template"), twipsRect(120, 120, 9120, 405));
    PushButton1 = addButton(this, QStringLiteral("Help"), twipsRect(120, 630, 4560, 405));
    PushButton7 = addButton(this, QStringLiteral("Load Sample/Example Data"),
                            twipsRect(4800, 630, 4440, 405));
    buildGeneralFrame();

    TabControl1 = new QTabWidget(this);
    TabControl1->setGeometry(twipsRect(120, 4665, 9120, 5055));
    TabControl1->tabBar()->setFont(captionFont());
    buildRatesPage();
    buildHoursPage();
    TabControl1->addTab(Frame2, QStringLiteral("Hour Rates"));
    TabControl1->addTab(Frame5, QStringLiteral("Employee Hours"));
}

void Form1::buildGeneralFrame() {
    Frame1 = new QGroupBox(QStringLiteral("General Information"), this);
    Frame1->setGeometry(twipsRect(120, 1110, 9120, 3495));
    struct Field {
        const char* caption;
        int top;
        SelectAllLineEdit** edit;
    };
    const Field fields[] = {
        {"Company Name:", 300, &txtName},        {"Address:", 750, &txtLocation},
        {"City, ST  ZIP Code:", 1200, &txtCity}, {"Phone:", 1650, &txtPhone},
        {"Employee Name:", 2100, &txtEmp},       {"Supervisor Name:", 2550, &txtSVisor}};
    for (const Field& f : fields) {
        addLabel(Frame1, QString::fromLatin1(f.caption), 240, f.top + 45, 1740, 225);
        *f.edit = new SelectAllLineEdit(Frame1);
        (*f.edit)->setGeometry(twipsRect(2160, f.top, 6675, 345));
    }
    addLabel(Frame1, QStringLiteral(" Week Start:"), 200, 3045, 1050, 225);
    dtpDate = new DatePicker(Frame1);
    dtpDate->setGeometry(twipsRect(2160, 3000, 6675, 345));
    dtpDate->setDisplayFormat(QStringLiteral("dd-MMM-yyyy"));
    dtpDate->setCalendarPopup(true);
    dtpDate->setDate(options_.today());

    txtName->setObjectName(QStringLiteral("txtName"));
    txtLocation->setObjectName(QStringLiteral("txtLocation"));
    txtCity->setObjectName(QStringLiteral("txtCity"));
    txtPhone->setObjectName(QStringLiteral("txtPhone"));
    txtEmp->setObjectName(QStringLiteral("txtEmp"));
    txtSVisor->setObjectName(QStringLiteral("txtSVisor"));
    dtpDate->setObjectName(QStringLiteral("dtpDate"));
}

void Form1::buildRatesPage() {
    Frame2 = new QWidget;
    Frame2->setObjectName(QStringLiteral("Frame2"));
    addLabel(Frame2, QStringLiteral("Description:"), 240, 345, 1740, 225);
    txtType = new SelectAllLineEdit(Frame2);
    txtType->setGeometry(twipsRect(2160, 300, 6555, 345));
    addLabel(Frame2, QStringLiteral("Rate:"), 240, 795, 1740, 225);
    txtRate = new SelectAllLineEdit(Frame2);
    txtRate->setGeometry(twipsRect(2160, 750, 6555, 345));
    PushButton2 =
        addButton(Frame2, QStringLiteral("Edit Selected"), twipsRect(2160, 1200, 6555, 405));
    ListView1 = addList(Frame2, {QStringLiteral("Description"), QStringLiteral("Rate")},
                        {4300, 2900}, twipsRect(255, 1680, 8460, 2850));
    list_fit::keepFitted(ListView1, Frame2, {twipsToPixels(4300), twipsToPixels(2900)});
}

void Form1::buildHoursPage() {
    Frame5 = new QWidget;
    Frame5->setObjectName(QStringLiteral("Frame5"));
    addLabel(Frame5, QStringLiteral("Day:"), 1515, 345, 360, 225);
    Combo1 = new QComboBox(Frame5);
    Combo1->setGeometry(twipsRect(2040, 300, 6645, 345));
    addLabel(Frame5, QStringLiteral("Type:"), 1425, 795, 450, 225);
    Combo2 = new QComboBox(Frame5);
    Combo2->setGeometry(twipsRect(2040, 750, 6645, 345));
    for (QComboBox* combo : {Combo1, Combo2}) {
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setCompleter(nullptr);
    }
    addLabel(Frame5, QStringLiteral("Event Time"), 945, 1245, 930, 225);
    dtpTime = new TimePicker(Frame5);
    dtpTime->setGeometry(twipsRect(2040, 1200, 1575, 345));
    dtpTime->setDisplayFormat(QStringLiteral("HH:mm"));
    dtpTime->setTime(QTime(0, 0));
    PushButton3 = addButton(Frame5, QStringLiteral("Add"), twipsRect(2070, 1650, 3240, 405));
    PushButton4 =
        addButton(Frame5, QStringLiteral("Delete Selected"), twipsRect(5450, 1650, 3240, 405));
    ListView2 = addList(Frame5,
                        {QStringLiteral("Day"), QStringLiteral("Rate Type"),
                         QStringLiteral("Hours"), QStringLiteral("DN"), QStringLiteral("RN")},
                        {4200, 2800, 1440, 0, 0}, twipsRect(135, 2235, 8580, 2370));
    list_fit::keepFitted(ListView2, Frame5,
                         {twipsToPixels(4200), twipsToPixels(2800), twipsToPixels(1440), 0, 0});
}

void Form1::setTabOrder() {
    tabOrder_ = {txtName,     txtLocation, txtCity,     txtPhone,    txtEmp,    txtSVisor,
                 dtpDate,     txtType,     txtRate,     PushButton2, ListView1, Combo1,
                 Combo2,      dtpTime,     PushButton3, PushButton4, ListView2, PushButton6,
                 TabControl1, PushButton1, PushButton7};
    for (qsizetype i = 0; i + 1 < tabOrder_.size(); ++i)
        QWidget::setTabOrder(tabOrder_[i], tabOrder_[i + 1]);
}

// Qt's focus chain splits editable choices from their edit parts, so Tab and
// Shift+Tab walk the window's own order, skipping what is hidden or disabled.
bool Form1::focusNextPrevChild(bool next) {
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

void Form1::connectHandlers() {
    const std::pair<SelectAllLineEdit*, const char*> saved[] = {
        {txtName, "txtName"},   {txtLocation, "txtLocation"}, {txtCity, "txtCity"},
        {txtPhone, "txtPhone"}, {txtEmp, "txtEmp"},           {txtSVisor, "txtSVisor"}};
    for (const auto& [edit, key] : saved) {
        const QString name = QString::fromLatin1(key);
        connect(edit, &QLineEdit::textChanged, this,
                [this, name](const QString& text) { saveField(name, text); });
    }
    connect(dtpDate, &QDateEdit::dateChanged, this, [this] { dtpDate_Change(); });
    connect(TabControl1, &QTabWidget::currentChanged, this,
            [this](int index) { TabControl1_SelectedChanged(index); });
    connect(ListView1, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { ListView1_ItemClick(item); });
    connect(PushButton1, &QPushButton::clicked, this, [this] { PushButton1_Click(); });
    connect(PushButton2, &QPushButton::clicked, this, [this] { PushButton2_Click(); });
    connect(PushButton3, &QPushButton::clicked, this, [this] { PushButton3_Click(); });
    connect(PushButton4, &QPushButton::clicked, this, [this] { PushButton4_Click(); });
    connect(PushButton6, &QPushButton::clicked, this, [this] { PushButton6_Click(); });
    connect(PushButton7, &QPushButton::clicked, this, [this] { PushButton7_Click(); });
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

void Form1::saveField(const QString& key, const QString& text) {
    unguarded([&] { options_.store->SaveSetting(key, text); });
}

void Form1::dtpDate_Change() {
    unguarded([&] {
        if (!keepStoredDate_)
            options_.store->SaveSetting(QStringLiteral("dtpDate"),
                                        week_start_date::toStoredText(dtpDate->date()));
        FillDayList();
        // Entries keep their day index; their day texts follow the new dates.
        QStringList days;
        for (int i = 0; i < Combo1->count(); ++i) days << Combo1->itemText(i);
        entry_labels::relabel(ListView2, 0, 3, days);
    });
}

void Form1::TabControl1_SelectedChanged(int index) {
    unguarded([&] {
        options_.store->SaveSetting(QStringLiteral("TabSel"), QString::number(index));
        FillTypeList();
    });
}

void Form1::FillDayList() {
    Combo1->clear();
    const QDate start = dtpDate->date();
    const QLocale locale;
    for (int i = 0; i <= 6; ++i)
        Combo1->addItem(week_start_date::dayChoiceText(start.addDays(i), locale));
    Combo1->setCurrentIndex(-1);
    Combo1->clearEditText();
}

void Form1::FillTypeList() {
    Combo2->clear();
    for (int i = 0; i < ListView1->topLevelItemCount(); ++i)
        Combo2->addItem(ListView1->topLevelItem(i)->text(0));
    Combo2->setCurrentIndex(-1);
    Combo2->clearEditText();
}

TimesheetRecord Form1::record() const {
    TimesheetRecord r;
    r.company = txtName->text();
    r.address = txtLocation->text();
    r.city = txtCity->text();
    r.phone = txtPhone->text();
    r.employee = txtEmp->text();
    r.supervisor = txtSVisor->text();
    r.weekStart = dtpDate->date();
    for (const QStringList& row : list_rows::read(ListView1))
        r.rates.push_back({row.value(0), row.value(1)});
    for (const QStringList& row : list_rows::read(ListView2))
        r.hours.push_back({row.value(0), row.value(1), row.value(2), row.value(3), row.value(4)});
    return r;
}

void Form1::setGenerationRunner(std::function<void()> runner) {
    generationRunner_ = std::move(runner);
}

void Form1::setBusyCursor(bool busy) {
    setPointer(busy ? WindowPointer::Hourglass : WindowPointer::Arrow);
}

void Form1::setPointer(WindowPointer pointer) {
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

void Form1::watchHover() {
    const QList<QWidget*> watched = {this,
                                     Frame1,
                                     Frame2,
                                     Frame5,
                                     txtName,
                                     txtLocation,
                                     txtCity,
                                     txtPhone,
                                     txtEmp,
                                     txtSVisor,
                                     dtpDate,
                                     ListView1,
                                     ListView2,
                                     PushButton1,
                                     PushButton2,
                                     PushButton3,
                                     PushButton4,
                                     PushButton6,
                                     PushButton7,
                                     ListView1->viewport(),
                                     ListView2->viewport(),
                                     ListView1->header()->viewport(),
                                     ListView2->header()->viewport()};
    for (QWidget* w : watched) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
    for (QLineEdit* inner : dtpDate->findChildren<QLineEdit*>()) {
        inner->setMouseTracking(true);
        inner->installEventFilter(this);
    }
}

std::optional<HoverZone> Form1::zoneOf(QObject* watched, QEvent* event) const {
    for (QPushButton* b :
         {PushButton1, PushButton2, PushButton3, PushButton4, PushButton6, PushButton7})
        if (watched == b) return HoverZone::Button;
    // Containers reset only over their own background, not over a child
    // whose movement reached them by propagation.
    const QWidget* const containers[] = {this, Frame1, Frame2, Frame5};
    for (const QWidget* container : containers) {
        if (watched != container) continue;
        const auto* move = static_cast<QMouseEvent*>(event);
        if (container->childAt(move->position().toPoint())) return std::nullopt;
        return HoverZone::Resetting;
    }
    const auto* widget = qobject_cast<const QWidget*>(watched);
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (w == txtName || w == txtLocation || w == txtCity || w == txtPhone || w == txtEmp ||
            w == txtSVisor || w == dtpDate || w == ListView1 || w == ListView2)
            return HoverZone::Resetting;
        if (w == this) break;
    }
    return std::nullopt;
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        if (const auto zone = zoneOf(watched, event)) {
            const WindowPointer next = pointerAfterHover(pointer_, *zone);
            if (next != pointer_) setPointer(next);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::showEvent(QShowEvent* event) {
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
