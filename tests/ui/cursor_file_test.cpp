#include "ui/cursor_file.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "app/failure.h"
#include "tests/support/qt_application.h"
#include "tests/support/test_paths.h"

namespace tallowby {
namespace {

QByteArray handCursorBytes() {
    QFile f(QString::fromUtf8(test_paths::kHandCursorFile));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << f.fileName().toStdString();
    return f.readAll();
}

QByteArray header(quint16 type, quint16 count, quint8 w, quint8 h, quint16 x, quint16 y) {
    QByteArray b;
    auto le16 = [&](quint16 v) { b.append(char(v & 0xff)).append(char(v >> 8)); };
    le16(0);
    le16(type);
    le16(count);
    b.append(char(w)).append(char(h)).append('\0').append('\0');
    le16(x);
    le16(y);
    b.append(QByteArray(8, '\0'));
    return b;
}

TEST(CursorFile, HotspotComesFromTheDirectoryEntry) {
    EXPECT_EQ(cursor_file::hotspot(handCursorBytes()), QPoint(6, 0));
    EXPECT_EQ(cursor_file::hotspot(header(2, 1, 32, 32, 31, 17)), QPoint(31, 17));
    EXPECT_EQ(cursor_file::hotspot(header(2, 1, 0, 0, 200, 255)), QPoint(200, 255));  // 0 = 256
}

TEST(CursorFile, NonCursorBytesHaveNoHotspot) {
    EXPECT_FALSE(cursor_file::hotspot(QByteArray()));
    EXPECT_FALSE(cursor_file::hotspot(header(2, 1, 32, 32, 1, 1).left(21)));
    EXPECT_FALSE(cursor_file::hotspot(header(1, 1, 32, 32, 1, 1)));   // an icon
    EXPECT_FALSE(cursor_file::hotspot(header(2, 0, 32, 32, 1, 1)));   // no images
    EXPECT_FALSE(cursor_file::hotspot(header(2, 1, 32, 32, 32, 0)));  // outside the picture
    EXPECT_FALSE(cursor_file::hotspot(QByteArray(64, '\xff')));
}

TEST(CursorFile, TheProgramsHandCursorLoadsWithItsHotspot) {
    testing::qtApplication();
    const QCursor cursor = cursor_file::load(QString::fromUtf8(test_paths::kHandCursorFile));
    EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursor.hotSpot(), QPoint(6, 0));
    EXPECT_EQ(cursor.pixmap().size(), QSize(32, 32));
}

TEST(CursorFile, BrokenOrMissingFilesFailWithADescription) {
    testing::qtApplication();
    QTemporaryDir dir;
    EXPECT_THROW(cursor_file::load(dir.filePath("missing.cur")), Failure);
    QFile broken(dir.filePath("broken.cur"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write(header(2, 1, 32, 32, 1, 1) + QByteArray(10, 'z'));
    broken.close();
    EXPECT_THROW(cursor_file::load(broken.fileName()), Failure);
}

}  // namespace
}  // namespace tallowby
