#pragma once
// Drives windows the way a user does: mouse clicks at the rectangle an item
// occupies on screen, keys sent to the widget that has the focus, menus
// opened from the menu bar and their entries clicked, toolbar buttons
// pressed. Nothing here calls a slot or sets a current item directly, so a
// test sees what a user would see (a click changes the current item before
// the selection; a disabled entry does nothing; a key goes where the focus
// is).
//
//     UserInput::ClickTreeItem(*main.TreeView(), "Clienti");
//     UserInput::ChooseMenu(main, {"&File", "Nuova &Vendita"});
//     UserInput::PressKey(Qt::Key_F8);
//     UserInput::TypeText("1,5");

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <iterator>

namespace UserInput
{

// A caption without its access-key marks ("Nuova &Vendita" → "Nuova Vendita").
inline QString Plain(QString caption)
{
    caption.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    caption.remove(QLatin1Char('&'));
    caption.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return caption;
}

inline bool SameCaption(const QString& a, const QString& b)
{
    return Plain(a).compare(Plain(b), Qt::CaseInsensitive) == 0;
}

// Shows the window, makes it the active one and waits until the platform says
// so, as when the user brings it to the front.
inline bool BringToFront(QWidget& window)
{
    if (!window.isVisible())
        window.show();
    window.raise();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window, 2000);
}

// Lets the window system deliver what the last action caused (a window
// activated again when a message window closes, a focus change), as it has
// by the time a user presses the next key.
inline void Settle()
{
    QCoreApplication::processEvents();
}

// The widget that keys go to: the focus widget, else the active window.
inline QWidget* KeyTarget()
{
    Settle();
    if (QWidget* focus = QApplication::focusWidget())
        return focus;
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

// One key (with modifiers) to the focused widget.
inline void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* target = KeyTarget();
    ASSERT_NE(target, nullptr) << "no widget has the keyboard focus";
    QTest::keyClick(target, key, modifiers);
}

// Text typed character by character into the focused widget.
inline void TypeText(const QString& text)
{
    QWidget* target = KeyTarget();
    ASSERT_NE(target, nullptr) << "no widget has the keyboard focus";
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7f) {
            QTest::keyClick(target, c.toLatin1());
        } else {
            // Accented letters come from the keyboard layout with no key code
            // of their own: the text is what the widget reads.
            QTest::sendKeyEvent(QTest::Press, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
        // The focus may move while typing (a window that opens on a key).
        if (QWidget* now = KeyTarget())
            target = now;
    }
}

// A key sequence (a shortcut such as Ctrl+F or F9) to the focused widget, so
// that the application's shortcut map decides who takes it.
inline void PressShortcut(const QKeySequence& sequence)
{
    QWidget* target = KeyTarget();
    ASSERT_NE(target, nullptr) << "no widget has the keyboard focus";
    QTest::keySequence(target, sequence);
}

// After a menu closes, the window system gives the activation back to the
// window the menu belonged to; the offscreen platform leaves it on the
// closed menu, so it is given back here.
inline void ReturnFromMenu(QWidget& window)
{
    Settle();
    QWidget* active = QApplication::activeWindow();
    if ((!active || !active->isVisible()) && window.isVisible()) {
        window.activateWindow();
        // The window counts as active already while its closed menu still
        // has the focus: wait for the application's active window.
        EXPECT_TRUE(QTest::qWaitFor([&window] { return QApplication::activeWindow() == window.window(); }, 1000))
            << "the window did not become active again";
    }
}

// Clicks a widget (a button, a check box, a text box) at its centre.
inline void Click(QWidget& widget, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    ASSERT_TRUE(widget.isVisible()) << "clicked a hidden widget: " << widget.objectName().toStdString();
    QTest::mouseClick(&widget, Qt::LeftButton, modifiers, widget.rect().center());
}

inline void DoubleClick(QWidget& widget)
{
    ASSERT_TRUE(widget.isVisible()) << "clicked a hidden widget: " << widget.objectName().toStdString();
    // A double click is a press-release pair followed by a double-click event.
    QTest::mouseClick(&widget, Qt::LeftButton, {}, widget.rect().center());
    QTest::mouseDClick(&widget, Qt::LeftButton, {}, widget.rect().center());
}

// Clicks the cell of a view at the rectangle it occupies, scrolling to it as a
// user would with the scroll bar.
inline void ClickIndex(QAbstractItemView& view, const QModelIndex& index,
                       Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    ASSERT_TRUE(index.isValid());
    view.scrollTo(index);
    const QRect rect = view.visualRect(index);
    ASSERT_FALSE(rect.isEmpty()) << "the item is not on screen";
    QTest::mouseClick(view.viewport(), Qt::LeftButton, modifiers, rect.center());
}

