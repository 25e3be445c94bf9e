#include "entry/list_fit.h"

#include <QEvent>
#include <QHeaderView>
#include <QTreeWidget>
#include <algorithm>
#include <numeric>

namespace tallowby::list_fit {

QList<int> fitColumns(const QList<int>& contentWidths, const QList<int>& preferredWidths,
                      int available) {
    QList<int> widths(contentWidths.size(), 0);
    int used = 0;
    int preferredTotal = 0;
    for (qsizetype i = 0; i < contentWidths.size(); ++i) {
        const int preferred = i < preferredWidths.size() ? preferredWidths[i] : 0;
        if (preferred <= 0) continue;
        widths[i] = std::max(0, contentWidths[i]);
        used += widths[i];
        preferredTotal += preferred;
    }
    const int spare = available - used;
    if (spare <= 0 || preferredTotal == 0) return widths;
    // Shares are floored, so the columns never add up to more than `available`.
    for (qsizetype i = 0; i < widths.size(); ++i) {
        const int preferred = i < preferredWidths.size() ? preferredWidths[i] : 0;
        if (preferred > 0)
            widths[i] +=
                static_cast<int>(static_cast<long long>(spare) * preferred / preferredTotal);
    }
    return widths;
}

namespace {

class ListFitter : public QObject {
  public:
    ListFitter(QTreeWidget* list, QList<int> preferred)
        : QObject(list), list_(list), preferred_(std::move(preferred)) {
        list_->viewport()->installEventFilter(this);
        QAbstractItemModel* model = list_->model();
        connect(model, &QAbstractItemModel::rowsInserted, this, [this] { fitWidths(); });
        connect(model, &QAbstractItemModel::rowsRemoved, this, [this] { fitWidths(); });
        connect(model, &QAbstractItemModel::dataChanged, this, [this] { fitWidths(); });
        // Not on a model reset: the list's destruction resets its model when
        // the list is already half gone. Clearing is followed by insertions.
        fitWidths();
    }

    void hold() { ++holds_; }
    void release() {
        if (holds_ > 0 && --holds_ == 0) fitWidths();
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Show) fitWidths();
        return QObject::eventFilter(watched, event);
    }

  private:
    void fitWidths() {
        if (holds_ > 0) return;
        QHeaderView* header = list_->header();
        // The tree view keeps its override protected; the base's is public.
        const QAbstractItemView* view = list_;
        QList<int> content;
        for (int c = 0; c < list_->columnCount(); ++c)
            content << (list_->isColumnHidden(c)
                            ? 0
                            : std::max(header->sectionSizeHint(c), view->sizeHintForColumn(c)));
        const QList<int> widths = fitColumns(content, preferred_, list_->viewport()->width());
        for (int c = 0; c < widths.size(); ++c)
            if (!list_->isColumnHidden(c) && widths[c] != list_->columnWidth(c))
                list_->setColumnWidth(c, widths[c]);
    }

    QTreeWidget* list_;
    QList<int> preferred_;
    int holds_ = 0;
};

ListFitter* fitterOf(QTreeWidget* list) {
    if (!list) return nullptr;
    for (QObject* child : list->children())
        if (auto* fitter = dynamic_cast<ListFitter*>(child)) return fitter;
    return nullptr;
}

}  // namespace

void keepFitted(QTreeWidget* list, QList<int> preferredWidths) {
    new ListFitter(list, std::move(preferredWidths));
}

HeldFitting::HeldFitting(QTreeWidget* list) : list_(list) {
    if (ListFitter* fitter = fitterOf(list_)) fitter->hold();
}

HeldFitting::~HeldFitting() {
    if (ListFitter* fitter = fitterOf(list_)) fitter->release();
}

}  // namespace tallowby::list_fit
