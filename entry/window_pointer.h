#pragma once

namespace tallowby {

// The main window's one mouse pointer setting.
enum class WindowPointer { Arrow, Hand, Hourglass };

// What the mouse is over, as far as the pointer cares.
enum class HoverZone {
    Button,     // a push button: the hand
    Resetting,  // the window itself, a frame, a general field, the week start, a list: the arrow
    Neutral,    // labels, the other fields, the choices, the time field, the tab strip: no change
};

// The pointer after a mouse movement over `zone`. The hourglass of a long
// operation is never replaced.
constexpr WindowPointer pointerAfterHover(WindowPointer current, HoverZone zone) {
    if (current == WindowPointer::Hourglass) return current;
    switch (zone) {
        case HoverZone::Button:
            return WindowPointer::Hand;
        case HoverZone::Resetting:
            return WindowPointer::Arrow;
        case HoverZone::Neutral:
            break;
    }
    return current;
}

}  // namespace tallowby
