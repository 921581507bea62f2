#include "widgets/fonts.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>

namespace {

struct FontAlias {
    const char* name;
    QStringList faces;
};

// The Kai and Song names the resources and the bank pages use, with
// installed faces of the same kind, best first.
const FontAlias kAliases[] = {
    {"楷体_GB2312", {"AR PL UKai CN", "AR PL KaitiM GB", "Noto Serif CJK SC"}},
    {"楷体", {"AR PL UKai CN", "AR PL KaitiM GB", "Noto Serif CJK SC"}},
    {"KaiTi", {"AR PL UKai CN", "AR PL KaitiM GB", "Noto Serif CJK SC"}},
    {"宋体", {"AR PL UMing CN", "Noto Serif CJK SC"}},
    {"SimSun", {"AR PL UMing CN", "Noto Serif CJK SC"}},
    {"黑体", {"Noto Sans CJK SC", "WenQuanYi Zen Hei"}},
    {"SimHei", {"Noto Sans CJK SC", "WenQuanYi Zen Hei"}},
};

constexpr char kSystemConfig[] = "/etc/fonts/fonts.conf";
constexpr char kApplicationFace[] = "Noto Sans CJK SC";

QString Escaped(const QString& text) {
    return text.toHtmlEscaped();
}

}  // namespace

QString FontConfigText(const QString& mainConfig) {
    QString text = QStringLiteral(
        "<?xml version=\"1.0\"?>\n"
        "<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n"
        "<!-- Written by Quillory at every start; edits are lost. -->\n"
        "<fontconfig>\n");
    // Strong aliases placed first: the requested name is replaced before the
    // system rules add their generic fall-backs, so the web engine accepts
    // the face as the one asked for.
    for (const FontAlias& alias : kAliases) {
        text += QStringLiteral(
                    "  <match target=\"pattern\">\n"
                    "    <test name=\"family\"><string>%1</string></test>\n"
                    "    <edit name=\"family\" mode=\"prepend\" binding=\"strong\">")
                    .arg(Escaped(QString::fromUtf8(alias.name)));
        for (const QString& face : alias.faces) {
            text += QStringLiteral("<string>%1</string>").arg(Escaped(face));
        }
        text += QStringLiteral("</edit>\n  </match>\n");
    }
    text += QStringLiteral("  <include ignore_missing=\"yes\">%1</include>\n</fontconfig>\n")
                .arg(Escaped(mainConfig));
    return text;
}

void PrepareFontConfig() {
    QString mainConfig = qEnvironmentVariable("FONTCONFIG_FILE");
    if (mainConfig.isEmpty()) {
        mainConfig = QString::fromLatin1(kSystemConfig);
    }
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + "/quillory";
    const QString ownConfig = folder + "/fonts.conf";
    // Started again from a process that inherited our own file.
    if (QFileInfo(mainConfig) == QFileInfo(ownConfig) || !QFileInfo::exists(mainConfig)) {
        return;
    }
    QSaveFile file(ownConfig);
    if (!QDir().mkpath(folder) || !file.open(QIODevice::WriteOnly)) {
        return;
    }
    file.write(FontConfigText(mainConfig).toUtf8());
    if (file.commit()) {
        qputenv("FONTCONFIG_FILE", QFile::encodeName(ownConfig));
    }
}

void InstallFontSubstitutions() {
    const QStringList installed = QFontDatabase::families();
    for (const FontAlias& alias : kAliases) {
        QStringList faces;
        for (const QString& face : alias.faces) {
            if (installed.contains(face)) {
                faces << face;
            }
        }
        QFont::insertSubstitutions(QString::fromUtf8(alias.name), faces);
    }
    if (installed.contains(QLatin1String(kApplicationFace))) {
        QFont font = QApplication::font();
        font.setFamilies({QString::fromLatin1(kApplicationFace)});
        QApplication::setFont(font);
    }
}
