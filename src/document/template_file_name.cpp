#include "document/template_file_name.h"

int IsTemplateFileName(const QString& path) {
    return path.endsWith(QLatin1String(".mtpl"), Qt::CaseSensitive) ? 1 : 0;
}
