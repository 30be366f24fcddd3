// Conversions between the layer's values and Qt's, used only inside the platform layer.
#pragma once

#include "platform/Forms.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <functional>

namespace ui::qt {

QString ToQ(const std::string& s);
std::string FromQ(const QString& s);
QColor ToQColor(TColor c);
// The page's fonts are Windows faces; each maps to a close free face so that text keeps the
// size the page was laid out for. Sizes are set in pixels so that the result does not depend on
// the display's reported resolution.
QFont ToQFont(const TFont& f);
QString MapFontFamily(const std::string& name);

} // namespace ui::qt
