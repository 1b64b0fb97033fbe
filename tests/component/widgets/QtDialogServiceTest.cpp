// The real dialogs, shown offscreen and answered by a timer that finds the
// active modal window, checks it and presses a button.
#include "component/widgets/QtDialogService.h"
#include "support/QtPrinting.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

// Runs the handler on the first modal window that appears (giving up after
// two seconds, when the dialog would otherwise never close).
template <typename Dialog>
void WhenModal(std::function<void(Dialog&)> handler)
{
    auto* timer = new QTimer(qApp);
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, tries, handler] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            timer->deleteLater();
            timer->stop();
            handler(*dialog);
        } else if (++*tries > 200) {
            timer->deleteLater();
            timer->stop();
            ADD_FAILURE() << "no modal dialog appeared";
            if (QWidget* any = QApplication::activeModalWidget())
                any->close();
        }
    });
    timer->start(10);
}

QStringList ButtonTexts(QMessageBox& box)
{
    QStringList texts;
    for (QAbstractButton* button : box.buttons())
        texts << button->text();
    texts.sort();
    return texts;
}

// Presses the button with the given text; closes the box when there is none.
void Press(QMessageBox& box, const QString& text)
{
    for (QAbstractButton* button : box.buttons()) {
        if (button->text() == text)
            return button->click();
    }
    ADD_FAILURE() << "no button " << text.toStdString();
    box.reject();
}

} // namespace

TEST(QtDialogService, MessageBoxShowsTextButtonsIconAndDefault)
{
    QtDialogService service;
    WhenModal<QMessageBox>([](QMessageBox& box) {
        EXPECT_EQ(box.text(), QStringLiteral("Il nome del ristorante e' cambiato.\n\nConfermi ?"));
        EXPECT_EQ(box.windowTitle(), QStringLiteral("Mensora"));
        EXPECT_EQ(box.icon(), QMessageBox::Question);
        EXPECT_EQ(box.textFormat(), Qt::PlainText);
        EXPECT_EQ(ButtonTexts(box), (QStringList{QStringLiteral("No"), QStringLiteral("S\u00ec")}));
        ASSERT_NE(box.defaultButton(), nullptr);
        EXPECT_EQ(box.defaultButton()->text(), QStringLiteral("No"));
        Press(box, QStringLiteral("S\u00ec"));
    });
    EXPECT_EQ(service.MessageBox(QStringLiteral("Il nome del ristorante e' cambiato.\r\rConfermi ?"),
                                 MsgButtons::YesNo, MsgIcon::Question, MsgDefault::Button2, QString()),
              MsgResult::Yes);
}

TEST(QtDialogService, MessageBoxMapsEveryButtonSetAndEscape)
{
    QtDialogService service;
    WhenModal<QMessageBox>([](QMessageBox& box) {
        EXPECT_EQ(box.windowTitle(), QStringLiteral("ATTENZIONE"));
        EXPECT_EQ(box.icon(), QMessageBox::Warning);
        EXPECT_EQ(ButtonTexts(box), (QStringList{"Annulla", "No", QStringLiteral("S\u00ec")}));
        EXPECT_EQ(box.defaultButton()->text(), QStringLiteral("Annulla"));
        box.reject();
    });
    EXPECT_EQ(service.MessageBox(QStringLiteral("?"), MsgButtons::YesNoCancel, MsgIcon::Exclamation,
                                 MsgDefault::Button3, QStringLiteral("ATTENZIONE")),
              MsgResult::Cancel);

    WhenModal<QMessageBox>([](QMessageBox& box) {
        EXPECT_EQ(ButtonTexts(box), (QStringList{"Annulla", "Riprova"}));
        EXPECT_EQ(box.icon(), QMessageBox::Critical);
        EXPECT_EQ(box.defaultButton()->text(), QStringLiteral("Riprova")) << "a third default on two buttons";
        Press(box, QStringLiteral("Riprova"));
    });
    EXPECT_EQ(service.MessageBox(QStringLiteral("Stampa fallita"), MsgButtons::RetryCancel, MsgIcon::Critical,
                                 MsgDefault::Button3, QString()),
              MsgResult::Retry);

    WhenModal<QMessageBox>([](QMessageBox& box) {
        EXPECT_EQ(ButtonTexts(box), QStringList{"OK"});
        EXPECT_EQ(box.icon(), QMessageBox::Information);
        box.reject();
    });
    EXPECT_EQ(service.MessageBox(QStringLiteral("Fatto"), MsgButtons::Ok, MsgIcon::Information, MsgDefault::Button1,
                                 QString()),
              MsgResult::Ok);
}

TEST(QtDialogService, InputBoxGivesTheTextOrNothingOnCancel)
{
    QtDialogService service;
    WhenModal<QInputDialog>([](QInputDialog& dialog) {
        EXPECT_EQ(dialog.labelText(), QStringLiteral("Numero coperti:"));
        EXPECT_EQ(dialog.textValue(), QStringLiteral("2"));
        EXPECT_EQ(dialog.cancelButtonText(), QStringLiteral("Annulla"));
        dialog.setTextValue(QStringLiteral("4"));
        dialog.accept();
    });
    EXPECT_EQ(service.InputBox(QStringLiteral("Numero coperti:"), QString(), QStringLiteral("2")),
              QStringLiteral("4"));

    WhenModal<QInputDialog>([](QInputDialog& dialog) { dialog.reject(); });
    EXPECT_EQ(service.InputBox(QStringLiteral("Numero coperti:"), QString(), QStringLiteral("2")), std::nullopt);
}

TEST(QtDialogService, ClassicFiltersBecomeQtFilters)
{
    EXPECT_EQ(QtDialogService::QtFilter(QStringLiteral("Testo|*.txt")), QStringLiteral("Testo (*.txt)"));
    EXPECT_EQ(QtDialogService::QtFilter(QStringLiteral("Archivi|*.odb;*.mdb|tutti i files|*.*")),
              QStringLiteral("Archivi (*.odb *.mdb);;tutti i files (*.*)"));
    EXPECT_EQ(QtDialogService::QtFilter(QStringLiteral("VB Script|*.vbs|")), QStringLiteral("VB Script (*.vbs)"));
    EXPECT_EQ(QtDialogService::QtFilter(QStringLiteral("Tutto")), QStringLiteral("Tutto (*)"));
    EXPECT_EQ(QtDialogService::QtFilter(QString()), QString());
    EXPECT_EQ(QtDialogService::DisplayText(QStringLiteral("a\r\nb\rc\nd")), QStringLiteral("a\nb\nc\nd"));
}

TEST(QtDialogService, DialogsAnswersWithTheRealServiceUnlessOverridden)
{
    EXPECT_NE(dynamic_cast<QtDialogService*>(&Dialogs()), nullptr);
    QtDialogService other;
    {
        ScopedDialogService use(other);
        EXPECT_EQ(&Dialogs(), &other);
    }
    EXPECT_NE(&Dialogs(), &other);
}
