#pragma once

#include <QNetworkAccessManager>
#include <QString>

class QNetworkDiskCache;

// Network access for the map page with a disk cache of what it downloads, so that
// tiles once shown come back without a network.
//
// Web requests prefer the cache: a stored response within its lifetime is used
// without asking the server. Every stored response is kept fresh for at least
// MinimumFreshness after its download, whatever shorter lifetime the server gave.
// After a request failed for want of a connection, requests for anything stored are
// answered from the cache whatever its age, until OfflineRetry has passed or a
// request reached the server again. The cache keeps below its size limit by dropping
// the files written longest ago first (QNetworkDiskCache::expire orders by creation
// time); a response that was refreshed counts as new.
class TileCache : public QNetworkAccessManager
{
    Q_OBJECT

public:
    static constexpr qint64 DefaultMaximumSize = 500LL * 1024 * 1024;
    static constexpr qint64 MinimumFreshness = 7 * 24 * 3600; // seconds
    static constexpr qint64 OfflineRetry = 60;                // seconds

    // <user cache directory>/tiles
    static QString defaultDirectory();
    // The manager for the map page's tiles.
    static QNetworkAccessManager* createNetworkAccessManager(QObject* parent);

    explicit TileCache(QObject* parent = nullptr, const QString& directory = defaultDirectory(),
                       qint64 maximumSize = DefaultMaximumSize);
    ~TileCache() override;

    QNetworkDiskCache* diskCache() const { return m_diskCache; }
    bool isOffline() const;

protected:
    QNetworkReply* createRequest(Operation op, const QNetworkRequest& request,
                                 QIODevice* outgoingData) override;

private:
    void replyFinished(QNetworkReply* reply);

    QNetworkDiskCache* m_diskCache = nullptr;
    qint64 m_offlineUntil = 0; // msecs since epoch
};
