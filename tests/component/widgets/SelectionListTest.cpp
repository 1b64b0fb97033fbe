// The selection list driven offscreen: the records in a grid, the search
// box, choosing with OK, Enter or a double click, and Esc putting the data
// object back where it was.
#include "EngineDialogsArchive.h"
#include "EngineWindowHelpers.h"

#include "component/widgets/SelectionListWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/UserInput.h"

#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QTableView>

using DialogTest::Child;
using DialogTest::Press;

namespace {

QString CurrentName(const DataObject& data)
{
    return const_cast<DataObject&>(data).GetValue(QStringLiteral("Nome")).toString();
}

} // namespace

TEST(SelectionListWindow, ShowsTheRecordsAndSearchesAsTheUserTypes)
{
    DialogTest::Archive archive;
    ScriptedDialogs dialogs;
    ScopedDialogService use(dialogs);
    auto dishes = archive.Open(QStringLiteral("Piatti"), {}, QStringLiteral("Nome"));
    ASSERT_TRUE(dishes->FindFirst(QStringLiteral("Nome = 'Lasagne'")));
    SelectionListWindow window(dishes, QString(), QStringLiteral("Nome"));
    EXPECT_EQ(window.objectName(), QStringLiteral("frmSelectionList"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Piatti del giorno"));
    EXPECT_EQ(Child<QLabel>(window, QStringLiteral("lblSearch"))->text(), QStringLiteral("&Cerca Nome:"));
    QTableView* grid = window.Grid();
    ASSERT_EQ(grid->model()->rowCount(), 5);
    EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Nome"));
    EXPECT_EQ(grid->model()->index(0, 0).data().toString(), QStringLiteral("Lasagne"));
    EXPECT_EQ(grid->currentIndex().row(), 0) << "the list opens on the data object's record";

    auto* search = Child<QLineEdit>(window, QStringLiteral("txtSearch"));
    DialogTest::Type(search, QStringLiteral("ti"));
    EXPECT_EQ(CurrentName(*dishes), QStringLiteral("Tiramisù"));
    EXPECT_EQ(grid->currentIndex().row(), 4);
    EXPECT_NE(search->palette().color(QPalette::Text), QColor(Qt::red));

    DialogTest::Type(search, QStringLiteral("zucca"));
    EXPECT_EQ(CurrentName(*dishes), QStringLiteral("Tiramisù")) << "no match keeps the record";
    EXPECT_EQ(search->palette().color(QPalette::Text), QColor(Qt::red));

    DialogTest::Type(search, QStringLiteral("pa"));
    EXPECT_EQ(CurrentName(*dishes), QStringLiteral("Panna cotta"));
    QTest::keyClick(search, Qt::Key_Down);
    EXPECT_EQ(grid->currentIndex().row(), 2) << "the arrows move the list from the search box";

    Press(window, QStringLiteral("cmdOk"));
    EXPECT_EQ(window.result(), QDialog::Accepted);
    ASSERT_TRUE(window.ChosenKey().has_value());
    EXPECT_EQ(CurrentName(*dishes), QStringLiteral("Pasta 50% <integrale>"));
    EXPECT_EQ(*window.ChosenKey(), dishes->ValueAt(0).toLongLong());
    EXPECT_TRUE(dialogs.Calls().empty());
}

TEST(SelectionListWindow, EnterAndDoubleClickChooseEscapeRestores)
{
    DialogTest::Archive archive;
    ScriptedDialogs dialogs;
    ScopedDialogService use(dialogs);
    auto dishes = archive.Open(QStringLiteral("Piatti"), {}, QStringLiteral("Nome"));
    ASSERT_TRUE(dishes->FindFirst(QStringLiteral("Nome = 'Lasagne'")));
    const qint64 start = dishes->ValueAt(0).toLongLong();
    {
        SelectionListWindow window(dishes, QStringLiteral("Scegli il piatto"), QString());
        EXPECT_EQ(window.findChild<QLineEdit*>(QStringLiteral("txtSearch")), nullptr);
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Scegli il piatto"));
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        QTableView* grid = window.Grid();
        grid->setCurrentIndex(grid->model()->index(3, 0));
        EXPECT_EQ(CurrentName(*dishes), QStringLiteral("Risotto \"nero\"; al nero"));
        QTest::keyClick(grid, Qt::Key_Escape);
        EXPECT_EQ(window.result(), QDialog::Rejected);
        EXPECT_FALSE(window.ChosenKey().has_value());
        EXPECT_EQ(dishes->ValueAt(0).toLongLong(), start) << "closed without choosing: back on its record";
    }
    {
        SelectionListWindow window(dishes, QString(), QString());
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        QTableView* grid = window.Grid();
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(1, 0));
        QTest::keyClick(grid, Qt::Key_Return);
        EXPECT_EQ(window.result(), QDialog::Accepted);
        EXPECT_EQ(CurrentName(*dishes), QStringLiteral("Panna cotta"));
    }
    {
        SelectionListWindow window(dishes, QString(), QString());
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        QTableView* grid = window.Grid();
        const QRect cell = grid->visualRect(grid->model()->index(4, 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QMouseEvent twice(QEvent::MouseButtonDblClick, QPointF(cell.center()), grid->viewport()->mapToGlobal(QPointF(cell.center())),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(grid->viewport(), &twice);
        EXPECT_EQ(window.result(), QDialog::Accepted);
        EXPECT_EQ(CurrentName(*dishes), QStringLiteral("Tiramisù"));
    }
}

TEST(SelectionListWindow, NothingToChooseOnlyBeeps)
{
    DialogTest::Archive archive;
    ScriptedDialogs dialogs;
    ScopedDialogService use(dialogs);
    auto none = archive.Open(QStringLiteral("Piatti"), QStringLiteral("Prezzo > 10000"));
    SelectionListWindow window(none, QString(), QStringLiteral("Nome"));
    Press(window, QStringLiteral("cmdOk"));
    EXPECT_NE(window.result(), QDialog::Accepted);
    EXPECT_EQ(dialogs.Beeps(), 1);
    EXPECT_FALSE(window.ChosenKey().has_value());
}

TEST(SelectionListWindow, UsedWithTheKeyboardAlone)
{
    // The list opens ready for typing: letters search, accents too; the
    // arrows move; Enter chooses.
    DialogTest::Archive archive;
    ScriptedDialogs dialogs;
    ScopedDialogService use(dialogs);
    auto dishes = archive.Open(QStringLiteral("Piatti"), {}, QStringLiteral("Nome"));
    SelectionListWindow window(dishes, QString(), QStringLiteral("Nome"));
    ASSERT_TRUE(UserInput::BringToFront(window));
    UserInput::TypeText(QStringLiteral("tiramisù"));
    EXPECT_EQ(CurrentName(*dishes), QStringLiteral("Tiramisù"));
    for (int i = 0; i < 8; ++i)
        UserInput::PressKey(Qt::Key_Backspace);
    UserInput::TypeText(QStringLiteral("PA"));
    EXPECT_EQ(CurrentName(*dishes), QStringLiteral("Panna cotta")) << "letter case does not count";
    UserInput::PressKey(Qt::Key_Down);
    const QString below = CurrentName(*dishes);
    EXPECT_NE(below, QStringLiteral("Panna cotta"));
    UserInput::PressKey(Qt::Key_Return);
    EXPECT_EQ(window.result(), QDialog::Accepted);
    ASSERT_TRUE(window.ChosenKey().has_value());
    EXPECT_EQ(CurrentName(*dishes), below);
}
