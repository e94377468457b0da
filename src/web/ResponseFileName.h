#pragma once
// Name of the file that receives a response body.

#include <QString>
#include <QUrl>

// The document name of a URL: the last segment of its path, without the query.
QString DocumentName(const QUrl &aURL);

// The file name for a response: aFixedName when not empty, else aDocumentName; images
// get the extension of their type ("gif", "jpg", "bmp"); an empty name is "HTTPS.htm".
QString ResponseFileName(const QString &aFixedName, const QString &aDocumentName,
                         const QString &aContentType);
