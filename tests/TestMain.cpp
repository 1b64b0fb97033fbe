// Entry point of every test executable: a QApplication (offscreen in CI) so
// that widget tests and QSettings work, and test-mode standard paths so that
// no test touches the user's own settings or data.
#include <QApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("MensoraTest"));
    QApplication::setApplicationName(QStringLiteral("MensoraTest"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
