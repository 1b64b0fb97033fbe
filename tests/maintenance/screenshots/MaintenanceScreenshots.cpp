// Saves a picture of the list of the archive's copies ("Ripristina
// archivio...") into docs/screenshots/ of the source tree. The argument is
// the file name suffix ("@2x" for the run at 200%).

#include "maintenance/frmRestore.h"
#include "support/ScreenshotSaver.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ScreenshotSaver saver(QStringLiteral(MENSORA_SOURCE_DIR "/docs/screenshots"),
                          argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString());
    QList<ArchiveBackup::BackupFile> copies;
    const QDate last(2025, 11, 20);
    for (int k = 0; k < 12; ++k)
        copies.append({QStringLiteral("Mensora %1.mdb").arg(last.addDays(-k).toString(Qt::ISODate)), last.addDays(-k),
                       qint64(712) * 1024 * 1024 - k * 180 * 1024, {}});
    frmRestore window(copies);
    saver.Save(window, QStringLiteral("restore"));
    return saver.Failed() ? 1 : 0;
}
