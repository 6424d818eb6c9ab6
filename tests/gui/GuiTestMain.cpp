// The Qt view's tests run the real widgets on Qt's offscreen platform: no display needed.
#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("TZ", "Europe/Berlin", 1);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tallyman"));
    return RUN_ALL_TESTS();
}
