#include "app/geotagdialog.h"
#include "ui_geotagdialog.h"

#include "app/applog.h"
#include "photos/photoreader.h"
#include "view/googlemapoperator.h"

#include <QBuffer>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>
#include <QMessageBox>
#include <QProgressDialog>
#include <QSet>
#include <QThread>
#include <QTimeZone>

#include <atomic>

namespace
{

// Offsets in use somewhere in the world, in quarter hours.
const int zoneQuarterHours[] = {-48, -44, -40, -38, -36, -32, -28, -24, -20, -16, -14, -12, -8,
                                -4,  4,   8,   12,  14,  16,  18,  20,  22,  23,  24,  26,  28,
                                32,  35,  36,  38,  40,  42,  44,  48,  51,  52,  56};

// Thumbnails larger than this (raw previews can be) are scaled down before going to the map.
const int largestThumbnailBytes = 64 * 1024;
const int thumbnailPixels = 160;

} // namespace

GeotagDialog::GeotagDialog(const QVector<Track>& tracks, const QList<int>& selection,
                           GoogleMapOperator* map, QWidget* parent)
    : QDialog(parent), ui(new Ui::GeotagDialog), m_matcher(tracks, selection),
      m_trackCount(selection.size()), m_map(map)
{
    ui->setupUi(this);
    fillZones();
    ui->photoTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    ui->photoTable->horizontalHeader()->setStretchLastSection(true);
    m_mapTimer.setSingleShot(true);
    m_mapTimer.setInterval(150);
    connect(&m_mapTimer, &QTimer::timeout, this, &GeotagDialog::updateMap);
    connect(ui->zoneCombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &GeotagDialog::updateMatches);
    connect(ui->clockErrorSpin, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &GeotagDialog::updateMatches);
    connect(ui->maxGapSpin, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &GeotagDialog::updateMatches);
    connect(ui->replaceCheck, &QCheckBox::toggled, this, &GeotagDialog::updateMatches);
    connect(ui->photoTable, &QTableWidget::currentCellChanged, this,
            [this](int row) { showPhotoOnMap(row); });
    connect(ui->photoTable, &QTableWidget::cellClicked, this,
            [this](int row) { showPhotoOnMap(row); });
    updateMatches();
}

GeotagDialog::~GeotagDialog()
{
    if (m_map)
        emit m_map->clearPhotos();
    delete ui;
}

void GeotagDialog::fillZones()
{
    ui->zoneCombo->addItem(
        tr("This computer (%1)").arg(QString::fromUtf8(QTimeZone::systemTimeZoneId())),
        QStringLiteral("local"));
    ui->zoneCombo->addItem(tr("UTC"), QStringLiteral("utc"));
    for (int quarters : zoneQuarterHours) {
        const QString offset = CameraZone::offsetText(quarters * 900);
        ui->zoneCombo->addItem(QStringLiteral("UTC") + offset, offset);
    }
    const QList<QByteArray> ids = QTimeZone::availableTimeZoneIds();
    for (const QByteArray& id : ids) {
        if (id.contains('/'))
            ui->zoneCombo->addItem(QString::fromUtf8(id), QString::fromUtf8(id));
    }
}

GeotagMatcher::Settings GeotagDialog::settings() const
{
    GeotagMatcher::Settings s;
    CameraZone::parse(ui->zoneCombo->currentData().toString(), &s.zone);
    s.clockErrorSeconds = ui->clockErrorSpin->value();
    s.maxGapSeconds = ui->maxGapSpin->value();
    return s;
}

