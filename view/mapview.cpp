#include "view/mapview.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>

MapView::MapView(QWidget* parent) : MapViewBase(parent)
{
    setAcceptDrops(false);
    setContextMenuPolicy(Qt::NoContextMenu);
}

QWidget* MapView::inputWidget() const
{
    QWidget* proxy = focusProxy();
    return proxy ? proxy : const_cast<MapView*>(this);
}

// Ignored, a drag goes on to the window.
void MapView::dragEnterEvent(QDragEnterEvent* event)
{
    event->ignore();
}

void MapView::dragMoveEvent(QDragMoveEvent* event)
{
    event->ignore();
}

void MapView::dropEvent(QDropEvent* event)
{
    event->ignore();
}
