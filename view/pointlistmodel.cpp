#include "view/pointlistmodel.h"

#include "formats/timetext.h"
#include "view/mapwidget.h"
#include "view/units.h"

PointListModel::PointListModel(const QVector<Vec3>* points, const QVector<int>* numbers,
                               QObject* parent)
    : QAbstractTableModel(parent), m_points(points), m_numbers(numbers), m_headers(QString())
{
}

void PointListModel::beginListing()
{
    beginResetModel();
}

void PointListModel::endListing(const Format& format, const QStringList& headers)
{
    m_format = format;
    if (!headers.isEmpty())
        m_headers = headers;
    endResetModel();
}

int PointListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_points->size();
}

int PointListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_headers.size();
}

QString PointListModel::text(int row, int column) const
{
    if (row < 0 || row >= m_points->size())
        return QString();
    const Vec3& p = m_points->at(row);
    switch (column) {
    case 0: {
        const int number = row < m_numbers->size() ? m_numbers->at(row) : row + 1;
        return p.marked ? QString::number(number) + QLatin1Char('*') : QString::number(number);
    }
    case 1:
        return p.time == 0 ? QString() : TimeText::date(TimeText::split(p.time, m_format.local));
    case 2:
        return p.time == 0 ? QString() : TimeText::clock(TimeText::split(p.time, m_format.local));
    case 3:
        return MapWidget::formatCoordinate(p.lat, 1, 1);
    case 4:
        return MapWidget::formatCoordinate(p.lon, 2, 1);
    case 5:
        if (m_format.fmt != 2)
            return QString();
        return QString::number(m_format.heightUnit == 0 ? p.alt : Units::altitudeFeet(p.alt), 'f',
                               2) +
               QLatin1Char(' ') + Units::heightName(m_format.heightUnit);
    case 6:
        if (m_format.fmt != 2 && !m_format.speedsWithoutAltitude)
            return QString();
        return QString::number(m_format.speedUnit == 0 ? Units::speedKmh(p.speed)
                                                       : Units::speedMph(p.speed),
                               'f', 2) +
               QLatin1Char(' ') + Units::speedName(m_format.speedUnit) +
               (m_format.derivedSpeed ? tr(" (derived)") : QString());
    default:
        return QString();
    }
}

QVariant PointListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return QVariant();
    return text(index.row(), index.column());
}

QVariant PointListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= m_headers.size())
        return QVariant();
    return m_headers.at(section);
}

Qt::ItemFlags PointListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled;
}
