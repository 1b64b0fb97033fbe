#include "browser/SectionItemPage.h"

#include "browser/SectionTree.h"

#include <QTreeWidgetItem>

namespace {

constexpr int kLeftGap = 400;
constexpr int kTopGap = 150;
constexpr int kHeaderRightRoom = 800;

} // namespace

SectionItemGeometry LayoutSectionItems(int splitterLeft, int treeTop, int innerWidth, int innerHeight,
                                       QSize templateSize, int count)
{
    SectionItemGeometry geometry;
    if (count <= 0)
        return geometry;
    int left = splitterLeft + kLeftGap;
    int top = treeTop + kTopGap;
    const int headerHeight = templateSize.height() / 2;
    // Never narrower than the buttons below it, so that a narrow window
    // clips the header as it clips them rather than on its own.
    const int headerWidth = std::max(templateSize.width(), innerWidth - left - kHeaderRightRoom);
    geometry.header = QRect(left, top, headerWidth, headerHeight);
    top += headerHeight + kTopGap;
    const int columnTop = top;
    for (int i = 0; i < count; ++i) {
        if (top + templateSize.height() >= innerHeight - kTopGap && top > columnTop) {
            left += templateSize.width() + kLeftGap;
            top = columnTop;
        }
        geometry.items.append(QRect(QPoint(left, top), templateSize));
        top += templateSize.height() + kTopGap;
    }
    return geometry;
}

QList<const QTreeWidgetItem*> PageSections(const QTreeWidgetItem& group)
{
    QList<const QTreeWidgetItem*> sections;
    for (int i = 0; i < group.childCount(); ++i)
        if (!group.child(i)->text(0).isEmpty())
            sections.append(group.child(i));
    return sections;
}

QString SectionItemHeader(const QString& groupText)
{
    return QStringLiteral("VOCI PRINCIPALI PER LA SEZIONE ") + groupText.toUpper() + QStringLiteral(" :");
}

QString SectionItemTooltip(const QString& sectionText)
{
    return QStringLiteral("Apre la sezione <") + sectionText
           + QStringLiteral("> per la Visualizzazione/Modifica dei dati oppure per la Stampa...");
}

SectionItemPage::SectionItemPage(QWidget* area, QSize templateSize)
    : m_area(area), m_templateSize(templateSize), m_template(new QPushButton(area))
{
    m_template->setObjectName(QStringLiteral("acmdSectionItem(0)"));
    m_template->setVisible(false);
    m_template->setIconSize(QSize(32, 32));
}

QPushButton* SectionItemPage::Item(int index) const
{
    if (index == 0)
        return m_template;
    return index >= 1 && index <= Count() ? m_items[std::size_t(index - 1)].data() : nullptr;
}

void SectionItemPage::Clear()
{
    while (!m_items.empty()) {
        if (QPushButton* button = m_items.back()) {
            button->hide();
            button->deleteLater();
        }
        m_items.pop_back();
    }
}

void SectionItemPage::Show(const QTreeWidgetItem& group, const SectionItemGeometry& geometry,
                           const std::function<QRect(const QRect&)>& toPixels)
{
    Clear();
    const auto sections = PageSections(group);
    if (geometry.header.isNull() || !m_area || !m_template)
        return;

    auto* header = new QPushButton(SectionItemHeader(group.text(0)), m_area);
    header->setObjectName(QStringLiteral("acmdSectionItem(1)"));
    QFont bold = m_template->font();
    bold.setBold(true);
    header->setFont(bold);
    QPalette palette = header->palette();
    palette.setColor(QPalette::Button, QColor(0xE0, 0xE0, 0xE0));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x40, 0x40, 0x40));
    header->setPalette(palette);
    header->setAutoFillBackground(true);
    header->setEnabled(false);
    header->setGeometry(toPixels(geometry.header));
    header->show();
    m_items.emplace_back(header);

    for (int i = 0; i < sections.size() && i < geometry.items.size(); ++i) {
        const QTreeWidgetItem& section = *sections[i];
        auto* button = new QPushButton(section.text(0), m_area);
        button->setObjectName(QStringLiteral("acmdSectionItem(%1)").arg(Count() + 1));
        const QString key = NodeKey(section);
        const QString tag = key.isEmpty() ? QString::number(NodeIndex(section)) : key;
        button->setProperty("Tag", tag);
        button->setToolTip(SectionItemTooltip(section.text(0)));
        button->setIcon(section.icon(0));
        button->setIconSize(m_template->iconSize());
        button->setFont(m_template->font());
        button->setGeometry(toPixels(geometry.items[i]));
        connect(button, &QPushButton::clicked, this, [this, tag] { Q_EMIT Clicked(tag); });
        button->show();
        m_items.emplace_back(button);
    }
}