inline void DoubleClickIndex(QAbstractItemView& view, const QModelIndex& index)
{
    ASSERT_TRUE(index.isValid());
    view.scrollTo(index);
    const QRect rect = view.visualRect(index);
    ASSERT_FALSE(rect.isEmpty()) << "the item is not on screen";
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, rect.center());
}

// Clicks the cell at (row, column) of a table-like view.
inline void ClickCell(QAbstractItemView& view, int row, int column,
                      Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    ASSERT_NE(view.model(), nullptr);
    ClickIndex(view, view.model()->index(row, column), modifiers);
}

inline void DoubleClickCell(QAbstractItemView& view, int row, int column)
{
    ASSERT_NE(view.model(), nullptr);
    DoubleClickIndex(view, view.model()->index(row, column));
}

// Clicks a column header (a sort, or a selection of the column).
inline void ClickHeader(QHeaderView& header, int section)
{
    const int position = header.sectionViewportPosition(section);
    const int size = header.sectionSize(section);
    ASSERT_GE(position, 0) << "the header section is not on screen";
    const QPoint centre = header.orientation() == Qt::Horizontal
                              ? QPoint(position + size / 2, header.height() / 2)
                              : QPoint(header.width() / 2, position + size / 2);
    QTest::mouseClick(header.viewport(), Qt::LeftButton, {}, centre);
}

// Widens (or narrows, with a negative distance) a column by dragging the
// right edge of its header section with the mouse.
inline void DragHeaderEdge(QHeaderView& header, int section, int distance)
{
    const int position = header.sectionViewportPosition(section);
    ASSERT_GE(position, 0) << "the header section is not on screen";
    const int edge = position + header.sectionSize(section) - 1;
    const int y = header.height() / 2;
    QWidget* viewport = header.viewport();
    QTest::mouseMove(viewport, QPoint(edge, y));
    QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(edge, y));
    for (int step = 1; step <= 4; ++step)
        QTest::mouseMove(viewport, QPoint(edge + distance * step / 4, y));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(edge + distance, y));
}

// The first tree item, depth first, whose text in column 0 is the caption.
inline QTreeWidgetItem* FindTreeItem(const QTreeWidget& tree, const QString& caption)
{
    std::function<QTreeWidgetItem*(QTreeWidgetItem*)> find = [&](QTreeWidgetItem* item) -> QTreeWidgetItem* {
        if (SameCaption(item->text(0), caption))
            return item;
        for (int i = 0; i < item->childCount(); ++i)
            if (QTreeWidgetItem* found = find(item->child(i)))
                return found;
        return nullptr;
    };
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        if (QTreeWidgetItem* found = find(tree.topLevelItem(i)))
            return found;
    return nullptr;
}

// Clicks a tree item, expanding its parents first as a user would.
inline void ClickTreeItem(QTreeWidget& tree, QTreeWidgetItem* item)
{
    ASSERT_NE(item, nullptr);
    for (QTreeWidgetItem* parent = item->parent(); parent; parent = parent->parent())
        if (!parent->isExpanded())
            parent->setExpanded(true);
    tree.scrollToItem(item);
    const QRect rect = tree.visualItemRect(item);
    ASSERT_FALSE(rect.isEmpty()) << "the tree item is not on screen: " << item->text(0).toStdString();
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, rect.center());
}

inline void ClickTreeItem(QTreeWidget& tree, const QString& caption)
{
    QTreeWidgetItem* item = FindTreeItem(tree, caption);
    ASSERT_NE(item, nullptr) << "no tree item " << caption.toStdString();
    ClickTreeItem(tree, item);
}

