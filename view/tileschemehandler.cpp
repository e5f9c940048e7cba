#include "view/tileschemehandler.h"

#include "view/googlemappage.h"
#include "view/viewlog.h"

#include <QBuffer>
#include <QMimeDatabase>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

QByteArray TileSchemeHandler::scheme()
{
    return QByteArrayLiteral("kv730tile");
}

void TileSchemeHandler::registerScheme()
{
    QWebEngineUrlScheme tiles(scheme());
    tiles.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    tiles.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::CorsEnabled);
    QWebEngineUrlScheme::registerScheme(tiles);
}

TileSchemeHandler::TileSchemeHandler(QNetworkAccessManager* network, QObject* parent)
    : QWebEngineUrlSchemeHandler(parent), m_network(network)
{
}

QUrl TileSchemeHandler::target(const QUrl& request)
{
    const QString text = request.toString(QUrl::FullyEncoded);
    const QString prefix = QString::fromLatin1(scheme()) + QLatin1Char(':');
    if (!text.startsWith(prefix))
        return QUrl();
    const QUrl url(text.mid(prefix.size()), QUrl::StrictMode);
    const QString s = url.scheme();
    if (!url.isValid() ||
        (s != QLatin1String("http") && s != QLatin1String("https") && s != QLatin1String("file")))
        return QUrl();
    return url;
}

void TileSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job)
{
    const QUrl url = target(job->requestUrl());
    if (job->requestMethod() != "GET" || url.isEmpty()) {
        qCDebug(lcView) << "tile request refused:" << job->requestUrl();
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, GoogleMapPage::userAgent());
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply* reply = m_network->get(request);
    QPointer<QWebEngineUrlRequestJob> guard(job);
    // A job the page gave up (the map moved on) takes its download along.
    connect(job, &QObject::destroyed, reply, &QNetworkReply::abort);
    connect(reply, &QNetworkReply::finished, this, [guard, reply, url] {
        reply->deleteLater();
        if (!guard)
            return;
        if (reply->error() != QNetworkReply::NoError) {
            qCDebug(lcView) << "tile not loaded:" << url << reply->errorString();
            guard->fail(QWebEngineUrlRequestJob::RequestFailed);
            return;
        }
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (status >= 400) {
            guard->fail(QWebEngineUrlRequestJob::RequestFailed);
            return;
        }
        QByteArray type = reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
        const QByteArray data = reply->readAll();
        if (type.isEmpty())
            type = QMimeDatabase().mimeTypeForFileNameAndData(url.path(), data).name().toLatin1();
        // The job reads the buffer on a thread of its own until it goes: the buffer goes with it.
        auto* buffer = new QBuffer(guard);
        buffer->setData(data);
        buffer->open(QIODevice::ReadOnly);
        guard->reply(type, buffer);
    });
}
