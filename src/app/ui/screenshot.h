// Pictures of the main window for the documentation (make screenshot).
//
// A scene puts the window into the state to be shown and says when it is
// ready; the window is then given time to paint, grabbed to a PNG file, and
// the program ends. Scenes are looked up by name; other parts of the program
// add theirs with RegisterScreenshotScene (the preview, the file browser).
// While a scene runs, questions are answered Yes and messages go to stderr.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class CMainFrame;
class CTesselDoc;

// Sets the scene up; calls ready() once it may be photographed (at once, or
// later, for example when a page has loaded).
using ScreenshotScene =
    std::function<void(CMainFrame& frame, CTesselDoc& doc, std::function<void()> ready)>;

// Adds or replaces a scene. Built in: "page" (the window as started),
// "template" (a new template based on the page, being edited), "menu" (the
// File menu open), "options" and "preview-options" (the options sheet at its
// first and its "Web page preview" page), "expires", "browser", "preview",
// "split", "site" (the site view on the page's folder, one title edited), and
// "themes" (a template being edited under the desktop's palette and, beside
// it, under a dark one). The picture shows the window and whatever the scene
// opened over it (menus, dialogs).
void RegisterScreenshotScene(const QString& name, ScreenshotScene scene);
QStringList ScreenshotSceneNames();

// The window size the pictures are taken at.
inline constexpr int SCREENSHOT_WIDTH = 960;
inline constexpr int SCREENSHOT_HEIGHT = 640;

// Runs the scene on the shown window, then writes the picture to file and
// ends the event loop with 0, or with 1 (and a message on stderr) when the
// scene is unknown or the file cannot be written.
void TakeScreenshot(CMainFrame& frame, CTesselDoc& doc, const QString& scene, const QString& file);
