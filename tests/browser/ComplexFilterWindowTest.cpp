// The complex filter window over the receipts, whose field captions are long:
// the box for the value stays wide enough for what the user types in it.

#include "MainWindowFixture.h"

#include "component/ComplexFilter.h"
#include "component/DatabaseObject.h"
#include "component/Table.h"
#include "component/widgets/ComplexFilterWindow.h"
#include "support/UserInput.h"

#include <QComboBox>
#include <QLineEdit>
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

} // namespace
