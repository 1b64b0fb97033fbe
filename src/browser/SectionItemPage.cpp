#include "browser/SectionItemPage.h"

#include "browser/SectionTree.h"

#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTreeWidgetItem>

namespace {

constexpr int kLeftGap = 400;
constexpr int kHeaderPadding = 4; // pixels around the header's lines

// The page's header: a disabled button whose caption wraps at its words
// when the button is too narrow for it in one line.
class HeaderButton : public QPushButton
{
public:
    using QPushButton::QPushButton;

    static QRect TextRect(const QRect& rect) { return rect.adjusted(kHeaderPadding, kHeaderPadding, -kHeaderPadding, -kHeaderPadding); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        option.text.clear();
        painter.drawControl(QStyle::CE_PushButton, option);
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
        painter.drawText(TextRect(rect()), Qt::AlignCenter | Qt::TextWordWrap, text());
    }
};
constexpr int kTopGap = 150;
constexpr int kHeaderRightRoom = 800;

} // namespace

SectionItemGeometry LayoutSectionItems(int splitterLeft, int treeTop, int innerWidth, int innerHeight,
                                       QSize templateSize, int count, const std::function<int(int width)>& headerHeight)
{
    SectionItemGeometry geometry;
    if (count <= 0)
        return geometry;
    int left = splitterLeft + kLeftGap;
    int top = treeTop + kTopGap;
    // In a narrow window, as wide as the buttons below it but within the
    // window, where its caption wraps rather than being cut at the edge.
    int headerWidth = innerWidth - left - kHeaderRightRoom;
    if (headerWidth < templateSize.width())
        headerWidth = std::max(1, std::min(templateSize.width(), innerWidth - left - kTopGap));
    const int height = std::max(templateSize.height() / 2, headerHeight ? headerHeight(headerWidth) : 0);
    geometry.header = QRect(left, top, headerWidth, height);
    top += height + kTopGap;
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

int SectionItemPage::HeaderHeight(const QString& groupText, int width) const
{
    QFont bold = m_template ? m_template->font() : QFont();
    bold.setBold(true);
    const QRect lines = QFontMetrics(bold).boundingRect(HeaderButton::TextRect(QRect(0, 0, width, 100000)),
                                                        Qt::AlignCenter | Qt::TextWordWrap, SectionItemHeader(groupText));
    return lines.height() + 2 * kHeaderPadding + 2;
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

    auto* header = new HeaderButton(SectionItemHeader(group.text(0)), m_area);
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
