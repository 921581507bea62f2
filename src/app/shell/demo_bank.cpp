#include "shell/demo_bank.h"

#include <QFile>
#include <QStandardPaths>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

constexpr char kDemoFolder[] = "demo";
constexpr char kDemoFile[] = "demo.qly";

fs::path ToPath(const QString& name) {
    return fs::path(QFile::encodeName(name).toStdString());
}

QString FromPath(const fs::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

}  // namespace

QString UserDemoBank(const QString& programFolder, const QString& userFolder, QString* error) {
    const fs::path source = ToPath(programFolder) / kDemoFolder;
    const fs::path target = ToPath(userFolder) / kDemoFolder;
    std::error_code ec;
    if (fs::exists(target / kDemoFile, ec)) {
        return FromPath(target / kDemoFile);
    }
    if (!fs::is_regular_file(source / kDemoFile, ec)) {
        *error = QStringLiteral("程序数据文件夹中没有示例题库：%1").arg(FromPath(source));
        return {};
    }
    // Copied beside the target and renamed into place, so a copy cut short
    // is never taken for the bank.
    fs::path partial = target;
    partial += ".part";
    fs::remove_all(partial, ec);
    fs::create_directories(partial, ec);
    if (!ec) {
        fs::copy(source, partial, fs::copy_options::recursive, ec);
    }
    // Installed files may be read-only; the learner's copy is his to write.
    for (auto it = fs::recursive_directory_iterator(partial, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, ec);
    }
    if (!ec) {
        fs::rename(partial, target, ec);
    }
    if (ec) {
        *error = QStringLiteral("不能把示例题库复制到%1：%2")
                     .arg(FromPath(target), QString::fromStdString(ec.message()));
        fs::remove_all(partial, ec);
        return {};
    }
    return FromPath(target / kDemoFile);
}

QString UserDataFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/quillory");
}
