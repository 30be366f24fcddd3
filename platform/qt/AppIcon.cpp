#include "platform/qt/AppIcon.h"

#include <QApplication>
#include <QDirIterator>
#include <QIcon>
#include <algorithm>

namespace ui::qt {

void InstallAppIcon() {
    // Every size that tools/make-icons.sh rendered is embedded under :/icons; each file tells
    // its own size.
    QIcon icon;
    // The suffix is tested by hand: a name filter would compile a regular expression (and map
    // its library) at every start.
    QDirIterator it(QStringLiteral(":/icons"), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        if (QString path = it.next(); path.endsWith(QLatin1String(".png"))) icon.addFile(path);
    QApplication::setWindowIcon(icon);
    // The name of the installed desktop entry, without ".desktop" (see packaging/).
    QGuiApplication::setDesktopFileName(QStringLiteral("com.telvar.kx7140_settings"));
}

std::vector<int> AppIconSizes() {
    std::vector<int> sizes;
    for (const QSize& s : QApplication::windowIcon().availableSizes())
        if (s.width() == s.height()) sizes.push_back(s.width());
    std::sort(sizes.begin(), sizes.end());
    return sizes;
}

} // namespace ui::qt