void GeotagDialog::addPhotos(const QStringList& paths)
{
    const QStringList files = PhotoReader::collect(paths);
    QSet<QString> known;
    for (const Photo& p : qAsConst(m_photos))
        known.insert(p.info.path);
    QProgressDialog progress(tr("Reading the photos..."), tr("Cancel"), 0, files.size(), this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    for (int i = 0; i < files.size() && !progress.wasCanceled(); ++i) {
        progress.setValue(i);
        const QString path = QFileInfo(files.at(i)).absoluteFilePath();
        if (known.contains(path))
            continue;
        known.insert(path);
        Photo photo;
        photo.info = PhotoReader::read(path, true);
        m_photos.append(photo);
    }
    progress.setValue(files.size());
    qCDebug(lcApp) << "geotag:" << m_photos.size() << "photos";
    updateMatches();
}

void GeotagDialog::on_addPhotosButton_clicked()
{
    const QStringList files = QFileDialog::getOpenFileNames(
        this, tr("Add Photos"), m_lastFolder,
        tr("Photos (%1);;All files (*)").arg(PhotoReader::nameFilter()));
    if (files.isEmpty())
        return;
    m_lastFolder = QFileInfo(files.first()).absolutePath();
    addPhotos(files);
}

void GeotagDialog::on_addFolderButton_clicked()
{
    const QString folder = QFileDialog::getExistingDirectory(this, tr("Add Folder"), m_lastFolder);
    if (folder.isEmpty())
        return;
    m_lastFolder = folder;
    addPhotos({folder});
}

void GeotagDialog::on_clearButton_clicked()
{
    m_photos.clear();
    updateMatches();
}

void GeotagDialog::updateMatches()
{
    const GeotagMatcher::Settings s = settings();
    int matched = 0;
    ui->photoTable->setRowCount(m_photos.size());
    for (int row = 0; row < m_photos.size(); ++row) {
        Photo& p = m_photos[row];
        p.match = p.info.kind == PhotoInfo::Unreadable ? GeotagMatch() : m_matcher.match(p.info, s);
        matched += p.match.matched();
        setRowTexts(row);
    }
    ui->summaryLabel->setText(
        tr("%1 of %2 photos matched, on %3 points of %n ticked track(s).", nullptr, m_trackCount)
            .arg(matched)
            .arg(m_photos.size())
            .arg(m_matcher.pointCount()));
    ui->writeButton->setEnabled(matched > 0);
    m_mapTimer.start();
}

void GeotagDialog::setRowTexts(int row)
{
    const Photo& p = m_photos.at(row);
    const auto cell = [this, row, &p](int column, const QString& text, bool note) {
        QTableWidgetItem* item = ui->photoTable->item(row, column);
        if (!item) {
            item = new QTableWidgetItem;
            ui->photoTable->setItem(row, column, item);
        }
        item->setText(text);
        item->setToolTip(column == 0 ? QDir::toNativeSeparators(p.info.path) : text);
        item->setForeground(
            palette().brush(note ? QPalette::Disabled : QPalette::Active, QPalette::Text));
    };
    cell(0, QFileInfo(p.info.path).fileName(), false);
    QString capture;
    if (p.info.hasTime)
        capture =
            GeotagMatcher::timeText(p.info.wallMs) +
            (p.info.hasOffset ? QLatin1Char(' ') + CameraZone::offsetText(p.info.offsetSeconds)
                              : QString());
    cell(1, capture, false);
    cell(2, p.match.hasUtc ? GeotagMatcher::timeText(p.match.utcMs) : QString(), false);
    if (p.info.kind == PhotoInfo::Unreadable) {
        cell(3, p.info.error, true);
        return;
    }
    if (!p.match.matched()) {
        cell(3, p.match.reason, true);
        return;
    }
    QString position =
        QStringLiteral("%1, %2").arg(p.match.latitude, 0, 'f', 6).arg(p.match.longitude, 0, 'f', 6);
    if (p.match.hasAltitude)
        position += tr(", %1 m").arg(p.match.altitude, 0, 'f', 1);
    if (p.info.hasPosition && !ui->replaceCheck->isChecked())
        position += tr(" (the photo has a position already and is left as it is)");
    cell(3, position, false);
}

QString GeotagDialog::thumbnailUrl(Photo& photo) const
{
    if (!photo.thumbnailUrl.isNull())
        return photo.thumbnailUrl;
    QByteArray jpeg = photo.info.thumbnail;
    if (jpeg.isEmpty() || jpeg.size() > largestThumbnailBytes) {
        // No small thumbnail in the photo: a picture scaled from the photo (or its preview).
        QBuffer buffer(&jpeg);
        QImageReader reader;
        if (jpeg.isEmpty())
            reader.setFileName(photo.info.path);
        else
            reader.setDevice(&buffer);
        QSize size = reader.size();
        if (size.isValid()) {
            size.scale(thumbnailPixels, thumbnailPixels, Qt::KeepAspectRatio);
            reader.setScaledSize(size);
        }
        const QImage image = reader.read();
        QByteArray scaled;
        QBuffer out(&scaled);
        if (image.isNull() || !out.open(QIODevice::WriteOnly) || !image.save(&out, "JPEG", 80))
            scaled.clear();
        jpeg = scaled;
    }
    photo.thumbnailUrl = jpeg.isEmpty() ? QStringLiteral("")
                                        : QStringLiteral("data:image/jpeg;base64,") +
                                              QString::fromLatin1(jpeg.toBase64());
    return photo.thumbnailUrl;
}

void GeotagDialog::updateMap()
{
    m_mapTimer.stop();
    if (!m_map)
        return;
    emit m_map->clearPhotos();
    for (int row = 0; row < m_photos.size(); ++row) {
        Photo& p = m_photos[row];
        if (!p.match.matched())
            continue;
        const QString title =
            tr("%1, %2 UTC")
                .arg(QFileInfo(p.info.path).fileName(), GeotagMatcher::timeText(p.match.utcMs));
        emit m_map->addPhoto(row, p.match.latitude, p.match.longitude, title, thumbnailUrl(p));
    }
}

void GeotagDialog::showPhotoOnMap(int row)
{
    if (!m_map || row < 0 || row >= m_photos.size() || !m_photos.at(row).match.matched())
        return;
    if (m_mapTimer.isActive())
        updateMap();
    emit m_map->showPhoto(row);
}

QVector<PhotoWriter::Result> GeotagDialog::writePhotos()
{
    QVector<PhotoWriter::Result> results(m_photos.size());
    QVector<int> rows;
    for (int row = 0; row < m_photos.size(); ++row) {
        const Photo& p = m_photos.at(row);
        PhotoWriter::Result& r = results[row];
        if (p.match.matched()) {
            rows.append(row);
            r.status = PhotoWriter::Result::Skipped;
            r.reason = tr("Not written: the writing was cancelled.");
        } else if (p.info.kind == PhotoInfo::Unreadable) {
            // A raw kind the library cannot read is skipped, not failed.
            if (p.info.unsupported)
                r.status = PhotoWriter::Result::Skipped;
            r.reason = p.info.error;
        } else {
            r.status = PhotoWriter::Result::Skipped;
            r.reason = p.match.reason;
        }
    }
    if (rows.isEmpty())
        return results;

    // The worker gets copies; the table stays as it is until the end.
    struct Job {
        QString path;
        GeotagMatch match;
        PhotoWriter::Result result;
    };
    QVector<Job> jobs;
    for (int row : qAsConst(rows))
        jobs.append({m_photos.at(row).info.path, m_photos.at(row).match, results.at(row)});
    const PhotoWriter::Options options{ui->replaceCheck->isChecked(),
                                       ui->keepOriginalsCheck->isChecked()};
    QProgressDialog progress(tr("Writing the positions into the photos..."), tr("Cancel"), 0,
                             jobs.size(), this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setValue(0);
    std::atomic_bool cancelled{false};
    connect(&progress, &QProgressDialog::canceled, this, [&cancelled] { cancelled = true; });
    QThread* worker = QThread::create([&jobs, &cancelled, &progress, options] {
        for (int i = 0; i < jobs.size() && !cancelled; ++i) {
            jobs[i].result = PhotoWriter::write(jobs.at(i).path, jobs.at(i).match, options);
            QMetaObject::invokeMethod(
                &progress, [&progress, i] { progress.setValue(i + 1); }, Qt::QueuedConnection);
        }
    });
    QEventLoop loop;
    connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec();
    worker->wait();
    delete worker;

    for (int i = 0; i < rows.size(); ++i) {
        results[rows.at(i)] = jobs.at(i).result;
        if (jobs.at(i).result.status == PhotoWriter::Result::Tagged) {
            PhotoInfo& info = m_photos[rows.at(i)].info;
            const QByteArray thumbnail = info.thumbnail;
            info = PhotoReader::read(info.path);
            info.thumbnail = thumbnail;
        }
    }
    updateMatches();
    return results;
}

void GeotagDialog::on_writeButton_clicked()
{
    const QVector<PhotoWriter::Result> results = writePhotos();
    int counts[3] = {0, 0, 0};
    QStringList reasons;
    for (int row = 0; row < results.size(); ++row) {
        const PhotoWriter::Result& r = results.at(row);
        ++counts[r.status];
        const QString name = QFileInfo(m_photos.at(row).info.path).fileName();
        if (r.status == PhotoWriter::Result::Skipped)
            reasons << tr("%1 skipped: %2").arg(name, r.reason);
        else if (r.status == PhotoWriter::Result::Failed)
            reasons << tr("%1 failed: %2").arg(name, r.reason);
    }
    QMessageBox box(counts[PhotoWriter::Result::Failed] ? QMessageBox::Warning
                                                        : QMessageBox::Information,
                    windowTitle(),
                    tr("%n photo(s) tagged.", nullptr, counts[PhotoWriter::Result::Tagged]) +
                        QLatin1Char('\n') +
                        tr("%n photo(s) skipped.", nullptr, counts[PhotoWriter::Result::Skipped]) +
                        QLatin1Char('\n') +
                        tr("%n photo(s) failed.", nullptr, counts[PhotoWriter::Result::Failed]),
                    QMessageBox::Ok, this);
    // The first reasons at once, all of them behind the details button.
    const int shown = 10;
    QStringList first = reasons.mid(0, shown);
    if (reasons.size() > shown) {
        first << tr("... and %n more.", nullptr, reasons.size() - shown);
        box.setDetailedText(reasons.join(QLatin1Char('\n')));
    }
    box.setInformativeText(first.join(QLatin1Char('\n')));
    box.exec();
}
