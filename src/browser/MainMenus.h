#pragma once
// The main window's menu bar, toolbar and the tray icon's menu, with every
// caption, shortcut, tooltip and initial state. Entries are found by their
// names ("mnuFileNew"); the elements of a menu array by name and index
// ("mnuSearchItems(0)", the disabled template). The commands are connected
// by the window.

#include <QHash>
#include <QKeySequence>
#include <QString>
#include <QStringList>

class QAction;
class QMainWindow;
class QMenu;
class QMenuBar;
class QObject;
class QToolBar;
class QToolButton;

// One toolbar button as the window shows it.
struct ToolButtonSpec
{
    QString key;
    QString caption;
    QString tooltip;
};

// The toolbar's buttons in display order.
const QList<ToolButtonSpec>& ToolButtonSpecs();

class MainMenus
{
public:
    // Builds the menu bar and the toolbar into the window, and the tray
    // icon's menu (not on the menu bar).
    explicit MainMenus(QMainWindow& window);
    MainMenus(const MainMenus&) = delete;
    MainMenus& operator=(const MainMenus&) = delete;

    // A menu entry by name; for a menu with entries, its own entry. nullptr
    // when there is none.
    QAction* Action(const QString& name) const;
    // A menu with entries by name, or nullptr.
    QMenu* Menu(const QString& name) const;
    // A toolbar button by key, or nullptr.
    QAction* ToolButton(const QString& key) const;
    QToolBar* ToolBar() const { return m_toolBar; }
    // The drop-down list of fields of the "Find" button.
    QMenu* FindItems() const { return m_findItems; }
    // The tray icon's menu (mnuPopUp).
    QMenu* PopUp() const { return m_popUp; }
    // Every entry's name, in menu order (menus before their entries).
    const QStringList& Names() const { return m_names; }

    // Every entry made here beeps when chosen while nothing is connected to
    // it: a command not built yet. An entry has a command when a slot is
    // connected to its triggered or toggled signal, or to the triggered
    // signal of a menu it is on.
    static bool HasCommand(const QAction* entry);

    // An item of the "Find" button's drop-down list, with the field's tag.
    QAction* AddFindItem(const QString& caption, const QString& tag);

    // Menu arrays: element 0 is the template; elements 1..n are loaded after
    // it, named "<array>(<k>)", with the tag as the action's data.
    QAction* AddArrayElement(const QString& array, const QString& caption, const QString& tag);
    // Unloads elements 1..n, the last first.
    void ClearArray(const QString& array);
    // Elements 1..n in order.
    QList<QAction*> ArrayElements(const QString& array) const;

private:
    static QAction* NewEntry(const QString& caption, QObject* parent);
    QMenu* AddMenu(QMenuBar* bar, QMenu* parent, const QString& name, const QString& caption);
    QAction* AddItem(QMenu* menu, const QString& name, const QString& caption, const QKeySequence& shortcut = {});
    QAction* AddTemplate(QMenu* menu, const QString& name, const QString& caption);
    void BuildFileMenu(QMenuBar* bar);
    void BuildViewMenu(QMenuBar* bar);
    void BuildToolsAndHelp(QMenuBar* bar);
    void BuildPopUp(QMainWindow& window);
    void BuildToolBar(QMainWindow& window);

    QObject* m_keepEntryState;
    QHash<QString, QAction*> m_actions;
    QHash<QString, QMenu*> m_menus;
    QHash<QString, QAction*> m_buttons;
    QStringList m_names;
    QToolBar* m_toolBar = nullptr;
    QMenu* m_findItems = nullptr;
    QMenu* m_popUp = nullptr;
};
