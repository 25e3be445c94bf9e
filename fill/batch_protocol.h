#pragma once

#include <QByteArray>
#include <QList>
#include <optional>

// What the batch's parent and its worker processes say to each other over
// pipes: messages of fields, each field a netstring ("5:bytes,"), so paths
// and messages may hold any byte, line breaks and NUL included.
//   parent → worker: the timesheet file, the output path without extension,
//                    the formats ("xls,pdf")
//   worker → parent: the run's exit status ("0", "1", "2"), its messages
namespace tallowby::fill::batch_protocol {

inline constexpr int kRequestFields = 3;
inline constexpr int kReplyFields = 2;

QByteArray encode(const QList<QByteArray>& fields);

// Takes one whole message of `fields` fields off the front of `buffer`, or
// nothing while it is still incomplete. Throws tallowby::Failure when the
// bytes are no such message.
std::optional<QList<QByteArray>> take(QByteArray& buffer, int fields);

}  // namespace tallowby::fill::batch_protocol
