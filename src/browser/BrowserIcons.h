#pragma once
// The main window's pictures: the section tree's icons and the toolbar's,
// drawn as vector shapes so that they stay sharp at every scale.

#include <QIcon>
#include <QString>

namespace BrowserIcons {

// By the tree's image keys: "Article", "AnagraficElement", "AnagraficPerson",
// "Payment", "Operation", "Report", "ReportElement", "Archive". An unknown
// key gives an empty icon.
QIcon Section(const QString& key);

// By the toolbar's button keys ("New", "Properties", ... "Sale"), and
// "GridSetting" for the grid settings button.
QIcon Toolbar(const QString& key);

// The application's own icon (window and tray).
QIcon Application();

} // namespace BrowserIcons
