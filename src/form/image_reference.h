// How a picture chosen for og:image or twitter:image is written into a page:
// its address relative to the page's folder, as a URL path.
#pragma once

#include <QString>

// imageFile relative to the folder of pagePath ("../img/a b.png" gives
// "../img/a%20b.png"), "/" between folders and every segment
// percent-encoded as a URL path needs; for a page not saved yet (pagePath
// "") the file's own file: URL.
QString ImageReference(const QString& pagePath, const QString& imageFile);
