#pragma once

#if KV730_MAP_WEBKIT
#include <QWebView>
using MapViewBase = QWebView;
#else
#include <QWebEngineView>
using MapViewBase = QWebEngineView;
#endif

// The web view of the map. It shows the map page and nothing else: a dropped file goes to
// the window (which opens it) instead of replacing the page, and there is no menu to reload
// the page or follow a link.
class MapView : public MapViewBase
{
    Q_OBJECT

public:
    explicit MapView(QWidget* parent = nullptr);

    // The widget that takes the view's mouse and keyboard input (the engine may draw the page
    // in a child of its own).
    QWidget* inputWidget() const;
    // The same for both engines, so that the window's layout does not depend on the engine.
    QSize sizeHint() const override { return QSize(800, 600); }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};
