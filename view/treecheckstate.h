#pragma once

class QTreeWidgetItem;

// Check boxes of a two-level tree (one parent over its children, column 0) kept in step:
// a parent's state goes down to every child, and a child's change decides its parent's
// state (all checked, none, or partly).
class TreeCheckState
{
public:
    // After the check state of item changed: a parent passes a full state on to its
    // children (a partial one, set from below, passes nothing); a child updates its parent.
    static void propagate(QTreeWidgetItem* item);
    // The parent of child checked, unchecked or partly checked after its children.
    static void updateParent(QTreeWidgetItem* child);
};
