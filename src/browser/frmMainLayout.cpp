// The main window's layout, splitter and stored geometry.

#include "browser/frmMain.h"

#include "app/FormState.h"
#include "app/SettingsStore.h"
#include "browser/FrameSizes.h"
#include "browser/MainGeometry.h"
#include "browser/MainMenus.h"
#include "browser/SplitterHandle.h"
#include "component/widgets/GridBinding.h"

#include <QFrame>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>

int frmMain::ToPixelsX(int twips) const
{
    return GridBinding::TwipsToPixels(twips, logicalDpiX());
}

int frmMain::ToPixelsY(int twips) const
{
    return GridBinding::TwipsToPixels(twips, logicalDpiY());
}

int frmMain::ToTwipsX(int pixels) const
{
    return GridBinding::PixelsToTwips(pixels, logicalDpiX());
}

int frmMain::ToTwipsY(int pixels) const
{
    return GridBinding::PixelsToTwips(pixels, logicalDpiY());
}

int frmMain::MenuBarBottom() const
{
    const QWidget* bar = menuWidget();
    return bar && !bar->isHidden() ? bar->geometry().bottom() + 1 : 0;
}

MainLayoutInput frmMain::LayoutInput() const
{
    MainLayoutInput in;
    in.visible = isVisible();
    in.minimized = isMinimized();
    const int menu = MenuBarBottom();
    in.windowWidth = ToTwipsX(width());
    in.innerWidth = in.windowWidth;
    in.innerHeight = ToTwipsY(height() - menu);
    in.toolbarHeight = ToTwipsY(std::max(0, m_area->y() - menu));
    in.statusHeight = ToTwipsY(std::max(0, height() - (m_area->y() + m_area->height())));
    in.titleHeight = FrameSizes::TitleHeight;
    in.splitterWidth = FrameSizes::SplitterWidth;
    in.treeLeft = FrameSizes::TreeLeft;
    in.splitterLeft = m_splitterLeft;
    in.hideButtonWidth = FrameSizes::HideButtonWidth;
    in.buttonInset = FrameSizes::ButtonInset;
    // The date button grows to show its whole caption where there is room.
    in.dateSelWidth = m_cmdDateSel->isHidden()
                          ? 0
                          : std::max(FrameSizes::DateSelWidth, ToTwipsX(m_cmdDateSel->sizeHint().width()));
    in.gridSettingWidth = m_cmdGridSetting->isHidden() ? 0 : FrameSizes::GridSettingWidth;
    return in;
}

// A rectangle of the client area in twips as pixels of the central area:
// each edge converted on its own, so that neighbours stay neighbours.
QRect frmMain::ClientToArea(const QRect& twips) const
{
    const int offset = m_area->y() - MenuBarBottom();
    const int left = ToPixelsX(twips.x());
    const int top = ToPixelsY(twips.y()) - offset;
    const int right = ToPixelsX(twips.x() + twips.width());
    const int bottom = ToPixelsY(twips.y() + twips.height()) - offset;
    return QRect(left, top, std::max(0, right - left), std::max(0, bottom - top));
}

void frmMain::LayoutMainWindow(int x)
{
    const MainLayoutInput in = LayoutInput();
    const MainLayoutResult result = ::LayoutMainWindow(x, in, m_layoutState);
    if (!result.applied)
        return;
    if (result.windowWidth > in.windowWidth)
        resize(ToPixelsX(result.windowWidth), height());
    m_splitterLeft = result.splitterLeft;

    m_cmdHideTree->setText(result.hideCaption);
    m_cmdHideTree->setArrowType(result.hideCaption == QLatin1String("4") ? Qt::RightArrow : Qt::LeftArrow);
    Action(QStringLiteral("mnuHideSection"))->setChecked(result.sectionChecked);
    QPalette colours = m_cmdHideTree->parentWidget()->palette();
    if (m_layoutState.hideButtonColor.isValid())
        colours.setColor(QPalette::Button, m_layoutState.hideButtonColor);
    m_cmdHideTree->setPalette(colours);

    const QRect strip = ClientToArea(result.titleStrip);
    m_picTitles->setGeometry(strip);
    const auto inStrip = [this, &strip](const QRect& twips) { return ClientToArea(twips).translated(-strip.topLeft()); };
    m_lblTitle0->setGeometry(inStrip(result.title0));
    m_lblTitle1->setGeometry(inStrip(result.title1));
    m_cmdHideTree->setGeometry(inStrip(result.hideButton));
    m_cmdDateSel->setGeometry(inStrip(result.dateSel));
    m_cmdGridSetting->setGeometry(inStrip(result.gridSetting));
    m_tvTreeView->setGeometry(ClientToArea(result.tree));
    m_tvTreeView->setVisible(result.tree.width() > 0);
    m_imgSplitter->setGeometry(ClientToArea(result.splitter));
    m_dgView->setGeometry(ClientToArea(result.grid));
    ShowSectionItems();
}

void frmMain::StartSplitterDrag()
{
    const QRect handle = m_imgSplitter->geometry();
    m_picSplitter->setGeometry(handle.x(), handle.y(), handle.width(),
                               std::max(0, handle.height() - ToPixelsY(FrameSizes::SplitterBarShorter)));
    m_picSplitter->show();
    m_picSplitter->raise();
    m_barLeft = m_splitterLeft;
    m_dragging = true;
}

void frmMain::MoveSplitterBar(int pointerX)
{
    if (!m_dragging)
        return;
    m_barLeft = SplitterBarLeft(m_splitterLeft, ToTwipsX(pointerX), ToTwipsX(width()));
    m_picSplitter->move(ToPixelsX(m_barLeft), m_picSplitter->y());
}

void frmMain::EndSplitterDrag(int pointerX)
{
    if (!m_dragging)
        return;
    MoveSplitterBar(pointerX);
    m_picSplitter->hide();
    m_dragging = false;
    LayoutMainWindow(m_barLeft);
}

void frmMain::RestoreGeometry()
{
    const auto store = OpenSettingsStore();
    const MainGeometry stored = ReadMainGeometry(*store);
    QRect rect(ToPixelsX(stored.left), ToPixelsY(stored.top), ToPixelsX(stored.width), ToPixelsY(stored.height));
    if (!OnSomeScreen(rect)) {
        // A rectangle left on a screen that is gone: back where a first run puts it.
        const MainGeometry first;
        rect.moveTopLeft(QPoint(ToPixelsX(first.left), ToPixelsY(first.top)));
    }
    setMinimumWidth(ToPixelsX(MainLayout::MinimumWindowWidth));
    setGeometry(rect);
    if (stored.state == 2)
        setWindowState(Qt::WindowMaximized);
    else if (stored.state == 1)
        setWindowState(Qt::WindowMinimized);
    m_splitterLeft = stored.split;
}

void frmMain::SaveGeometry()
{
    MainGeometry geometry;
    geometry.state = isMinimized() ? 1 : isMaximized() ? 2 : 0;
    QRect normal = geometry.state == 0 ? this->geometry() : normalGeometry();
    if (!normal.isValid())
        normal = this->geometry();
    geometry.left = ToTwipsX(normal.x());
    geometry.top = ToTwipsY(normal.y());
    geometry.width = ToTwipsX(normal.width());
    geometry.height = ToTwipsY(normal.height());
    geometry.split = m_splitterLeft;
    const auto store = OpenSettingsStore();
    WriteMainGeometry(*store, geometry);
}
