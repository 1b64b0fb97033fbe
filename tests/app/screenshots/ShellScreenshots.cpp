// Saves pictures of the shell's windows into docs/screenshots/ of the source
// tree: splash, options, directory chooser, password (short and tall),
// message window with progress, exception window. The argument is the file
// name suffix ("@2x" for the run at 200%).

#include "app/AppSettings.h"
#include "app/ErrorReport.h"
#include "app/PasswordStore.h"
#include "app/frmMessage.h"
#include "app/frmOptions.h"
#include "app/frmPassword.h"
#include "app/frmSelectDir.h"
#include "app/frmSplash.h"
#include "component/widgets/QtDialogService.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QLocale>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTreeView>

#include "support/ScreenshotSaver.h"

#include <cstdio>

namespace {

ScreenshotSaver* g_saver = nullptr;

void Save(QWidget& window, const QString& name) { g_saver->Save(window, name); }

// Shows every modal window long enough to take its picture; message boxes
// answer Yes so that the error report goes on to its window.
class PictureDialogs : public QtDialogService
{
public:
    std::function<void(QDialog&)> onWindow;

    MsgResult MessageBox(const QString&, MsgButtons, MsgIcon, MsgDefault, const QString&) override { return MsgResult::Yes; }
    int ExecModal(QDialog& window) override
    {
        if (onWindow)
            onWindow(window);
        return QDialog::Rejected;
    }
};

} // namespace

int main(int argc, char** argv)
{
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("MensoraScreenshots"));
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    ScreenshotSaver saver(QStringLiteral(MENSORA_SOURCE_DIR "/docs/screenshots"),
                          argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString());
    g_saver = &saver;

    PictureDialogs dialogs;
    ScopedDialogService useDialogs(dialogs);
    // The chooser's tree shows the folders around the working directory:
    // a restaurant's own, made afresh inside the build tree.
    // (One folder per run: the two runs may go at the same time.)
    QDir restaurant(QStringLiteral(MENSORA_SCREENSHOT_WORK "/") + (g_saver->Suffix().isEmpty() ? QStringLiteral("1x") : g_saver->Suffix())
                    + QStringLiteral("/Ristorante"));
    restaurant.removeRecursively();
    for (const char* folder : {"Archivio 2022", "Archivio 2023", "Archivio 2024", "Contabilita'", "Copie di sicurezza",
                               "Fornitori", "Menu stagionali", "Mensora/Esportazioni", "Mensora/Layout scontrini",
                               "Mensora/Stampe", "Personale", "Prenotazioni"})
        restaurant.mkpath(QString::fromUtf8(folder));
    const QString workDir = restaurant.filePath(QStringLiteral("Mensora"));

    {
        frmSplash splash;
        Save(splash, QStringLiteral("splash"));
    }
    {
        Settings().RootDir = QStringLiteral("/home/cassa/Mensora");
        Settings().RestaurantName = QStringLiteral("Trattoria da Mario");
        Settings().PrintTop = QStringLiteral("10");
        Settings().PrintLeft = QStringLiteral("15");
        frmOptions options(nullptr, [] {});
        Save(options, QStringLiteral("options"));
    }
    {
        frmSelectDir chooser;
        chooser.SetDirectory(workDir);
        chooser.show();
        ScreenshotSaver::Settle(600); // the tree reads its folders in the background
        if (auto* tree = chooser.findChild<QTreeView*>(QStringLiteral("dirSelect")))
            tree->scrollTo(tree->currentIndex().parent(), QAbstractItemView::PositionAtTop);
        Save(chooser, QStringLiteral("select-dir"));
    }
    {
        QTemporaryDir passwordDir;
        ScopedPasswordFile file(QDir(passwordDir.path()).filePath(QStringLiteral("prtct1.sys")));
        WritePassword(frmPassword::PasswordFile(), QStringLiteral("cassa"));
        dialogs.onWindow = [](QDialog& w) {
            w.findChild<QLineEdit*>(QStringLiteral("txtPassword"))->setText(QStringLiteral("cassa"));
            Save(w, QStringLiteral("password"));
        };
        frmPassword::CheckAccess(nullptr, false, false);
        dialogs.onWindow = [](QDialog& w) {
            w.findChild<QLineEdit*>(QStringLiteral("txtNewPwd"))->setText(QStringLiteral("nuova"));
            w.findChild<QLineEdit*>(QStringLiteral("txtConfirmNewPwd"))->setText(QStringLiteral("nuo"));
            Save(w, QStringLiteral("password-change"));
        };
        frmPassword::CheckAccess(nullptr, true, false);
    }
    {
        qint64 now = 0;
        frmMessage& message = MessageWindow();
        message.SetClock([&now] { return now; });
        message.ShowMsg(QStringLiteral("Conversione degli importi in euro..."), nullptr);
        message.StartProgress(1250, true);
        now = 12000;
        message.Progress(300);
        Save(message, QStringLiteral("message-progress"));
        message.Unload();
        DestroyMessageWindow();
    }
    {
        dialogs.onWindow = [](QDialog& w) { Save(w, QStringLiteral("exception")); };
        ShowErrorReport(QStringLiteral("Visualizzazione dati fallita: "),
                        Exception(static_cast<qint32>(0x80040000u + 1000),
                                  QStringLiteral("L'archivio ha rifiutato l'istruzione:\rno such column: Importo_Rig")));
    }
    return g_saver->Failed() ? 1 : 0;
}
