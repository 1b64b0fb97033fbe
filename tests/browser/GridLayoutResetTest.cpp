// The grid's layout reset as a user does it: a column widened with the
// mouse, then "Annulla sequenza campi e dimensioni" from the menu.

#include "MainWindowFixture.h"

#include "component/GridLayout.h"
#include "support/QtPrinting.h"
#include "support/UserInput.h"

#include <QHeaderView>

namespace {

TEST_F(MainWindowTest, ResettingTheGridLayoutShowsAtOnce)
{
    Settings().CurrencyConversion = false;
    frmMain& main = OpenWindow();
    ASSERT_TRUE(UserInput::BringToFront(main));
    UserInput::ClickTreeItem(*main.TreeView(), "Menù");
    QHeaderView& header = *main.GridView()->horizontalHeader();
    const int before = header.sectionSize(0);
    UserInput::DragHeaderEdge(header, 0, 120);
    ASSERT_GT(header.sectionSize(0), before + 60) << "the column was widened";
    ASSERT_GT(main.CurrentGridLayout()->FieldWidth(QStringLiteral("Nome")), 0) << "and its width kept";

    // Answered "No": nothing changes; the question takes "No" as its default.
    dialogs.AnswerMessage(MsgResult::No);
    const int wide = header.sectionSize(0);
    UserInput::ChooseMenu(main, {QStringLiteral("&Visualizza"), QStringLiteral("&Griglia"),
                                 QStringLiteral("Annulla sequenza campi e dimensioni")});
    const DialogCall& question = dialogs.LastCall();
    EXPECT_EQ(question.text, QStringLiteral("Vuoi ripristinare le impostazioni predefinite per la griglia corrente?"));
    EXPECT_EQ(question.buttons, MsgButtons::YesNo);
    EXPECT_EQ(question.defaultButton, MsgDefault::Button2) << "the stored layout would be lost";
    EXPECT_EQ(header.sectionSize(0), wide);

    // "Sì": the column is back to its default width at once.
    dialogs.AnswerMessage(MsgResult::Yes);
    UserInput::ChooseMenu(main, {QStringLiteral("&Visualizza"), QStringLiteral("&Griglia"),
                                 QStringLiteral("Annulla sequenza campi e dimensioni")});
    EXPECT_EQ(header.sectionSize(0), before);
    EXPECT_EQ(main.CurrentGridLayout()->FieldWidth(QStringLiteral("Nome")), 0);
}

} // namespace