// Presses a toolbar button by clicking the widget the toolbar shows for it.
inline void ClickToolButton(QToolBar& bar, QAction* button)
{
    ASSERT_NE(button, nullptr);
    QWidget* widget = bar.widgetForAction(button);
    ASSERT_NE(widget, nullptr) << "the action has no button on the toolbar";
    ASSERT_TRUE(widget->isVisible()) << "the toolbar button is hidden";
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

// The entry of a menu with the given caption (access keys ignored).
inline QAction* FindMenuEntry(const QList<QAction*>& actions, const QString& caption)
{
    for (QAction* action : actions)
        if (!action->isSeparator() && SameCaption(action->text(), caption))
            return action;
    return nullptr;
}

// Clicks an entry of a menu that is open on screen; when the entry opens a
// sub-menu, returns it (open), else nullptr.
inline QMenu* ClickOpenMenuEntry(QMenu& menu, const QString& caption)
{
    QAction* entry = FindMenuEntry(menu.actions(), caption);
    EXPECT_NE(entry, nullptr) << "no entry " << caption.toStdString() << " in menu "
                              << Plain(menu.title()).toStdString();
    if (!entry)
        return nullptr;
    const QRect rect = menu.actionGeometry(entry);
    if (entry->menu()) {
        QTest::mouseMove(&menu, rect.center());
        QTest::mouseClick(&menu, Qt::LeftButton, {}, rect.center());
        QMenu* sub = entry->menu();
        EXPECT_TRUE(QTest::qWaitFor([sub] { return sub->isVisible(); }, 2000))
            << "sub-menu did not open: " << caption.toStdString();
        return sub;
    }
    QTest::mouseClick(&menu, Qt::LeftButton, {}, rect.center());
    return nullptr;
}

// Chooses an entry through the menu bar: clicks the menu's title, then each
// entry of the path in the menus that open (sub-menus included). A disabled
// entry does nothing, as for a user; the open menus are then closed.
inline void ChooseMenu(QMainWindow& window, std::initializer_list<QString> path)
{
    ASSERT_GE(path.size(), 2u) << "a menu path is a title and at least one entry";
    QMenuBar* bar = window.menuBar();
    auto step = path.begin();
    QAction* title = FindMenuEntry(bar->actions(), *step);
    ASSERT_NE(title, nullptr) << "no menu " << step->toStdString();
    ASSERT_NE(title->menu(), nullptr);
    QMenu* menu = title->menu();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(title).center());
    ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }, 2000))
        << "menu did not open: " << step->toStdString();
    for (++step; step != path.end() && menu; ++step)
        menu = ClickOpenMenuEntry(*menu, *step);
    // A disabled entry leaves the menus open: close them as a user would.
    while (QMenu* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget()))
        popup->close();
    ReturnFromMenu(window);
}

// Whether the last entry of a menu path shows as enabled: opens the menus
// through the menu bar as ChooseMenu does, looks at the entry without
// clicking it, and closes the menus again. False when a menu on the way
// cannot be opened.
inline bool MenuEntryEnabled(QMainWindow& window, std::initializer_list<QString> path)
{
    EXPECT_GE(path.size(), 2u) << "a menu path is a title and at least one entry";
    QMenuBar* bar = window.menuBar();
    auto step = path.begin();
    QAction* entry = FindMenuEntry(bar->actions(), *step);
    EXPECT_NE(entry, nullptr) << "no menu " << step->toStdString();
    bool enabled = entry && entry->isEnabled() && entry->menu();
    if (enabled) {
        QMenu* menu = entry->menu();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(entry).center());
        enabled = QTest::qWaitFor([menu] { return menu->isVisible(); }, 2000);
        for (++step; enabled && step != path.end(); ++step) {
            entry = FindMenuEntry(menu->actions(), *step);
            EXPECT_NE(entry, nullptr) << "no entry " << step->toStdString();
            enabled = entry && entry->isEnabled();
            if (enabled && std::next(step) != path.end()) {
                QMenu* sub = entry->menu();
                EXPECT_NE(sub, nullptr) << step->toStdString() << " opens no menu";
                if (!sub)
                    enabled = false;
                else {
                    const QRect rect = menu->actionGeometry(entry);
                    QTest::mouseMove(menu, rect.center());
                    QTest::mouseClick(menu, Qt::LeftButton, {}, rect.center());
                    enabled = QTest::qWaitFor([sub] { return sub->isVisible(); }, 2000);
                    menu = sub;
                }
            }
        }
    }
    while (QMenu* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget()))
        popup->close();
    ReturnFromMenu(window);
    return enabled;
}

// Opens a menu bar menu with its access key (Alt+letter) and chooses an
// entry with its own access key, all from the keyboard.
inline void ChooseMenuByKeys(QMainWindow& window, QChar menuKey, QChar entryKey)
{
    ASSERT_TRUE(BringToFront(window));
    const auto keyOf = [](QChar c) { return static_cast<Qt::Key>(c.toUpper().unicode()); };
    QTest::keyClick(&window, keyOf(menuKey), Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }, 2000))
        << "no menu opened with Alt+" << QString(menuKey).toStdString();
    QTest::keyClick(QApplication::activePopupWidget(), keyOf(entryKey));
    ReturnFromMenu(window);
}

// Answers the next modal window that opens through a real exec() (not the
// dialog interface): the handler receives it once it is shown and acts on it
// with real input. Call before the action that opens the window.
inline void WhenModalOpens(std::function<void(QWidget&)> handler, int timeoutMs = 5000)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    auto waited = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, handler, waited, timeoutMs] {
        *waited += timer->interval();
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            handler(*modal);
        } else if (*waited > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "no modal window opened";
        }
    });
    timer->start();
}

} // namespace UserInput
