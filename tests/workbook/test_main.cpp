#include <gtest/gtest.h>

#include <QGuiApplication>

// Drawing sheets needs fonts, so the tests run inside a QGuiApplication
// (offscreen platform).
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
