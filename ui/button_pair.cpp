#include "ui/button_pair.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace tallowby {

QHBoxLayout* buttonPair(QPushButton* left, int leftTwips, QPushButton* right, int rightTwips,
                        int spacing) {
    auto* row = new QHBoxLayout;
    row->setSpacing(spacing);
    row->addWidget(left, leftTwips);
    row->addWidget(right, rightTwips);
    return row;
}

}  // namespace tallowby
