#pragma once
// The section tree: three group nodes (the archive tables, the printable
// lists, the code tables) and their sections, each known by its key, the
// vocabulary by which the browser tells sections apart.

#include <QString>
#include <functional>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

struct SectionNode
{
    int parent = 0;             // the parent's index (1-based), 0 for a group node
    QString key;                // empty for a group node
    QString text;               // the text, or the table whose caption is the text
    bool textIsTable = false;
    QString image;              // the icon's key
};

// The sixteen nodes in insertion order; a node's index is its position + 1.
const std::vector<SectionNode>& SectionNodes();

// Clears the tree and adds the nodes, table captions asked from captionOf;
// "Archivio" is expanded, "Stampe" and "Codifiche" collapsed. Nothing is
// selected.
void FillSectionTree(QTreeWidget& tree, const std::function<QString(const QString& table)>& captionOf);

// A node's key (empty for a group node), its index and its icon's key.
QString NodeKey(const QTreeWidgetItem& node);
int NodeIndex(const QTreeWidgetItem& node);
QString NodeImage(const QTreeWidgetItem& node);
bool IsGroupNode(const QTreeWidgetItem& node);

// The node with an index, or with a key; nullptr when there is none.
QTreeWidgetItem* NodeAt(const QTreeWidget& tree, int index);
QTreeWidgetItem* NodeWithKey(const QTreeWidget& tree, const QString& key);

// The selected node: the tree's current item, or nullptr. A mouse click
// makes the clicked item current before it selects it, and the view is loaded
// when the current item changes, so the selection may still name the node
// chosen before; the current item is the one chosen in every way (click,
// arrow keys, a section button, a rebuild).
QTreeWidgetItem* SelectedNode(const QTreeWidget& tree);
