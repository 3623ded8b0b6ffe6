// The plugin that brings the web engine to the preview: it makes
// CWebPreviewView engines for the preview pane.
#pragma once

#include <QObject>

#include "shell/ui/preview_engine.h"

class CWebPreviewPlugin : public QObject, public IPreviewEngineFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID TSLE_PREVIEW_ENGINE_IID)
    Q_INTERFACES(IPreviewEngineFactory)

public:
    IPreviewEngine* CreateEngine(QWidget* parent, const PreviewEngineEvents& events) override;
};
