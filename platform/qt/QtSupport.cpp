#include "platform/qt/QtSupport.h"

namespace ui::qt {

QString ToQ(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<int>(s.size()));
}

std::string FromQ(const QString& s) {
    return s.toUtf8().toStdString();
}

QColor ToQColor(TColor c) {
    uint32_t rgb = ColorToRGB(c);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

QString MapFontFamily(const std::string& name) {
    if (SameText(name, "MS Sans Serif") || SameText(name, "Arial") ||
        SameText(name, "Microsoft Sans Serif"))
        return QStringLiteral("Liberation Sans");
    if (SameText(name, "Tahoma")) return QStringLiteral("DejaVu Sans Condensed");
    if (SameText(name, "Verdana")) return QStringLiteral("DejaVu Sans");
    if (SameText(name, "Courier New")) return QStringLiteral("Liberation Mono");
    if (SameText(name, "Times New Roman")) return QStringLiteral("Liberation Serif");
    return ToQ(name);
}

QFont ToQFont(const TFont& f) {
    QFont q(MapFontFamily(f.Name));
    int px = f.Height < 0 ? -f.Height : (f.Height > 0 ? f.Height * 3 / 4 : 11);
    q.setPixelSize(px > 0 ? px : 1);
    q.setBold(f.Style & fsBold);
    q.setItalic(f.Style & fsItalic);
    q.setUnderline(f.Style & fsUnderline);
    q.setStrikeOut(f.Style & fsStrikeOut);
    q.setStyleStrategy(QFont::PreferAntialias);
    return q;
}

} // namespace ui::qt
