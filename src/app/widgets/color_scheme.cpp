#include "widgets/color_scheme.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

namespace {

constexpr int kPortalTimeoutMs = 500;

bool IsDark(const QPalette& palette) {
    return palette.color(QPalette::Window).lightness() < 128;
}

// org.freedesktop.appearance color-scheme: 0 no preference, 1 dark, 2 light.
int PortalColorScheme() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return 0;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.portal.Desktop"),
        QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.portal.Settings"), QStringLiteral("Read"));
    call << QStringLiteral("org.freedesktop.appearance") << QStringLiteral("color-scheme");
    const QDBusMessage reply = bus.call(call, QDBus::Block, kPortalTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return 0;
    }
    // The value comes wrapped in one variant, or two from older portals.
    QVariant value = reply.arguments().first();
    while (value.canConvert<QDBusVariant>()) {
        value = value.value<QDBusVariant>().variant();
    }
    return value.toInt();
}

QPalette DarkPalette() {
    const QColor window(0x1f, 0x27, 0x30);
    const QColor text(0xdf, 0xe6, 0xee);
    const QColor disabled(0x6c, 0x78, 0x86);
    QPalette palette(window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, QColor(0x16, 0x1d, 0x24));
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, QColor(0x2a, 0x34, 0x40));
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::ToolTipBase, QColor(0x2c, 0x37, 0x42));
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::PlaceholderText, QColor(0x87, 0x94, 0xa3));
    palette.setColor(QPalette::BrightText, QColor(0xff, 0x6b, 0x6b));
    palette.setColor(QPalette::Link, QColor(0x7f, 0xb4, 0xe6));
    palette.setColor(QPalette::Highlight, QColor(0x3d, 0x6a, 0x96));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(QPalette::Disabled, role, disabled);
    }
    return palette;
}

}  // namespace

ColorScheme DesktopColorScheme(const QPalette& themePalette) {
    const QByteArray chosen = qgetenv("QUILLORY_COLOR_SCHEME").trimmed().toLower();
    if (chosen == "dark") {
        return ColorScheme::Dark;
    }
    if (chosen == "light") {
        return ColorScheme::Light;
    }
    switch (PortalColorScheme()) {
        case 1:
            return ColorScheme::Dark;
        case 2:
            return ColorScheme::Light;
        default:
            return IsDark(themePalette) ? ColorScheme::Dark : ColorScheme::Light;
    }
}

void UseColorScheme(ColorScheme scheme) {
    const bool dark = scheme == ColorScheme::Dark;
    if (IsDark(QApplication::palette()) == dark) {
        return;
    }
    // Fusion draws every part from the palette, so both schemes look whole.
    QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"));
    QApplication::setStyle(fusion);
    QApplication::setPalette(dark ? DarkPalette() : fusion->standardPalette());
}
