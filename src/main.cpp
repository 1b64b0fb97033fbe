// The entry routine: one running copy, the splash window, the settings, the
// password gate, then the main window, which opens the archive when it is
// first activated and ends the application when it is unloaded.

#include "app/AppInfo.h"
#include "app/AppSettings.h"
#include "app/QtTranslations.h"
#include "app/SingleInstance.h"
#include "app/frmPassword.h"
#include "app/frmSplash.h"
#include "browser/frmMain.h"
#include "component/widgets/DialogService.h"

#include <QApplication>
#include <QLocale>

#include <cstdio>
#include <cstring>

namespace {

// --help and --version answer on the terminal, before any window (and
// without a display); every other argument is left to Qt.
bool AnsweredOnTheTerminal(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("%s %s\n", qPrintable(AppInfo::ProductName()), qPrintable(AppInfo::VersionText()));
            return true;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::printf("uso: mensora\n"
                        "Cassa e archivio per ristoranti. Si avvia senza argomenti: l'archivio e le\n"
                        "impostazioni si scelgono nella finestra \"Impostazioni\" al primo avvio.\n"
                        "  --help     mostra questo testo\n"
                        "  --version  mostra la versione\n");
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (AnsweredOnTheTerminal(argc, argv))
        return 0;
    QApplication app(argc, argv);
    QApplication::setApplicationName(AppInfo::ProductName());
    QApplication::setApplicationVersion(AppInfo::VersionText());
    // The installed menu entry, whose icon the desktop shows for the windows.
    QGuiApplication::setDesktopFileName(QStringLiteral("mensora"));
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    InstallQtTranslations(app);
    // The main window hides to the notification area and message windows
    // come and go: only the main window's unloading ends the run.
    QApplication::setQuitOnLastWindowClosed(false);

    SingleInstance instance;
    if (instance.IsAnotherRunning()) {
        instance.NotifyFirstInstance();
        Dialogs().MessageBox(SingleInstance::AlreadyRunningMessage(), MsgButtons::Ok, MsgIcon::Information,
                             MsgDefault::Button1, AppInfo::ProductName());
        return 0;
    }

    auto splash = std::make_unique<frmSplash>();
    splash->ShowNow();
    LoadSettings();
    if (!frmPassword::CheckAccess(splash.get(), false, false))
        return 0;

    frmMain mainWindow;
    splash.reset();
    QObject::connect(&instance, &SingleInstance::ActivationRequested, &mainWindow, [&mainWindow] {
        if (mainWindow.isMinimized())
            mainWindow.showNormal();
        else
            mainWindow.show();
        mainWindow.raise();
        mainWindow.activateWindow();
    });
    QObject::connect(&mainWindow, &frmMain::Unloaded, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    QObject::connect(&mainWindow, &frmMain::EndProcessRequested, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    mainWindow.show();
    return app.exec();
}
