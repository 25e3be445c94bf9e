#pragma once

class QHBoxLayout;
class QPushButton;

namespace tallowby {

// Two buttons side by side, `spacing` pixels apart, sharing the width in the
// proportion of their designed widths (twips): the windows' button rows.
QHBoxLayout* buttonPair(QPushButton* left, int leftTwips, QPushButton* right, int rightTwips,
                        int spacing);

}  // namespace tallowby
