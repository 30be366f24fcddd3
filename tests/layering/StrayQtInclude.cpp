// Compiled like any file outside platform/qt/: it must not find Qt's headers.
#include "platform/Controls.h"

#include <QWidget>

int StrayQtIncludeProbe() {
    return sizeof(QWidget) > 0 ? 1 : 0;
}
