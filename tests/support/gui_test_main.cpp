#include <gtest/gtest.h>

#include <QGuiApplication>

// Fonts need a running QGuiApplication. Test discovery runs this program at
// build time without the test environment, so offscreen is the default here.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
