// The run ends as the start-up sequence says: the options of a first run
// left with "Esci" end the process, which the main window's close box (that
// only hides it) must not stop.

#include "MainWindowFixture.h"

#include "support/UserInput.h"

#include <QPushButton>
#include <QTimer>

namespace {

TEST_F(MainWindowTest, EsciInTheFirstRunOptionsEndsTheProcess)
{
    int optionsShown = 0;
    const auto leave = [&optionsShown](QDialog& options) {
        ++optionsShown;
        options.show();
        EXPECT_TRUE(UserInput::BringToFront(options));
        auto* esci = options.findChild<QPushButton*>(QStringLiteral("cmdCancel"));
        EXPECT_NE(esci, nullptr);
        if (esci) {
            EXPECT_EQ(esci->text(), QStringLiteral("&Esci"));
            UserInput::Click(*esci);
        }
        return options.result();
    };
    dialogs.AnswerWindow(leave);
    window = std::make_unique<frmMain>();
    // As the entry routine connects it.
    QObject::connect(window.get(), &frmMain::EndProcessRequested, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    // Should the run not end, the options would come back again and again.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    guard.start(5000);
    window->show();
    EXPECT_EQ(QApplication::exec(), 0) << "the application's event loop ended";
    guard.stop();
    EXPECT_EQ(optionsShown, 1);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(QFile::exists(ArchivePath()));
}

} // namespace
