#include "browser/SectionTree.h"

#include "browser/BrowserIcons.h"

#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <memory>

namespace {

enum Role { KeyRole = Qt::UserRole, IndexRole, ImageRole };

SectionNode Group(const QString& text, const QString& image)
{
    return {0, {}, text, false, image};
}

SectionNode TableNode(int parent, const QString& table, const QString& image)
{
    return {parent, table, table, true, image};
}

SectionNode ListNode(int parent, const QString& list)
{
    return {parent, list, list, false, QStringLiteral("ReportElement")};
}

} // namespace

const std::vector<SectionNode>& SectionNodes()
{
    static const std::vector<SectionNode> nodes = {
        Group(QStringLiteral("Archivio"), QStringLiteral("Article")),
        TableNode(1, QStringLiteral("Menu"), QStringLiteral("AnagraficElement")),
        TableNode(1, QStringLiteral("Clienti"), QStringLiteral("AnagraficPerson")),
        TableNode(3, QStringLiteral("PagamentiCliente"), QStringLiteral("Payment")),
        TableNode(1, QStringLiteral("Ricevute"), QStringLiteral("Operation")),
        TableNode(5, QStringLiteral("RigheRicevute"), QStringLiteral("Operation")),
        Group(QStringLiteral("Stampe"), QStringLiteral("Report")),
        ListNode(7, QStringLiteral("Lista Ricevute")),
        ListNode(7, QStringLiteral("Lista Venduto")),
        ListNode(7, QStringLiteral("Lista Corrispettivi")),
        ListNode(7, QStringLiteral("Lista Clienti")),
        ListNode(7, QStringLiteral("Lista Portate")),
        Group(QStringLiteral("Codifiche"), QStringLiteral("Archive")),
        TableNode(13, QStringLiteral("TipiDocumento"), QStringLiteral("Archive")),
        TableNode(13, QStringLiteral("TipiPagamento"), QStringLiteral("Archive")),
        TableNode(13, QStringLiteral("Portate"), QStringLiteral("Archive")),
    };
    return nodes;
}

void FillSectionTree(QTreeWidget& tree, const std::function<QString(const QString& table)>& captionOf)
{
    tree.clear();
    std::vector<QTreeWidgetItem*> added;
    const auto& nodes = SectionNodes();
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const SectionNode& node = nodes[i];
        auto item = std::make_unique<QTreeWidgetItem>();
        item->setText(0, node.textIsTable ? captionOf(node.text) : node.text);
        item->setData(0, KeyRole, node.key);
        item->setData(0, IndexRole, int(i) + 1);
        item->setData(0, ImageRole, node.image);
        item->setIcon(0, BrowserIcons::Section(node.image));
        QTreeWidgetItem* raw = item.get();
        if (node.parent == 0)
            tree.addTopLevelItem(item.release());
        else
            added[node.parent - 1]->addChild(item.release());
        added.push_back(raw);
    }
    added[0]->setExpanded(true);
    added[6]->setExpanded(false);
    added[12]->setExpanded(false);
}

QString NodeKey(const QTreeWidgetItem& node)
{
    return node.data(0, KeyRole).toString();
}

int NodeIndex(const QTreeWidgetItem& node)
{
    return node.data(0, IndexRole).toInt();
}

QString NodeImage(const QTreeWidgetItem& node)
{
    return node.data(0, ImageRole).toString();
}

bool IsGroupNode(const QTreeWidgetItem& node)
{
    return NodeKey(node).isEmpty();
}

QTreeWidgetItem* NodeAt(const QTreeWidget& tree, int index)
{
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(&tree)); *it; ++it)
        if (NodeIndex(**it) == index)
            return *it;
    return nullptr;
}

QTreeWidgetItem* NodeWithKey(const QTreeWidget& tree, const QString& key)
{
    if (key.isEmpty())
        return nullptr;
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(&tree)); *it; ++it)
        if (NodeKey(**it) == key)
            return *it;
    return nullptr;
}

QTreeWidgetItem* SelectedNode(const QTreeWidget& tree)
{
    return tree.currentItem();
}
