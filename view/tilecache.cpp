#include "view/tilecache.h"

#include "view/viewlog.h"

#include <QDateTime>
#include <QNetworkDiskCache>
#include <QNetworkReply>
#include <QStandardPaths>

namespace
{

bool isWeb(const QUrl& url)
{
    const QString scheme = url.scheme();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

bool isConnectionFailure(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::TimeoutError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::UnknownNetworkError:
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError:
        return true;
    default:
        return false;
    }
}

} // namespace

QString TileCache::defaultDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
           QStringLiteral("/tiles");
}

QNetworkAccessManager* TileCache::createNetworkAccessManager(QObject* parent)
{
    return new TileCache(parent);
}

TileCache::TileCache(QObject* parent, const QString& directory, qint64 maximumSize)
    : QNetworkAccessManager(parent)
{
    m_diskCache = new QNetworkDiskCache(this);
    m_diskCache->setCacheDirectory(directory);
    m_diskCache->setMaximumCacheSize(maximumSize);
    setCache(m_diskCache); // the manager takes ownership
    connect(this, &QNetworkAccessManager::finished, this, &TileCache::replyFinished);
    qCDebug(lcView) << "tile cache" << directory << maximumSize;
}

TileCache::~TileCache() = default;

bool TileCache::isOffline() const
{
    return QDateTime::currentMSecsSinceEpoch() < m_offlineUntil;
}

QNetworkReply* TileCache::createRequest(Operation op, const QNetworkRequest& request,
                                        QIODevice* outgoingData)
{
    if (op != GetOperation || !isWeb(request.url()))
        return QNetworkAccessManager::createRequest(op, request, outgoingData);

    // An explicit choice of the caller (a forced reload) is kept.
    const QVariant control = request.attribute(QNetworkRequest::CacheLoadControlAttribute);
    const int asked = control.isValid() ? control.toInt() : int(QNetworkRequest::PreferNetwork);
    if (asked == QNetworkRequest::AlwaysNetwork || asked == QNetworkRequest::AlwaysCache)
        return QNetworkAccessManager::createRequest(op, request, outgoingData);

    QNetworkRequest r(request);
    const bool stored = m_diskCache->metaData(request.url()).isValid();
    r.setAttribute(QNetworkRequest::CacheLoadControlAttribute, stored && isOffline()
                                                                   ? QNetworkRequest::AlwaysCache
                                                                   : QNetworkRequest::PreferCache);
    return QNetworkAccessManager::createRequest(op, r, outgoingData);
}

void TileCache::replyFinished(QNetworkReply* reply)
{
    const QUrl url = reply->request().url();
    if (!isWeb(url))
        return;
    const QNetworkReply::NetworkError error = reply->error();
    if (isConnectionFailure(error)) {
        if (!isOffline())
            qCDebug(lcView) << "tile cache: offline," << reply->errorString();
        m_offlineUntil = QDateTime::currentMSecsSinceEpoch() + OfflineRetry * 1000;
        return;
    }
    if (reply->attribute(QNetworkRequest::SourceIsFromCacheAttribute).toBool())
        return;
    m_offlineUntil = 0;
    if (error != QNetworkReply::NoError)
        return;

    QNetworkCacheMetaData meta = m_diskCache->metaData(url);
    if (!meta.isValid())
        return;
    const QDateTime keep = QDateTime::currentDateTimeUtc().addSecs(MinimumFreshness);
    if (meta.expirationDate().isValid() && meta.expirationDate() >= keep)
        return;
    // Freshness is judged by this date alone; "no-cache" and "must-revalidate" in the
    // stored headers still force a revalidation while online.
    meta.setExpirationDate(keep);
    m_diskCache->updateMetaData(meta);
}
