#include "view/treecheckstate.h"

#include <QTreeWidgetItem>

void TreeCheckState::propagate(QTreeWidgetItem* item)
{
    const Qt::CheckState state = item->checkState(0);
    if (item->childCount() == 0) {
        updateParent(item);
        return;
    }
    if (state == Qt::PartiallyChecked)
        return;
    for (int i = 0; i < item->childCount(); ++i)
        item->child(i)->setCheckState(0, state);
}

void TreeCheckState::updateParent(QTreeWidgetItem* child)
{
    QTreeWidgetItem* parent = child->parent();
    if (!parent)
        return;
    int checked = 0;
    for (int i = 0; i < parent->childCount(); ++i) {
        if (parent->child(i)->checkState(0) == Qt::Checked)
            ++checked;
    }
    Qt::CheckState state = Qt::PartiallyChecked;
    if (checked == 0)
        state = Qt::Unchecked;
    else if (checked == parent->childCount())
        state = Qt::Checked;
    parent->setCheckState(0, state);
}
