// Finding and loading the preview's plugin (tsle_preview), once per process.
#pragma once

#include <QString>
#include <QStringList>

class IPreviewEngineFactory;

// Where the plugin is looked for, in order: the folder named by the
// environment variable TSLE_PREVIEW_PLUGIN_DIR (tests, developers), the
// program's own folder (the build tree), and the installed library folder
// (beside the program's prefix, then the configured one).
QStringList PreviewPluginDirs();

// The plugin's engine factory, loaded at the first call and kept for the
// life of the process. Null when no plugin could be loaded; error then says
// why.
IPreviewEngineFactory* LoadPreviewEngineFactory(QString* error = nullptr);
