#pragma once

#include "formats/displaysettings.h"
#include "view/vec3.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <QVector>

// The rows of the point list, one per listed point. Texts are made when a row is
// shown, so that listing a long track costs no more than copying its points.
class PointListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    struct Format {
        int fmt = 0; // record format of the listed track
        int speedUnit = DisplaySettings::Kmh;
        int heightUnit = DisplaySettings::Metres;
        bool local = true; // local time instead of UTC
        bool derivedSpeed = false; // speeds worked out from positions and times
        bool speedsWithoutAltitude = false; // fmt 1, yet with speeds
    };

    // numbers: the record number of each listed point in its track (1 for the first); row
    // n shows n + 1 where there are none.
    PointListModel(const QVector<Vec3>* points, const QVector<int>* numbers,
                   QObject* parent = nullptr);

    // Brackets a change of the listed points. Empty headers keep the columns as they are.
    void beginListing();
    void endListing(const Format& format, const QStringList& headers);
    QString text(int row, int column) const;
    const Format& format() const { return m_format; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    const QVector<Vec3>* m_points;
    const QVector<int>* m_numbers;
    Format m_format;
    QStringList m_headers;
};
