// The archive engine's field windows over the receipts, whose field captions
// are long: nothing the user reads or types in them is cut.

#include "MainWindowFixture.h"

#include "component/ComplexFilter.h"
#include "component/DatabaseObject.h"
#include "component/Table.h"
#include "component/widgets/ComplexFilterWindow.h"
#include "component/widgets/OrderWindow.h"
#include "support/UserInput.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>
#include <QTest>

namespace {

TEST_F(MainWindowTest, TheComplexFilterValueBoxHoldsADateAndTimeBesideLongFieldCaptions)
{
    OpenWindow();
    auto& session = ArchiveSession::Instance();
    auto filter = session.Database()->Tables().Item(QStringLiteral("Ricevute")).CreateComplexFilter();
    ComplexFilterWindow window(*filter, *session.Database(), QStringLiteral("FILTRO COMPLESSO"));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    auto* fields = window.findChild<QComboBox*>(QStringLiteral("cboField"));
    auto* value = window.findChild<QLineEdit*>(QStringLiteral("txtValue"));
    ASSERT_NE(fields, nullptr);
    ASSERT_NE(value, nullptr);
    ASSERT_GE(fields->findText(QStringLiteral("Anno Fiscale a cui si riferisce la numerazione")), 0);

    value->setFocus();
    UserInput::TypeText(QStringLiteral("10/12/2016 12:00:02"));
    EXPECT_GE(value->contentsRect().width(), value->fontMetrics().horizontalAdvance(value->text()))
        << "the value typed is seen whole";
    EXPECT_LE(value->geometry().right(), window.width()) << "and the box lies inside the window";
}

TEST_F(MainWindowTest, TheCombinedOrderWindowShowsTheReceiptFieldCaptionsWhole)
{
    OpenWindow();
    auto& session = ArchiveSession::Instance();
    auto receipts = session.Database()->Tables().Item(QStringLiteral("Ricevute")).OpenDataObject(session.Engine(), QString());
    OrderWindow window(*receipts, QStringLiteral("Ordinamento Complesso"), QStringLiteral("Cliente"));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    auto* fields = window.findChild<QListWidget*>(QStringLiteral("lstFields"));
    auto* chosen = window.findChild<QTreeWidget*>(QStringLiteral("lstChosen"));
    ASSERT_NE(fields, nullptr);
    ASSERT_NE(chosen, nullptr);
    ASSERT_FALSE(fields->findItems(QStringLiteral("Anno Fiscale a cui si riferisce la numerazione"), Qt::MatchExactly).isEmpty());
    for (int i = 0; i < fields->count(); ++i) {
        const QString caption = fields->item(i)->text();
        EXPECT_GE(fields->viewport()->width(), fields->fontMetrics().horizontalAdvance(caption))
            << caption.toStdString() << " is cut in the list of fields";
        EXPECT_GE(chosen->columnWidth(0), chosen->fontMetrics().horizontalAdvance(caption))
            << caption.toStdString() << " would be cut once chosen";
    }
}

} // namespace
