#pragma once

#include "device/trackfileheader.h"
#include "view/track.h"

#include <QDialog>
#include <QVector>

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// Offers the listed track files of a logger, one check box each under a root row that
// checks or unchecks them all; "Apply" hands back the chosen files.
class TrackFileHeaderDialog : public QDialog
{
    Q_OBJECT

public:
    TrackFileHeaderDialog(QVector<TrackFileHeader>& headers, QWidget* parent = nullptr);

    // One track per checked file (start time only), in file order.
    QVector<Track>& selectedTracks() { return m_selectedTracks; }
    QVector<int>& selectedFileIndexes() { return m_selectedFileIndexes; }

    QTreeWidget* tree() const { return m_tree; }
    QTreeWidgetItem* rootItem() const { return m_rootItem; }

public slots:
    void Apply();
    void TreeWidgetItemChanged(QTreeWidgetItem* item, int column);

private:
    QVector<TrackFileHeader> m_headers;
    QVector<Track> m_selectedTracks;
    QVector<int> m_selectedFileIndexes;
    QTreeWidget* m_tree = nullptr;
    QTreeWidgetItem* m_rootItem = nullptr;
    QPushButton* m_applyButton = nullptr;
    QPushButton* m_closeButton = nullptr;
};
