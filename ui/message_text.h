#pragma once

#include <QString>

// How a message box shows its text: plain, unless the text holds a web
// address, which then becomes a link the user can click, kept on one line.
namespace tallowby::message_text {

// The rich text for `text` when it holds an http or https address; an empty
// text when the message is shown as plain text.
QString linkedText(const QString& text);

}  // namespace tallowby::message_text
