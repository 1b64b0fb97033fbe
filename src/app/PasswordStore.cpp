#include "app/PasswordStore.h"

#include "app/AppPaths.h"
#include "component/ComponentErrors.h"
#include "component/Exception.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace {

constexpr QFileDevice::Permissions kWritePermissions =
    QFileDevice::WriteOwner | QFileDevice::WriteUser | QFileDevice::WriteGroup | QFileDevice::WriteOther;

// What went wrong and what to do; the system's own reason goes to the detail.
Exception FileError(const QString& what, const QString& path, const QString& reason)
{
    return Exception(ComponentError::Io,
                     QStringLiteral("%1 \"%2\". Controllare che il file e la cartella del programma si possano "
                                    "leggere e scrivere (per un programma installato per tutti gli utenti, "
                                    "chiedere all'amministratore del computer).")
                         .arg(what, QDir::toNativeSeparators(path)),
                     QString(), reason);
}

} // namespace

QString ScrambleText(const QString& text, bool scramble)
{
    const bool oddLength = text.size() % 2 == 1;
    QString result(text.size(), QChar());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c > 255) {
            result[i] = text[i];
            continue;
        }
        const bool oddPosition = i % 2 == 0;  // positions count from 1
        char16_t out = 0;
        if (scramble) {
            const char16_t key = oddLength ? 128 : 0;
            char16_t high = (c & 1) * 128;
            if (oddPosition)
                high ^= key;
            out = (c / 2) | high;
        } else {
            const char16_t key = oddLength ? 1 : 0;
            char16_t low = (c & 128) / 128;
            if (oddPosition)
                low ^= key;
            out = (c & 127) * 2 + low;
        }
        result[i] = QChar(out);
    }
    return result;
}

bool IsStorablePassword(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() > 255)
            return false;
    }
    return true;
}

QString PasswordFilePath(const QString& executableDir)
{
    return AppPaths::SharedFileBeside(executableDir, QStringLiteral("prtct1.sys"));
}

QString PasswordFilePath()
{
    return PasswordFilePath(AppPaths::ExecutableDir());
}

QString ReadStoredPassword(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("Impossibile leggere il file della password"), path, file.errorString());
    return QString::fromLatin1(file.readAll());
}

void WritePassword(const QString& path, const QString& clearPassword)
{
    if (!IsStorablePassword(clearPassword))
        throw Exception(ComponentError::InvalidValue,
                        QStringLiteral("La password contiene caratteri non ammessi.\r\r"
                                       "Usare solo lettere, cifre e simboli dell'alfabeto latino."));

    QFile old(path);
    const bool existed = old.exists();
    const QFileDevice::Permissions oldPermissions = old.permissions();
    if (existed)
        old.setPermissions(oldPermissions | QFileDevice::WriteOwner);

    QSaveFile file(path);
    const QByteArray bytes = ScrambleText(clearPassword, true).toLatin1();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        const QString reason = file.errorString();
        if (existed)
            old.setPermissions(oldPermissions);
        throw FileError(QStringLiteral("Impossibile scrivere il file della password"), path, reason);
    }
    QFile::setPermissions(path, QFile::permissions(path) & ~kWritePermissions);
}
