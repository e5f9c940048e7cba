#include "device/trackfileheaderdialog.h"

#include "device/devicekv310.h"
#include "view/trackstatistics.h"
#include "view/treecheckstate.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace
{

// A file without any dated line has no start time; 0 keeps it out of the year 2106.
qint64 headerStartTime(const TrackFileHeader& header)
{
    if (header.date == 0)
        return 0;
    return qint64(deviceTimeToSeconds(header.date, header.timeOfDay));
}

} // namespace

TrackFileHeaderDialog::TrackFileHeaderDialog(QVector<TrackFileHeader>& headers, QWidget* parent)
    : QDialog(parent), m_headers(headers)
{
    setWindowTitle(tr("Select Track Files"));
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("trackFileTree"));
    m_tree->setColumnCount(5);
    m_tree->setHeaderLabels(
        {tr("Selection"), tr("Track Files"), tr("File Name"), tr("Size"), tr("Duration")});
    m_tree->setSelectionMode(QAbstractItemView::ExtendedSelection);

    const Qt::ItemFlags flags = Qt::ItemIsUserCheckable | Qt::ItemIsEnabled;
    m_rootItem = new QTreeWidgetItem(m_tree);
    m_rootItem->setText(0, tr(""));
    m_rootItem->setText(1, tr("KV-730 files"));
    m_rootItem->setFlags(flags);
    // Every file is ticked: a download usually fetches them all.
    m_rootItem->setCheckState(0, m_headers.isEmpty() ? Qt::Unchecked : Qt::Checked);
    const QLocale locale;
    for (int i = 0; i < m_headers.size(); ++i) {
        auto* item = new QTreeWidgetItem(m_rootItem);
        item->setText(0, QString::number(i + 1));
        const TrackFileHeader& header = m_headers.at(i);
        const QString start = header.date == 0
                                  ? tr("no date")
                                  : QDateTime::fromSecsSinceEpoch(headerStartTime(header), Qt::UTC)
                                        .toLocalTime()
                                        .toString(QStringLiteral("yyyy-MM-dd - hh:mm:ss"));
        item->setText(1, start);
        item->setText(2, header.fileName);
        if (header.fileSize >= 0)
            item->setText(3, locale.formattedDataSize(header.fileSize, 1,
                                                      QLocale::DataSizeTraditionalFormat));
        if (header.duration >= 0)
            item->setText(4, TrackStatistics::formatDuration(header.duration));
        item->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(4, Qt::AlignRight | Qt::AlignVCenter);
        item->setFlags(flags);
        item->setCheckState(0, Qt::Checked);
    }
    m_rootItem->setExpanded(true);
    for (int column = 0; column < m_tree->columnCount(); ++column)
        m_tree->resizeColumnToContents(column);

    m_applyButton = new QPushButton(tr("Apply"), this);
    m_applyButton->setObjectName(QStringLiteral("applyButton"));
    m_closeButton = new QPushButton(tr("Close"), this);
    m_closeButton->setObjectName(QStringLiteral("closeButton"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_applyButton);
    buttons->addWidget(m_closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tree);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_applyButton, &QPushButton::clicked, this, &TrackFileHeaderDialog::Apply);
    connect(m_closeButton, &QPushButton::clicked, this, &TrackFileHeaderDialog::reject);
    connect(m_tree, &QTreeWidget::itemChanged, this, &TrackFileHeaderDialog::TreeWidgetItemChanged);
}

void TrackFileHeaderDialog::TreeWidgetItemChanged(QTreeWidgetItem* item, int column)
{
    Q_UNUSED(column);
    // Partial states come from the propagation itself and are not passed on.
    if (item->checkState(0) != Qt::PartiallyChecked)
        TreeCheckState::propagate(item);
}

void TrackFileHeaderDialog::Apply()
{
    for (int i = 0; i < m_rootItem->childCount() && i < m_headers.size(); ++i) {
        if (m_rootItem->child(i)->checkState(0) != Qt::Checked)
            continue;
        Track track;
        track.startTime = headerStartTime(m_headers.at(i));
        m_selectedTracks.append(track);
        m_selectedFileIndexes.append(m_headers.at(i).fileIndexes);
    }
    accept();
}
