#include "shell/ui/preview/preview_plugin.h"

#include "shell/ui/preview/web_preview_view.h"

IPreviewEngine* CWebPreviewPlugin::CreateEngine(QWidget* parent,
                                                const PreviewEngineEvents& events) {
    return new CWebPreviewView(events, parent);
}
