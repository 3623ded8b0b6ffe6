// Which file names are meta-data templates rather than pages.
#pragma once

#include <QString>

// 1 when a file name is opened as a template: its extension from the last "."
// is ".mtpl" (case-sensitive), so "NOTES.MTPL" is a page.
int IsTemplateFileName(const QString& path);
