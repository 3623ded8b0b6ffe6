#include "shell/ui/preview/preview_request_interceptor.h"

void CPreviewRequestInterceptor::interceptRequest(QWebEngineUrlRequestInfo& info) {
    if (!m_policy.Allows(info.requestUrl(), ResourceOf(info.resourceType())))
        info.block(true);
}

PreviewResource
CPreviewRequestInterceptor::ResourceOf(QWebEngineUrlRequestInfo::ResourceType type) {
    using Info = QWebEngineUrlRequestInfo;
    switch (type) {
    case Info::ResourceTypeMainFrame:
        return PreviewResource::Page;
    case Info::ResourceTypeSubFrame:
        return PreviewResource::Frame;
    case Info::ResourceTypeStylesheet:
        return PreviewResource::Style;
    case Info::ResourceTypeFontResource:
        return PreviewResource::Font;
    case Info::ResourceTypeImage:
    case Info::ResourceTypeFavicon:
        return PreviewResource::Image;
    case Info::ResourceTypeMedia:
        return PreviewResource::Media;
    case Info::ResourceTypeScript:
    case Info::ResourceTypeWorker:
    case Info::ResourceTypeSharedWorker:
        return PreviewResource::Script;
    case Info::ResourceTypeWebSocket:
        return PreviewResource::WebSocket;
    default:
        // XMLHttpRequest and fetch, event streams, beacons and pings,
        // prefetches, service workers, plugins, reports, and what comes later.
        return PreviewResource::Other;
    }
}
