#include "component/widgets/RelatedNavigation.h"

#include "component/DataObject.h"
#include "component/widgets/DialogService.h"

#include <QMenu>

namespace RelatedNavigation {

QString GroupCaption(RelatedItem::Group group)
{
    switch (group) {
    case RelatedItem::Group::Associated: return QStringLiteral("< Associati >");
    case RelatedItem::Group::Referred: return QStringLiteral("< Riferimenti >");
    case RelatedItem::Group::Container: return QStringLiteral("< Contenitori >");
    }
    return {};
}

void Open(const std::shared_ptr<DataObject>& data, RelatedItem::Group group, int number)
{
    const auto target = RelatedItems::Resolve(data, group, number);
    if (!target || !RelatedItems::NavigationAllowed(*target->object) || !target->item.navigable) {
        Dialogs().MessageBox(QStringLiteral("Operazione non abilitata in questa fase"), MsgButtons::Ok,
                             MsgIcon::Information, MsgDefault::Button1, QString());
        return;
    }
    const auto related = RelatedItems::Open(target->object, target->item);
    const bool oneRecord = group == RelatedItem::Group::Associated && !target->item.collection;
    if (oneRecord && !related->IsEmptySet()) {
        related->MoveFirst();
        Dialogs().RecordEditor(related, EditMode::CurrentRecord, {});
        return;
    }
    Dialogs().DataWindow(related, target->item.caption);
}

void Fill(QMenu& menu, const std::shared_ptr<DataObject>& data,
          const std::function<void(RelatedItem::Group, int)>& chosen)
{
    for (const auto group : {RelatedItem::Group::Associated, RelatedItem::Group::Referred, RelatedItem::Group::Container}) {
        QList<RelatedItem> items;
        for (const auto& object : RelatedItems::Chain(data))
            items += RelatedItems::Of(*object, group);
        if (items.isEmpty())
            continue;
        QAction* header = menu.addAction(GroupCaption(group));
        header->setEnabled(false);
        for (int i = 0; i < items.size(); ++i) {
            QAction* entry = menu.addAction(items[i].caption);
            entry->setEnabled(items[i].navigable);
            QObject::connect(entry, &QAction::triggered, &menu, [chosen, group, number = i + 1] { chosen(group, number); });
        }
    }
}

} // namespace RelatedNavigation
